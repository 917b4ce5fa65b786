#include "documents/ui/documents_module.h"

#include "documents/ui/information_controller.h"
#include "documents/ui/panes_controller.h"
#include "documents/ui/pictures_controller.h"
#include "shell/ui/main_window.h"

namespace lirno {

void attachDocumentsControllers(TfrmMain& window) {
  window.addController(new PanesController(window));
  window.addController(new InformationController(window));
  window.addController(new PicturesController(window));
}

}  // namespace lirno
