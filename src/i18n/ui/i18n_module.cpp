#include "i18n/ui/i18n_module.h"

#include "i18n/ui/language_controller.h"
#include "i18n/ui/language_service.h"
#include "shell/ui/main_window.h"
#include "shell/ui/workbench.h"

namespace lirno {

void attachI18n(Workbench& workbench) {
  if (!LanguageService::of(workbench)) new LanguageService(workbench);
}

void attachI18nControllers(TfrmMain& window) { window.addController(new LanguageController(window)); }

void watchI18nDialogs(Workbench& workbench) {
  if (LanguageService* service = LanguageService::of(workbench)) service->watchDialogs();
}

}  // namespace lirno
