#include "registration.h"

#include "checks.h"
#include "fs.h"
#include "installer.h"
#include "integration.h"
#include "paths.h"
#include "profile.h"
#include "registry.h"
#include "system_info.h"
#include "text.h"
#include "zip/zip_archive.h"

namespace stelvane {

namespace {

constexpr int kRecordBoth = kRecordValue | kRecordKey;
constexpr wchar_t kAppPaths[] =
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

}  // namespace

void rememberInstallFolder(Installer& installer) {
  writeRegistryValue(installer, previousInstallationKey(installer.applicationName),
                     L"S," + installer.installFolder, kRecordBoth);
}

void registerAppPath(Installer& installer, const std::wstring& upperTarget) {
  const std::wstring key = kAppPaths + fileNameOf(upperTarget) + L"\\";
  writeRegistryValue(installer, key, L"S," + upperTarget, kRecordBoth);
  writeRegistryValue(installer, key + L"Path", L"S," + withoutTrailingBackslash(folderOf(upperTarget)),
                     kRecordBoth);
}

std::wstring uninstallKey(const std::wstring& name) {
  const wchar_t* root = isWindowsVistaOrLater() ? L"HKEY_LOCAL_MACHINE" : L"HKEY_CURRENT_USER";
  return std::wstring(root) + L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + name +
         L"\\";
}

void registerUninstaller(Installer& installer, ZipArchive& archive) {
  const std::wstring& description = installer.descriptionPath;
  std::wstring name = readProfile(description, L"KXF", L"TAG_REG");
  if (name.empty()) name = readProfile(description, L"KXF", L"APPLI");
  const std::wstring program = readProfile(description, L"INST", L"UNINSTPRG01");
  const std::wstring& folder = installer.installFolder;
  const std::wstring programPath = joinPath(folder, program);

  // Whether the uninstaller could be placed does not change its registration.
  createFolderTree(folderOf(programPath));
  if (pathExists(programPath)) {
    setAttributes(programPath, FILE_ATTRIBUTE_NORMAL);
    deleteFile(programPath);
  }
  archive.extract(program, programPath);
  if (installer.integration) {
    installer.integration->setUninstallTag(name);
    installer.integration->record(RecordWord::File, programPath);
  }

  const std::wstring key = uninstallKey(name);
  const std::wstring quotedProgram = L"\"" + withoutTrailingBackslash(folder) + L"\\" + program + L"\"";
  writeRegistryValue(installer, key + L"DisplayIcon", L"S," + quotedProgram + L",0", kRecordBoth);
  writeRegistryValue(installer, key + L"DisplayName", L"S," + name, kRecordBoth);
  writeRegistryValue(installer, key + L"Fic", L"S," + withoutTrailingBackslash(folder) + L"\\uninst.inf",
                     kRecordBoth);
  writeRegistryValue(installer, key + L"Rep", L"S," + folder, kRecordBoth);
  writeRegistryValue(installer, key + L"UninstallString",
                     L"S," + quotedProgram + L" /REG=\"" + name + L"\"", kRecordBoth);
}

}  // namespace stelvane
