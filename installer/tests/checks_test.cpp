#include <gtest/gtest.h>

#include "checks.h"
#include "registry.h"
#include "support/test_support.h"

namespace stelvane {
namespace {

class Checks : public test::ScriptTest {
 protected:
  Checks() { test::clearTestRegistry(); }
  ~Checks() override { test::clearTestRegistry(); }
  void setValue(const std::wstring& name, const std::wstring& text) {
    ASSERT_TRUE(writeRegistryValue(installer, L"HKEY_CURRENT_USER\\Software\\StelvaneTests\\" + name,
                                   L"S," + text, 0));
  }
};

TEST_F(Checks, VersionsCompareAsTextIgnoringCase) {
  Collator c;
  EXPECT_LT(compareVersions(c, L"2.10", L"2.9"), 0);
  EXPECT_EQ(compareVersions(c, L"2.9b", L"2.9B"), 0);
  EXPECT_GT(compareVersions(c, L"3.0", L"2.9"), 0);
}

TEST_F(Checks, OlderOrEqualVersionAsksAndNoStopsTheInstallation) {
  writeScript(
      L"[VERIFICATION_VERSION]\nVERIF=Y\nTITRE_MOINSRECENTE=Plus ancienne\n"
      L"MESSAGE_MOINSRECENTE=Installée %s, nouvelle %s\nTITRE_EGALE=Même version\n"
      L"MESSAGE_EGALE=Déjà %s\n");
  installer.installedVersion = L"2.9";
  installer.newVersion = L"2.10";
  messages.answer = false;
  EXPECT_FALSE(confirmVersion(installer));
  ASSERT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(messages.entries[0].caption, L"Plus ancienne");
  EXPECT_EQ(messages.entries[0].text, L"Installée 2.9, nouvelle 2.10");

  messages.answer = true;
  installer.newVersion = L"2.9";
  EXPECT_TRUE(confirmVersion(installer));
  EXPECT_EQ(messages.entries.back().caption, L"Même version");
  EXPECT_EQ(messages.entries.back().text, L"Déjà 2.9");

  installer.newVersion = L"3.0";
  EXPECT_TRUE(confirmVersion(installer));
  EXPECT_EQ(messages.entries.size(), 2u);
}

TEST_F(Checks, VersionComparisonIsSkippedUnlessVerifStartsWithY) {
  writeScript(L"[VERIFICATION_VERSION]\nVERIF=yes\nTITRE_EGALE=x\n");
  EXPECT_TRUE(confirmVersion(installer));
  EXPECT_TRUE(messages.entries.empty());
}

TEST_F(Checks, ProductInstalledNeedsItsKeyAndAValue) {
  writeScript(L"[PRODUIT_INSTALLE]\nVERIF=Y\nTITRE=Produit absent\nMESSAGE=Installez %APPLI%\n");
  installer.applicationName = L"Base";
  EXPECT_FALSE(checkProductInstalled(installer));
  ASSERT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(messages.entries[0].text,
            L"la valeur BASEREG_TEST de la section PRODUIT_INSTALLE n'est pas définie");

  writeScript(
      L"[PRODUIT_INSTALLE]\nVERIF=Y\nTITRE=Produit absent\nMESSAGE=Installez %APPLI%\n"
      L"BASEREG_TEST=HKEY_CURRENT_USER\\Software\\StelvaneTests\\Base\n");
  EXPECT_FALSE(checkProductInstalled(installer));
  EXPECT_EQ(messages.entries.back().caption, L"Produit absent");
  EXPECT_EQ(messages.entries.back().text, L"Installez Base");

  setValue(L"Base", L"C:\\Base");
  EXPECT_TRUE(checkProductInstalled(installer));
  EXPECT_EQ(messages.entries.size(), 2u);
}

TEST_F(Checks, WithoutProgramKeyTheDescriptionProposesTheFolder) {
  writeScript(L"[OPTION_INSTALL]\nINSTALL_VZF=%REP_SRC%\\desc.vzf\n");
  writeDescription(
      L"[KXF]\nAPPLI=Autre\nTAG_REG=StelvaneTest\nREPDEF=%REP_SRC%\\Lirno\nVERSION=2.10\n");
  ASSERT_TRUE(prepareVersionCheck(installer));
  EXPECT_EQ(installer.descriptionPath, installer.sourceFolder + L"desc.vzf");
  EXPECT_EQ(installer.applicationName, L"StelvaneTest");
  EXPECT_EQ(installer.installFolder, installer.sourceFolder + L"Lirno");
  EXPECT_EQ(installer.newVersion, L"2.10");

  // A previous installation's folder wins over REPDEF.
  ASSERT_TRUE(writeRegistryValue(installer, previousInstallationKey(L"StelvaneTest"),
                                 L"S,E:\\Ancien", 0));
  ASSERT_TRUE(prepareVersionCheck(installer));
  EXPECT_EQ(installer.installFolder, L"E:\\Ancien");
  EXPECT_TRUE(messages.entries.empty());
}

TEST_F(Checks, ProgramKeyGivesFolderAndInstalledVersion) {
  writeScript(
      L"[VERIFICATION_VERSION]\n"
      L"BASEREG_REPPRG=HKEY_CURRENT_USER\\Software\\StelvaneTests\\Prog\n"
      L"BASEREG_REPRACINE=HKEY_CURRENT_USER\\Software\\StelvaneTests\\Racine\n"
      L"NOMEXE=stelvane_helper.exe\nCHAINEVERSION=Version\nNEWVERSION= 2.10 \n");
  setValue(L"Prog", test::programFolder());
  setValue(L"Racine", L"C:\\Racine\\");
  ASSERT_TRUE(prepareVersionCheck(installer));
  EXPECT_EQ(installer.installFolder, L"C:\\Racine");
  EXPECT_EQ(installer.installedVersion, L"2.9");
  EXPECT_EQ(installer.newVersion, L"2.10");
  EXPECT_TRUE(messages.entries.empty());
}

TEST_F(Checks, WithAProgramKeyTheNameStillComesFromTheDescription) {
  writeScript(
      L"[OPTION_INSTALL]\nINSTALL_VZF=%REP_SRC%\\desc.vzf\n"
      L"[VERIFICATION_VERSION]\n"
      L"BASEREG_REPPRG=HKEY_CURRENT_USER\\Software\\StelvaneTests\\Prog\n"
      L"BASEREG_REPRACINE=HKEY_CURRENT_USER\\Software\\StelvaneTests\\Racine\n"
      L"NOMEXE=stelvane_helper.exe\nCHAINEVERSION=Version\nNEWVERSION=2.10\n");
  writeDescription(L"[KXF]\nAPPLI=Autre\nTAG_REG=StelvaneTest\nREPDEF=D:\\Ailleurs\nVERSION=9\n");
  setValue(L"Prog", test::programFolder());
  setValue(L"Racine", L"C:\\Racine\\");
  ASSERT_TRUE(prepareVersionCheck(installer));
  EXPECT_EQ(installer.descriptionPath, installer.sourceFolder + L"desc.vzf");
  EXPECT_EQ(installer.applicationName, L"StelvaneTest");
  // The folder and the versions still come from the program's keys.
  EXPECT_EQ(installer.installFolder, L"C:\\Racine");
  EXPECT_EQ(installer.installedVersion, L"2.9");
  EXPECT_EQ(installer.newVersion, L"2.10");
  EXPECT_TRUE(messages.entries.empty());
}

TEST_F(Checks, VersionStringFallsBackToTheUsEnglishBlock) {
  writeScript(
      L"[VERIFICATION_VERSION]\n"
      L"BASEREG_REPPRG=HKEY_CURRENT_USER\\Software\\StelvaneTests\\Prog\n"
      L"BASEREG_REPRACINE=HKEY_CURRENT_USER\\Software\\StelvaneTests\\Racine\n"
      L"NOMEXE=stelvane_helper.exe\nCHAINEVERSION=KXVersion\nNEWVERSION=9.2\n");
  setValue(L"Prog", test::programFolder());
  setValue(L"Racine", L"C:\\Racine");
  ASSERT_TRUE(prepareVersionCheck(installer));
  EXPECT_EQ(installer.installedVersion, L"9.1");
}

TEST_F(Checks, EmptyProgramFolderIsBuiltFromTheRootAndRepprg) {
  const std::wstring bin = test::programFolder();
  writeScript(
      L"[VERIFICATION_VERSION]\n"
      L"BASEREG_REPPRG=HKEY_CURRENT_USER\\Software\\StelvaneTests\\Prog\n"
      L"BASEREG_REPRACINE=HKEY_CURRENT_USER\\Software\\StelvaneTests\\Racine\n"
      L"REPPRG=bin\nNOMEXE=stelvane_helper.exe\nCHAINEVERSION=Absente\nNEWVERSION=1\n");
  // Root = the folder above the program's, REPPRG its last component.
  const std::wstring above = bin.substr(0, bin.size() - 4);
  ASSERT_EQ(bin.substr(bin.size() - 4), L"bin\\");
  setValue(L"Racine", above);
  EXPECT_FALSE(prepareVersionCheck(installer));
  ASSERT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(messages.entries[0].caption, L"Erreur");
  EXPECT_EQ(messages.entries[0].text, L"L'executable ne contient pas de chaine de version");
  EXPECT_EQ(installer.installFolder, above.substr(0, above.size() - 1));
}

TEST_F(Checks, RequiredKeysOfTheProgramCheck) {
  const std::wstring keys =
      L"[VERIFICATION_VERSION]\n"
      L"BASEREG_REPPRG=HKEY_CURRENT_USER\\Software\\StelvaneTests\\Prog\n";
  writeScript(keys);
  EXPECT_FALSE(prepareVersionCheck(installer));
  EXPECT_EQ(messages.entries.back().text,
            L"la valeur BASEREG_REPRACINE de la section VERIFICATION_VERSION n'est pas définie");

  writeScript(keys + L"BASEREG_REPRACINE=HKEY_CURRENT_USER\\Software\\StelvaneTests\\Racine\n");
  EXPECT_FALSE(prepareVersionCheck(installer));
  EXPECT_EQ(messages.entries.back().text,
            L"la valeur BASEREG_REPRACINE (registry) de la section VERIFICATION_VERSION n'est pas "
            L"définie");

  setValue(L"Racine", L"C:\\Racine");
  EXPECT_FALSE(prepareVersionCheck(installer));
  EXPECT_EQ(messages.entries.back().text,
            L"la valeur REPPRG de la section VERIFICATION_VERSION n'est pas définie");

  writeScript(keys + L"BASEREG_REPRACINE=HKEY_CURRENT_USER\\Software\\StelvaneTests\\Racine\n"
                     L"REPPRG=Prog\n");
  EXPECT_FALSE(prepareVersionCheck(installer));
  EXPECT_EQ(messages.entries.back().text,
            L"la valeur NOMEXE de la section VERIFICATION_VERSION n'est pas définie");
}

TEST(RunningProgram, MatchesByNameAndByFolderAndExtensionWhenGiven) {
  Collator c;
  EXPECT_TRUE(programMatches(c, L"lirno.exe", L"C:\\Prog\\LIRNO.EXE"));
  EXPECT_TRUE(programMatches(c, L"lirno", L"C:\\Prog\\lirno.com"));
  EXPECT_TRUE(programMatches(c, L"c:\\prog\\lirno.exe", L"C:\\Prog\\lirno.exe"));
  EXPECT_FALSE(programMatches(c, L"C:\\Autre\\lirno.exe", L"C:\\Prog\\lirno.exe"));
  EXPECT_FALSE(programMatches(c, L"lirno.exe", L"C:\\Prog\\lirno2.exe"));
  EXPECT_FALSE(programMatches(c, L"lirno.exe", L"C:\\Prog\\lirno.dll"));
}

TEST_F(Checks, RunningProgramStopsTheInstallation) {
  writeScript(L"[EXE_LANCE]\nVERIF=Y\nNOM_EXE=stelvane_unit_tests.exe\nTITRE=Programme ouvert\n"
              L"MESSAGE=Fermez-le\n");
  EXPECT_FALSE(checkProgramNotRunning(installer));
  ASSERT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(messages.entries[0].caption, L"Programme ouvert");

  writeScript(L"[EXE_LANCE]\nVERIF=Y\nNOM_EXE=pas_lance.exe\n");
  EXPECT_TRUE(checkProgramNotRunning(installer));

  // A missing NOM_EXE is reported but does not stop the installation.
  writeScript(L"[EXE_LANCE]\nVERIF=Y\n");
  EXPECT_TRUE(checkProgramNotRunning(installer));
  EXPECT_EQ(messages.entries.back().text,
            L"la valeur NOM_EXE de la section EXE_LANCE n'est pas définie");
}

}  // namespace
}  // namespace stelvane
