// The choice of the installation language ([LANGUE] of the install script).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace stelvane {

struct Installer;

// LIB_LANGUE1, LIB_LANGUE2, ... up to the first empty one.
std::vector<std::wstring> readLanguageLabels(const std::wstring& script);

// Shows the labels (the first one selected) and returns the chosen 1-based
// position, or 0 when the user cancelled.
using LanguagePicker = std::function<int(const std::vector<std::wstring>& labels)>;

// Sets the installer's language suffix and index. No label: no suffix; one
// label: LANGUE1 without asking; several: `pick` asks. False when cancelled.
bool chooseLanguage(Installer& installer, const LanguagePicker& pick);

}  // namespace stelvane
