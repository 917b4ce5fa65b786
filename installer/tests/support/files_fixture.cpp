#include "support/files_fixture.h"

#include "fs.h"
#include "integration.h"
#include "paths.h"
#include "text.h"
#include "uninstall_record.h"

namespace stelvane::test {

namespace {

// Both keys: the system may refresh "Shell Folders" from "User Shell Folders".
constexpr const wchar_t* kFolderKeys[] = {
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"};

std::wstring rawValue(const wchar_t* key, const wchar_t* name, DWORD& type) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof(buffer) - sizeof(wchar_t);
  type = REG_SZ;
  if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                   &type, buffer, &size) != ERROR_SUCCESS)
    return {};
  return buffer;
}

void setValue(const wchar_t* key, const std::wstring& name, DWORD type, const std::wstring& value) {
  RegSetKeyValueW(HKEY_CURRENT_USER, key, name.c_str(), type, value.c_str(),
                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// Deletes every subkey of `parent` whose name starts with `prefix` (ignoring case).
void deleteSubkeys(HKEY root, const wchar_t* parent, const std::wstring& prefix) {
  HKEY key;
  if (RegOpenKeyExW(root, parent, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) return;
  std::vector<std::wstring> doomed;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD size = ARRAYSIZE(name);
    if (RegEnumKeyExW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (_wcsnicmp(name, prefix.c_str(), prefix.size()) == 0) doomed.emplace_back(name);
  }
  for (const auto& n : doomed) RegDeleteTreeW(key, n.c_str());
  RegCloseKey(key);
}

// Clears the attributes of everything in `folder`, so that it can be removed.
void makeWritable(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = folder + L"\\" + name;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      makeWritable(path);
    else
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

}  // namespace

std::wstring archivePath(const std::wstring& name) {
  return std::wstring(STELVANE_ARCHIVE_DIR) + L"\\" + name;
}

std::wstring readUtf16File(const std::wstring& path) {
  const std::string bytes = readBytes(path);
  std::wstring text(bytes.size() / 2, L'\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  return text;
}

ShellFoldersRedirect::ShellFoldersRedirect() {
  const std::pair<const wchar_t*, std::wstring> values[] = {
      {L"Programs", programs()}, {L"Desktop", desktop()}, {L"AppData", appData()}};
  for (const auto& [name, folder] : values) {
    createFolderTree(folder);
    for (const wchar_t* key : kFolderKeys) {
      Saved saved{key, name, REG_SZ, {}};
      saved.value = rawValue(key, name, saved.type);
      saved_.push_back(saved);
      setValue(key, name, REG_SZ, folder);
    }
  }
}

ShellFoldersRedirect::~ShellFoldersRedirect() {
  for (const Saved& s : saved_) setValue(s.key, s.name, s.type, s.value);
}

void clearRegistrationKeys() {
  deleteSubkeys(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths", L"STELVANE");
  deleteSubkeys(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                L"StelvaneTest");
  deleteSubkeys(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                L"StelvaneTest");
}

FilesTest::FilesTest() {
  clearTestRegistry();
  clearRegistrationKeys();
  installer.installFolder = target.path();
  installer.workFolder = work.path() + L"\\";
  writeBytes(installer.sourceFolder + L"a.txt", "depuis la source");
}

FilesTest::~FilesTest() {
  makeWritable(target.path());
  makeWritable(work.path());
  clearTestRegistry();
  clearRegistrationKeys();
}

void FilesTest::describe(const std::wstring& text) {
  writeDescription(text);
  installer.descriptionPath = installer.sourceFolder + L"desc.vzf";
}

void FilesTest::copyArchive(const std::wstring& name) {
  ASSERT_TRUE(copyFileOver(archivePath(name), installer.sourceFolder + name));
}

void FilesTest::openRecord() {
  installer.integration->openUninstallRecord(installer);
}

std::vector<std::wstring> FilesTest::recordLines() {
  installer.integration->writeUninstallRecord(installer);
  return splitRecordText(readUtf16File(target.file(L"UNINST.INF")));
}

}  // namespace stelvane::test
