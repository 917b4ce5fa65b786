// The installer's message functions. Each expands the macros of its text
// first; in silent mode nothing is shown and every question counts as "Yes".
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace stelvane {

struct Installer;

// Plain texts.
void errorBox(const Installer& installer, std::wstring_view caption, std::wstring_view text);
void warningBox(const Installer& installer, std::wstring_view caption, std::wstring_view text);

// Texts used as printf-style formats (macros expanded first, then `args`
// filled in with formatText; arguments are never expanded).
void errorBoxFormat(const Installer& installer, std::wstring_view caption,
                    std::wstring_view format, std::initializer_list<std::wstring> args);
// Yes/No question; true for "Yes", and at once when silent.
bool question(const Installer& installer, std::wstring_view caption, std::wstring_view format,
              std::initializer_list<std::wstring> args = {});

// Error box "Erreur de script": "la valeur KEY de la section SECTION n'est pas définie".
void scriptError(const Installer& installer, std::wstring_view key, std::wstring_view section);

// The system's text for `error` in a box captioned "Error" (information icon).
void systemErrorBox(const Installer& installer, DWORD error);

}  // namespace stelvane
