#include "section_actions.h"

#include "fs.h"
#include "installer.h"
#include "macros.h"
#include "messages.h"
#include "processes.h"
#include "profile.h"
#include "registry.h"
#include "text.h"

namespace stelvane {

namespace {

void runCopies(Installer& installer, const std::wstring& section) {
  for (int n = 1;; ++n) {
    const std::wstring value = readProfile(installer.scriptPath, section, numberedKey(L"COPY", n));
    if (value.empty()) return;
    const size_t semicolon = value.find(L';');
    const std::wstring source = expandMacros(installer, value.substr(0, semicolon));
    const std::wstring target =
        semicolon == std::wstring::npos ? std::wstring() : expandMacros(installer, value.substr(semicolon + 1));
    if (copyFileOver(source, target)) continue;
    const std::wstring caption = readLocalized(installer, L"ERREUR_COPY", L"TITRE");
    if (!caption.empty()) {
      errorBoxFormat(installer, caption, readLocalized(installer, L"ERREUR_COPY", L"MESSAGE"),
                     {source, target});
    } else {
      errorBoxFormat(installer, L"Erreur", L"Erreur de copie de %s vers %s\nVoulez vous continuer ?",
                     {source, target});
    }
  }
}

void runRegistryWrites(Installer& installer, const std::wstring& section) {
  for (int n = 1;; ++n) {
    const std::wstring path = readProfile(installer.scriptPath, section, numberedKey(L"BASEREG", n));
    if (path.empty()) return;
    const std::wstring value =
        readProfile(installer.scriptPath, section, numberedKey(L"VAL_BASEREG", n));
    writeRegistryValue(installer, expandMacros(installer, path), expandMacros(installer, value),
                       kRecordValue);
  }
}

void runCommands(Installer& installer, const std::wstring& section) {
  for (int n = 1;; ++n) {
    const std::wstring value = readProfile(installer.scriptPath, section, numberedKey(L"EXECUTE", n));
    if (value.empty()) return;
    const std::wstring command = prepareExecuteCommand(installer, value);
    if (command.find(L".EXE") != std::wstring::npos) {
      runAndWait(command, installer.installFolder);
    } else {
      shellOpen(command, installer.installFolder);
    }
    drainMessages();
  }
}

}  // namespace

std::wstring prepareExecuteCommand(const Installer& installer, std::wstring_view command) {
  return expandMacros(installer, toUpper(command));
}

void runSectionActions(Installer& installer, std::wstring_view name, bool enabled) {
  if (!enabled) return;
  const std::wstring section = localizedSection(name, installer.languageSuffix);
  runCopies(installer, section);
  runRegistryWrites(installer, section);
  runCommands(installer, section);
  const std::wstring caption = readProfile(installer.scriptPath, section, L"TITRE");
  if (!caption.empty())
    warningBox(installer, caption, readProfile(installer.scriptPath, section, L"MESSAGE"));
}

}  // namespace stelvane
