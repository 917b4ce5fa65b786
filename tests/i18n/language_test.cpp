#include "i18n/language.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace lirno {
namespace {

LanguageTables loaded(std::string_view bytes) {
  LanguageTables t;
  EXPECT_EQ(t.loadBytes(bytes), LanguageLoad::Loaded);
  return t;
}

TEST(LanguageFile, HeaderNeedsTheSecondColonAndComesAfterSkippedLines) {
  LanguageTables t;
  EXPECT_EQ(t.loadBytes("Lirno:eng\n\"Oui\"=\"Yes\"\n"), LanguageLoad::NotLanguageFile);
  EXPECT_EQ(t.loadBytes("lirno:eng:\n"), LanguageLoad::NotLanguageFile);
  EXPECT_EQ(t.loadBytes("; only a comment\n\n"), LanguageLoad::NotLanguageFile);
  EXPECT_FALSE(t.loaded());
  EXPECT_EQ(t.code(), "fra");

  t = loaded("; comment\n\n\r\n\rstray\nLirno:eng:\n\"Oui\"=\"Yes\"\n");
  EXPECT_EQ(t.code(), "eng");
  EXPECT_EQ(t.translate("Oui"), "Yes");
}

TEST(LanguageFile, FailedHeaderKeepsTheTablesInForce) {
  LanguageTables t = loaded("Lirno:eng:\n\"Oui\"=\"Yes\"\n");
  EXPECT_EQ(t.loadBytes("Lirno:deu\n\"Oui\"=\"Ja\"\n"), LanguageLoad::NotLanguageFile);
  EXPECT_EQ(t.code(), "eng");
  EXPECT_EQ(t.translate("Oui"), "Yes");
  // A good file replaces everything: what it does not translate is French again.
  EXPECT_EQ(t.loadBytes("Lirno:deu:\n\"Non\"=\"Nein\"\n"), LanguageLoad::Loaded);
  EXPECT_EQ(t.translate("Oui"), "Oui");
  EXPECT_EQ(t.translate("Non"), "Nein");
  t.reset();
  EXPECT_EQ(t.code(), "fra");
  EXPECT_EQ(t.translate("Non"), "Non");
}

TEST(LanguageFile, TranslationLines) {
  const LanguageTables t = loaded(
      "Lirno:eng:\n"
      "\"Oui\"=\"Yes\" trailing words are ignored\n"
      "\"Oui\"=\"Second\"\n"          // the first source wins
      "\"\"=\"Empty source\"\n"       // ignored
      "\"Vide\"=\"\"\n"               // ignored
      "\"Sans fin\"=\"No end\n"       // ignored
      "\"Fichier non trouvé :\\n\"=\"File not found:\\n\"\n"
      "\"  Mots : \"=\"  Words: \"\n");
  EXPECT_EQ(t.translate("Oui"), "Yes");
  EXPECT_EQ(t.translate("oui"), "oui");
  EXPECT_EQ(t.translate("Vide"), "Vide");
  EXPECT_EQ(t.translate("Sans fin"), "Sans fin");
  EXPECT_EQ(t.translate("Fichier non trouvé :\n"), "File not found:\n");
  EXPECT_EQ(t.translate("  Mots : "), "  Words: ");
  EXPECT_EQ(t.sources().size(), 4u);
  EXPECT_TRUE(t.controlLines().empty());
}

TEST(LanguageFile, BytesAreWindows1252OrUtf8WithLineEndingsOfEitherSystem) {
  // "é" as Windows-1252, CR LF line ends, a last line without line feed.
  LanguageTables t = loaded("Lirno:eng:\r\n\"Modifi\xE9\"=\"Reduced\"\r\n\"Oui\"=\"Yes\"");
  EXPECT_EQ(t.translate("Modifié"), "Reduced");
  EXPECT_EQ(t.translate("Oui"), "Oui");
  t = loaded("\xEF\xBB\xBFLirno:eng:\n\"Modifié\"=\"Reduced\"\n");
  EXPECT_EQ(t.translate("Modifié"), "Reduced");
}

TEST(LanguageFile, ControlLines) {
  const LanguageTables t = loaded(
      "Lirno:eng:\n"
      "frmMain:frmMain:\"Workbench\":\"\"\n"
      "frmMain:mnuOpen:\"&Open\":\"Open a document\"\n"
      "frmMain:mnuOpenNew:\"Other\":\"\"\n"
      "frmMain:mnuOpen:\"Second\":\"\"\n"
      "frmMain:mnuEmpty:\"\":\"Hint only\"\n"
      "frmMain:mnuBare:\"Bare\"\n"
      "frmFind:pnlPlace:\"Position\":\"\":\"Anywhere\\r\\nWhole word\"\n"
      "frmFind:pnlHint:\"Box\":\"Its hint\":\"A\"\n");
  EXPECT_EQ(t.controlLines().size(), 8u);
  EXPECT_EQ(t.controlLines()[0], "frmMain:frmMain:\"Workbench\":\"\"\n");

  ControlLine c = t.findControlLine("frmMain:frmMain:");
  EXPECT_TRUE(c.found);
  EXPECT_EQ(c.caption, "Workbench");
  EXPECT_EQ(c.hint, "");
  c = t.findControlLine("frmMain:mnuOpen:");
  EXPECT_EQ(c.caption, "&Open");
  EXPECT_EQ(c.hint, "Open a document");
  EXPECT_EQ(c.items, "");
  c = t.findControlLine("frmMain:mnuEmpty:");
  EXPECT_TRUE(c.found);
  EXPECT_EQ(c.caption, "");
  EXPECT_EQ(c.hint, "Hint only");
  EXPECT_EQ(t.findControlLine("frmMain:mnuBare:").caption, "Bare");
  c = t.findControlLine("frmFind:pnlPlace:");
  EXPECT_EQ(c.caption, "Position");
  EXPECT_EQ(c.hint, "");
  EXPECT_EQ(splitRadioItems(c.items), (std::vector<std::string>{"Anywhere", "Whole word"}));
  c = t.findControlLine("frmFind:pnlHint:");
  EXPECT_EQ(c.hint, "Its hint");
  EXPECT_EQ(c.items, "A");
  EXPECT_FALSE(t.findControlLine("frmMain:mnuClose:").found);
  EXPECT_FALSE(t.findControlLine("frmFind:frmFind:").found);
  EXPECT_TRUE(splitRadioItems("").empty());
}

TEST(LanguageFile, NothingLoadedTranslatesNothing) {
  const LanguageTables t;
  EXPECT_EQ(t.translate("Oui"), "Oui");
  EXPECT_FALSE(t.findControlLine("frmMain::").found);
  EXPECT_FALSE(t.hasControlLines());
}

TEST(LanguageFile, LoadFromDisk) {
  testing::TempFolder folder("lng");
  folder.write("eng.lng", "Lirno:eng:\n\"Oui\"=\"Yes\"\n");
  LanguageTables t;
  EXPECT_EQ(t.load(folder.file("missing.lng")), LanguageLoad::NotOpened);
  EXPECT_EQ(t.load(folder.path()), LanguageLoad::NotOpened);
  EXPECT_EQ(t.load(folder.file("eng.lng")), LanguageLoad::Loaded);
  EXPECT_EQ(t.translate("Oui"), "Yes");
}

TEST(LanguageFile, EscapesRoundTrip) {
  EXPECT_EQ(unescapeLanguageText("a\\nb\\"), "a\nb\\");
  EXPECT_EQ(escapeLanguageText("\nn'est pas"), "\\nn'est pas");
}

}  // namespace
}  // namespace lirno
