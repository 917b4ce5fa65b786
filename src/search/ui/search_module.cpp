#include "search/ui/search_module.h"

#include "search/ui/find_dialog.h"
#include "search/ui/rules_command.h"
#include "search/ui/search_controller.h"
#include "shell/ui/main_window.h"
#include "shell/ui/workbench.h"

namespace lirno {

void attachSearchControllers(TfrmMain& window) {
  window.addController(new RulesController(window));
  window.addController(new SearchController(window));
}

QDialog* createFindDialog(Workbench& workbench, QWidget* owner) {
  auto* dialog = new TfrmFind(owner);
  dialog->fillFilters(workbench.rules().filters);
  // The filter names are translated: another language names them anew.
  for (auto signal : {&Workbench::rulesChanged, &Workbench::languageChanged}) {
    QObject::connect(&workbench, signal, dialog, [dialog, &workbench] { dialog->fillFilters(workbench.rules().filters); });
  }
  return dialog;
}

}  // namespace lirno
