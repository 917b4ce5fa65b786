#include "shell/settings.h"

#include "platform/cp1252.h"
#include "platform/paths.h"

namespace lirno {
namespace {

constexpr const char* kLirno = "Lirno";
constexpr const char* kWindow = "Window";

}  // namespace

SettingsChoice chooseSettingsFile(const std::string& programFolder, const std::string& fallbackPath,
                                  int designTop) {
  SettingsChoice c;
  const std::string local = programFolder + kSettingsFileName;
  const IniFile localIni(local);
  const int top = localIni.readInt(kWindow, "Top", designTop);
  if (localIni.writeInt(kWindow, "Top", top)) {
    c.path = c.readPath = local;
    return c;
  }
  c.path = fallbackPath;
  if (fileExists(fallbackPath)) {
    c.readPath = fallbackPath;
  } else {
    c.readPath = local;
    c.copyToFallback = true;
  }
  return c;
}

ShellSettings readShellSettings(const IniFile& ini) {
  ShellSettings s;
  s.rules = pathFromCp1252File(ini.readString(kLirno, "Rules", "nac.rul"));
  s.language = pathFromCp1252File(ini.readString(kLirno, "Language", ""));
  s.documentPath = pathFromCp1252File(ini.readString(kLirno, "DocumentPath", ""));
  return s;
}

bool writeShellSettings(const IniFile& ini, const ShellSettings& s) {
  const std::string folder = folderOf(ini.path());
  if (!folder.empty() && !folderExists(folder)) makeFolders(folder);
  bool ok = writePathSetting(ini, "Rules", s.rules);
  ok = writePathSetting(ini, "Language", s.language) && ok;
  ok = writePathSetting(ini, "DocumentPath", s.documentPath) && ok;
  return ok;
}

WindowSettings readWindowSettings(const IniFile& ini, const WindowSettings& current) {
  WindowSettings s = current;
  s.state = ini.readInt(kWindow, "State", 2);
  if (s.state == 0) {
    s.top = ini.readInt(kWindow, "Top", current.top);
    s.left = ini.readInt(kWindow, "Left", current.left);
    s.height = ini.readInt(kWindow, "Height", current.height);
    s.width = ini.readInt(kWindow, "Width", current.width);
  }
  s.gridSplitter = ini.readInt(kWindow, "GridSplitter", 235);
  s.footnoteSplitter = ini.readInt(kWindow, "FootnoteSplitter", 60);
  s.pictureSplitter = ini.readInt(kWindow, "PictureSplitter", 300);
  return s;
}

bool writeWindowSettings(const IniFile& ini, const WindowSettings& s) {
  bool ok = ini.writeInt(kWindow, "State", s.state);
  ok = ini.writeInt(kWindow, "Top", s.top) && ok;
  ok = ini.writeInt(kWindow, "Left", s.left) && ok;
  ok = ini.writeInt(kWindow, "Height", s.height) && ok;
  ok = ini.writeInt(kWindow, "Width", s.width) && ok;
  ok = ini.writeInt(kWindow, "GridSplitter", s.gridSplitter) && ok;
  ok = ini.writeInt(kWindow, "FootnoteSplitter", s.footnoteSplitter) && ok;
  ok = ini.writeInt(kWindow, "PictureSplitter", s.pictureSplitter) && ok;
  return ok;
}

bool writePathSetting(const IniFile& ini, const char* key, const std::string& utf8Value) {
  return ini.writeString(kLirno, key, pathToCp1252File(utf8Value));
}

}  // namespace lirno
