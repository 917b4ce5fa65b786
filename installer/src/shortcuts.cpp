#include "shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "fs.h"
#include "handle.h"
#include "installer.h"
#include "integration.h"
#include "macros.h"
#include "paths.h"
#include "profile.h"
#include "text.h"

namespace stelvane {

namespace {

// Releases a COM interface on every way out.
template <typename T>
struct ComPtr {
  T* p = nullptr;
  ~ComPtr() {
    if (p) p->Release();
  }
};

std::wstring shellFoldersValue(const wchar_t* name) {
  RegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER,
                    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                    KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS)
    return {};
  wchar_t buffer[MAX_PATH + 1] = {};
  DWORD size = MAX_PATH * sizeof(wchar_t);
  DWORD type = 0;
  if (RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return {};
  return buffer;
}

// The Shell Folders value, or the system's own location when the value is missing.
std::wstring userFolder(const wchar_t* value, int csidl) {
  std::wstring folder = shellFoldersValue(value);
  if (!folder.empty()) return folder;
  wchar_t path[MAX_PATH + 1] = {};
  if (SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return path;
  return {};
}

}  // namespace

std::wstring shortcutFolder(int optionBit, std::wstring_view group) {
  switch (optionBit) {
    case 1: {
      const std::wstring programs = userFolder(L"Programs", CSIDL_PROGRAMS);
      return programs.empty() ? programs : joinPath(programs, group);
    }
    case 2: return userFolder(L"Desktop", CSIDL_DESKTOPDIRECTORY);
    case 4: {
      const std::wstring data = userFolder(L"AppData", CSIDL_APPDATA);
      return data.empty() ? data : joinPath(data, L"Microsoft\\Internet Explorer\\Quick Launch");
    }
  }
  return {};
}

bool createShellLink(const std::wstring& file, const std::wstring& target,
                     const std::wstring& description, const std::wstring& workingFolder) {
  // Balanced here, so that the function also works on a thread without COM.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  bool saved = false;
  {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> persist;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link.p)))) {
      link.p->SetPath(target.c_str());
      link.p->SetDescription(description.c_str());
      link.p->SetWorkingDirectory(workingFolder.c_str());
      if (SUCCEEDED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist.p))))
        saved = SUCCEEDED(persist.p->Save(file.c_str(), TRUE));
    }
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return saved;
}

void createShortcutSet(Installer& installer) {
  const std::wstring& script = installer.scriptPath;
  const std::wstring group = expandMacros(installer, readProfile(script, L"RACCOURCI", L"NOM_GROUPE"));
  if (group.empty()) return;
  for (int n = 1;; ++n) {
    const std::wstring titleText = readProfile(script, L"RACCOURCI", numberedKey(L"ICONE_TITRE", n));
    if (titleText.empty()) return;
    const std::wstring title = expandMacros(installer, titleText);
    const std::wstring target =
        expandMacros(installer, readProfile(script, L"RACCOURCI", numberedKey(L"ICONE_CIBLE", n)));
    const std::wstring folder =
        expandMacros(installer, readProfile(script, L"RACCOURCI", numberedKey(L"ICONE_REP", n)));
    const int options = readProfileInt(script, L"RACCOURCI", numberedKey(L"ICONE_OPTION", n), 0);
    const std::wstring linkName = fileNameOf(title) + L".LNK";
    for (int bit : {1, 2, 4}) {
      if (!(options & bit)) continue;
      const std::wstring linkFolder = shortcutFolder(bit, group);
      if (linkFolder.empty()) continue;  // never a link at the root of a drive
      const std::wstring file = joinPath(linkFolder, linkName);
      createFolderTree(linkFolder);
      createShellLink(file, target, title, folder);
      if (installer.integration) installer.integration->record(RecordWord::Shortcut, file);
    }
    drainMessages();
  }
}

ShortcutAttachments::ShortcutAttachments(Installer& installer) : installer_(installer) {
  const std::wstring& description = installer.descriptionPath;
  const int count = readProfileInt(description, L"RACCOURCI", L"NBRACCOURCI", 0);
  const size_t language = installer.languageIndex > 0 ? installer.languageIndex - 1 : 0;
  for (int j = 1; j <= count; ++j) {
    std::wstring file = readProfile(description, L"RACCOURCI", fiveDigitKey(L"FIC", j));
    if (file.size() >= 2 && file[1] == L':') file.erase(0, 2);
    if (!file.empty() && file[0] == L'\\') file.erase(0, 1);
    Listed listed;
    listed.file = file;
    listed.title = field(readProfile(description, L"RACCOURCI", fiveDigitKey(L"LIB", j)), L"\t", language);
    listed.option = readProfile(description, L"RACCOURCI", fiveDigitKey(L"FLAG", j));
    listed_.push_back(std::move(listed));
  }
}

void ShortcutAttachments::attach(std::wstring_view entryName, const std::wstring& upperTarget) {
  for (const Listed& listed : listed_) {
    if (!installer_.collator.equal(listed.file, entryName)) continue;
    const std::wstring k = std::to_wstring(++written_);
    const std::wstring& script = installer_.scriptPath;
    writeProfile(script, L"RACCOURCI", L"ICONE_CIBLE" + k, upperTarget);
    writeProfile(script, L"RACCOURCI", L"ICONE_REP" + k, withoutTrailingBackslash(folderOf(upperTarget)));
    writeProfile(script, L"RACCOURCI", L"ICONE_TITRE" + k, listed.title);
    writeProfile(script, L"RACCOURCI", L"ICONE_OPTION" + k, listed.option);
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, script.c_str());
    return;
  }
}

}  // namespace stelvane
