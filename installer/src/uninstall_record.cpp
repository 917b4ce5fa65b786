#include "uninstall_record.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "compare.h"
#include "fs.h"
#include "handle.h"
#include "installer.h"
#include "paths.h"
#include "profile.h"
#include "text.h"

namespace stelvane {

namespace {

constexpr size_t kLineLimit = 1024;
constexpr std::wstring_view kTagWord = L"EFF_TAG=";

const wchar_t* const kProtectedSuffixes[] = {
    L"\\Software\\Halvorn",
    L"\\Software\\Halvorn\\KXSetup",
    L"\\Software\\Halvorn\\KXSetup\\7",
    L"\\Software\\Halvorn\\KXSetup\\6",
    L"\\Software\\Halvorn\\KXSetup\\5#HTTP#",
    L"\\Software\\Halvorn\\KXSetup\\5",
    L"\\Software\\Halvorn\\KXSetup\\1",
    L"\\SOFTWARE",
    L"\\SOFTWARE\\Microsoft",
    L"\\SOFTWARE\\Microsoft\\Windows",
    L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
    L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths",
};

std::string utf16le(std::wstring_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (wchar_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
  }
  return bytes;
}

// The text after "=" of a registry line ("EFF_REG=" or "EFF_ENT_REG="), or nothing.
bool registryLineText(std::wstring_view line, std::wstring_view& text) {
  for (std::wstring_view word : {std::wstring_view(L"EFF_REG"), std::wstring_view(L"EFF_ENT_REG")}) {
    if (line.substr(0, word.size()) == word && line.size() > word.size() && line[word.size()] == L'=') {
      text = line.substr(word.size() + 1);
      return true;
    }
  }
  return false;
}

}  // namespace

std::vector<std::wstring> splitRecordText(std::wstring_view text) {
  std::vector<std::wstring> lines;
  std::wstring line;
  bool cut = false;  // the rest of an over-long line is dropped
  auto finish = [&] {
    if (!line.empty()) lines.push_back(line);
    line.clear();
    cut = false;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\r') {
      if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      finish();
    } else if (c == L'\n') {
      finish();
    } else if (c == L'\0') {
      // Older records put a U+0000 after each line: not part of any text.
    } else if (!cut) {
      line.push_back(c);
      cut = line.size() >= kLineLimit;
    }
  }
  finish();
  return lines;
}

bool isProtectedRegistryKey(const Collator& collator, std::wstring_view key) {
  for (const wchar_t* root : {L"HKEY_CURRENT_USER", L"HKEY_LOCAL_MACHINE"}) {
    for (const wchar_t* suffix : kProtectedSuffixes) {
      if (collator.equal(key, std::wstring(root) + suffix)) return true;
    }
  }
  return false;
}

bool recordLineLess(std::wstring_view a, std::wstring_view b) {
  // Little-endian bytes: the low byte of each code unit decides first.
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const unsigned lowA = a[i] & 0xFF, lowB = b[i] & 0xFF;
    if (lowA != lowB) return lowA < lowB;
    const unsigned highA = (a[i] >> 8) & 0xFF, highB = (b[i] >> 8) & 0xFF;
    if (highA != highB) return highA < highB;
  }
  return a.size() < b.size();
}

void UninstallRecord::open(const Installer& installer) {
  const std::wstring keep =
      readProfile(installer.scriptPath, L"OPTION_INSTALL", L"INFO_DESINSTALLATION");
  if (keep.empty() || std::wstring_view(L"OoYy").find(keep[0]) == std::wstring_view::npos) return;
  excludeTransientAndSystemFolders(installer);
  openFile(joinPath(installer.installFolder, L"UNINST.INF"));
}

