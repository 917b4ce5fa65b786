// The installation's own source set: the files of the source folder that the
// installation consists of (the program, the script, the description file,
// the archives and the files the script and the description take from the
// source folder). Support type 4 removes these and nothing else.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace stelvane {

struct Installer;

// The environment variable through which the installer hands its source set
// to the cleanup copy: the names relative to the source folder, separated by "|".
inline constexpr wchar_t kSourceSetVariable[] = L"STELVANE_SOURCE_SET";

// The names of the source set, relative to the source folder, each once.
// Files named outside the source folder are not part of it.
std::vector<std::wstring> sourceSetNames(const Installer& installer);

std::wstring joinSourceSet(const std::vector<std::wstring>& names);
std::vector<std::wstring> splitSourceSet(std::wstring_view text);

// Deletes the named files of `folder` (a name that leaves the folder, or
// passes through a link to a folder, is skipped), the sub-folders they
// leave empty, then `folder` itself if nothing else is in it. True when the
// folder is gone.
bool removeSourceSet(const std::wstring& folder, const std::vector<std::wstring>& names);

}  // namespace stelvane
