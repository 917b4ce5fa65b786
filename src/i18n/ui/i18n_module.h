#pragma once
// The i18n subsystem's part of every main window.

namespace lirno {

class TfrmMain;

// Attaches this subsystem's controllers to a new main window.
void attachI18nControllers(TfrmMain& window);

}  // namespace lirno
