// Macro expansion of script values.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace stelvane {

struct Installer;

// Replaces the macros of `text` (exact, case-sensitive tokens):
//   %REP_INSTALL%, %REP_WINDOWS%, %REP_SYSTEM%, %REP_SRC%, %REP_TEMP%, "\n",
//   <RepInst>, <RepWin>, <RepSys>, <FicInst>, <LectInst>, %APPLI%
// and a leading shell-folder token ("<srBureau>", any case). The text is
// scanned once from left to right and substituted values are never scanned
// again, so a folder such as "C:\nouveau" keeps its "\n" and a value that
// happens to contain a token is taken as it stands. Only a token at the very
// start of the text can be a shell folder.
// With `escapePercent`, every "%" of a substituted value is doubled, for texts
// that are then used as formats (formatText).
std::wstring expandMacros(const Installer& installer, std::wstring_view text,
                          bool escapePercent = false);

// The folder named by a shell-folder token ("srBureau", compared ignoring
// case), or nothing when the name is not one of them.
std::optional<std::wstring> shellFolder(const Installer& installer, std::wstring_view name);

}  // namespace stelvane
