// What the installer's tests share: temporary folders, script files, and a
// log of the messages an installer shows.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer.h"

namespace stelvane::test {

// A new folder in the temp directory, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // The folder, without trailing backslash.
  const std::wstring& path() const { return path_; }
  std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// Writes `text` as UTF-16LE with a byte-order mark, as the profile functions read it.
void writeUnicodeFile(const std::wstring& path, const std::wstring& text);
void writeBytes(const std::wstring& path, const std::string& bytes);
std::string readBytes(const std::wstring& path);

// The folder of the running test program, with a trailing backslash.
std::wstring programFolder();

// Makes `link` a directory link to `target` (under Wine a host symbolic link,
// which Wine shows as a reparse point); true once the link is there.
bool makeDirectoryLink(const std::wstring& link, const std::wstring& target);
// Removes such a link (not what it points to).
void removeDirectoryLink(const std::wstring& link);

// Records every message box an installer would show, and answers questions.
struct MessageLog {
  struct Entry {
    MessageKind kind;
    std::wstring caption;
    std::wstring text;
  };
  std::vector<Entry> entries;
  bool answer = true;  // the answer to questions

  void attach(Installer& installer);
  size_t count(MessageKind kind) const;
};

// Removes HKEY_CURRENT_USER\Software\StelvaneTests and HKEY_LOCAL_MACHINE's
// keys the tests write under Software\Halvorn\KXSetup\1\StelvaneTest*.
void clearTestRegistry();
// Reads a string value (empty when missing).
std::wstring registryString(HKEY root, const std::wstring& key, const std::wstring& value);

// An installer state for in-process tests: folders in a temporary source
// folder, INSTALL.INI written there, and messages logged instead of shown.
class ScriptTest : public ::testing::Test {
 protected:
  ScriptTest();
  void writeScript(const std::wstring& text);
  void writeDescription(const std::wstring& text);  // "desc.vzf" beside the script

  TempFolder source;
  Installer installer;
  MessageLog messages;
};

}  // namespace stelvane::test
