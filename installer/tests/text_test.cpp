#include <gtest/gtest.h>

#include "compare.h"
#include "paths.h"
#include "profile.h"
#include "text.h"

namespace stelvane {
namespace {

TEST(FormatText, FillsConversionsInOrderAndKeepsEverythingElse) {
  const std::wstring args[] = {L"a.txt", L"30"};
  EXPECT_EQ(formatText(L"Le fichier %s n'a pas pu être extrait.\n(%d)", args),
            L"Le fichier a.txt n'a pas pu être extrait.\n(30)");
  EXPECT_EQ(formatText(L"%3i %%|%-4s|", args), L"a.txt %|30  |");
  EXPECT_EQ(formatText(L"100 % sûr %q", args), L"100 % sûr %q");
}

TEST(FormatText, NeverReadsPastTheArgumentsGiven) {
  // Script formats may hold more conversions than the call has arguments,
  // and conversions that would read memory in printf.
  const std::wstring one[] = {L"x"};
  EXPECT_EQ(formatText(L"%s %s %n %ld %p", one), L"x  %n  %p");
  EXPECT_EQ(formatText(L"%s%", one), L"x%");
}

TEST(Paths, InstallFolderLosesItsTrailingBackslashButABareDriveGetsOne) {
  EXPECT_EQ(normaliseInstallFolder(L"C:\\Lirno\\"), L"C:\\Lirno");
  EXPECT_EQ(normaliseInstallFolder(L"C:\\Lirno"), L"C:\\Lirno");
  EXPECT_EQ(normaliseInstallFolder(L"D:"), L"D:\\");
  EXPECT_EQ(normaliseInstallFolder(L"D:\\"), L"D:\\");
  EXPECT_EQ(driveOf(L"D:\\Lirno"), L"D:");
  EXPECT_EQ(driveOf(L"\\\\serveur\\partage"), L"");
}

TEST(Paths, RootFoldersAreRecognised) {
  for (const wchar_t* root : {L"", L"C:", L"C:\\", L"\\", L"\\\\serveur\\partage", L"\\\\serveur\\partage\\"})
    EXPECT_TRUE(isRootFolder(root)) << toUtf8(root);
  for (const wchar_t* folder : {L"C:\\Temp", L"C:\\Temp\\", L"\\\\serveur\\partage\\dossier"})
    EXPECT_FALSE(isRootFolder(folder)) << toUtf8(folder);
}

TEST(Paths, SplitGivesFolderNameAndExtension) {
  auto p = splitPath(L"C:\\Prog\\Lirno.v2.exe");
  EXPECT_EQ(p.folder, L"C:\\Prog\\");
  EXPECT_EQ(p.name, L"Lirno.v2");
  EXPECT_EQ(p.extension, L".exe");
  p = splitPath(L"lirno");
  EXPECT_EQ(p.folder, L"");
  EXPECT_EQ(p.name, L"lirno");
  EXPECT_EQ(p.extension, L"");
  p = splitPath(L"C:lirno.exe");
  EXPECT_EQ(p.folder, L"C:");
  EXPECT_EQ(p.name, L"lirno");
}

TEST(Text, UpperCaseCoversAccentedLetters) {
  EXPECT_EQ(toUpper(L"%rep_install%\\éte.exe"), L"%REP_INSTALL%\\ÉTE.EXE");
  EXPECT_EQ(removeWhiteSpace(L" 2. 10\t"), L"2.10");
  EXPECT_EQ(split(L"a§§b§c§§", L"§§"), (std::vector<std::wstring>{L"a", L"b§c", L""}));
  EXPECT_EQ(field(L"0/1/2", L"/", 5), L"");
}

TEST(Collator, IgnoresCaseAndOnlyWhenAskedAccents) {
  Collator c;
  EXPECT_TRUE(c.equal(L"LIRNO.EXE", L"lirno.exe"));
  EXPECT_FALSE(c.equal(L"écrit", L"ecrit"));
  EXPECT_TRUE(c.equal(L"écrit", L"ECRIT", true));
  EXPECT_TRUE(c.startsWith(L"<SRBUREAU>", L"<sr", true));
}

TEST(Profile, LocalizedSectionHasTheSuffixOrNothing) {
  EXPECT_EQ(localizedSection(L"DIALOGUE", L""), L"DIALOGUE");
  EXPECT_EQ(localizedSection(L"DIALOGUE", L"EN"), L"DIALOGUE_EN");
  EXPECT_EQ(fiveDigitKey(L"F", 7), L"F00007");
  EXPECT_EQ(numberedKey(L"COPY", 12), L"COPY12");
}

}  // namespace
}  // namespace stelvane
