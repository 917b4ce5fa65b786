#include "search/ui/search_module.h"

#include "shell/ui/main_window.h"

namespace lirno {

void attachSearchControllers(TfrmMain& /*window*/) {}

}  // namespace lirno
