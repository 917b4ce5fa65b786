#pragma once
// File-system paths of the workbench. Paths are UTF-8 strings with "/" as
// the separator; a folder returned here ends with "/".
#include <string>
#include <string_view>

namespace lirno {

// Folder of the running executable (links resolved), with a trailing "/".
std::string executableFolder();

// The per-user settings file used when the program folder is not writable:
// $XDG_CONFIG_HOME/lirno/Lirno.ini, or ~/.config/lirno/Lirno.ini.
std::string fallbackSettingsPath();

// Path pieces. For "/a/b/ms12.rtf": folder "/a/b/", file name "ms12.rtf",
// base name "ms12", extension ".rtf" (with its dot; empty when the file name
// has no dot).
std::string folderOf(std::string_view path);
std::string fileNameOf(std::string_view path);
std::string baseNameOf(std::string_view path);
std::string extensionOf(std::string_view path);

// True when the path names a folder part ("a/b.rul", "/x"), false for a bare
// file name ("b.rul").
bool hasFolder(std::string_view path);

// `path` unchanged when it has a folder part, else `folder` + `path`.
std::string inFolder(std::string_view folder, std::string_view path);

bool fileExists(const std::string& path);
bool folderExists(const std::string& path);

// Creates the folder and its missing parents; true when it exists afterwards.
bool makeFolders(const std::string& path);

}  // namespace lirno
