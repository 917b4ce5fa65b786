#include "language.h"

#include "installer.h"
#include "profile.h"

namespace stelvane {

std::vector<std::wstring> readLanguageLabels(const std::wstring& script) {
  std::vector<std::wstring> labels;
  for (int n = 1;; ++n) {
    std::wstring label = readProfile(script, L"LANGUE", numberedKey(L"LIB_LANGUE", n));
    if (label.empty()) break;
    labels.push_back(std::move(label));
  }
  return labels;
}

bool chooseLanguage(Installer& installer, const LanguagePicker& pick) {
  installer.languageSuffix.clear();
  installer.languageIndex = 1;
  const auto labels = readLanguageLabels(installer.scriptPath);
  if (labels.empty()) return true;
  int chosen = 1;
  if (labels.size() > 1) {
    chosen = pick ? pick(labels) : 0;
    if (chosen < 1 || chosen > static_cast<int>(labels.size())) return false;
  }
  installer.languageIndex = chosen;
  installer.languageSuffix = readProfile(installer.scriptPath, L"LANGUE", numberedKey(L"LANGUE", chosen));
  return true;
}

}  // namespace stelvane
