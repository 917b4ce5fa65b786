#pragma once
// Process-wide state of the workbench: program folder, command line,
// settings file, rules tables, the open main windows, the anchor form and the
// dialogs shared by all main windows. One object, owned by main() and passed
// by reference.
#include <QObject>

#include <functional>
#include <string>
#include <vector>

#include "i18n/language.h"
#include "search/rules_tables.h"
#include "shell/command_line.h"
#include "shell/settings.h"

class QDialog;
class QWidget;

namespace lirno {

class TfrmMain;
class TfrmStart;

// The dialogs that exist once per process, created after the first main
// window in this order. Each is created by the subsystem that owns it.
struct SharedDialogs {
  QDialog* frmFind = nullptr;
  QDialog* frmCorpus = nullptr;
  QDialog* frmThesaurus = nullptr;
  QDialog* frmWord = nullptr;
  QDialog* frmInfo = nullptr;
  QDialog* frmGenoa = nullptr;
  QDialog* frmAddStr = nullptr;
  QDialog* frmResult = nullptr;
  QDialog* frmImage = nullptr;
};

class Workbench : public QObject {
  Q_OBJECT

 public:
  // Attaches the subsystems' controllers to a new main window before its
  // creation sequence runs.
  using WindowSetup = std::function<void(TfrmMain&)>;
  // Creates the shared dialogs (after the first main window).
  using DialogSetup = std::function<void(Workbench&)>;

  Workbench(std::string programFolder, CommandLine commandLine);
  ~Workbench() override;

  const std::string& programFolder() const { return programFolder_; }
  CommandLine& commandLine() { return commandLine_; }

  // Settings file chosen by the first main window; empty before.
  const std::string& settingsPath() const { return settingsPath_; }
  void setSettingsPath(std::string path) { settingsPath_ = std::move(path); }
  // Where the per-user fallback settings file lives (tests redirect it).
  const std::string& fallbackSettingsPath() const { return fallbackSettingsPath_; }
  void setFallbackSettingsPath(std::string path) { fallbackSettingsPath_ = std::move(path); }

  // Writes to the settings file (nothing before one is chosen). A write
  // that fails (the file cannot be read or written) is refused by the file
  // and said once per process, with the reason, over `parent`; false then.
  bool writeSettings(const std::function<bool(const IniFile&)>& write, QWidget* parent = nullptr);

  // "Rules", "Language" and "DocumentPath" as read by the first window (paths
  // UTF-8); commands that write them keep them up to date.
  ShellSettings& shellSettings() { return shellSettings_; }
  void setShellSettings(ShellSettings s) { shellSettings_ = std::move(s); }

  RulesTables& rules() { return rules_; }
  LanguageTables& language() { return language_; }
  const LanguageTables& language() const { return language_; }
  // Code of the current language ("fra" while no language file is loaded):
  // it names the information files of the documents.
  const std::string& languageCode() const { return language_.code(); }
  SharedDialogs& dialogs() { return dialogs_; }

  void setWindowSetup(WindowSetup setup) { windowSetup_ = std::move(setup); }
  void setDialogSetup(DialogSetup setup) { dialogSetup_ = std::move(setup); }

  // Start-up: the anchor, the first main window, the shared dialogs; then the
  // first window is shown. Returns the first window.
  TfrmMain* start();

  // A new main window with every controller attached and its creation
  // sequence run (the first one reads the settings and applies the command
  // line). Not shown.
  TfrmMain* createMainWindow();

  const std::vector<TfrmMain*>& windows() const { return windows_; }
  TfrmStart* anchor() const { return anchor_; }

  // Called by a main window as it is created and destroyed; the last one
  // ends the program.
  void windowCreated(TfrmMain* window);
  void windowDestroyed(TfrmMain* window);

 signals:
  // The last main window is gone and the program is ending.
  void finished();
  // Another rules file is in force: dialogs that show its filter
  // definitions fill their lists again.
  void rulesChanged();
  // Another language file is in force: views that draw translated texts
  // (grid titles) repaint them.
  void languageChanged();

 private:
  std::string programFolder_;
  CommandLine commandLine_;
  std::string settingsPath_;
  std::string fallbackSettingsPath_;
  ShellSettings shellSettings_;
  RulesTables rules_;
  LanguageTables language_;
  SharedDialogs dialogs_;
  WindowSetup windowSetup_;
  DialogSetup dialogSetup_;
  std::vector<TfrmMain*> windows_;
  TfrmStart* anchor_ = nullptr;
  bool settingsFailureShown_ = false;
};

}  // namespace lirno