void UninstallRecord::excludeTransientAndSystemFolders(const Installer& installer) {
  transientFolders_.clear();
  systemFolders_.clear();
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD n = GetTempPathW(ARRAYSIZE(temp), temp);
  const std::wstring tempFolder = n > 0 && n < ARRAYSIZE(temp) ? withTrailingBackslash(temp) : L"";
  if (!installer.workFolder.empty()) transientFolders_.push_back(withTrailingBackslash(installer.workFolder));
  // Earlier installations' work folders: the names they were given.
  if (!tempFolder.empty()) transientFolders_.push_back(tempFolder + L"KX_");

  std::vector<std::wstring> folders = {installer.windowsFolder, installer.systemFolder, tempFolder};
  for (int csidl : {CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_SYSTEMX86, CSIDL_PROGRAM_FILES,
                    CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILES_COMMONX86,
                    CSIDL_COMMON_APPDATA, CSIDL_PROFILE, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA,
                    CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS, CSIDL_STARTMENU, CSIDL_COMMON_STARTMENU,
                    CSIDL_STARTUP, CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY,
                    CSIDL_PERSONAL, CSIDL_COMMON_DOCUMENTS, CSIDL_FONTS}) {
    wchar_t path[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK) folders.push_back(path);
  }
  // Each folder with its parents: "C:\Users\" holds every profile.
  for (std::wstring folder : folders) {
    for (folder = withoutTrailingBackslash(folder); !isRootFolder(folder);
         folder = withoutTrailingBackslash(folderOf(folder)))
      systemFolders_.push_back(folder + L"\\");
  }
}

bool UninstallRecord::excluded(std::wstring_view word, std::wstring_view text) const {
  const bool file = word == L"EFF_FIC", folder = word == L"EFF_REP";
  if (!file && !folder) return false;
  const std::wstring path = trim(text);
  for (const std::wstring& prefix : transientFolders_) {
    if (path.size() >= prefix.size() &&
        collator_.equal(std::wstring_view(path).substr(0, prefix.size()), prefix))
      return true;
  }
  if (!folder) return false;
  if (isRootFolder(path)) return true;
  const std::wstring withSlash = withTrailingBackslash(path);
  for (const std::wstring& system : systemFolders_) {
    if (collator_.equal(withSlash, system)) return true;
  }
  return false;
}

void UninstallRecord::openFile(const std::wstring& path) {
  active_ = false;
  lines_.clear();
  keys_.clear();
  tag_.clear();
  path_ = path;
  Handle file;
  {
    CriticalErrorMode mode;
    file.reset(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  if (!file) return;
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > (64 << 20)) return;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() &&
      (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size()))
    return;
  std::wstring text(bytes.size() / 2, L'\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);

  for (const std::wstring& line : splitRecordText(text)) {
    // The tag line is written first on its own: reloaded as the tag, so that a
    // re-installation does not repeat it among the lines.
    if (line.substr(0, kTagWord.size()) == kTagWord) {
      if (tag_.empty()) tag_ = line.substr(kTagWord.size());
      continue;
    }
    std::wstring_view key;
    if (registryLineText(line, key) && isProtectedRegistryKey(collator_, key)) continue;
    const size_t equals = line.find(L'=');
    if (equals != std::wstring::npos &&
        excluded(std::wstring_view(line).substr(0, equals), std::wstring_view(line).substr(equals + 1)))
      continue;
    insert(line + L"\r\n");
  }
  active_ = true;
}

void UninstallRecord::insert(std::wstring line) {
  keys_.insert(collator_.key(trim(line), true));
  lines_.push_back(std::move(line));
}

void UninstallRecord::add(std::wstring_view word, std::wstring_view text) {
  if (!active_ || excluded(word, text)) return;
  std::wstring line(word);
  line += L'=';
  line += text;
  line += L"\r\n";
  if (keys_.count(collator_.key(trim(line), true))) return;
  insert(std::move(line));
}

std::vector<std::wstring> UninstallRecord::sortedLines() const {
  std::vector<std::wstring> lines = lines_;
  std::stable_sort(lines.begin(), lines.end(),
                   [](const std::wstring& a, const std::wstring& b) { return recordLineLess(a, b); });
  return lines;
}

bool UninstallRecord::write() {
  if (!active_) return false;
  std::wstring text = std::wstring(kTagWord) + tag_ + L"\r\n";
  for (const std::wstring& line : sortedLines()) text += line;
  lines_.clear();
  keys_.clear();
  const std::string bytes = utf16le(text);
  Handle file;
  {
    CriticalErrorMode mode;
    file.reset(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  if (!file) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                            nullptr) &&
                  written == bytes.size();
  FlushFileBuffers(file.get());
  return ok;
}

}  // namespace stelvane
