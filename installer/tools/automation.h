// Driving stelvane.exe from another program: sets the silent flag, starts the
// installer, answers its windows and message boxes, waits for its exit.
// Used by the end-to-end tests and by the silent-install tool.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace stelvane::automation {

enum class WindowAction { Ok, Cancel, Close };

struct Run {
  std::wstring program;                  // stelvane.exe
  std::vector<std::wstring> arguments;   // after the program name
  bool silent = true;                    // WIN.INI [STELVANE] SILENT for the run
  int language = 1;                      // position to choose in the language window; 0 cancels
  WindowAction mainAction = WindowAction::Ok;
  std::wstring folder;                   // typed into the folder field when not empty
  bool answerNo = false;                 // answer "No" to questions (default "Yes")
  DWORD timeoutMs = 60000;
};

struct Box {
  std::wstring caption;
  std::wstring text;
};

struct Outcome {
  bool started = false;
  bool finished = false;  // false: timed out (the process was ended)
  DWORD exitCode = 0;
  bool sawLanguageWindow = false;
  bool sawMainWindow = false;
  std::vector<Box> boxes;  // message boxes seen, in order
};

Outcome runInstaller(const Run& run);

// Sets WIN.INI [section] key (empty `value`: removes the key); returns the
// previous value ("" when absent).
std::wstring setWinIni(const wchar_t* section, const wchar_t* key, const std::wstring& value);

}  // namespace stelvane::automation
