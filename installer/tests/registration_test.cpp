// Registry writes with their recording flags, the uninstaller's entry, and
// the shortcuts: the script's set and those attached to placed files.
#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>

#include "fs.h"
#include "placement.h"
#include "registration.h"
#include "registry.h"
#include "shortcuts.h"
#include "support/files_fixture.h"
#include "text.h"
#include "zip/zip_archive.h"

namespace stelvane {
namespace {

const wchar_t kTests[] = L"Software\\StelvaneTests";

bool contains(const std::vector<std::wstring>& lines, const std::wstring& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The type and data of a value under HKEY_CURRENT_USER\Software\StelvaneTests\<key>.
struct Stored {
  DWORD type = REG_NONE;
  std::wstring text;
  DWORD number = 0;
};
Stored stored(const std::wstring& key, const std::wstring& value) {
  Stored s;
  BYTE data[512] = {};
  DWORD size = sizeof(data) - 2;
  if (RegGetValueW(HKEY_CURRENT_USER, (std::wstring(kTests) + L"\\" + key).c_str(), value.c_str(),
                   RRF_RT_ANY, &s.type, data, &size) != ERROR_SUCCESS)
    return s;
  if (s.type == REG_SZ) s.text = reinterpret_cast<const wchar_t*>(data);
  if (s.type == REG_DWORD) memcpy(&s.number, data, sizeof(DWORD));
  return s;
}

class Registration : public test::FilesTest {};

TEST_F(Registration, ValueTextsGiveStringsOrNumbersAndFlagsChooseWhatIsRecorded) {
  writeScript(test::kKeepRecord);
  openRecord();
  const std::wstring base = L"HKEY_CURRENT_USER\\Software\\StelvaneTests\\Conversions\\";
  ASSERT_TRUE(writeRegistryValue(installer, base + L"Chaine", L"S,123", kRecordValue | kRecordKey));
  ASSERT_TRUE(writeRegistryValue(installer, base + L"Nombre", L"123", kRecordValue));
  ASSERT_TRUE(writeRegistryValue(installer, base + L"Zero", L"", kRecordKey));
  ASSERT_TRUE(writeRegistryValue(installer, base + L"Texte", L"12a", 0));
  ASSERT_TRUE(writeRegistryValue(installer, base, L"S,défaut", 0));
  // A root in lower case is not a root: HKEY_CURRENT_USER.
  ASSERT_TRUE(writeRegistryValue(installer, L"hkey_local_machine\\Software\\StelvaneTests\\Racine\\V",
                                 L"S,x", kRecordValue | kRecordKey));

  EXPECT_EQ(stored(L"Conversions", L"Chaine").type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(stored(L"Conversions", L"Chaine").text, L"123");
  EXPECT_EQ(stored(L"Conversions", L"Nombre").type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(stored(L"Conversions", L"Nombre").number, 123u);
  EXPECT_EQ(stored(L"Conversions", L"Zero").type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(stored(L"Conversions", L"Zero").number, 0u);
  EXPECT_EQ(stored(L"Conversions", L"Texte").type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(stored(L"Conversions", L"Texte").text, L"12a");
  EXPECT_EQ(stored(L"Conversions", L"").text, L"défaut");
  EXPECT_EQ(stored(L"Racine", L"V").text, L"x");

  EXPECT_EQ(recordLines(),
            (std::vector<std::wstring>{
                L"EFF_TAG=", L"EFF_ENT_REG=" + base + L"Chaine", L"EFF_ENT_REG=" + base + L"Nombre",
                L"EFF_ENT_REG=hkey_local_machine\\Software\\StelvaneTests\\Racine\\V",
                L"EFF_REG=HKEY_CURRENT_USER\\Software\\StelvaneTests\\Conversions",
                L"EFF_REG=HKEY_CURRENT_USER\\Software\\StelvaneTests\\Racine"}));
}

TEST_F(Registration, TheUninstallerIsPlacedTaggedAndRegistered) {
  writeScript(test::kKeepRecord);
  describe(L"[KXF]\nAPPLI=StelvaneTest Lirno\n[INST]\nUNINST=1\nUNINSTPRG01=docs\\lisez-moi.txt\n");
  openRecord();
  ZipArchive archive;
  ASSERT_EQ(archive.open(test::archivePath(L"infozip.zip")), 0);
  registerUninstaller(installer, archive);

  const std::wstring t = target.path();
  const std::wstring program = t + L"\\docs\\lisez-moi.txt";
  EXPECT_TRUE(fileExists(program));
  const std::wstring key = uninstallKey(L"StelvaneTest Lirno");
  const bool machine = startsWith(key, L"HKEY_LOCAL_MACHINE\\");
  const std::wstring subkey = key.substr(key.find(L'\\') + 1, key.size() - key.find(L'\\') - 2);
  const HKEY root = machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  EXPECT_EQ(test::registryString(root, subkey, L"DisplayIcon"), L"\"" + program + L"\",0");
  EXPECT_EQ(test::registryString(root, subkey, L"DisplayName"), L"StelvaneTest Lirno");
  EXPECT_EQ(test::registryString(root, subkey, L"Fic"), t + L"\\uninst.inf");
  EXPECT_EQ(test::registryString(root, subkey, L"Rep"), t);
  EXPECT_EQ(test::registryString(root, subkey, L"UninstallString"),
            L"\"" + program + L"\" /REG=\"StelvaneTest Lirno\"");

  const auto lines = recordLines();
  EXPECT_EQ(lines.front(), L"EFF_TAG=StelvaneTest Lirno");
  EXPECT_TRUE(contains(lines, L"EFF_FIC=" + program));
  EXPECT_TRUE(contains(lines, L"EFF_REG=" + key.substr(0, key.size() - 1)));
  for (const wchar_t* value : {L"DisplayIcon", L"DisplayName", L"Fic", L"Rep", L"UninstallString"})
    EXPECT_TRUE(contains(lines, L"EFF_ENT_REG=" + key + value)) << toUtf8(value);
}

// The target, description and working folder a link file holds.
struct Link {
  std::wstring target, description, folder;
};
Link readLink(const std::wstring& file) {
  Link link;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* shell = nullptr;
  IPersistFile* persist = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&shell))) &&
      SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
      SUCCEEDED(persist->Load(file.c_str(), STGM_READ))) {
    wchar_t text[MAX_PATH] = {};
    shell->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    link.target = text;
    shell->GetDescription(text, MAX_PATH);
    link.description = text;
    shell->GetWorkingDirectory(text, MAX_PATH);
    link.folder = text;
  }
  if (persist) persist->Release();
  if (shell) shell->Release();
  CoUninitialize();
  return link;
}

TEST_F(Registration, OptionSevenMakesThreeShortcutsAndZeroNone) {
  test::ShellFoldersRedirect folders;
  test::writeBytes(target.file(L"lirno.exe"), "MZ");
  writeScript(std::wstring(test::kKeepRecord) +
              L"[RACCOURCI]\nNOM_GROUPE=%APPLI%\n"
              L"ICONE_TITRE1=Outils\\Lirno\nICONE_CIBLE1=%REP_INSTALL%\\lirno.exe\n"
              L"ICONE_REP1=%REP_INSTALL%\nICONE_OPTION1=7\n"
              L"ICONE_TITRE2=Aucun\nICONE_CIBLE2=%REP_INSTALL%\\lirno.exe\nICONE_OPTION2=0\n"
              L"ICONE_TITRE3=Bureau seul\nICONE_CIBLE3=%REP_INSTALL%\\lirno.exe\nICONE_OPTION3=2\n"
              L"ICONE_CIBLE5=jamais lu\nICONE_TITRE5=Jamais\nICONE_OPTION5=7\n");
  installer.applicationName = L"StelvaneTest";
  openRecord();
  createShortcutSet(installer);

  const std::wstring inGroup = folders.programs() + L"\\StelvaneTest\\Lirno.LNK";
  const std::wstring onDesktop = folders.desktop() + L"\\Lirno.LNK";
  const std::wstring quickLaunch =
      folders.appData() + L"\\Microsoft\\Internet Explorer\\Quick Launch\\Lirno.LNK";
  const std::wstring desktopOnly = folders.desktop() + L"\\Bureau seul.LNK";
  for (const auto& file : {inGroup, onDesktop, quickLaunch, desktopOnly}) {
    SCOPED_TRACE(toUtf8(file));
    EXPECT_TRUE(fileExists(file)) << toUtf8(shortcutFolder(2, L"x"));
  }
  const Link link = readLink(onDesktop);
  EXPECT_EQ(link.target, target.file(L"lirno.exe"));
  EXPECT_EQ(link.description, L"Outils\\Lirno");
  EXPECT_EQ(link.folder, target.path());
  EXPECT_FALSE(fileExists(folders.desktop() + L"\\Aucun.LNK"));
  EXPECT_FALSE(fileExists(folders.desktop() + L"\\Jamais.LNK"));  // the list ends at TITRE4

  const auto lines = recordLines();
  for (const auto& file : {inGroup, onDesktop, quickLaunch, desktopOnly})
    EXPECT_TRUE(contains(lines, L"EFF_ICO=" + file)) << toUtf8(file);
  EXPECT_EQ(lines.size(), 5u);
}

TEST_F(Registration, WithoutAGroupNoShortcutIsMade) {
  test::ShellFoldersRedirect folders;
  writeScript(L"[RACCOURCI]\nICONE_TITRE1=Lirno\nICONE_CIBLE1=C:\\x.exe\nICONE_OPTION1=2\n");
  createShortcutSet(installer);
  EXPECT_FALSE(fileExists(folders.desktop() + L"\\Lirno.LNK"));
}

TEST_F(Registration, PlacedFilesNamedByTheDescriptionGetShortcutEntries) {
  writeScript(L"[RACCOURCI]\nICONE_TITRE1=ancien\nICONE_TITRE9=ancien\n");
  describe(
      L"[KXF]\nAPPLI=StelvaneTest\n"
      L"[FICHIER]\nNB=3\n"
      L"F00001=x/docs/%REP_INSTALL%/lisez-moi.txt/LISEZMOI.TXT/x/20300101000000/\n"
      L"F00002=x/docs/%REP_INSTALL%\\textes/long.txt/long.txt/x/20300101000000/\n"
      L"F00003=x/bin/%REP_INSTALL%/aleatoire.bin/donnees.bin/x/20300101000000/\n"
      L"[RACCOURCI]\nNBRACCOURCI=3\n"
      L"FIC00001=C:\\docs\\long.txt\nLIB00001=Texte long\tLong text\nFLAG00001=3\n"
      L"FIC00002=\\DOCS\\LISEZ-MOI.TXT\nLIB00002=Lisez-moi\nFLAG00002=2\n"
      L"FIC00003=docs\\long.txt\nLIB00003=jamais\tnever\nFLAG00003=1\n");
  installer.applicationName = L"StelvaneTest";
  installer.languageIndex = 2;
  ASSERT_TRUE(placeArchive(installer, test::archivePath(L"infozip.zip"), target.path(), false));

  auto value = [&](const std::wstring& key) {
    wchar_t text[512] = {};
    GetPrivateProfileStringW(L"RACCOURCI", key.c_str(), L"", text, 512, installer.scriptPath.c_str());
    return std::wstring(text);
  };
  EXPECT_EQ(value(L"NOM_GROUPE"), L"StelvaneTest");
  EXPECT_EQ(value(L"ICONE_TITRE9"), L"");  // the section was cleared first
  // In file order: LISEZMOI.TXT first (k = 1), with no second language field.
  EXPECT_EQ(value(L"ICONE_CIBLE1"), toUpper(target.file(L"LISEZMOI.TXT")));
  EXPECT_EQ(value(L"ICONE_REP1"), toUpper(target.path()));
  EXPECT_EQ(value(L"ICONE_TITRE1"), L"");
  EXPECT_EQ(value(L"ICONE_OPTION1"), L"2");
  EXPECT_EQ(value(L"ICONE_CIBLE2"), toUpper(target.file(L"textes\\long.txt")));
  EXPECT_EQ(value(L"ICONE_REP2"), toUpper(target.file(L"textes")));
  EXPECT_EQ(value(L"ICONE_TITRE2"), L"Long text");
  EXPECT_EQ(value(L"ICONE_OPTION2"), L"3");
  EXPECT_EQ(value(L"ICONE_CIBLE3"), L"");  // only the first match counts; donnees.bin has none
}

}  // namespace
}  // namespace stelvane
