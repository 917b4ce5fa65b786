// File-system calls of the installer. Each runs with the system error mode set
// to fail critical errors (no system dialog for an empty drive); the previous
// mode is restored and the call's last-error value is kept.
#pragma once

#include <windows.h>

#include <string>

namespace stelvane {

class CriticalErrorMode {
 public:
  CriticalErrorMode();
  ~CriticalErrorMode();
  CriticalErrorMode(const CriticalErrorMode&) = delete;
  CriticalErrorMode& operator=(const CriticalErrorMode&) = delete;

 private:
  DWORD previous_ = 0;
};

bool fileExists(const std::wstring& path);    // an existing file (not a folder)
bool folderExists(const std::wstring& path);  // an existing folder
bool pathExists(const std::wstring& path);    // file or folder
bool deleteFile(const std::wstring& path);
bool copyFileOver(const std::wstring& source, const std::wstring& target);
// Renames `source` to `target`, replacing a file of that name.
bool moveFileOver(const std::wstring& source, const std::wstring& target);
bool setAttributes(const std::wstring& path, DWORD attributes);
// Creates the folder with all its missing parents; true when it exists afterwards.
bool createFolderTree(const std::wstring& folder);
// Deletes every file and sub-folder of `folder`, then the folder itself;
// stops at the first item that cannot be deleted. A link to a folder
// (junction, symbolic link) is removed itself, never entered. When the folder itself
// resists (it may be the current folder), makes "C:\" current and tries once more.
bool deleteFolderTree(const std::wstring& folder);

// A new empty folder in the temp directory whose name starts with `prefix`,
// with a trailing backslash; empty text when it could not be created.
std::wstring createWorkFolder(const wchar_t* prefix);
// A new unique temporary file name (the file exists, empty) with `prefix`.
std::wstring createTempFile(const wchar_t* prefix);

}  // namespace stelvane
