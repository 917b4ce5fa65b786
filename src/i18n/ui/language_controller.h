#pragma once
// The language subsystem's part of a main window: the first window loads
// the language file of the settings or the command line, every window is
// translated once created, and the commands "&Langue", "&Aide" (btnHelp)
// and "A &propos".
#include <functional>
#include <string>

#include "shell/ui/main_window.h"

class QUrl;

namespace lirno {

class LanguageController : public WindowController {
 public:
  explicit LanguageController(TfrmMain& frame);

  void applyCommandLine(CommandLine& commandLine) override;
  void formCreated() override;

  void mnuLangueClick();
  void mnuHelpClick();
  void mnuAboutClick();

  // The help page for the language in force: "Lirno_help_<code>.htm" when a
  // language is loaded and that page exists, else "Lirno_help.htm".
  static std::string helpPage(const std::string& programFolder, const std::string& code);

  // Tests replace the language file dialog (returns the chosen path, empty
  // when cancelled) and the system's "open" (returns false when refused).
  using FileChooser = std::function<std::string(QWidget* parent, const std::string& folder)>;
  static void setFileChooser(FileChooser chooser);
  using UrlOpener = std::function<bool(const QUrl&)>;
  static void setUrlOpener(UrlOpener opener);
};

}  // namespace lirno
