// The extra components: ODBC archive and registry values, the data-access
// setup program, the INI and REG lists, and the data modification's calls
// into the vendor's library (a stand-in that logs them).
#include <gtest/gtest.h>

#include <algorithm>

#include "extra_components.h"
#include "fs.h"
#include "paths.h"
#include "support/files_fixture.h"
#include "text.h"

namespace stelvane {
namespace {

std::vector<std::wstring> lines(const std::string& utf8) {
  auto all = split(fromUtf8(utf8), L"\n");
  if (!all.empty() && all.back().empty()) all.pop_back();
  return all;
}

class ExtraComponents : public test::FilesTest {
 protected:
  ExtraComponents() {
    log = target.file(L"modif.log");
    SetEnvironmentVariableW(L"STELVANE_MODIF_LOG", log.c_str());
    GetCurrentDirectoryW(MAX_PATH, folderBefore);
  }
  ~ExtraComponents() override {
    SetEnvironmentVariableW(L"STELVANE_MODIF_LOG", nullptr);
    SetEnvironmentVariableW(L"STELVANE_MODIF_FAIL", nullptr);
  }
  std::vector<std::wstring> calls() { return lines(test::readBytes(log)); }
  std::wstring workFolder() const { return work.path(); }

  const std::wstring modificationScript =
      L"[ARCHIVE]\nNOM_KXZ_MODIF=modif.zip\nNOM_DLL_MODIF=modif.dll\n[MODIFAUTO]\nTITRE=Modification\n"
      L"MESSAGE=Modifier les données ?\n";
  std::wstring log;
  wchar_t folderBefore[MAX_PATH] = {};
};

TEST_F(ExtraComponents, TheDataModificationCallsTheLibraryInTheOrderOfTheTable) {
  copyArchive(L"modif.zip");
  writeScript(modificationScript);
  describe(
      L"[DQ]\nMODIFAUTO=1\n[FICHIER]\nNB=3\n"
      L"DQ00001=1/lirno.ana\tmdp-un\n"
      L"MDP00001=CLIENTS\t\t\t\tancien\tnouveau§<SYSTEME>\t\t\t\tx\ty§§FACTURES\t\t\t\t\tfinal\n"
      L"DQ00002=1/lirno.ana\tmdp-deux\n"
      L"DQ00003=0/lirno.ana\tjamais\n");
  ASSERT_TRUE(runDataModification(installer));
  EXPECT_TRUE(messages.entries.empty());

  const std::wstring w = workFolder(), t = target.path();
  std::vector<std::wstring> expected;
  for (const auto& [n, password] : {std::pair{L"0001", L"mdp-un"}, std::pair{L"0002", L"mdp-deux"}}) {
    const std::vector<std::wstring> entry = {
        L"pCreerIModifAuto|" + w,
        L"IModifAuto_bInitReussie",
        L"IModifAuto_SetAnalyseW|" + w + L"\\EXE" + n + L"\\lirno.ana|present",
        std::wstring(L"IModifAuto_SetMdpAnalyseCrypteW|") + password,
        L"IModifAuto_SetRepertoireEXEW|" + t,
        L"IModifAuto_bAjouteRepertoireW|" + t + L"\\|1|4096",
        L"IModifAuto_AjouteRepertoireLocalisationREPW|" + t + L"\\",
        L"IModifAuto_bAjouteREPW|4096"};
    expected.insert(expected.end(), entry.begin(), entry.end());
    if (std::wstring(n) == L"0001") {
      expected.push_back(L"IModifAuto_SetMotPasseWCrypteOuvertureFichierParNomLogiqueW|CLIENTS|ancien");
      expected.push_back(L"IModifAuto_SetMotPasseWCrypteFinalFichierParNomLogiqueW|CLIENTS|nouveau");
      expected.push_back(L"IModifAuto_SetMotPasseWCrypteFinalFichierParNomLogiqueW|FACTURES|final");
    }
    expected.push_back(L"IModifAuto_SetSauvegardeDansSousRepertoireSource");
    expected.push_back(L"IModifAuto_SetFlagSauvegarde|1");
    expected.push_back(L"IModifAuto_bExecute|1|" + w);
    expected.push_back(L"LibereIModifAuto");
  }
  EXPECT_EQ(calls(), expected);
  // The current folder is given back.
  wchar_t after[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, after);
  EXPECT_STREQ(after, folderBefore);
}

TEST_F(ExtraComponents, AnEntryNotStartingWithOneNeverLoadsTheLibrary) {
  copyArchive(L"modif.zip");
  writeScript(modificationScript);
  describe(L"[DQ]\nMODIFAUTO=1\n[FICHIER]\nNB=2\nDQ00001=0/lirno.ana\tx\nDQ00002=/lirno.ana\tx\n");
  EXPECT_TRUE(runDataModification(installer));
  EXPECT_FALSE(fileExists(log));
  EXPECT_TRUE(fileExists(work.file(L"modif.dll")));  // the archive was extracted all the same
}

TEST_F(ExtraComponents, ALibraryThatCannotBeUsedIsReportedAndFailsTheStep) {
  copyArchive(L"modif.zip");
  writeScript(modificationScript);
  describe(L"[DQ]\nMODIFAUTO=1\n[FICHIER]\nNB=2\nDQ00001=1/lirno.ana\tx\nDQ00002=1x\n");
  SetEnvironmentVariableW(L"STELVANE_MODIF_FAIL", L"1");
  EXPECT_FALSE(runDataModification(installer));
  ASSERT_EQ(messages.entries.size(), 2u);  // each entry tries again
  EXPECT_EQ(messages.entries[0].kind, MessageKind::Warning);
  EXPECT_EQ(messages.entries[0].caption, L"Modification");
  EXPECT_EQ(messages.entries[0].text, L"Initialisation refusée");
  EXPECT_EQ(calls(), (std::vector<std::wstring>{L"pCreerIModifAuto|" + workFolder(), L"IModifAuto_bInitReussie",
                                                L"IModifAuto_pszGetReportW", L"LibereIModifAuto",
                                                L"pCreerIModifAuto|" + workFolder(), L"IModifAuto_bInitReussie",
                                                L"IModifAuto_pszGetReportW", L"LibereIModifAuto"}));

  messages.entries.clear();
  writeScript(L"[ARCHIVE]\nNOM_KXZ_MODIF=modif.zip\nNOM_DLL_MODIF=absent.dll\n[MODIFAUTO]\nTITRE=Modification\n");
  EXPECT_FALSE(runDataModification(installer));
  ASSERT_EQ(messages.entries.size(), 2u);
  EXPECT_EQ(messages.entries[0].text, L"La DLL n'a pas été chargée");
}

TEST_F(ExtraComponents, ARefusedConfirmationSkipsTheStepSuccessfully) {
  copyArchive(L"modif.zip");
  writeScript(modificationScript);
  describe(L"[DQ]\nMODIFAUTO=1\nCONFMODIF=1\n[FICHIER]\nNB=1\nDQ00001=1/lirno.ana\tx\n");
  messages.answer = false;
  EXPECT_TRUE(runDataModification(installer));
  ASSERT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(messages.entries[0].caption, L"Modification");
  EXPECT_EQ(messages.entries[0].text, L"Modifier les données ?");
  EXPECT_FALSE(fileExists(work.file(L"modif.dll")));
  EXPECT_FALSE(fileExists(log));
}

TEST_F(ExtraComponents, TheOdbcDriverGoesToTheSystemFolderWithItsRegistryValues) {
  test::TempFolder system;
  installer.systemFolder = system.path();
  copyArchive(L"odbc.zip");
  writeScript(std::wstring(test::kKeepRecord) +
              L"[ARCHIVE]\nNOM_KXZ_ODBC=odbc.zip\n[ODBC]\nTITRE=ODBC\nMESSAGE=Installer le pilote ?\n"
              L"[DRIVER_ODBC]\nBASEREG1=HKEY_CURRENT_USER\\Software\\StelvaneTests\\ODBC\\Driver\n"
              L"VAL_BASEREG1=S,%REP_SYSTEM%\\stelvane-odbc-test.txt\n"
              L"BASEREG2=HKEY_CURRENT_USER\\Software\\StelvaneTests\\ODBC\\UsageCount\nVAL_BASEREG2=1\n");
  describe(L"[DQ]\nINSTODBC=1\nCONFODBC=1\n");
  openRecord();
  messages.answer = false;
  installOdbcComponent(installer);
  EXPECT_FALSE(fileExists(system.file(L"stelvane-odbc-test.txt")));
  messages.answer = true;
  installOdbcComponent(installer);
  EXPECT_EQ(messages.entries.size(), 2u);
  EXPECT_EQ(test::readBytes(system.file(L"stelvane-odbc-test.txt")), "pilote\r\n");
  EXPECT_EQ(test::registryString(HKEY_CURRENT_USER, L"Software\\StelvaneTests\\ODBC", L"Driver"),
            system.file(L"stelvane-odbc-test.txt"));
  const auto record = recordLines();
  for (const std::wstring& line :
       {std::wstring(L"EFF_REG=HKEY_CURRENT_USER\\Software\\StelvaneTests\\ODBC"),
        std::wstring(L"EFF_ENT_REG=HKEY_CURRENT_USER\\Software\\StelvaneTests\\ODBC\\Driver"),
        std::wstring(L"EFF_ENT_REG=HKEY_CURRENT_USER\\Software\\StelvaneTests\\ODBC\\UsageCount"),
        L"EFF_FIC=" + system.file(L"stelvane-odbc-test.txt")})
    EXPECT_NE(std::find(record.begin(), record.end(), line), record.end()) << toUtf8(line);
}

TEST_F(ExtraComponents, TheDataAccessSetupRunsFromTheWorkFolderAndIsWaitedFor) {
  copyArchive(L"mdac.zip");
  writeScript(L"[ARCHIVE]\nNOM_KXZ_MDAC=mdac.zip\n");
  describe(L"[DQ]\nINSTMDAC=1\n");
  installDataAccessComponent(installer);
  // Its marker, in the installation folder where it runs, names the work folder's copy.
  EXPECT_EQ(fromUtf8(test::readBytes(target.file(L"mdac_type.marker"))), work.file(L"mdac_type.exe"));
}

TEST_F(ExtraComponents, TheIniAndRegListsWriteTheirEntries) {
  writeScript(test::kKeepRecord);
  installer.applicationName = L"Lirno";
  describe(
      L"[KXF]\n"
      L"INI=%REP_INSTALL%\\lirno.ini§Options§Langue§FR§§%REP_INSTALL%\\lirno.ini§Options§Vide§§"
      L"%REP_INSTALL%\\lirno.ini§Seule\n"
      L"REG=HKEY_CURRENT_USER\\Software\\StelvaneTests\\Liste§Nom§S,%APPLI%§§"
      L"HKEY_CURRENT_USER\\Software\\StelvaneTests\\Liste§Nombre§42\n");
  openRecord();
  writeIniList(installer);
  writeRegistryList(installer);

  const std::wstring ini = target.file(L"lirno.ini");
  wchar_t text[256] = {};
  GetPrivateProfileStringW(L"Options", L"Langue", L"", text, 256, ini.c_str());
  EXPECT_STREQ(text, L"FR");
  GetPrivateProfileStringW(L"Options", L"Vide", L"absente", text, 256, ini.c_str());
  EXPECT_STREQ(text, L"");  // three fields: an empty value
  GetPrivateProfileStringW(nullptr, nullptr, L"", text, 256, ini.c_str());
  EXPECT_STREQ(text, L"Options");  // the entry without a key wrote nothing

  EXPECT_EQ(test::registryString(HKEY_CURRENT_USER, L"Software\\StelvaneTests\\Liste", L"Nom"), L"Lirno");
  DWORD number = 0, size = sizeof(number);
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\StelvaneTests\\Liste", L"Nombre", RRF_RT_REG_DWORD,
                         nullptr, &number, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(number, 42u);
  // The registry values are recorded, the INI entries are not.
  EXPECT_EQ(recordLines(), (std::vector<std::wstring>{
                               L"EFF_TAG=", L"EFF_ENT_REG=HKEY_CURRENT_USER\\Software\\StelvaneTests\\Liste\\Nom",
                               L"EFF_ENT_REG=HKEY_CURRENT_USER\\Software\\StelvaneTests\\Liste\\Nombre"}));
}

TEST_F(ExtraComponents, NothingConfiguredIsASuccessWithNothingDone) {
  writeScript(L"[ARCHIVE]\nNOM_KXZ_MODIF=modif.zip\nNOM_KXZ_MDAC=mdac.zip\nNOM_KXZ_ODBC=odbc.zip\n");
  describe(L"[DQ]\nINSTODBC=0\n");
  EXPECT_TRUE(runExtraComponents(installer));
  EXPECT_TRUE(messages.entries.empty());
  EXPECT_FALSE(fileExists(log));
  EXPECT_FALSE(fileExists(target.file(L"mdac_type.marker")));
}

}  // namespace
}  // namespace stelvane
