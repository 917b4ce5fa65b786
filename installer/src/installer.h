// The installer's process-wide state: one instance, created by the driver and
// passed by reference to every step.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "compare.h"

namespace stelvane {

class Integration;
class MainWindow;

enum class MessageKind { Error, Warning, Question, Information };

// Shows one message box; returns true for "Yes" (questions) and true for the
// other kinds. Replaced in tests.
using MessageSink = std::function<bool(MessageKind kind, const std::wstring& caption,
                                       const std::wstring& text)>;

struct Installer {
  HINSTANCE instance = nullptr;
  Collator collator;

  // Folders. The source and work folders end with a backslash; the Windows
  // and system folders and the installation folder do not.
  std::wstring sourceFolder;
  std::wstring scriptPath;  // source folder + "INSTALL.INI"
  std::wstring windowsFolder;
  std::wstring systemFolder;
  std::wstring workFolder;  // empty when it could not be created
  std::wstring descriptionPath;
  std::wstring installFolder;
  std::wstring installDrive;  // "C:"
  std::wstring applicationName;
  std::wstring dataFolder;

  // Language: suffix of the localized sections ("" when none) and its 1-based index.
  std::wstring languageSuffix;
  int languageIndex = 1;

  // Versions of VERIFICATION_VERSION (installed one, new one).
  std::wstring installedVersion;
  std::wstring newVersion;

  bool silent = false;
  bool busy = false;
  bool stopRequested = false;
  bool success = false;
  // Files that could not be placed, the installation going on without them
  // (each is written to INSTALL.LOG in the installation folder).
  int failedFiles = 0;

  MessageSink messageSink;           // empty: the system's message box
  MainWindow* window = nullptr;      // the main window while it exists
  std::unique_ptr<Integration> integration;

  Installer();
  ~Installer();
  Installer(const Installer&) = delete;
  Installer& operator=(const Installer&) = delete;

  // The window that owns message boxes (the main window, or none).
  HWND ownerWindow() const;
};

// Peeks, translates and dispatches every pending message of the thread, so
// that the main window repaints and Cancel can set the stop request during
// long work. False when it met a quit request (left in the queue for the
// loop that waits for it).
bool drainMessages();

}  // namespace stelvane
