// What the tests of placement, registration and extra components share: an
// installation folder and a work folder, the test archives, the uninstall
// record read back as text, and the registry keys they write removed.
#pragma once

#include <string>
#include <vector>

#include "support/test_support.h"

namespace stelvane::test {

// The path of a test archive (made at build time).
std::wstring archivePath(const std::wstring& name);

// The UTF-16LE text of a record file, as it is on disk.
std::wstring readUtf16File(const std::wstring& path);

// Points the user's shell-folder values Programs, Desktop and AppData at
// folders of its own while it lives, so that shortcuts land there.
class ShellFoldersRedirect {
 public:
  ShellFoldersRedirect();
  ~ShellFoldersRedirect();
  std::wstring programs() const { return root_.file(L"Programs"); }
  std::wstring desktop() const { return root_.file(L"Desktop"); }
  std::wstring appData() const { return root_.file(L"AppData"); }

 private:
  struct Saved {
    const wchar_t* key;
    std::wstring name;
    DWORD type;
    std::wstring value;
  };
  TempFolder root_;
  std::vector<Saved> saved_;
};

class FilesTest : public ScriptTest {
 protected:
  FilesTest();
  ~FilesTest() override;

  // Writes the description file and names it as the installer's.
  void describe(const std::wstring& text);
  // Copies a test archive into the source folder.
  void copyArchive(const std::wstring& name);
  // Opens the record (the script must ask for one), then writes and reads it back.
  void openRecord();
  std::vector<std::wstring> recordLines();

  TempFolder target;
  TempFolder work;
};

// The script text that asks for an uninstall record.
inline constexpr wchar_t kKeepRecord[] = L"[OPTION_INSTALL]\nINFO_DESINSTALLATION=O\n";

// Removes the App Paths and Uninstall keys the tests write (names starting
// with "STELVANE" and "StelvaneTest").
void clearRegistrationKeys();

}  // namespace stelvane::test
