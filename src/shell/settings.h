#pragma once
// The settings file "Lirno.ini": which file is used, and its keys. Values
// are stored in Windows-1252; the paths handed out here are UTF-8.
#include <string>

#include "platform/ini_file.h"

namespace lirno {

inline constexpr const char* kSettingsFileName = "Lirno.ini";

struct ShellSettings {
  std::string rules = "nac.rul";
  std::string language;
  std::string documentPath;
};

// Window values; the defaults are the main window's design values.
struct WindowSettings {
  int state = 2;  // 0 normal, 1 minimized, 2 maximized
  int top = 0;
  int left = 0;
  int height = 605;
  int width = 1024;
  int gridSplitter = 235;
  int footnoteSplitter = 60;
  int pictureSplitter = 300;
};

// Which settings file the process uses, chosen once by the first main window.
struct SettingsChoice {
  std::string path;       // every later write goes here
  std::string readPath;   // the file the settings are read from
  // The fallback file did not exist: after reading, the shell settings are
  // copied into `path`.
  bool copyToFallback = false;
};

// Tries the program folder's file (reads "Top" and writes it back); when it
// cannot be written, falls back to `fallbackPath`.
SettingsChoice chooseSettingsFile(const std::string& programFolder, const std::string& fallbackPath,
                                  int designTop);

ShellSettings readShellSettings(const IniFile& ini);

// Writes "Rules", "Language" and "DocumentPath", creating the folder of the
// file when missing.
bool writeShellSettings(const IniFile& ini, const ShellSettings& s);

// Reads "State" and the splitters; the bounds only when State is 0 (normal),
// else they keep the values of `current`.
WindowSettings readWindowSettings(const IniFile& ini, const WindowSettings& current);
bool writeWindowSettings(const IniFile& ini, const WindowSettings& s);

// One "Lirno" key holding a path (UTF-8 in, Windows-1252 in the file).
bool writePathSetting(const IniFile& ini, const char* key, const std::string& utf8Value);

}  // namespace lirno
