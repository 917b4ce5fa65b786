#pragma once
// The search subsystem's part of every main window.

namespace lirno {

class TfrmMain;

// Attaches this subsystem's controllers to a new main window.
void attachSearchControllers(TfrmMain& window);

}  // namespace lirno
