#include "documents/document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "documents/reader_support.h"

namespace lirno {
namespace {

using lirno::testing::picture;
using lirno::testing::readText;

const std::string kPage = "\xb1", kGlyph = "\xad", kSpan = "\xae";

TEST(Locate, DocumentWithoutPageMarkerHasPageOneAfterItsFirstCharacter) {
  const Document d = readText("ab");
  EXPECT_EQ(d.locate(0, Unit::Position).page, 0);
  EXPECT_EQ(d.locate(1, Unit::Position).page, 1);
  EXPECT_EQ(d.locate(2, Unit::Position).page, 1);
}

TEST(Locate, OnAMarkerCharacterGivesThePreviousPlace) {
  const Document d = readText("a" + kPage + "b" + "=" + "c" + kGlyph + picture() + "d" + kSpan + "ef" + kSpan);
  EXPECT_EQ(d.locate(1, Unit::Position).page, 1);
  EXPECT_EQ(d.locate(2, Unit::Position).page, 2);
  EXPECT_EQ(d.locate(3, Unit::Position).folio, 0);
  const Location folio = d.locate(4, Unit::Position);
  EXPECT_EQ(folio.folio, 1);
  EXPECT_EQ(folio.side, 0);
  EXPECT_EQ(d.locate(5, Unit::Position).glyph, 0);
  EXPECT_EQ(d.locate(5, Unit::Position).picture, nullptr);
  const Location glyph = d.locate(6, Unit::Position);
  EXPECT_EQ(glyph.glyph, 1);
  ASSERT_NE(glyph.picture, nullptr);
  EXPECT_EQ(glyph.picture, d.marks[3].picture.get());
  EXPECT_EQ(d.locate(7, Unit::Position).spanLength, 0);
  const Location span = d.locate(8, Unit::Position);
  EXPECT_EQ(span.spanStart, 7);
  EXPECT_EQ(span.spanLength, 3);
  // Everything carries on to the end.
  const Location last = d.locate(1000, Unit::Position);
  EXPECT_EQ(last.page, 2);
  EXPECT_EQ(last.folio, 1);
  EXPECT_EQ(last.glyph, 1);
  EXPECT_EQ(last.spanStart, 7);
}

TEST(Locate, PositionAndIndexDifferAfterBreaks) {
  // a LF b Page c: the Page marker is at index 3, position 4.
  const Document d = readText("a\nb" + kPage + kSpan + "c");
  EXPECT_EQ(d.locate(4, Unit::Index).page, 2);
  EXPECT_EQ(d.locate(4, Unit::Position).page, 1);
  EXPECT_EQ(d.locate(5, Unit::Position).page, 2);
  EXPECT_EQ(d.locate(5, Unit::Index).spanStart, 4);
  EXPECT_EQ(d.locate(6, Unit::Position).spanStart, 5);
}

TEST(Locate, PicturesComeFromGlyphMarksOnlyAndHandBuiltMarksWork) {
  Document d;
  d.text = "xyz";
  Mark page;
  page.kind = MarkKind::Page;
  page.number = 4;
  page.picture = std::make_unique<GlyphPicture>();
  d.marks.push_back(std::move(page));
  Mark glyph;
  glyph.kind = MarkKind::Glyph;
  glyph.number = 7;
  glyph.value = -1;
  glyph.position = glyph.index = 1;
  d.marks.push_back(std::move(glyph));
  // No indexMarks(): Locate builds its look-up itself.
  const Location at1 = d.locate(1, Unit::Index);
  EXPECT_EQ(at1.page, 4);
  EXPECT_EQ(at1.glyph, 0);
  EXPECT_EQ(at1.picture, nullptr);
  EXPECT_EQ(d.locate(2, Unit::Index).glyph, 7);
  EXPECT_EQ(d.locate(2, Unit::Index).picture, nullptr);
}

TEST(Locate, ManyMarksGiveWhatAWalkOfTheListGives) {
  // Runs of marker characters longer and shorter than the look-up's steps,
  // several marks at one character, and marks far apart.
  std::string text;
  std::uint32_t seed = 7;
  const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  const std::string pieces[] = {kPage, "=", "\xbe", kGlyph, kSpan, "w", "word "};
  for (int k = 0; k < 3000; ++k) {
    const std::string& piece = pieces[next() % 7];
    for (std::uint32_t r = next() % 4; r-- > 0;) text += piece;
    if (next() % 50 == 0) text += "\n" + std::string(next() % 100, 'x');
  }
  const Document d = readText(text);
  ASSERT_GT(d.marks.size(), 2000u);
  for (std::int32_t at = 0; at <= d.marks.back().position + 1; ++at) {
    Location walked;
    for (const Mark& m : d.marks) {
      if (m.position >= at) break;
      if (m.kind == MarkKind::Page) walked.page = m.number;
      if (m.kind == MarkKind::Folio) walked.folio = m.number, walked.side = m.value;
      if (m.kind == MarkKind::Glyph) walked.glyph = m.number;
      if (m.kind == MarkKind::Span) walked.spanStart = m.position, walked.spanLength = m.number;
    }
    const Location found = d.locate(at, Unit::Position);
    ASSERT_EQ(found.page, walked.page) << at;
    ASSERT_EQ(found.folio, walked.folio) << at;
    ASSERT_EQ(found.side, walked.side) << at;
    ASSERT_EQ(found.glyph, walked.glyph) << at;
    ASSERT_EQ(found.spanStart, walked.spanStart) << at;
    ASSERT_EQ(found.spanLength, walked.spanLength) << at;
  }
}

TEST(LineTable, LineOfPositionAndLineBreakAt) {
  const Document d = readText("ab\ncd\\line e");  // breaks at positions 2, 6 and 9 (final)
  ASSERT_EQ(d.lineTable, (std::vector<std::int32_t>{2, 6, 9}));
  EXPECT_EQ(d.lineOfPosition(0), -1);
  EXPECT_EQ(d.lineOfPosition(1), -1);
  EXPECT_EQ(d.lineOfPosition(2), 0);
  EXPECT_EQ(d.lineOfPosition(5), 0);
  EXPECT_EQ(d.lineOfPosition(6), 1);
  EXPECT_EQ(d.lineOfPosition(500), 2);
  EXPECT_EQ(d.lineBreakAt(0), 2);
  EXPECT_EQ(d.lineBreakAt(2), 9);
  EXPECT_EQ(d.lineBreakAt(3), 9);
  EXPECT_EQ(d.lineBreakAt(99), 9);
  EXPECT_EQ(Document().lineBreakAt(0), 0);
  EXPECT_EQ(Document().lineBreakAt(5), 0);
  EXPECT_EQ(Document().lineOfPosition(5), -1);
}

TEST(LineTable, PositionsAndIndexesConvertBothWays) {
  const Document d = readText("ab\ncd\\line e\n\nf");
  std::int32_t position = 0;
  for (std::int32_t i = 0; i < static_cast<std::int32_t>(d.text.size()); ++i) {
    EXPECT_EQ(d.positionOfIndex(i), position) << i;
    EXPECT_EQ(d.indexOfPosition(position), i) << i;
    const bool isBreak = d.text[static_cast<std::size_t>(i)] == '\n' || d.text[static_cast<std::size_t>(i)] == '\r';
    if (isBreak) {
      EXPECT_EQ(d.indexOfPosition(position + 1), i) << "second unit of the break at " << i;
    }
    position += isBreak ? 2 : 1;
  }
  EXPECT_EQ(d.positionOfIndex(static_cast<std::int32_t>(d.text.size())), position);
}

TEST(Notes, NotesOfPage) {
  const Document d = readText("{\\footnote zero}a" + kPage + "{\\footnote one}" + kPage +
                              "{\\footnote two a}{\\footnote two b}" + kPage + "c");
  ASSERT_EQ(d.notes.size(), 4u);
  const auto texts = [&](int page) {
    std::vector<std::string> out;
    for (const Note* n : d.notesOfPage(page)) out.push_back(n->text);
    return out;
  };
  EXPECT_EQ(texts(0), (std::vector<std::string>{"zero"}));
  // The automatic page 1 came with "a"; the Page marker made page 2.
  EXPECT_EQ(texts(1), (std::vector<std::string>{}));
  EXPECT_EQ(texts(2), (std::vector<std::string>{"one"}));
  EXPECT_EQ(texts(3), (std::vector<std::string>{"two a", "two b"}));
  EXPECT_TRUE(texts(4).empty());
}

TEST(Document, ClearEmptiesEverything) {
  Document d = readText("{\\footnote n}a\nb" + picture());
  d.path = "/x/y.rtf";
  ASSERT_FALSE(d.marks.empty());
  d.clear();
  EXPECT_TRUE(d.path.empty());
  EXPECT_TRUE(d.text.empty());
  EXPECT_TRUE(d.marks.empty());
  EXPECT_TRUE(d.notes.empty());
  EXPECT_TRUE(d.lineTable.empty());
  EXPECT_EQ(d.locate(5, Unit::Position).page, 0);
}

}  // namespace
}  // namespace lirno
