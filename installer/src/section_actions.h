// The actions of a localized script section (AVANT_INSTALLATION, OPTION1,
// OPTION2, FIN_INSTALLATION): COPYn, BASEREGn/VAL_BASEREGn, EXECUTEn, then
// the section's TITRE/MESSAGE.
#pragma once

#include <string>
#include <string_view>

namespace stelvane {

struct Installer;

// Runs the actions when `enabled`; failures are reported and the actions go
// on, so there is no result.
void runSectionActions(Installer& installer, std::wstring_view section, bool enabled);

// An EXECUTEn command as it is run: upper-cased first, then expanded (so only
// the upper-case macros and a leading shell-folder token still work).
std::wstring prepareExecuteCommand(const Installer& installer, std::wstring_view command);

}  // namespace stelvane
