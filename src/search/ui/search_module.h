#pragma once
// The search subsystem's part of every main window, and its shared dialog.

class QDialog;
class QWidget;

namespace lirno {

class TfrmMain;
class Workbench;

// Attaches this subsystem's controllers to a new main window.
void attachSearchControllers(TfrmMain& window);

// TfrmFind, its filter list filled from the rules in force and refilled
// whenever another rules file is loaded.
QDialog* createFindDialog(Workbench& workbench, QWidget* owner);

}  // namespace lirno
