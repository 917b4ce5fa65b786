#include "checks.h"

#include "installer.h"
#include "macros.h"
#include "messages.h"
#include "paths.h"
#include "processes.h"
#include "profile.h"
#include "registry.h"
#include "system_info.h"
#include "text.h"
#include "version_resource.h"

namespace stelvane {

namespace {

// Reads a key of a localized section that the check requires; shows the
// script error when it is empty.
bool required(Installer& installer, const std::wstring& section, const wchar_t* key,
              std::wstring& value) {
  value = readProfile(installer.scriptPath, section, key);
  if (value.empty()) scriptError(installer, key, section);
  return !value.empty();
}

bool checked(const Installer& installer, const std::wstring& section) {
  return firstCharIs(readProfile(installer.scriptPath, section, L"VERIF", L"N"), L'Y');
}

// Takes the description file named by the script and the application name
// from it; false when the script names none.
bool readDescriptionName(Installer& installer) {
  const std::wstring vzf =
      readProfile(installer.scriptPath, L"OPTION_INSTALL", L"INSTALL_VZF", L"", kPathSize);
  if (vzf.empty()) return false;
  installer.descriptionPath = expandMacros(installer, vzf);
  const std::wstring& description = installer.descriptionPath;
  installer.applicationName = readProfile(description, L"KXF", L"TAG_REG");
  if (installer.applicationName.empty())
    installer.applicationName = readProfile(description, L"KXF", L"APPLI");
  return true;
}

bool prepareFromDescription(Installer& installer) {
  if (!readDescriptionName(installer)) return true;
  const std::wstring& description = installer.descriptionPath;
  std::wstring previous;
  readRegistryValue(installer, previousInstallationKey(installer.applicationName), previous);
  installer.installFolder =
      !previous.empty() ? previous : expandMacros(installer, readProfile(description, L"KXF", L"REPDEF"));
  installer.newVersion = readProfile(description, L"KXF", L"VERSION");
  return true;
}

}  // namespace

bool checkProductInstalled(Installer& installer) {
  const std::wstring section = localizedSection(L"PRODUIT_INSTALLE", installer.languageSuffix);
  if (!checked(installer, section)) return true;
  std::wstring path;
  if (!required(installer, section, L"BASEREG_TEST", path)) return false;
  std::wstring value;
  if (!readRegistryValue(installer, path, value)) return false;
  if (!value.empty()) return true;
  errorBox(installer, readProfile(installer.scriptPath, section, L"TITRE"),
           readProfile(installer.scriptPath, section, L"MESSAGE"));
  return false;
}

std::wstring previousInstallationKey(std::wstring_view application) {
  const wchar_t* root = isWindowsVistaOrLater() ? L"HKEY_LOCAL_MACHINE" : L"HKEY_CURRENT_USER";
  return std::wstring(root) + L"\\Software\\Halvorn\\KXSetup\\1\\" + std::wstring(application) +
         L"\\REPINST";
}

bool prepareVersionCheck(Installer& installer) {
  const std::wstring section = localizedSection(L"VERIFICATION_VERSION", installer.languageSuffix);
  const std::wstring& script = installer.scriptPath;
  const std::wstring programKey = readProfile(script, section, L"BASEREG_REPPRG");
  if (programKey.empty()) return prepareFromDescription(installer);
  // An upgrade still registers, groups and records under the application's
  // name; the folder and the versions come from the program's keys below.
  readDescriptionName(installer);

  std::wstring programFolder;
  if (!readRegistryValue(installer, programKey, programFolder)) return false;
  std::wstring rootKey;
  if (!required(installer, section, L"BASEREG_REPRACINE", rootKey)) return false;
  std::wstring root;
  if (!readRegistryValue(installer, rootKey, root)) return false;
  if (root.empty()) {
    scriptError(installer, L"BASEREG_REPRACINE (registry)", section);
    return false;
  }
  installer.installFolder = root;
  if (programFolder.empty()) {
    std::wstring programSub;
    if (!required(installer, section, L"REPPRG", programSub)) return false;
    programFolder = root + programSub;
  }
  installer.installFolder = withoutTrailingBackslash(installer.installFolder);

  std::wstring exeName, versionName, newVersion;
  if (!required(installer, section, L"NOMEXE", exeName)) return false;
  const std::wstring program = withTrailingBackslash(programFolder) + exeName;
  if (!required(installer, section, L"CHAINEVERSION", versionName)) return false;
  const auto installed = versionString(program, versionName);
  if (!installed) {
    errorBox(installer, L"Erreur", L"L'executable ne contient pas de chaine de version");
    return false;
  }
  if (!required(installer, section, L"NEWVERSION", newVersion)) return false;
  installer.installedVersion = removeWhiteSpace(*installed);
  installer.newVersion = removeWhiteSpace(newVersion);
  return true;
}

int compareVersions(const Collator& collator, std::wstring_view newVersion,
                    std::wstring_view installedVersion) {
  return collator.compare(newVersion, installedVersion);
}

bool confirmVersion(Installer& installer) {
  const std::wstring section = localizedSection(L"VERIFICATION_VERSION", installer.languageSuffix);
  if (!checked(installer, section)) return true;
  const std::wstring& script = installer.scriptPath;
  const int order = compareVersions(installer.collator, installer.newVersion, installer.installedVersion);
  if (order == 0)
    return question(installer, readProfile(script, section, L"TITRE_EGALE"),
                    readProfile(script, section, L"MESSAGE_EGALE"), {installer.installedVersion});
  if (order < 0)
    return question(installer, readProfile(script, section, L"TITRE_MOINSRECENTE"),
                    readProfile(script, section, L"MESSAGE_MOINSRECENTE"),
                    {installer.installedVersion, installer.newVersion});
  return true;
}

bool programMatches(const Collator& collator, std::wstring_view nomExe,
                    std::wstring_view modulePath) {
  const PathParts wanted = splitPath(nomExe);
  const PathParts running = splitPath(modulePath);
  return collator.equal(wanted.name, running.name) &&
         (wanted.folder.empty() || collator.equal(wanted.folder, running.folder)) &&
         (wanted.extension.empty() || collator.equal(wanted.extension, running.extension));
}

bool checkProgramNotRunning(Installer& installer) {
  const std::wstring section = localizedSection(L"EXE_LANCE", installer.languageSuffix);
  if (!checked(installer, section)) return true;
  return checkProgramNotRunning(installer, runningProgramPaths());
}

bool checkProgramNotRunning(Installer& installer, const std::vector<std::wstring>& running) {
  const std::wstring section = localizedSection(L"EXE_LANCE", installer.languageSuffix);
  const std::wstring& script = installer.scriptPath;
  if (!checked(installer, section)) return true;
  const std::wstring nomExe = readProfile(script, section, L"NOM_EXE");
  if (nomExe.empty()) {
    scriptError(installer, L"NOM_EXE", section);
    return true;
  }
  for (const auto& path : running) {
    if (programMatches(installer.collator, nomExe, path)) {
      errorBox(installer, readProfile(script, section, L"TITRE"),
               readProfile(script, section, L"MESSAGE"));
      return false;
    }
  }
  return true;
}

}  // namespace stelvane
