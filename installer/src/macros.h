// Macro expansion of script values.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace stelvane {

struct Installer;

// Replaces the macros of `text` (exact, case-sensitive tokens):
//   %REP_INSTALL%, %REP_WINDOWS%, %REP_SYSTEM%, %REP_SRC%, %REP_TEMP%,
//   <RepInst>, <RepWin>, <RepSys>, <FicInst>, <LectInst>, %APPLI%
// and a leading shell-folder token ("<srBureau>", any case). The text is
// scanned once from left to right and substituted values are never scanned
// again. Only a token at the very start of the text can be a shell folder.
// For paths, commands and registry data: "\n" stays as it is there, since
// "%REP_INSTALL%\notes.txt" is a file, not two lines.
std::wstring expandMacros(const Installer& installer, std::wstring_view text);

// The same for texts that are shown (messages, labels): "\n" in the text
// (never in a substituted folder) becomes a line feed. With `escapePercent`,
// every "%" of a substituted value is doubled, for texts that are then used
// as formats (formatText).
std::wstring expandMessage(const Installer& installer, std::wstring_view text,
                           bool escapePercent = false);

// The folder named by a shell-folder token ("srBureau", compared ignoring
// case), or nothing when the name is not one of them.
std::optional<std::wstring> shellFolder(const Installer& installer, std::wstring_view name);

}  // namespace stelvane
