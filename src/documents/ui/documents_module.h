#pragma once
// The documents subsystem's part of every main window.

namespace lirno {

class TfrmMain;

// Attaches this subsystem's controllers to a new main window.
void attachDocumentsControllers(TfrmMain& window);

}  // namespace lirno
