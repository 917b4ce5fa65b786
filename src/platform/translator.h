#pragma once
// Translate: the translation of a French program text from the loaded
// language file, or the text itself. Core code takes it as a value so that
// it never reaches for the language tables; identity by default.
#include <functional>
#include <string>
#include <string_view>

#include "platform/cp1252.h"

namespace lirno {

// Both sides are UTF-8 (program literals and language tables alike).
using Translator = std::function<std::string(std::string_view)>;

// Marks a program text that reaches Translate by another road (a record, a
// table): the check of the language files finds it by this mark.
constexpr const char* translatable(const char* text) { return text; }

inline std::string identityTranslation(std::string_view text) { return std::string(text); }

// T(text) converted to Windows-1252, for engine text and reports. An empty
// translator counts as the identity.
inline std::string translateToAnsi(const Translator& translate, std::string_view utf8Text) {
  return utf8ToCp1252(translate ? translate(utf8Text) : std::string(utf8Text));
}

}  // namespace lirno
