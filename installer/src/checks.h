// The checks of the install script: PRODUIT_INSTALLE before the window opens,
// the preparation of VERIFICATION_VERSION (proposed folder, versions), and at
// OK the version comparison and EXE_LANCE.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace stelvane {

struct Installer;
class Collator;

// True when the required product is present (or not checked).
bool checkProductInstalled(Installer& installer);

// Sets the proposed installation folder, the application name and the two
// versions. False when a required key is missing or the program has no
// version string.
bool prepareVersionCheck(Installer& installer);

// The registry path string of the folder of a previous installation of `application`.
std::wstring previousInstallationKey(std::wstring_view application);

// Compares the versions as text ignoring case: < 0 when `newVersion` sorts
// before `installedVersion` ("2.10" before "2.9").
int compareVersions(const Collator& collator, std::wstring_view newVersion,
                    std::wstring_view installedVersion);
// The comparison at OK: asks when the new version is equal or older; false
// when the user declines.
bool confirmVersion(Installer& installer);

// True when the running program `modulePath` is the one NOM_EXE names: same
// name, and same folder and extension where NOM_EXE gives them (ignoring case).
bool programMatches(const Collator& collator, std::wstring_view nomExe, std::wstring_view modulePath);
// The check at OK: false (after the section's message) when the program runs.
bool checkProgramNotRunning(Installer& installer);
bool checkProgramNotRunning(Installer& installer, const std::vector<std::wstring>& running);

}  // namespace stelvane
