#include "documents/ui/documents_module.h"

#include "shell/ui/main_window.h"

namespace lirno {

void attachDocumentsControllers(TfrmMain& /*window*/) {}

}  // namespace lirno
