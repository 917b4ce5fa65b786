#include "source_set.h"

#include <windows.h>

#include "fs.h"
#include "installer.h"
#include "macros.h"
#include "paths.h"
#include "profile.h"
#include "text.h"
#include "zip/zip_archive.h"

namespace stelvane {

namespace {

class NameList {
 public:
  explicit NameList(const std::wstring& folder) : folder_(withTrailingBackslash(folder)) {}

  // Takes `path` when it lies inside the folder.
  void add(const std::wstring& path) {
    if (path.size() <= folder_.size() ||
        CompareStringOrdinal(path.data(), static_cast<int>(folder_.size()), folder_.data(),
                             static_cast<int>(folder_.size()), TRUE) != CSTR_EQUAL)
      return;
    const std::wstring name = path.substr(folder_.size());
    if (!isContainedEntryName(name)) return;
    for (const std::wstring& known : names_) {
      if (CompareStringOrdinal(known.data(), -1, name.data(), -1, TRUE) == CSTR_EQUAL) return;
    }
    names_.push_back(name);
  }
  std::vector<std::wstring> take() { return std::move(names_); }

 private:
  std::wstring folder_;
  std::vector<std::wstring> names_;
};

std::vector<std::wstring> sectionNames(const std::wstring& file) {
  std::vector<wchar_t> buffer(32768);
  const DWORD n = GetPrivateProfileSectionNamesW(buffer.data(), static_cast<DWORD>(buffer.size()),
                                                 file.c_str());
  std::vector<std::wstring> names;
  for (size_t i = 0; i < n;) {
    std::wstring name(buffer.data() + i);
    if (name.empty()) break;
    i += name.size() + 1;
    names.push_back(std::move(name));
  }
  return names;
}

bool isFolderLink(const std::wstring& path) {
  CriticalErrorMode mode;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool removeFolder(const std::wstring& folder) {
  CriticalErrorMode mode;
  return RemoveDirectoryW(folder.c_str()) != 0;
}

}  // namespace

std::vector<std::wstring> sourceSetNames(const Installer& installer) {
  NameList names(installer.sourceFolder);
  wchar_t self[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (n > 0 && n < MAX_PATH) names.add(std::wstring(self, n));
  names.add(installer.scriptPath);
  names.add(installer.descriptionPath);
  for (const wchar_t* key : {L"NOM_KXZ", L"NOM_KXZ_ODBC", L"NOM_KXZ_MDAC", L"NOM_KXZ_MODIF"}) {
    const std::wstring archive = readProfile(installer.scriptPath, L"ARCHIVE", key);
    if (!archive.empty()) names.add(joinPath(installer.sourceFolder, archive));
  }
  // The sources of the COPY actions, in every language's sections.
  for (const std::wstring& section : sectionNames(installer.scriptPath)) {
    for (int i = 1;; ++i) {
      const std::wstring copy = readProfile(installer.scriptPath, section, numberedKey(L"COPY", i));
      if (copy.empty()) break;
      names.add(expandMacros(installer, copy.substr(0, copy.find(L';'))));
    }
  }
  // The description's files copied from the source folder (option field 7).
  if (!installer.descriptionPath.empty()) {
    const int count = readProfileInt(installer.descriptionPath, L"FICHIER", L"NB", 0);
    for (int i = 1; i <= count; ++i) {
      const std::wstring param =
          readProfile(installer.descriptionPath, L"FICHIER", fiveDigitKey(L"PARAM", i));
      const std::wstring fromSource = field(param, L"/", 7);
      if (fromSource.empty() || fromSource == L"0") continue;
      const std::wstring entry = readProfile(installer.descriptionPath, L"FICHIER", fiveDigitKey(L"F", i));
      names.add(installer.sourceFolder + field(entry, L"/", 3));
    }
  }
  return names.take();
}

std::wstring joinSourceSet(const std::vector<std::wstring>& names) {
  std::wstring text;
  for (const std::wstring& name : names) {
    // An environment variable holds at most 32767 characters: what does not
    // fit is not removed.
    if (text.size() + name.size() + 1 >= 32767) break;
    if (!text.empty()) text += L'|';
    text += name;
  }
  return text;
}

std::vector<std::wstring> splitSourceSet(std::wstring_view text) {
  std::vector<std::wstring> names;
  for (std::wstring& name : split(text, L"|"))
    if (!name.empty()) names.push_back(std::move(name));
  return names;
}

bool removeSourceSet(const std::wstring& folder, const std::vector<std::wstring>& names) {
  const std::wstring root = withoutTrailingBackslash(folder);
  if (root.empty()) return false;
  for (const std::wstring& name : names) {
    if (!isContainedEntryName(name)) continue;
    // Every folder on the way must be a real one: through a link the name
    // would designate a file elsewhere.
    bool linked = false;
    for (size_t slash = name.find(L'\\'); slash != std::wstring::npos && !linked;
         slash = name.find(L'\\', slash + 1))
      linked = isFolderLink(joinPath(root, name.substr(0, slash)));
    if (linked) continue;
    const std::wstring path = joinPath(root, name);
    if (!fileExists(path) || !deleteFile(path)) continue;
    // The sub-folders the file leaves empty (a folder that is not empty stays).
    for (std::wstring sub = withoutTrailingBackslash(folderOf(name)); !sub.empty();
         sub = withoutTrailingBackslash(folderOf(sub))) {
      if (!removeFolder(joinPath(root, sub))) break;
    }
  }
  if (removeFolder(root)) return true;
  SetCurrentDirectoryW(L"C:\\");
  return removeFolder(root);
}

}  // namespace stelvane
