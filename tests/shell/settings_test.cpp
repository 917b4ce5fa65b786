#include "shell/settings.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace lirno {
namespace {

using lirno::testing::TempFolder;

TEST(SettingsTest, FirstStartInAWritableFolderCreatesTheFileWithTopOnly) {
  TempFolder program("prog");
  TempFolder home("home");
  const SettingsChoice c = chooseSettingsFile(program.path(), home.file("lirno/Lirno.ini"), 0);
  EXPECT_EQ(c.path, program.file("Lirno.ini"));
  EXPECT_EQ(c.readPath, c.path);
  EXPECT_FALSE(c.copyToFallback);
  EXPECT_EQ(program.read("Lirno.ini"), "[Window]\r\nTop=0\r\n");
  EXPECT_FALSE(home.exists("lirno"));
}

TEST(SettingsTest, ExistingTopIsWrittenBackUnchanged) {
  TempFolder program("prog");
  program.write("Lirno.ini", "[Lirno]\nRules=x.rul\n[Window]\nTop=77\n");
  const SettingsChoice c = chooseSettingsFile(program.path(), program.file("none.ini"), 0);
  EXPECT_EQ(c.path, program.file("Lirno.ini"));
  EXPECT_EQ(program.read("Lirno.ini"), "[Lirno]\nRules=x.rul\n[Window]\nTop=77\n");
}

TEST(SettingsTest, UnwritableProgramFolderFallsBackAndCopiesTheShellSettings) {
  TempFolder program("prog");
  TempFolder home("home");
  program.write("Lirno.ini", "[Lirno]\r\nRules=old.rul\r\nDocumentPath=/docs/\r\n");
  program.blockWrites("Lirno.ini");
  const std::string fallback = home.file("lirno/Lirno.ini");

  const SettingsChoice c = chooseSettingsFile(program.path(), fallback, 0);
  EXPECT_EQ(c.path, fallback);
  EXPECT_EQ(c.readPath, program.file("Lirno.ini"));  // still read from the program folder
  EXPECT_TRUE(c.copyToFallback);

  const ShellSettings s = readShellSettings(IniFile(c.readPath));
  EXPECT_EQ(s.rules, "old.rul");
  EXPECT_EQ(s.language, "");
  EXPECT_EQ(s.documentPath, "/docs/");
  ASSERT_TRUE(writeShellSettings(IniFile(c.path), s));  // creates the folder too
  EXPECT_EQ(home.read("lirno/Lirno.ini"),
            "[Lirno]\r\nRules=old.rul\r\nLanguage=\r\nDocumentPath=/docs/\r\n");

  // Next start: the fallback exists and is read.
  const SettingsChoice again = chooseSettingsFile(program.path(), fallback, 0);
  EXPECT_EQ(again.readPath, fallback);
  EXPECT_FALSE(again.copyToFallback);
}

TEST(SettingsTest, BoundsAreReadOnlyForTheNormalState) {
  TempFolder program("prog");
  program.write("Lirno.ini",
                "[Window]\nState=0\nTop=10\nLeft=20\nHeight=500\nWidth=700\nGridSplitter=300\n");
  WindowSettings current;
  WindowSettings s = readWindowSettings(IniFile(program.file("Lirno.ini")), current);
  EXPECT_EQ(s.state, 0);
  EXPECT_EQ(s.top, 10);
  EXPECT_EQ(s.left, 20);
  EXPECT_EQ(s.height, 500);
  EXPECT_EQ(s.width, 700);
  EXPECT_EQ(s.gridSplitter, 300);
  EXPECT_EQ(s.footnoteSplitter, 60);
  EXPECT_EQ(s.pictureSplitter, 300);

  program.write("Lirno.ini", "[Window]\nState=2\nTop=10\nLeft=20\nHeight=500\nWidth=700\n");
  s = readWindowSettings(IniFile(program.file("Lirno.ini")), current);
  EXPECT_EQ(s.state, 2);
  EXPECT_EQ(s.top, current.top);
  EXPECT_EQ(s.width, current.width);
}

TEST(SettingsTest, WindowSettingsRoundTrip) {
  TempFolder program("prog");
  const IniFile ini(program.file("Lirno.ini"));
  WindowSettings w;
  w.state = 0;
  w.top = 5;
  w.left = 6;
  w.height = 450;
  w.width = 640;
  w.gridSplitter = 200;
  w.footnoteSplitter = 80;
  w.pictureSplitter = 250;
  ASSERT_TRUE(writeWindowSettings(ini, w));
  const WindowSettings r = readWindowSettings(ini, WindowSettings());
  EXPECT_EQ(r.state, 0);
  EXPECT_EQ(r.top, 5);
  EXPECT_EQ(r.left, 6);
  EXPECT_EQ(r.height, 450);
  EXPECT_EQ(r.width, 640);
  EXPECT_EQ(r.gridSplitter, 200);
  EXPECT_EQ(r.footnoteSplitter, 80);
  EXPECT_EQ(r.pictureSplitter, 250);
}

TEST(SettingsTest, PathsAreStoredInWindows1252) {
  TempFolder program("prog");
  const IniFile ini(program.file("Lirno.ini"));
  ASSERT_TRUE(writePathSetting(ini, "DocumentPath", "/données/"));
  EXPECT_EQ(program.read("Lirno.ini"), "[Lirno]\r\nDocumentPath=/donn\xE9" "es/\r\n");
  EXPECT_EQ(readShellSettings(ini).documentPath, "/données/");
}

TEST(SettingsTest, PathsWithoutAWindows1252FormComeBackAsTheyWere) {
  TempFolder program("prog");
  const IniFile ini(program.file("Lirno.ini"));
  const std::string folder = "/home/u/\xC5\x82\xC3\xB3" "d\xC5\xBA/";  // łódź
  ASSERT_TRUE(writePathSetting(ini, "DocumentPath", folder));
  ASSERT_TRUE(writePathSetting(ini, "Rules", "\xC5\x82.rul"));
  const ShellSettings s = readShellSettings(ini);
  EXPECT_EQ(s.documentPath, folder);
  EXPECT_EQ(s.rules, "\xC5\x82.rul");
}

}  // namespace
}  // namespace lirno
