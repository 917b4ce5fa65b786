#include "support/test_support.h"

#include "fs.h"
#include "integration.h"
#include "paths.h"

namespace stelvane::test {

TempFolder::TempFolder() {
  path_ = withoutTrailingBackslash(createWorkFolder(L"STT"));
  if (path_.empty()) ADD_FAILURE() << "cannot create a temporary folder";
}

TempFolder::~TempFolder() {
  if (!path_.empty()) deleteFolderTree(path_);
}

void writeUnicodeFile(const std::wstring& path, const std::wstring& text) {
  std::string bytes = "\xFF\xFE";
  for (wchar_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
  }
  writeBytes(path, bytes);
}

void writeBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_EQ(written, bytes.size());
}

std::string readBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &n, nullptr) && n > 0) bytes.append(buffer, n);
  CloseHandle(file);
  return bytes;
}

std::wstring programFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return folderOf(path);
}

void MessageLog::attach(Installer& installer) {
  installer.messageSink = [this](MessageKind kind, const std::wstring& caption,
                                 const std::wstring& text) {
    entries.push_back({kind, caption, text});
    return kind == MessageKind::Question ? answer : true;
  };
}

size_t MessageLog::count(MessageKind kind) const {
  size_t n = 0;
  for (const auto& e : entries) n += e.kind == kind;
  return n;
}

void clearTestRegistry() {
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\StelvaneTests");
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Halvorn\\KXSetup\\1\\StelvaneTest");
}

std::wstring registryString(HKEY root, const std::wstring& key, const std::wstring& value) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof(buffer) - sizeof(wchar_t);
  if (RegGetValueW(root, key.c_str(), value.c_str(), RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS)
    return {};
  return buffer;
}

ScriptTest::ScriptTest() {
  installer.instance = GetModuleHandleW(nullptr);
  installer.integration = createIntegration();
  installer.sourceFolder = source.path() + L"\\";
  installer.scriptPath = installer.sourceFolder + L"INSTALL.INI";
  wchar_t folder[MAX_PATH + 1] = {};
  GetWindowsDirectoryW(folder, MAX_PATH);
  installer.windowsFolder = folder;
  GetSystemDirectoryW(folder, MAX_PATH);
  installer.systemFolder = folder;
  messages.attach(installer);
}

void ScriptTest::writeScript(const std::wstring& text) {
  writeUnicodeFile(installer.scriptPath, text);
  // The profile functions cache files; make them read the new text.
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, installer.scriptPath.c_str());
}

void ScriptTest::writeDescription(const std::wstring& text) {
  const std::wstring path = installer.sourceFolder + L"desc.vzf";
  writeUnicodeFile(path, text);
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
}

}  // namespace stelvane::test
