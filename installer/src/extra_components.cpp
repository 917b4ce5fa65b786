#include "extra_components.h"

#include <windows.h>

#include <cstdio>

#include "installer.h"
#include "macros.h"
#include "messages.h"
#include "modification_library.h"
#include "paths.h"
#include "placement.h"
#include "processes.h"
#include "profile.h"
#include "registry.h"
#include "text.h"

namespace stelvane {

namespace {

bool switchedOn(const Installer& installer, const wchar_t* key) {
  return readProfile(installer.descriptionPath, L"DQ", key, L"0") != L"0";
}

bool confirmed(Installer& installer, const wchar_t* confirmKey, const wchar_t* section) {
  if (readProfile(installer.descriptionPath, L"DQ", confirmKey, L"0") != L"1") return true;
  return question(installer, readLocalized(installer, section, L"TITRE"),
                  readLocalized(installer, section, L"MESSAGE"));
}

std::wstring sourceArchive(const Installer& installer, const wchar_t* key) {
  const std::wstring name = readProfile(installer.scriptPath, L"ARCHIVE", key);
  return name.empty() ? name : joinPath(installer.sourceFolder, name);
}

std::wstring fieldAt(const std::vector<std::wstring>& fields, size_t index) {
  return index < fields.size() ? fields[index] : std::wstring();
}

// One data-modification entry DQ(n) with its MDP(n) passwords.
bool modifyEntry(Installer& installer, int n, const std::wstring& dq, const std::wstring& libraryPath) {
  ModificationLibrary library(libraryPath);
  const std::wstring caption = readLocalized(installer, L"MODIFAUTO", L"TITRE");
  if (!library.loaded() || !library.create()) {
    const std::wstring& report = library.report();
    warningBox(installer, caption,
               library.loaded() && !report.empty() ? report : L"La DLL n'a pas été chargée");
    return false;
  }
  const auto fields = split(dq, L"/");
  if (fieldAt(fields, 0) == L"1") {
    const std::wstring analysis = fieldAt(fields, 1);
    wchar_t folder[16];
    swprintf(folder, ARRAYSIZE(folder), L"EXE%04d", n);
    const std::wstring path = withoutTrailingBackslash(installer.workFolder) + L"\\" + folder + L"\\" +
                              field(analysis, L"\t", 0);
    const std::wstring installFolder = withTrailingBackslash(installer.installFolder);
    library.setAnalysis(path);
    library.setAnalysisPassword(field(analysis, L"\t", 1));
    library.setProgramFolder(installer.installFolder);
    library.addFolder(installFolder);
    library.addLocalisationFolder(installFolder);
    library.addRep();
    const std::wstring passwords =
        readProfile(installer.descriptionPath, L"FICHIER", fiveDigitKey(L"MDP", n));
    for (const std::wstring& entry : split(passwords, L"§")) {
      const auto parts = split(entry, L"\t");
      const std::wstring logical = fieldAt(parts, 0);
      if (logical.empty() || logical[0] == L'<') continue;
      if (!fieldAt(parts, 4).empty()) library.setOpeningPassword(logical, parts[4]);
      if (!fieldAt(parts, 5).empty()) library.setFinalPassword(logical, parts[5]);
    }
    library.saveInSourceSubfolder();
    library.setSaveFlag(1);
    library.execute(GetActiveWindow());
  }
  return true;
}

}  // namespace

std::vector<std::vector<std::wstring>> listEntries(const Installer& installer, std::wstring_view list) {
  std::vector<std::vector<std::wstring>> entries;
  for (const std::wstring& entry : split(list, L"§§")) {
    if (entry.empty()) continue;
    entries.push_back(split(expandMacros(installer, entry), L"§"));
  }
  return entries;
}

void installOdbcComponent(Installer& installer) {
  if (!switchedOn(installer, L"INSTODBC") || !confirmed(installer, L"CONFODBC", L"ODBC")) return;
  const std::wstring archive = sourceArchive(installer, L"NOM_KXZ_ODBC");
  if (archive.empty()) return;
  placeArchive(installer, archive, installer.systemFolder, true);
  for (int n = 1;; ++n) {
    const std::wstring path = readProfile(installer.scriptPath, L"DRIVER_ODBC", numberedKey(L"BASEREG", n));
    if (path.empty()) return;
    const std::wstring value =
        readProfile(installer.scriptPath, L"DRIVER_ODBC", numberedKey(L"VAL_BASEREG", n));
    writeRegistryValue(installer, expandMacros(installer, path), expandMacros(installer, value),
                       kRecordValue | kRecordKey);
  }
}

void installDataAccessComponent(Installer& installer) {
  if (!switchedOn(installer, L"INSTMDAC")) return;
  const std::wstring archive = sourceArchive(installer, L"NOM_KXZ_MDAC");
  if (archive.empty() || installer.workFolder.empty()) return;
  placeArchive(installer, archive, installer.workFolder, true);
  runAndWait(L"\"" + joinPath(installer.workFolder, L"mdac_type.exe") + L"\"", installer.installFolder);
  drainMessages();
}

void writeIniList(Installer& installer) {
  const std::wstring list = readProfile(installer.descriptionPath, L"KXF", L"INI", L"", kListSize);
  for (const auto& fields : listEntries(installer, list)) {
    // Without a file, a section and a key there is nothing to write (the
    // profile functions would take an empty name for WIN.INI or a whole section).
    const std::wstring file = fieldAt(fields, 0), section = fieldAt(fields, 1), key = fieldAt(fields, 2);
    if (file.empty() || section.empty() || key.empty()) continue;
    writeProfile(file, section, key, fieldAt(fields, 3));
  }
}

void writeRegistryList(Installer& installer) {
  const std::wstring list = readProfile(installer.descriptionPath, L"KXF", L"REG", L"", kListSize);
  for (const auto& fields : listEntries(installer, list)) {
    writeRegistryValue(installer, fieldAt(fields, 0) + L"\\" + fieldAt(fields, 1), fieldAt(fields, 2),
                       kRecordValue);
  }
}

bool runDataModification(Installer& installer) {
  if (!switchedOn(installer, L"MODIFAUTO") || !confirmed(installer, L"CONFMODIF", L"MODIFAUTO"))
    return true;
  const std::wstring archive = sourceArchive(installer, L"NOM_KXZ_MODIF");
  if (archive.empty()) return true;
  placeArchive(installer, archive, installer.workFolder, true);
  const std::wstring library =
      joinPath(installer.workFolder, readProfile(installer.scriptPath, L"ARCHIVE", L"NOM_DLL_MODIF"));

  const int count = readProfileInt(installer.descriptionPath, L"FICHIER", L"NB", 0);
  wchar_t previous[MAX_PATH + 1] = {};
  const DWORD kept = GetCurrentDirectoryW(ARRAYSIZE(previous), previous);
  SetCurrentDirectoryW(installer.workFolder.c_str());
  bool ok = true;
  for (int n = 1; n <= count; ++n) {
    const std::wstring dq = readProfile(installer.descriptionPath, L"FICHIER", fiveDigitKey(L"DQ", n));
    if (!firstCharIs(dq, L'1')) continue;
    ok = modifyEntry(installer, n, dq, library) && ok;
    drainMessages();
  }
  if (kept > 0 && kept < ARRAYSIZE(previous)) SetCurrentDirectoryW(previous);
  return ok;
}

bool runExtraComponents(Installer& installer) {
  installOdbcComponent(installer);
  installDataAccessComponent(installer);
  writeIniList(installer);
  writeRegistryList(installer);
  return runDataModification(installer);
}

}  // namespace stelvane
