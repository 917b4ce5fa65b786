#include "results/ui/results_module.h"

#include "shell/ui/main_window.h"

namespace lirno {

void attachResultsControllers(TfrmMain& /*window*/) {}

}  // namespace lirno
