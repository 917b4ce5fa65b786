#pragma once
// The i18n subsystem's part of the workbench.

namespace lirno {

class TfrmMain;
class Workbench;

// The process-wide language (translate(), Qt's texts); before any window.
void attachI18n(Workbench& workbench);

// Attaches this subsystem's controllers to a new main window.
void attachI18nControllers(TfrmMain& window);

// The shared dialogs exist: they translate themselves when shown.
void watchI18nDialogs(Workbench& workbench);

}  // namespace lirno
