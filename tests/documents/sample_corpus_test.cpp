// The rules file and the sample corpus shipped in data/.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "documents/document_check.h"
#include "documents/rtf_reader.h"
#include "platform/file_read.h"
#include "platform/paths.h"
#include "search/rules_tables.h"

namespace lirno {
namespace {

const std::string kData = std::string(LIRNO_SAMPLE_DATA) + "/";

RulesTables shippedRules() {
  RulesTables t;
  EXPECT_TRUE(t.loadRules(kData + "nac.rul"));
  EXPECT_TRUE(t.loadVariantRules(kData + "nac.rul"));
  return t;
}

std::vector<std::string> corpusEntries() {
  std::string bytes;
  EXPECT_TRUE(readFileBytes(kData + "sample.cor", bytes));
  std::vector<std::string> out;
  std::string line;
  for (char c : bytes) {
    if (c == '\r' || c == '\n') {
      if (!line.empty()) out.push_back(line);
      line.clear();
    } else {
      line.push_back(c);
    }
  }
  return out;
}

TEST(ShippedRules, Alphabet) {
  const RulesTables t = shippedRules();
  EXPECT_EQ(t.classOf(' '), kWordSeparator);
  EXPECT_EQ(t.classOf('.'), kSentenceSeparator);
  EXPECT_EQ(t.classOf('\n'), kParagraphSeparator);
  EXPECT_EQ(t.classOf('\r'), kParagraphSeparator);
  EXPECT_EQ(t.classOf('\''), kSymbol);
  EXPECT_EQ(t.classOf(';'), kWordSeparator);
  EXPECT_EQ(t.classOf('['), kWordSeparator);
  EXPECT_EQ(t.classOf('a'), kWordChar);
  for (int marker : {0xB1, 0xBE, 0xAD, 0xAE, 0xB9, int{'='}}) EXPECT_EQ(t.classOf(static_cast<unsigned char>(marker)), kSymbol) << marker;
  EXPECT_EQ(t.upperOf(0xE9), 0xC9);  // é
  EXPECT_EQ(t.upperOf(0x9C), 0x8C);  // œ
  EXPECT_EQ(t.upperOf(0xFF), 0x9F);  // ÿ
  EXPECT_EQ(t.upperOf(0xF7), 0xF7);  // ÷ is no letter
  EXPECT_EQ(t.substitution[0xC9], 'E');
  EXPECT_EQ(t.substitution['H'], 0);
  EXPECT_EQ(t.markers.page, 0xB1);
  EXPECT_EQ(t.markers.verso, 0xBE);
  EXPECT_EQ(t.markers.glyph, 0xAD);
  ASSERT_EQ(t.filters.size(), 4u);
  EXPECT_EQ(t.filters[0], "P:Pluriels=S$,X$");
  EXPECT_EQ(t.variantRules.size(), 10u);
  EXPECT_EQ(t.highestVariantLevel, 3);
  EXPECT_EQ(t.variantRules[1].condition, "X-1#\" \"");
  EXPECT_EQ(t.vowel[0xE9], 1);
  EXPECT_EQ(t.consonant['b'], 1);
  EXPECT_EQ(t.consonant['a'], 0);
}

TEST(SampleCorpus, EveryDocumentReadsCleanly) {
  const RulesTables rules = shippedRules();
  const std::vector<std::string> entries = corpusEntries();
  ASSERT_EQ(entries.size(), 4u);
  std::set<std::string> kinds;
  int pictures = 0;
  std::set<std::pair<std::string, int>> notePages;  // document and page
  for (const std::string& entry : entries) {
    SCOPED_TRACE(entry);
    Document doc;
    ASSERT_TRUE(readDocument(kData + entry, doc, rules.markers));
    EXPECT_EQ(checkDocument(doc, rules.markers), "");
    kinds.insert(extensionOf(entry));
    bool verso = false, recto = false, span = false, glyph = false;
    int pages = 0;
    for (const Mark& m : doc.marks) {
      pages += m.kind == MarkKind::Page ? 1 : 0;
      recto = recto || (m.kind == MarkKind::Folio && m.value == 0);
      verso = verso || (m.kind == MarkKind::Folio && m.value == 1);
      span = span || (m.kind == MarkKind::Span && m.number > 1);
      glyph = glyph || m.kind == MarkKind::Glyph;
      pictures += m.picture ? 1 : 0;
    }
    EXPECT_GE(pages, 3);
    EXPECT_TRUE(recto && verso && span && glyph);
    for (const Note& n : doc.notes) notePages.insert({entry, n.page});
    // Every glyph picture is a complete metafile: header size field, end record.
    for (const Mark& m : doc.marks) {
      if (!m.picture) continue;
      const auto& b = m.picture->metafile;
      const std::size_t words = b[6] | (b[7] << 8) | (b[8] << 16) | (b[9] << 24);
      EXPECT_EQ(words * 2, b.size());
      EXPECT_EQ(std::vector<std::uint8_t>(b.end() - 6, b.end()), (std::vector<std::uint8_t>{3, 0, 0, 0, 0, 0}));
      EXPECT_EQ(m.picture->mappingMode, 8);
    }
  }
  EXPECT_EQ(kinds, (std::set<std::string>{".rtf", ".txt"}));
  EXPECT_GE(pictures, 8);
  EXPECT_GE(notePages.size(), 6u);
}

TEST(SampleCorpus, TranslationsKeepTheLinesOfTheirTranscription) {
  const RulesTables rules = shippedRules();
  for (const char* base : {"sample/ms_aubert", "sample/vita_clerici"}) {
    const std::string ext = std::string(base).find("aubert") != std::string::npos ? ".rtf" : ".txt";
    Document original;
    ASSERT_TRUE(readDocument(kData + base + ext, original, rules.markers));
    for (const char* suffix : {"_trad", "_trad2"}) {
      SCOPED_TRACE(std::string(base) + suffix);
      Document translation;
      ASSERT_TRUE(readDocument(kData + base + suffix + ext, translation, rules.markers));
      EXPECT_EQ(translation.lineTable.size(), original.lineTable.size());
      EXPECT_TRUE(translation.notes.empty());
    }
  }
}

}  // namespace
}  // namespace lirno
