// The installer's driver: process start to exit, the install run and the
// installation sequence of the OK button.
#pragma once

#include <windows.h>

#include <string>

namespace stelvane {

struct Installer;
class MainWindow;

// The whole program: returns the exit code (0 when the installation
// completed with every file or in cleanup mode, 1 otherwise). `argc`/`argv` are the process
// arguments (argv[0] the program).
int runStelvane(HINSTANCE instance, int argc, wchar_t** argv);

// Fills the folders of the installer from the running executable and creates
// the work folder (start-up steps 3 to 5).
void locateFolders(Installer& installer);

// Chooses the language, runs the checks, shows the main window and waits for
// it; true when the installation completed.
bool installRun(Installer& installer);

// What OK does (the window stays open when the folder is refused).
void installationSequence(Installer& installer, MainWindow& window);

// Deletes `folder` with everything in it unless WIN.INI [INSTALL] GARDETEMP=1.
void removeFolderUnlessKept(const std::wstring& folder);

// Cleanup mode (two arguments): waits for the process whose handle value is
// `handleText`, then removes from `folder` the files of the source set the
// installer handed down (environment variable STELVANE_SOURCE_SET), and the
// folder once it is empty. Nothing is removed when the handle is not a
// number, not a process handle or cannot be waited for, nor when the folder
// is a drive or share root, nor with WIN.INI [INSTALL] GARDETEMP=1.
bool runCleanupMode(const std::wstring& handleText, const std::wstring& folder);

// Support type 4: starts a temporary copy of the installer in cleanup mode
// for the source folder, handing it the source set; returns the process
// handle it opened (or null).
HANDLE startCleanupCopy(const Installer& installer);

}  // namespace stelvane
