#pragma once
// The results subsystem's part of every main window.

namespace lirno {

class TfrmMain;

// Attaches this subsystem's controllers to a new main window.
void attachResultsControllers(TfrmMain& window);

}  // namespace lirno
