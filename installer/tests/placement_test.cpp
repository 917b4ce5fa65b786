// Placing archives in whole-archive and list mode, in-process: files,
// attributes, the replace decision, questions, the stop request, the record.
#include <gtest/gtest.h>

#include <algorithm>

#include "checks.h"
#include "fs.h"
#include "placement.h"
#include "profile.h"
#include "registry.h"
#include "support/files_fixture.h"
#include "text.h"

namespace stelvane {
namespace {

using test::archivePath;

const char kReadme[] = "Lirno, l'atelier des manuscrits.\r\n";

std::vector<std::wstring> sorted(std::vector<std::wstring> lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

std::vector<std::wstring> folderContents(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (wcscmp(data.cFileName, L".") != 0 && wcscmp(data.cFileName, L"..") != 0)
      names.emplace_back(data.cFileName);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return sorted(names);
}

class Placement : public test::FilesTest {};

TEST_F(Placement, WholeArchiveModePlacesEveryEntryAndRecordsIt) {
  writeScript(test::kKeepRecord);
  openRecord();
  // An existing read-only file is replaced.
  ASSERT_TRUE(createFolderTree(target.file(L"docs")));
  test::writeBytes(target.file(L"docs\\lisez-moi.txt"), "ancien");
  setAttributes(target.file(L"docs\\lisez-moi.txt"), FILE_ATTRIBUTE_READONLY);

  ASSERT_TRUE(placeArchive(installer, archivePath(L"infozip.zip"), target.path(), true));
  EXPECT_TRUE(messages.entries.empty());
  EXPECT_EQ(test::readBytes(target.file(L"docs\\lisez-moi.txt")), kReadme);
  EXPECT_EQ(test::readBytes(target.file(L"docs\\vide.txt")), "");
  EXPECT_EQ(test::readBytes(target.file(L"bin\\aleatoire.bin")).size(), 100000u);
  EXPECT_TRUE(GetFileAttributesW(target.file(L"docs\\notes\\lecture-seule.txt").c_str()) &
              FILE_ATTRIBUTE_READONLY);

  const std::wstring t = target.path();
  EXPECT_EQ(sorted(recordLines()),
            sorted({L"EFF_FIC=" + t + L"\\bin\\aleatoire.bin", L"EFF_FIC=" + t + L"\\docs\\lisez-moi.txt",
                    L"EFF_FIC=" + t + L"\\docs\\long.txt", L"EFF_FIC=" + t + L"\\docs\\vide.txt",
                    L"EFF_FIC=" + t + L"\\docs\\notes\\lecture-seule.txt", L"EFF_REP=" + t + L"\\bin\\",
                    L"EFF_REP=" + t + L"\\docs\\", L"EFF_REP=" + t + L"\\docs\\notes\\",
                    L"EFF_TAG="}));
}

TEST_F(Placement, EntriesThatWouldLeaveTheTargetFolderAreRefused) {
  const std::wstring outer = target.file(L"outer");
  const std::wstring inner = outer + L"\\inner";
  ASSERT_TRUE(placeArchive(installer, archivePath(L"slip.zip"), inner, true));
  EXPECT_EQ(test::readBytes(inner + L"\\ok.txt"), "ok");
  EXPECT_EQ(test::readBytes(inner + L"\\sub\\fin.txt"), "fin");
  EXPECT_EQ(folderContents(outer), std::vector<std::wstring>{L"inner"});
  EXPECT_EQ(folderContents(inner), (std::vector<std::wstring>{L"ok.txt", L"sub"}));
  EXPECT_FALSE(fileExists(L"C:\\drive.txt"));
  EXPECT_FALSE(fileExists(L"C:\\abs.txt"));

  // One ERREUR_UNZIP question with code 2 for each refused entry.
  ASSERT_EQ(messages.entries.size(), 7u);
  for (const auto& m : messages.entries) {
    EXPECT_EQ(m.kind, MessageKind::Question);
    EXPECT_EQ(m.caption, L"Impossible d'extraire un fichier");
  }
  EXPECT_EQ(messages.entries[0].text, L"Le fichier " + inner +
                                          L"\\..\\evil.txt n'a pas pu être extrait. Voulez-vous "
                                          L"continuer ?\n(2)");

  // "No" stops at the first refused entry.
  messages.entries.clear();
  messages.answer = false;
  const std::wstring second = target.file(L"second");
  EXPECT_FALSE(placeArchive(installer, archivePath(L"slip.zip"), second, true));
  EXPECT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(folderContents(second), std::vector<std::wstring>{L"ok.txt"});
}

TEST_F(Placement, TheStopRequestAsksAndYesStops) {
  writeScript(L"[STOP_COPY_EN]\nTITRE=Stop\nMESSAGE=Stop now?\n");
  installer.languageSuffix = L"EN";
  installer.stopRequested = true;
  EXPECT_FALSE(placeArchive(installer, archivePath(L"python-utf8.zip"), target.path(), true));
  EXPECT_FALSE(installer.stopRequested);
  ASSERT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(messages.entries[0].caption, L"Stop");
  EXPECT_EQ(messages.entries[0].text, L"Stop now?");
  EXPECT_TRUE(fileExists(target.file(L"été\\café.txt")));
  EXPECT_FALSE(pathExists(target.file(L"dos")));  // nothing after the first entry

  // "No" goes on to the end.
  installer.stopRequested = true;
  messages.answer = false;
  EXPECT_TRUE(placeArchive(installer, archivePath(L"python-utf8.zip"), target.path(), true));
  EXPECT_TRUE(fileExists(target.file(L"autre\\rien.txt")));
}

TEST_F(Placement, AnArchiveThatCannotBeOpenedFailsWithoutAMessage) {
  EXPECT_FALSE(placeArchive(installer, archivePath(L"garbage.zip"), target.path(), true));
  EXPECT_FALSE(placeArchive(installer, archivePath(L"absent.zip"), target.path(), true));
  EXPECT_FALSE(placeArchive(installer, archivePath(L"infozip.zip"), L"", true));
  EXPECT_TRUE(placeArchive(installer, L"", target.path(), true));
  EXPECT_TRUE(messages.entries.empty());
}

TEST_F(Placement, ListModePlacesTheDescribedFilesAndRegistersThem) {
  writeScript(test::kKeepRecord);
  describe(
      L"[KXF]\nAPPLI=StelvaneTest\nREPDEF=%REP_INSTALL%\nREPFICDEF=%REP_INSTALL%\\donnees\n"
      L"[FICHIER]\nNB=6/fichiers\n"
      L"F00001=1/docs/%REP_INSTALL%/lisez-moi.txt/LISEZMOI.TXT/x/20300101000000/1.0\n"
      L"F00002=2/docs/<FicInst>\\textes/long.txt/long.txt/x/20300101000000/1.0\n"
      L"F00003=3/bin/%REP_INSTALL%\\prog/aleatoire.bin/stelvane-outil.exe/x/20300101000000/1.0\n"
      L"F00004=4/ailleurs/%REP_INSTALL%/a.txt/copie.txt/x/20300101000000/\n"
      L"PARAM00004=0/0/0/0/0/0/0/1\n"
      L"F00005=5/docs/%REP_INSTALL%/absent.txt/absent.txt/x/20300101000000/\n");
  installer.applicationName = L"StelvaneTest";
  openRecord();
  ASSERT_TRUE(placeArchive(installer, archivePath(L"infozip.zip"), target.path(), false));

  const std::wstring t = target.path();
  EXPECT_EQ(test::readBytes(target.file(L"LISEZMOI.TXT")), kReadme);
  EXPECT_EQ(installer.dataFolder, t + L"\\donnees");
  EXPECT_EQ(test::readBytes(target.file(L"donnees\\textes\\long.txt")),
            test::readBytes(std::wstring(STELVANE_ARCHIVE_DIR) + L"\\tree\\docs\\long.txt"));
  EXPECT_EQ(test::readBytes(target.file(L"copie.txt")), "depuis la source");
  ASSERT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(messages.entries[0].text,
            L"Le fichier " + t + L"\\absent.txt n'a pas pu être extrait. Voulez-vous continuer ?\n(1)");
  // The file left out is counted and logged where an administrator finds it.
  EXPECT_EQ(installer.failedFiles, 1);
  const std::wstring log = test::readUtf16File(target.file(L"INSTALL.LOG"));
  EXPECT_EQ(log.find(L"\uFEFF"), 0u);
  EXPECT_NE(log.find(L" StelvaneTest : fichiers non placés (code) :\r\n(1) " + t + L"\\absent.txt\r\n"),
            std::wstring::npos) << toUtf8(log);

  // The program's App Paths, the installation folder, the group of the shortcuts.
  const std::wstring program = toUpper(t + L"\\prog\\stelvane-outil.exe");
  const std::wstring appPaths =
      L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\STELVANE-OUTIL.EXE";
  EXPECT_EQ(test::registryString(HKEY_LOCAL_MACHINE, appPaths, L""), program);
  EXPECT_EQ(test::registryString(HKEY_LOCAL_MACHINE, appPaths, L"Path"), toUpper(t + L"\\prog"));
  std::wstring remembered;
  ASSERT_TRUE(readRegistryValue(installer, previousInstallationKey(L"StelvaneTest"), remembered));
  EXPECT_EQ(remembered, t);
  wchar_t group[64] = {};
  GetPrivateProfileStringW(L"RACCOURCI", L"NOM_GROUPE", L"", group, 64, installer.scriptPath.c_str());
  EXPECT_STREQ(group, L"StelvaneTest");

  const std::wstring hklmAppPaths = L"HKEY_LOCAL_MACHINE\\" + appPaths;
  const std::wstring previous = previousInstallationKey(L"StelvaneTest");
  EXPECT_EQ(sorted(recordLines()),
            sorted({L"EFF_TAG=", L"EFF_ENT_REG=" + hklmAppPaths + L"\\", L"EFF_ENT_REG=" + hklmAppPaths + L"\\Path",
                    L"EFF_ENT_REG=" + previous, L"EFF_REG=" + hklmAppPaths,
                    L"EFF_REG=" + previous.substr(0, previous.rfind(L'\\')),
                    L"EFF_FIC=" + t + L"\\LISEZMOI.TXT", L"EFF_FIC=" + t + L"\\donnees\\textes\\long.txt",
                    L"EFF_FIC=" + t + L"\\prog\\stelvane-outil.exe", L"EFF_FIC=" + t + L"\\copie.txt",
                    L"EFF_FIC=" + t + L"\\absent.txt", L"EFF_FIC=" + t + L"\\INSTALL.LOG",
                    L"EFF_REP=" + t + L"\\",
                    L"EFF_REP=" + t + L"\\donnees\\textes\\", L"EFF_REP=" + t + L"\\prog\\"}));
}

TEST_F(Placement, TheDataFolderFollowsTheInstallationFolderWhenItIsTheDefaultOne) {
  describe(
      L"[KXF]\nAPPLI=StelvaneTest\nREPDEF=C:\\Defaut\\Lirno\nREPFICDEF=c:\\defaut\\LIRNO\n"
      L"[FICHIER]\nNB=1\nF00001=1/docs/<FicInst>/lisez-moi.txt/lisez-moi.txt/x/20300101000000/\n");
  ASSERT_TRUE(placeArchive(installer, archivePath(L"infozip.zip"), target.path(), false));
  EXPECT_EQ(installer.dataFolder, target.path());
  EXPECT_EQ(test::readBytes(target.file(L"lisez-moi.txt")), kReadme);
}

TEST_F(Placement, TheReplaceDecisionFollowsKeepTimesVersionsForceConfirmAndBackup) {
  for (const wchar_t* name : {L"keep.txt", L"stelvane-keep.exe", L"recent.txt", L"forced.txt",
                              L"older.txt", L"backup.txt", L"confirm.txt"})
    test::writeBytes(target.file(name), "ancien");
  ASSERT_TRUE(copyFileOver(test::programFolder() + L"versioned_kx.exe", target.file(L"STELVANE-KX.EXE")));
  ASSERT_TRUE(copyFileOver(test::programFolder() + L"versioned_plain.exe", target.file(L"STELVANE-PLAIN.EXE")));

  const wchar_t* entries[][3] = {
      // target name, date, options
      {L"keep.txt", L"20991231235959", L"0/1"},
      {L"stelvane-keep.exe", L"20991231235959", L"0/1"},
      {L"recent.txt", L"20000101000000", L""},
      {L"forced.txt", L"20000101000000", L"1"},
      {L"older.txt", L"20991231235959", L""},
      {L"backup.txt", L"20991231235959", L"0/0/0/0/0/backup.old"},
      {L"STELVANE-KX.EXE", L"20991231235959", L""},
      {L"STELVANE-PLAIN.EXE", L"20000101000000", L""},
      {L"confirm.txt", L"20991231235959", L"0/0/1"},
  };
  std::wstring description = L"[KXF]\nAPPLI=StelvaneTest\n[FICHIER]\nNB=9\n";
  for (int n = 1; n <= 9; ++n) {
    const auto& e = entries[n - 1];
    description += fiveDigitKey(L"F", n) + L"=x/docs/%REP_INSTALL%/lisez-moi.txt/" + e[0] + L"/x/" + e[1] +
                   L"/2.0\n" + fiveDigitKey(L"PARAM", n) + L"=" + e[2] + L"\n";
  }
  describe(description);
  messages.answer = false;  // the confirmation is refused
  ASSERT_TRUE(placeArchive(installer, archivePath(L"infozip.zip"), target.path(), false));

  auto replaced = [&](const wchar_t* name) { return test::readBytes(target.file(name)) == kReadme; };
  EXPECT_FALSE(replaced(L"keep.txt"));
  EXPECT_FALSE(replaced(L"stelvane-keep.exe"));
  EXPECT_FALSE(replaced(L"recent.txt"));  // written today, after the entry's date
  EXPECT_TRUE(replaced(L"forced.txt"));
  EXPECT_TRUE(replaced(L"older.txt"));
  EXPECT_TRUE(replaced(L"backup.txt"));
  EXPECT_EQ(test::readBytes(target.file(L"backup.old")), "ancien");
  EXPECT_FALSE(replaced(L"STELVANE-KX.EXE"));    // Version 3.0 > 2.0 and KXVersion 9.1
  EXPECT_TRUE(replaced(L"STELVANE-PLAIN.EXE"));  // no KXVersion: replaced whatever its date
  EXPECT_FALSE(replaced(L"confirm.txt"));
  ASSERT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(messages.entries[0].caption, L"Remplacement de fichier");
  EXPECT_EQ(messages.entries[0].text, L"Voulez-vous remplacer le fichier " + target.file(L"confirm.txt") + L" ?");
  // A kept program is still registered.
  EXPECT_EQ(test::registryString(HKEY_LOCAL_MACHINE,
                                 L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\STELVANE-KEEP.EXE", L""),
            toUpper(target.file(L"stelvane-keep.exe")));
}

TEST(ReplaceDecision, TimesCompareAsTextAndVersionsNeedKXVersion) {
  ExistingFile file{L"20240101000000", std::nullopt, std::nullopt};
  EXPECT_TRUE(existingIsMoreRecent(file, L"20230101000000", L""));
  EXPECT_FALSE(existingIsMoreRecent(file, L"20240101000000", L""));
  EXPECT_FALSE(existingIsMoreRecent(file, L"20250101000000", L"9.9"));
  EXPECT_TRUE(existingIsMoreRecent(file, L"", L""));  // no date given: the existing file wins

  file.version = L"3.0";
  file.kxVersion = L"9.1";
  EXPECT_TRUE(existingIsMoreRecent(file, L"29991231000000", L"2.0"));  // the date no longer counts
  EXPECT_FALSE(existingIsMoreRecent(file, L"20000101000000", L"3.0"));
  EXPECT_FALSE(existingIsMoreRecent(file, L"20000101000000", L"3.1"));
  file.kxVersion = L"9.0";
  EXPECT_TRUE(existingIsMoreRecent(file, L"", L"2.0"));
  file.kxVersion = L"8.5";
  EXPECT_FALSE(existingIsMoreRecent(file, L"", L"2.0"));
  file.kxVersion.reset();
  EXPECT_FALSE(existingIsMoreRecent(file, L"", L"2.0"));
  file.version = L"b";
  file.kxVersion = L"10";  // "10" < "9.0" as text
  EXPECT_FALSE(existingIsMoreRecent(file, L"", L"A"));
  file.kxVersion = L"9.5";
  EXPECT_TRUE(existingIsMoreRecent(file, L"", L"A"));  // "B" > "A": upper-cased
  EXPECT_FALSE(existingIsMoreRecent(file, L"", L"c"));
}

TEST(ReplaceDecision, ProgramsReadTheirVersionStrings) {
  const auto kx = describeExisting(test::programFolder() + L"versioned_kx.exe");
  EXPECT_EQ(kx.version, L"3.0");
  EXPECT_EQ(kx.kxVersion, L"9.1");
  EXPECT_EQ(kx.time.size(), 14u);
  const auto plain = describeExisting(test::programFolder() + L"versioned_plain.exe");
  EXPECT_EQ(plain.version, L"3.0");
  EXPECT_FALSE(plain.kxVersion);
}

TEST(FileOptionsText, AFlagIsSetWhenPresentAndNotZero) {
  auto o = parseFileOptions(L"1/0/x/0/0/ancien.bak/0/1");
  EXPECT_TRUE(o.force);
  EXPECT_FALSE(o.keep);
  EXPECT_TRUE(o.confirm);
  EXPECT_EQ(o.backupName, L"ancien.bak");
  EXPECT_TRUE(o.fromSource);
  o = parseFileOptions(L"0/1");
  EXPECT_FALSE(o.force);
  EXPECT_TRUE(o.keep);
  EXPECT_FALSE(o.confirm);
  EXPECT_TRUE(o.backupName.empty());
  EXPECT_FALSE(o.fromSource);
  o = parseFileOptions(L"");
  EXPECT_FALSE(o.force || o.keep || o.confirm || o.fromSource);
  EXPECT_TRUE(parseFileOptions(L"0/0/0/0/0/0").backupName.empty());
}

}  // namespace
}  // namespace stelvane
