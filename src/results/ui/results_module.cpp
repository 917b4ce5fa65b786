#include "results/ui/results_module.h"

#include "results/ui/export_controller.h"
#include "results/ui/concordance_controller.h"
#include "results/ui/results_controller.h"
#include "shell/ui/main_window.h"

namespace lirno {

void attachResultsControllers(TfrmMain& window) {
  window.addController(new ResultsController(window));
  window.addController(new ExportController(window));
  window.addController(new ConcordanceController(window));
}

}  // namespace lirno
