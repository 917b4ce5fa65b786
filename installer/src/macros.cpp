#include "macros.h"

#include <windows.h>
#include <shlobj.h>

#include <array>

#include "installer.h"
#include "paths.h"

namespace stelvane {

namespace {

struct ShellFolderName {
  const wchar_t* name;
  int csidl;  // < 0: see shellFolder()
};

constexpr int kSystemFolder = -1;
constexpr int kSharedWindowsFolder = -2;

constexpr std::array<ShellFolderName, 30> kShellFolders{{
    {L"srSysteme", kSystemFolder},
    {L"srWindows", kSharedWindowsFolder},
    {L"srDemarrer", CSIDL_STARTMENU},
    {L"srDemarrerCommun", CSIDL_COMMON_STARTMENU},
    {L"srProgrammes", CSIDL_PROGRAMS},
    {L"srProgrammesCommun", CSIDL_COMMON_PROGRAMS},
    {L"srFavoris", CSIDL_FAVORITES},
    {L"srFavorisCommun", CSIDL_COMMON_FAVORITES},
    {L"srDemarrage", CSIDL_STARTUP},
    {L"srDemarrageCommun", CSIDL_COMMON_STARTUP},
    {L"srBureau", CSIDL_DESKTOPDIRECTORY},
    {L"srBureauCommun", CSIDL_COMMON_DESKTOPDIRECTORY},
    {L"srProgramFiles", CSIDL_PROGRAM_FILES},
    {L"srProgramFilesCommun", CSIDL_PROGRAM_FILES_COMMON},
    {L"srEnvoyerVers", CSIDL_SENDTO},
    {L"srOutilsAdmin", CSIDL_ADMINTOOLS},
    {L"srOutilsAdminCommun", CSIDL_COMMON_ADMINTOOLS},
    {L"srAppData", CSIDL_APPDATA},
    {L"srAppDataCommun", CSIDL_COMMON_APPDATA},
    {L"srAppDataLocal", CSIDL_LOCAL_APPDATA},
    {L"srMesDocuments", CSIDL_PERSONAL},
    {L"srMesDocumentsCommun", CSIDL_COMMON_DOCUMENTS},
    {L"srMesImages", CSIDL_MYPICTURES},
    {L"srModeles", CSIDL_TEMPLATES},
    {L"srModelesCommun", CSIDL_COMMON_TEMPLATES},
    {L"srProfile", CSIDL_PROFILE},
    {L"srRecent", CSIDL_RECENT},
    {L"srFontes", CSIDL_FONTS},
    {L"srCookies", CSIDL_COOKIES},
    {L"srCacheInternet", CSIDL_INTERNET_CACHE},
}};

struct Token {
  std::wstring_view text;
  const std::wstring* value;  // null: a line feed
};

void append(std::wstring& out, std::wstring_view value, bool escapePercent) {
  if (!escapePercent) {
    out += value;
    return;
  }
  for (wchar_t c : value) {
    out.push_back(c);
    if (c == L'%') out.push_back(L'%');
  }
}

}  // namespace

std::optional<std::wstring> shellFolder(const Installer& installer, std::wstring_view name) {
  for (const auto& entry : kShellFolders) {
    if (!installer.collator.equal(name, entry.name)) continue;
    if (entry.csidl == kSystemFolder) return installer.systemFolder;
    wchar_t path[MAX_PATH + 1] = {};
    if (entry.csidl == kSharedWindowsFolder) {
      const UINT n = GetSystemWindowsDirectoryW(path, ARRAYSIZE(path));
      if (n == 0 || n >= ARRAYSIZE(path)) return installer.windowsFolder;
      return std::wstring(path);
    }
    if (FAILED(SHGetFolderPathW(nullptr, entry.csidl | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, path)))
      return std::wstring();
    return std::wstring(path);
  }
  return std::nullopt;
}

namespace {

std::wstring expand(const Installer& installer, std::wstring_view text, bool lineFeeds,
                    bool escapePercent) {
  const std::wstring source = withoutTrailingBackslash(installer.sourceFolder);
  const std::wstring work = withoutTrailingBackslash(installer.workFolder);
  const Token tokens[] = {
      {L"%REP_INSTALL%", &installer.installFolder},
      {L"%REP_WINDOWS%", &installer.windowsFolder},
      {L"%REP_SYSTEM%", &installer.systemFolder},
      {L"%REP_SRC%", &source},
      {L"%REP_TEMP%", &work},
      {L"\\n", nullptr},
      {L"<RepInst>", &installer.installFolder},
      {L"<RepWin>", &installer.windowsFolder},
      {L"<RepSys>", &installer.systemFolder},
      {L"<FicInst>", &installer.dataFolder},
      {L"<LectInst>", &installer.installDrive},
      {L"%APPLI%", &installer.applicationName},
  };

  std::wstring out;
  out.reserve(text.size() + 64);
  size_t i = 0;

  // A leading shell-folder token: "<sr" (any case and accents) up to the first ">".
  if (installer.collator.startsWith(text, L"<sr", true)) {
    const size_t close = text.find(L'>');
    if (close != std::wstring_view::npos) {
      if (auto folder = shellFolder(installer, text.substr(1, close - 1))) {
        append(out, *folder, escapePercent);
        i = close + 1;
      }
    }
  }

  while (i < text.size()) {
    const Token* found = nullptr;
    if (text[i] == L'%' || text[i] == L'\\' || text[i] == L'<') {
      for (const Token& token : tokens) {
        if (text.substr(i, token.text.size()) == token.text) {
          found = &token;
          break;
        }
      }
    }
    if (!found || (!found->value && !lineFeeds)) {
      out.push_back(text[i++]);
      continue;
    }
    if (found->value)
      append(out, *found->value, escapePercent);
    else
      out.push_back(L'\n');
    i += found->text.size();
  }
  return out;
}

}  // namespace

std::wstring expandMacros(const Installer& installer, std::wstring_view text) {
  return expand(installer, text, false, false);
}

std::wstring expandMessage(const Installer& installer, std::wstring_view text, bool escapePercent) {
  return expand(installer, text, true, escapePercent);
}

}  // namespace stelvane
