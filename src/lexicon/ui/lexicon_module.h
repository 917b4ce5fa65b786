#pragma once
// The lexicon subsystem's part of every main window.

namespace lirno {

class TfrmMain;

// Attaches this subsystem's controllers to a new main window.
void attachLexiconControllers(TfrmMain& window);

}  // namespace lirno
