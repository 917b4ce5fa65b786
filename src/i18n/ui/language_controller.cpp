#include "i18n/ui/language_controller.h"

#include <QAction>
#include <QDesktopServices>
#include <QToolButton>
#include <QUrl>


#include "documents/ui/info_dialog.h"
#include "i18n/ui/language_service.h"
#include "platform/paths.h"
#include "platform/ui/message.h"
#include "platform/ui/file_dialogs.h"
#include "platform/ui/qt_text.h"
#include "shell/command_line.h"
#include "shell/settings.h"
#include "shell/ui/workbench.h"

namespace lirno {
namespace {

LanguageController::FileChooser& chooser() {
  static LanguageController::FileChooser c;
  return c;
}

LanguageController::UrlOpener& opener() {
  static LanguageController::UrlOpener o;
  return o;
}


}  // namespace

void LanguageController::setFileChooser(FileChooser c) { chooser() = std::move(c); }
void LanguageController::setUrlOpener(UrlOpener o) { opener() = std::move(o); }

LanguageController::LanguageController(TfrmMain& frame) : WindowController(frame) {
  auto wire = [this, &frame](const char* name, void (LanguageController::*handler)()) {
    if (QAction* a = frame.action(name)) {
      QObject::connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    }
  };
  wire("mnuLangue", &LanguageController::mnuLangueClick);
  wire("mnuHelp", &LanguageController::mnuHelpClick);
  wire("mnuAbout", &LanguageController::mnuAboutClick);
  if (QToolButton* b = frame.button("btnHelp")) {
    QObject::connect(b, &QToolButton::clicked, this, [this] { mnuHelpClick(); });
  }
}

void LanguageController::applyCommandLine(CommandLine& commandLine) {
  Workbench& wb = frame().workbench();
  // The settings' name is in the program folder; the command line's is used
  // as typed.
  std::string path = wb.shellSettings().language;
  if (!path.empty()) path = inFolder(wb.programFolder(), path);
  if (!commandLine.languageFile.empty()) path = commandLine.languageFile;
  if (!path.empty()) {
    if (LanguageService* service = LanguageService::of(wb)) service->load(path, &frame());
  }
  commandLine.languageFile.clear();
}

void LanguageController::formCreated() {
  if (LanguageService* service = LanguageService::of(frame().workbench())) service->translateMainWindow(frame());
}

void LanguageController::mnuLangueClick() {
  Workbench& wb = frame().workbench();
  const std::string path =
      chooser() ? chooser()(&frame(), wb.programFolder())
                : chooseExistingFile(&frame(), fromUtf8(translate("Langue")), wb.programFolder(),
                                     QStringLiteral("Lang file (*.lng)"), QStringLiteral("lng"));
  if (path.empty()) return;
  LanguageService* service = LanguageService::of(wb);
  if (!service || !service->load(path, &frame())) return;
  // The name alone would send the next start to the program folder, where a
  // file chosen elsewhere is not.
  const std::string recorded = isInFolder(path, wb.programFolder()) ? fileNameOf(path) : path;
  wb.shellSettings().language = recorded;
  if (!wb.settingsPath().empty()) writePathSetting(IniFile(wb.settingsPath()), "Language", recorded);
  service->translateMainWindows();
}

std::string LanguageController::helpPage(const std::string& programFolder, const std::string& code) {
  if (!code.empty() && code != "fra") {
    const std::string translated = programFolder + "Lirno_help_" + code + ".htm";
    if (fileExists(translated)) return translated;
  }
  return programFolder + "Lirno_help.htm";
}

void LanguageController::mnuHelpClick() {
  Workbench& wb = frame().workbench();
  const QUrl url = QUrl::fromLocalFile(fromUtf8(helpPage(wb.programFolder(), wb.language().code())));
  // A missing page is the system's to report.
  if (opener()) {
    opener()(url);
  } else {
    QDesktopServices::openUrl(url);
  }
}

void LanguageController::mnuAboutClick() {
  Workbench& wb = frame().workbench();
  const std::string path = wb.programFolder() + "Lirno_About.txt";
  // The information view shows it, or says the file is missing.
  if (auto* view = qobject_cast<TfrmInfo*>(wb.dialogs().frmInfo)) {
    view->showFile(path);
  } else {
    showFileNotFound(path, &frame());
  }
}

}  // namespace lirno
