// Starting, waiting for and listing processes.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace stelvane {

// Starts `commandLine` (handles inherited, normal priority, in `folder`),
// its program part quoted first, and waits for its end while the thread's
// windows are served. Returns false when it could not be started.
bool runAndWait(const std::wstring& commandLine, const std::wstring& folder);

// The command line with its program part (up to and including the first
// ".EXE", ".COM" or ".BAT" that ends a word, leading blanks dropped) in
// quotes, so that "C:\Program Files\App\SETUP.EXE" cannot start a
// "C:\Program.exe". A line that starts with a quote, or names no such
// program, is left as it stands.
std::wstring quoteProgramPart(std::wstring_view commandLine);

// Opens `target` through the shell ("open" verb, shown normally) without waiting.
bool shellOpen(const std::wstring& target, const std::wstring& folder);

// Full paths of the main modules of the running processes (those that can be
// queried).
std::vector<std::wstring> runningProgramPaths();

}  // namespace stelvane
