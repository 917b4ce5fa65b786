#include "paths.h"

namespace stelvane {

namespace {

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

PathParts splitPath(std::wstring_view path) {
  PathParts parts;
  size_t slash = path.find_last_of(L"\\/");
  size_t nameStart = 0;
  if (slash != std::wstring_view::npos) {
    nameStart = slash + 1;
  } else if (path.size() >= 2 && path[1] == L':') {
    nameStart = 2;
  }
  parts.folder.assign(path.substr(0, nameStart));
  std::wstring_view file = path.substr(nameStart);
  const size_t dot = file.find_last_of(L'.');
  if (dot == std::wstring_view::npos) {
    parts.name.assign(file);
  } else {
    parts.name.assign(file.substr(0, dot));
    parts.extension.assign(file.substr(dot));
  }
  return parts;
}

std::wstring withTrailingBackslash(std::wstring_view path) {
  std::wstring out(path);
  if (out.empty() || !isSeparator(out.back())) out.push_back(L'\\');
  return out;
}

std::wstring withoutTrailingBackslash(std::wstring_view path) {
  std::wstring out(path);
  if (!out.empty() && out.back() == L'\\') out.pop_back();
  return out;
}

std::wstring normaliseInstallFolder(std::wstring_view folder) {
  std::wstring out = withoutTrailingBackslash(folder);
  if (!out.empty() && out.back() == L':') out.push_back(L'\\');
  return out;
}

std::wstring driveOf(std::wstring_view path) {
  if (path.size() >= 2 && path[1] == L':') return std::wstring(path.substr(0, 2));
  return {};
}

std::wstring folderOf(std::wstring_view path) {
  const size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, slash + 1));
}

std::wstring fileNameOf(std::wstring_view path) {
  const size_t slash = path.find_last_of(L"\\/");
  return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

bool isRootFolder(std::wstring_view folder) {
  const std::wstring path = withoutTrailingBackslash(folder);
  if (path.size() <= 2) return true;  // "", "C:" or "\"
  if (path.rfind(L"\\\\", 0) == 0) {
    size_t separators = 0;
    for (wchar_t c : path) separators += c == L'\\';
    return separators <= 3;
  }
  return false;
}

std::wstring joinPath(std::wstring_view folder, std::wstring_view name) {
  if (folder.empty()) return std::wstring(name);
  return withTrailingBackslash(folder) + std::wstring(name);
}

}  // namespace stelvane
