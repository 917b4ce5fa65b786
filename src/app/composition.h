#pragma once
// Puts the workbench together: which controllers every main window gets and
// which shared dialogs the process creates. Used by main() and by the form
// tests, so that both run the same windows.

namespace lirno {

class Workbench;

// Installs the window and dialog set-up into the workbench.
void composeWorkbench(Workbench& workbench);

}  // namespace lirno
