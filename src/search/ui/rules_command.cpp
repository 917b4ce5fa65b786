#include "search/ui/rules_command.h"

#include <QAction>


#include "platform/paths.h"
#include "platform/ui/message.h"
#include "platform/ui/file_dialogs.h"
#include "platform/ui/qt_text.h"
#include "shell/settings.h"
#include "shell/ui/workbench.h"

namespace lirno {
namespace {

RulesController::FileChooser& chooser() {
  static RulesController::FileChooser c;
  return c;
}


}  // namespace

void RulesController::setFileChooser(FileChooser c) { chooser() = std::move(c); }

RulesController::RulesController(TfrmMain& frame) : WindowController(frame) {
  if (QAction* a = frame.action("mnuRules")) {
    QObject::connect(a, &QAction::triggered, this, [this] { mnuRulesClick(); });
  }
}

void RulesController::mnuRulesClick() {
  Workbench& wb = frame().workbench();
  const std::string path =
      chooser() ? chooser()(&frame(), wb.programFolder())
                : chooseExistingFile(&frame(), fromUtf8(translate("Règles")), wb.programFolder(),
                                     QStringLiteral("Rule file (*.rul)"), QStringLiteral("rul"));
  // The tables in force stay; the user learns why nothing changed.
  if (!path.empty() && !useRulesFile(wb, path)) {
    showMessage(kRulesUnreadable, path, "Lirno", MessageKind::Warning, &frame());
  }
}

bool useRulesFile(Workbench& wb, const std::string& path) {
  if (!wb.rules().loadRules(path)) return false;
  // The name alone would send the next start to the program folder, where a
  // file chosen elsewhere is not.
  const std::string recorded = isInFolder(path, wb.programFolder()) ? fileNameOf(path) : path;
  wb.shellSettings().rules = recorded;
  wb.writeSettings([&](const IniFile& ini) { return writePathSetting(ini, "Rules", recorded); });
  emit wb.rulesChanged();
  return true;
}

}  // namespace lirno
