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

namespace {

// The host path of a Windows path under Wine; empty on Windows.
std::string hostPath(const std::wstring& path) {
  using Convert = char*(CDECL*)(const wchar_t*);
  auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return {};
  char* host = convert(path.c_str());
  if (!host) return {};
  std::string text = host;
  HeapFree(GetProcessHeap(), 0, host);
  return text;
}

// Starts a host program under Wine (its end cannot be waited for), then waits
// until `done` holds.
template <typename Done>
bool runHost(const std::string& line, Done done) {
  std::wstring command(line.begin(), line.end());
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int i = 0; i < 100 && !done(); ++i) Sleep(50);
  return done();
}

}  // namespace

bool makeDirectoryLink(const std::wstring& link, const std::wstring& target) {
  const std::string hostLink = hostPath(link), hostTarget = hostPath(target);
  if (hostLink.empty())
    return CreateSymbolicLinkW(link.c_str(), target.c_str(),
                               SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
  return runHost("/bin/ln -s " + hostTarget + " " + hostLink,
                 [&] { return GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES; });
}

void removeDirectoryLink(const std::wstring& link) {
  const std::string hostLink = hostPath(link);
  if (hostLink.empty()) {
    RemoveDirectoryW(link.c_str());
    return;
  }
  runHost("/bin/rm -f " + hostLink,
          [&] { return GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES; });
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
