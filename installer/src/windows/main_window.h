// The main window ("AMORCE"): versions, warning, installation folder, two
// options, OK and Cancel, and the status line with its progress bar.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "window_classes.h"

namespace stelvane {

struct Installer;

// Command and control identifiers.
enum MainControl : int {
  kCmdOk = 1,
  kCmdCancel = 2,
  kCmdBrowse = 3,
  kIdIcon = 100,
  kIdSubject,
  kIdVersionBeforeLabel,
  kIdVersionBefore,
  kIdVersionAfterLabel,
  kIdVersionAfter,
  kIdWarning,
  kIdFolderLabel,
  kIdFolder,
  kIdOption1Text,
  kIdOption1,
  kIdOption2Text,
  kIdOption2,
  kIdStatusStrip,
  kIdStatusField,
  kIdProgress,
};

// The texts of the localized [DIALOGUE] section (labels already expanded).
struct MainTexts {
  std::wstring caption, subject, versionBefore, versionAfter, warning, folderLabel, browse,
      browseTitle, option1, option2, ok, cancel;
  int labelWidth = 240;  // NLARGEURTEXTEEDIT
  int fieldWidth = 240;  // NLARGEURSAISIEEDIT
  bool cancelWhileBusy = false;  // ESC_ACTIF other than "N"
};
MainTexts readMainTexts(const Installer& installer);

struct MainPlan {
  int width = 500;
  int height = 0;  // outer height before the status line is placed (H + R)
  int rowHeight = 30;
  std::vector<ControlPlan> controls;
};
// The layout of the main window's controls (without the status line, which
// depends on the client height).
MainPlan planMainWindow(const MainTexts& texts, const Installer& installer, bool highResolution);

// The percentage drawn in the status line: "%3i %%" of position/total, empty
// when total is 0.
std::wstring progressPercent(int position, int total);

class MainWindow {
 public:
  // `onOk` runs the installation sequence when OK is pressed.
  MainWindow(Installer& installer, std::function<void(MainWindow&)> onOk);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates and shows the window; false when it could not be created.
  bool create(bool highResolution);
  HWND handle() const { return window_; }
  // Runs the message loop until the window is destroyed.
  void run();

  // The status line: text (at most 260 characters), percentage and bar.
  void progress(std::wstring_view text, int position, int total);
  const std::wstring& statusText() const { return statusText_; }
  const std::wstring& statusPercent() const { return statusPercent_; }

  std::wstring folderText() const;
  bool optionChecked(int option) const;  // 1 or 2
  // Enables or disables OK and both option boxes.
  void enableInstallControls(bool enabled);
  void enableCancel(bool enabled);
  const MainTexts& texts() const { return texts_; }
  // Destroys the window (ends run()).
  void close();

 private:
  template <typename T>
  friend LRESULT windowObjectProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void onCommand(int id);
  void browse();
  void placeStatusLine();
  void drawStatus(const DRAWITEMSTRUCT& item);

  Installer& installer_;
  std::function<void(MainWindow&)> onOk_;
  MainTexts texts_;
  HWND window_ = nullptr;
  std::wstring statusText_;
  std::wstring statusPercent_;
};

}  // namespace stelvane
