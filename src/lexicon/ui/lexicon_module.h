#pragma once
// The lexicon subsystem's part of every main window.

class QDialog;
class QWidget;

namespace lirno {

class TfrmMain;
class Workbench;

// Attaches this subsystem's controllers to a new main window.
void attachLexiconControllers(TfrmMain& window);

// TfrmWord, its filter list following the rules file in force.
QDialog* createWordDialog(Workbench& workbench, QWidget* owner);

}  // namespace lirno
