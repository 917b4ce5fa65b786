#include "uninstall_record.h"

#include <windows.h>

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
  openFile(joinPath(installer.installFolder, L"UNINST.INF"));
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
    insert(line + L"\r\n");
  }
  active_ = true;
}

void UninstallRecord::insert(std::wstring line) {
  keys_.insert(collator_.key(trim(line), true));
  lines_.push_back(std::move(line));
}

void UninstallRecord::add(std::wstring_view word, std::wstring_view text) {
  if (!active_) return;
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
