#include "fs.h"

#include "paths.h"

namespace stelvane {

namespace {

// Runs `call` under the critical-error mode; keeps its last-error value.
template <typename Call>
auto guarded(Call call) {
  CriticalErrorMode mode;
  return call();
}

DWORD attributesOf(const std::wstring& path) {
  return guarded([&] { return GetFileAttributesW(path.c_str()); });
}

bool deleteTreeContents(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  const std::wstring pattern = joinPath(folder, L"*.*");
  HANDLE find = guarded([&] { return FindFirstFileW(pattern.c_str(), &data); });
  if (find == INVALID_HANDLE_VALUE) return true;
  bool ok = true;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = joinPath(folder, name);
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      // A junction or directory link: only the link goes. Following it would
      // empty a folder elsewhere, one any user may have pointed it at.
      ok = guarded([&] { return RemoveDirectoryW(path.c_str()) != 0; });
    } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ok = deleteTreeContents(path) &&
           guarded([&] { return RemoveDirectoryW(path.c_str()) != 0; });
    } else {
      ok = deleteFile(path);
    }
  } while (ok && FindNextFileW(find, &data));
  FindClose(find);
  return ok;
}

}  // namespace

CriticalErrorMode::CriticalErrorMode() {
  SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_);
}

CriticalErrorMode::~CriticalErrorMode() {
  const DWORD error = GetLastError();
  SetThreadErrorMode(previous_, nullptr);
  SetLastError(error);
}

bool fileExists(const std::wstring& path) {
  const DWORD a = attributesOf(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool folderExists(const std::wstring& path) {
  const DWORD a = attributesOf(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool pathExists(const std::wstring& path) { return attributesOf(path) != INVALID_FILE_ATTRIBUTES; }

bool deleteFile(const std::wstring& path) {
  return guarded([&] { return DeleteFileW(path.c_str()) != 0; });
}

bool copyFileOver(const std::wstring& source, const std::wstring& target) {
  return guarded([&] { return CopyFileW(source.c_str(), target.c_str(), FALSE) != 0; });
}

bool moveFileOver(const std::wstring& source, const std::wstring& target) {
  return guarded([&] {
    return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
  });
}

bool setAttributes(const std::wstring& path, DWORD attributes) {
  return guarded([&] { return SetFileAttributesW(path.c_str(), attributes) != 0; });
}

bool createFolderTree(const std::wstring& folder) {
  const std::wstring path = withoutTrailingBackslash(folder);
  if (path.empty() || folderExists(path)) return !path.empty();
  const std::wstring parent = withoutTrailingBackslash(folderOf(path));
  // Stop at the drive ("C:") or a share root; those exist or never will.
  if (!parent.empty() && parent.back() != L':' && parent != L"\\" && !folderExists(parent))
    createFolderTree(parent);
  const bool created = guarded([&] { return CreateDirectoryW(path.c_str(), nullptr) != 0; });
  return created || folderExists(path);
}

bool deleteFolderTree(const std::wstring& folder) {
  const std::wstring path = withoutTrailingBackslash(folder);
  if (path.empty()) return false;
  const DWORD attributes = attributesOf(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return guarded([&] { return RemoveDirectoryW(path.c_str()) != 0; });
  if (!deleteTreeContents(path)) return false;
  if (guarded([&] { return RemoveDirectoryW(path.c_str()) != 0; })) return true;
  SetCurrentDirectoryW(L"C:\\");
  return guarded([&] { return RemoveDirectoryW(path.c_str()) != 0; });
}

std::wstring createWorkFolder(const wchar_t* prefix) {
  const std::wstring file = createTempFile(prefix);
  if (file.empty()) return {};
  if (!deleteFile(file)) return {};
  if (!guarded([&] { return CreateDirectoryW(file.c_str(), nullptr) != 0; })) return {};
  return withTrailingBackslash(file);
}

std::wstring createTempFile(const wchar_t* prefix) {
  wchar_t folder[MAX_PATH + 1];
  const DWORD n = GetTempPathW(ARRAYSIZE(folder), folder);
  if (n == 0 || n >= ARRAYSIZE(folder)) return {};
  wchar_t name[MAX_PATH + 1];
  if (!guarded([&] { return GetTempFileNameW(folder, prefix, 0, name) != 0; })) return {};
  return name;
}

}  // namespace stelvane
