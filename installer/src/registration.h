// What the installer registers with the system for the placed files: the
// folder of this installation, the App Paths of placed programs and the
// uninstaller's entry. Every value is recorded (key and value) in the
// uninstall record.
#pragma once

#include <string>

namespace stelvane {

struct Installer;
class ZipArchive;

// "S," + the installation folder at the previous-installation key path.
void rememberInstallFolder(Installer& installer);

// App Paths of a placed program; `upperTarget` is its upper-cased full path.
void registerAppPath(Installer& installer, const std::wstring& upperTarget);

// Places the uninstaller ([INST] UNINSTPRG01 of the description file) from
// `archive` into the installation folder, tags the uninstall record with the
// application's name and writes its Uninstall entry.
void registerUninstaller(Installer& installer, ZipArchive& archive);

// The Uninstall key path string of `name`, with its trailing backslash.
std::wstring uninstallKey(const std::wstring& name);

}  // namespace stelvane
