// Starting, waiting for and listing processes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace stelvane {

// Starts `commandLine` (handles inherited, normal priority, in `folder`) and
// waits for its end, polling its exit code every `pollMs` milliseconds while
// it is still active. Returns false when it could not be started.
bool runAndWait(const std::wstring& commandLine, const std::wstring& folder, DWORD pollMs = 1000);

// Opens `target` through the shell ("open" verb, shown normally) without waiting.
bool shellOpen(const std::wstring& target, const std::wstring& folder);

// Full paths of the main modules of the running processes (those that can be
// queried).
std::vector<std::wstring> runningProgramPaths();

}  // namespace stelvane
