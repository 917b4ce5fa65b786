// The uninstall record: its exact bytes, the order of its lines, and the
// merge with the record of an earlier installation.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>

#include "fs.h"
#include "integration.h"
#include "paths.h"
#include "support/files_fixture.h"
#include "text.h"
#include "uninstall_record.h"

namespace stelvane {
namespace {

std::string utf16le(const std::wstring& text) {
  std::string bytes;
  for (wchar_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

class Record : public ::testing::Test {
 protected:
  std::wstring path() const { return folder.file(L"UNINST.INF"); }
  test::TempFolder folder;
  UninstallRecord record;
};

TEST_F(Record, TheFileIsTheTagThenTheLinesInByteOrder) {
  record.openFile(path());
  ASSERT_TRUE(record.active());
  EXPECT_TRUE(fileExists(path()));  // created when opened
  record.add(L"EFF_REP", L"C:\\Lirno\\");
  record.add(L"EFF_FIC", L"C:\\Lirno\\b.txt");
  record.add(L"EFF_FIC", L"C:\\Lirno\\\u4E01.txt");  // bytes 01 4E: before "b" (62 00)
  record.add(L"EFF_FIC", L"C:\\Lirno\\a.txt");
  record.add(L"EFF_FIC", L"C:\\Lirno\\a");          // a prefix of the line above
  record.add(L"EFF_ENT_REG", L"HKEY_CURRENT_USER\\Software\\Lirno\\Dossier");
  record.add(L"EFF_ICO", L"C:\\Bureau\\Lirno.LNK");
  record.add(L"EFF_REG", L"HKEY_CURRENT_USER\\Software\\Lirno");
  record.setTag(L"Lirno");
  ASSERT_TRUE(record.write());
  EXPECT_EQ(test::readBytes(path()),
            utf16le(L"EFF_TAG=Lirno\r\n"
                    L"EFF_ENT_REG=HKEY_CURRENT_USER\\Software\\Lirno\\Dossier\r\n"
                    L"EFF_FIC=C:\\Lirno\\\u4E01.txt\r\n"
                    L"EFF_FIC=C:\\Lirno\\a\r\n"
                    L"EFF_FIC=C:\\Lirno\\a.txt\r\n"
                    L"EFF_FIC=C:\\Lirno\\b.txt\r\n"
                    L"EFF_ICO=C:\\Bureau\\Lirno.LNK\r\n"
                    L"EFF_REG=HKEY_CURRENT_USER\\Software\\Lirno\r\n"
                    L"EFF_REP=C:\\Lirno\\\r\n"));
  // The list is emptied by the write.
  EXPECT_TRUE(record.sortedLines().empty());
}

TEST_F(Record, ALineIsAddedOnlyWhenNoEqualOneExists) {
  record.openFile(path());
  record.add(L"EFF_FIC", L"C:\\Lirno\\Été.txt");
  record.add(L"EFF_FIC", L"c:\\lirno\\ete.TXT");   // case and accents
  record.add(L"EFF_FIC", L"C:\\Lirno\\Été.txt  ");  // outer spaces
  record.add(L"EFF_FIC", L"C:\\Lirno\\Ete2.txt");
  record.add(L"EFF_REP", L"C:\\Lirno\\Été.txt");    // another word
  EXPECT_EQ(record.sortedLines(),
            (std::vector<std::wstring>{L"EFF_FIC=C:\\Lirno\\Ete2.txt\r\n", L"EFF_FIC=C:\\Lirno\\Été.txt\r\n",
                                       L"EFF_REP=C:\\Lirno\\Été.txt\r\n"}));
}

TEST_F(Record, AReinstallationKeepsTheOldLinesAndAddsOnlyNewOnes) {
  // An earlier record, as an older writer left it: a U+0000 after each entry line.
  std::wstring old =
      L"EFF_TAG=Lirno\r\n"
      L"EFF_FIC=C:\\Lirno\\lirno.exe\r\n";
  old += L'\0';
  old += L"EFF_REG=HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\r\n";
  old += L'\0';
  old += L"EFF_ENT_REG=hkey_current_user\\software\\halvorn\\kxsetup\\1\r\n";
  old += L'\0';
  old += L"EFF_REG=HKEY_CURRENT_USER\\Software\\Halvorn\\Lirno\r\n";
  old += L'\0';
  old += L"EFF_REP=C:\\Lirno\\\n\nEFF_ICO=C:\\Bureau\\Lirno.LNK\r";
  test::writeBytes(path(), utf16le(old));

  record.openFile(path());
  EXPECT_EQ(record.tag(), L"Lirno");
  record.add(L"EFF_FIC", L"c:\\lirno\\LIRNO.EXE");   // already there
  record.add(L"EFF_FIC", L"C:\\Lirno\\nac.rul");     // new
  record.add(L"EFF_REG", L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft");  // protected, but added now
  ASSERT_TRUE(record.write());
  EXPECT_EQ(test::readBytes(path()),
            utf16le(L"EFF_TAG=Lirno\r\n"
                    L"EFF_FIC=C:\\Lirno\\lirno.exe\r\n"
                    L"EFF_FIC=C:\\Lirno\\nac.rul\r\n"
                    L"EFF_ICO=C:\\Bureau\\Lirno.LNK\r\n"
                    L"EFF_REG=HKEY_CURRENT_USER\\Software\\Halvorn\\Lirno\r\n"
                    L"EFF_REG=HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\r\n"
                    L"EFF_REP=C:\\Lirno\\\r\n"));

  // A third installation with another tag keeps one tag line.
  record.openFile(path());
  record.setTag(L"Lirno 2");
  ASSERT_TRUE(record.write());
  const std::wstring text = test::readUtf16File(path());
  EXPECT_EQ(text.find(L"EFF_TAG=Lirno 2\r\nEFF_FIC="), 0u);
  EXPECT_EQ(text.find(L"EFF_TAG", 1), std::wstring::npos);
}

TEST(RecordText, LinesEndAtAnyLineBreakAndKeepAtMost1024Characters) {
  std::wstring text = L"a\rb\r\nc\nd";
  text += std::wstring(2000, L'x');
  text += L"\r\ne";
  const auto lines = splitRecordText(text);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[3].size(), 1024u);
  EXPECT_EQ(lines[4], L"e");
}

TEST(RecordText, TheProtectedKeysIgnoreCase) {
  Collator c;
  int count = 0;
  for (const wchar_t* root : {L"HKEY_CURRENT_USER", L"HKEY_LOCAL_MACHINE"}) {
    for (const wchar_t* key :
         {L"\\Software\\Halvorn", L"\\Software\\Halvorn\\KXSetup", L"\\Software\\Halvorn\\KXSetup\\7",
          L"\\Software\\Halvorn\\KXSetup\\6", L"\\Software\\Halvorn\\KXSetup\\5#HTTP#",
          L"\\Software\\Halvorn\\KXSetup\\5", L"\\Software\\Halvorn\\KXSetup\\1", L"\\SOFTWARE",
          L"\\SOFTWARE\\Microsoft", L"\\SOFTWARE\\Microsoft\\Windows",
          L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
          L"\\software\\microsoft\\windows\\currentversion\\uninstall",
          L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths"})
      count += isProtectedRegistryKey(c, std::wstring(root) + key);
  }
  EXPECT_EQ(count, 26);
  EXPECT_FALSE(isProtectedRegistryKey(c, L"HKEY_CURRENT_USER\\Software\\Halvorn\\KXSetup\\1\\Lirno"));
  EXPECT_FALSE(isProtectedRegistryKey(c, L"HKEY_USERS\\SOFTWARE"));
}

class RecordSwitch : public test::FilesTest {};

TEST_F(RecordSwitch, OnlyORYAskForARecord) {
  for (const wchar_t* value : {L"N", L"", L"1"}) {
    writeScript(std::wstring(L"[OPTION_INSTALL]\nINFO_DESINSTALLATION=") + value + L"\n");
    UninstallRecord r;
    r.open(installer);
    EXPECT_FALSE(r.active());
    r.add(L"EFF_FIC", L"x");
    EXPECT_FALSE(r.write());
    EXPECT_FALSE(fileExists(target.file(L"UNINST.INF")));
  }
  for (const wchar_t* value : {L"Oui", L"o", L"Yes", L"y"}) {
    writeScript(std::wstring(L"[OPTION_INSTALL]\nINFO_DESINSTALLATION=") + value + L"\n");
    UninstallRecord r;
    r.open(installer);
    EXPECT_TRUE(r.active()) << toUtf8(value);
    EXPECT_EQ(r.path(), target.file(L"UNINST.INF"));
  }
}

class InstallationRecord : public test::FilesTest {};

std::wstring shellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  EXPECT_EQ(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path), S_OK);
  return withTrailingBackslash(path);
}

TEST_F(InstallationRecord, WorkFoldersAndSystemFoldersStayOutOfIt) {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(ARRAYSIZE(temp), temp);
  const std::wstring staleWork = withTrailingBackslash(temp) + L"KX_1A2B.tmp\\";
  const std::wstring system = withTrailingBackslash(installer.systemFolder);
  const std::wstring kept = target.file(L"garde.txt");
  // What an earlier installation left: its own work folder and the system folder.
  test::writeBytes(target.file(L"UNINST.INF"),
                   utf16le(L"EFF_TAG=Lirno\r\nEFF_FIC=" + staleWork + L"mdac_type.exe\r\nEFF_REP=" +
                           staleWork + L"\r\nEFF_REP=" + system + L"\r\nEFF_FIC=" + kept + L"\r\n"));
  writeScript(test::kKeepRecord);
  openRecord();
  auto& record = *installer.integration;
  record.record(RecordWord::File, installer.workFolder + L"mdac_type.exe");
  record.record(RecordWord::Folder, installer.workFolder);
  record.record(RecordWord::Folder, installer.workFolder + L"EXE0001\\");
  record.record(RecordWord::File, system + L"lirno-odbc.txt");
  for (const std::wstring& folder :
       {system, withTrailingBackslash(installer.windowsFolder), shellFolder(CSIDL_PROGRAM_FILES),
        shellFolder(CSIDL_PROFILE), folderOf(withoutTrailingBackslash(shellFolder(CSIDL_PROFILE))),
        shellFolder(CSIDL_APPDATA), std::wstring(L"C:\\")})
    record.record(RecordWord::Folder, folder);
  record.record(RecordWord::Folder, withTrailingBackslash(target.path()));

  const auto lines = recordLines();
  const std::vector<std::wstring> expected = {
      L"EFF_TAG=Lirno", L"EFF_FIC=" + kept, L"EFF_FIC=" + system + L"lirno-odbc.txt",
      L"EFF_REP=" + withTrailingBackslash(target.path())};
  EXPECT_EQ(lines.size(), expected.size());
  for (const std::wstring& line : expected)
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << toUtf8(line);
  for (const std::wstring& line : lines) EXPECT_EQ(line.find(L"\\KX_"), std::wstring::npos) << toUtf8(line);
}

}  // namespace
}  // namespace stelvane
