#include "i18n/ui/i18n_module.h"

#include "shell/ui/main_window.h"

namespace lirno {

void attachI18nControllers(TfrmMain& /*window*/) {}

}  // namespace lirno
