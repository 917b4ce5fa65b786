// stelvane-silent: runs an installation without anyone at the screen.
//   stelvane-silent.exe PATH\stelvane.exe [FOLDER]
// Sets WIN.INI [STELVANE] SILENT=1 for the run, starts the installer, types
// FOLDER into its folder field when given, presses OK, and returns the
// installer's exit code (2: it could not be started, 3: it did not finish).
#include <cstdio>

#include "automation.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    fwprintf(stderr, L"usage: stelvane-silent PATH\\stelvane.exe [FOLDER]\n");
    return 2;
  }
  stelvane::automation::Run run;
  run.program = argv[1];
  if (argc > 2) run.folder = argv[2];
  run.timeoutMs = 300000;
  const auto outcome = stelvane::automation::runInstaller(run);
  if (!outcome.started) {
    fwprintf(stderr, L"stelvane-silent: cannot start %ls\n", argv[1]);
    return 2;
  }
  if (!outcome.finished) {
    fwprintf(stderr, L"stelvane-silent: the installer did not finish\n");
    return 3;
  }
  wprintf(L"stelvane-silent: installer exit code %lu\n", outcome.exitCode);
  return static_cast<int>(outcome.exitCode);
}
