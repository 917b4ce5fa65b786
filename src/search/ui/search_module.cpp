#include "search/ui/search_module.h"

#include "search/ui/rules_command.h"
#include "shell/ui/main_window.h"

namespace lirno {

void attachSearchControllers(TfrmMain& window) { window.addController(new RulesController(window)); }

}  // namespace lirno
