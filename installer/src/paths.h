// Windows path pieces as plain text functions (no file-system access).
#pragma once

#include <string>
#include <string_view>

namespace stelvane {

struct PathParts {
  std::wstring folder;     // drive and folder with its trailing backslash, or empty
  std::wstring name;       // file name without extension
  std::wstring extension;  // with its dot, or empty
};
PathParts splitPath(std::wstring_view path);

std::wstring withTrailingBackslash(std::wstring_view path);
std::wstring withoutTrailingBackslash(std::wstring_view path);
// The folder typed in the main window: a trailing backslash removed, then a
// bare drive ("C:") gets one back.
std::wstring normaliseInstallFolder(std::wstring_view folder);
// Drive letter and colon of a path ("C:"), empty when it has none.
std::wstring driveOf(std::wstring_view path);
// Everything up to and including the last backslash.
std::wstring folderOf(std::wstring_view path);
// Everything after the last backslash or slash.
std::wstring fileNameOf(std::wstring_view path);
// A drive ("C:", "C:\") or share root ("\\server\share"), or no folder at all.
bool isRootFolder(std::wstring_view folder);
// `folder` + "\" when missing + `name`.
std::wstring joinPath(std::wstring_view folder, std::wstring_view name);

}  // namespace stelvane
