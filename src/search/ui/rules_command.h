#pragma once
// "&Règles" (mnuRules): choose another rules file for the process.
#include <functional>
#include <string>

#include "shell/ui/main_window.h"

class QWidget;

namespace lirno {

class Workbench;

class RulesController : public WindowController {
 public:
  // Asks for a rules file starting in `initialFolder`; returns its UTF-8
  // path, or an empty string when the user cancels.
  using FileChooser = std::function<std::string(QWidget* parent, const std::string& initialFolder)>;
  // Tests replace the open dialog; an empty chooser restores it.
  static void setFileChooser(FileChooser chooser);

  explicit RulesController(TfrmMain& frame);

  void mnuRulesClick();
};

// Makes `path` the rules file in force: loads its character tables (not its
// variant rules, which change only at the next start), records it under
// "Rules" in the settings and tells the dialogs through rulesChanged(). A
// file in the program folder is recorded by its name alone, any other by its
// full path. False, with nothing changed, when the file cannot be read.
bool useRulesFile(Workbench& workbench, const std::string& path);

}  // namespace lirno
