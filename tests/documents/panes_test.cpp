// The pane rules that need no widget.
#include "documents/panes.h"

#include <gtest/gtest.h>

namespace lirno {
namespace {

Mark mark(MarkKind kind, std::int32_t position, std::int32_t number, std::int32_t value = 0) {
  Mark m;
  m.kind = kind;
  m.position = position;
  m.index = position;
  m.number = number;
  m.value = value;
  return m;
}

TEST(PanesTest, FieldsReadLeadingDigitsAndTheVersoSuffix) {
  EXPECT_EQ(leadingNumber(" 12 "), 12);
  EXPECT_EQ(leadingNumber("12v"), 12);
  EXPECT_EQ(leadingNumber("v12"), 0);
  EXPECT_EQ(leadingNumber(""), 0);
  EXPECT_EQ(leadingNumber("-3"), 0);
  EXPECT_EQ(folioKey("12v"), 25);
  EXPECT_EQ(folioKey(" 12v "), 25);
  EXPECT_EQ(folioKey("12V"), 24);
  EXPECT_EQ(folioKey("12"), 24);
  EXPECT_EQ(folioText(12, 1), "12v");
  EXPECT_EQ(folioText(0, 0), "0r");
}

TEST(PanesTest, GotoFindsTheFirstMarkAtOrBeyondTheValue) {
  Document doc;
  doc.marks.push_back(mark(MarkKind::Page, 0, 1));
  doc.marks.push_back(mark(MarkKind::Folio, 1, 12, 0));
  doc.marks.push_back(mark(MarkKind::Glyph, 2, 1, -1));
  doc.marks.push_back(mark(MarkKind::Folio, 3, 12, 1));
  doc.marks.push_back(mark(MarkKind::Page, 4, 2));
  doc.marks.push_back(mark(MarkKind::Folio, 5, 14, 0));
  EXPECT_EQ(findGotoMark(doc, GotoKind::Folio, 0, folioKey("12v"), 0), &doc.marks[3]);
  EXPECT_EQ(findGotoMark(doc, GotoKind::Folio, 0, folioKey("12V"), 0), &doc.marks[1]);
  EXPECT_EQ(findGotoMark(doc, GotoKind::Folio, 0, folioKey("13"), 0), &doc.marks[5]);
  EXPECT_EQ(findGotoMark(doc, GotoKind::Folio, 0, folioKey("15"), 0), nullptr);
  EXPECT_EQ(findGotoMark(doc, GotoKind::Page, 2, 0, 0), &doc.marks[4]);
  EXPECT_EQ(findGotoMark(doc, GotoKind::Glyph, 0, 0, 0), &doc.marks[2]);
  EXPECT_EQ(findGotoMark(doc, GotoKind::None, 0, 0, 0), nullptr);
}

TEST(PanesTest, FootnotesOfAPageAreNumberedFromOne) {
  Document doc;
  doc.notes = {{"before", 0}, {"first", 1}, {"second\nline", 1}, {"later", 3}};
  EXPECT_EQ(footnoteText(doc, 1), "1) first\n2) second\nline");
  EXPECT_EQ(footnoteText(doc, 0), "1) before");
  EXPECT_EQ(footnoteText(doc, 2), "");
}

TEST(PanesTest, TranslationsSitBesideTheDocument) {
  const TranslationPaths t = translationPaths("/corpus/ms12.rtf");
  EXPECT_EQ(t.first, "/corpus/ms12_trad.rtf");
  EXPECT_EQ(t.second, "/corpus/ms12_trad2.rtf");
  EXPECT_EQ(translationPaths("/corpus/notes").first, "/corpus/notes_trad");
}

TEST(PanesTest, SharesLeaveRoomForTheSplitters) {
  EXPECT_EQ(paneShares(786, 3), (std::vector<int>{260, 260, 260}));
  EXPECT_EQ(paneShares(787, 3), (std::vector<int>{260, 260, 261}));
  EXPECT_EQ(paneShares(500, 2), (std::vector<int>{248, 249}));
  EXPECT_EQ(paneShares(500, 1), (std::vector<int>{500}));
  EXPECT_TRUE(paneShares(500, 0).empty());
}

TEST(PanesTest, SwapStepsThroughTheOpenPanes) {
  std::array<int, 3> slots{0, 1, 2};
  const std::array<bool, 3> all{true, true, true};
  int step = swapPanes(slots, all, 0);
  EXPECT_EQ(slots, (std::array<int, 3>{1, 0, 2}));
  EXPECT_EQ(step, 1);
  step = swapPanes(slots, all, step);
  EXPECT_EQ(slots, (std::array<int, 3>{1, 2, 0}));
  EXPECT_EQ(step, 0);

  // Two open panes (records 0 and 2) just exchange, skipping the closed one.
  slots = {0, 1, 2};
  const std::array<bool, 3> two{true, false, true};
  EXPECT_EQ(swapPanes(slots, two, 0), 0);
  EXPECT_EQ(slots, (std::array<int, 3>{2, 1, 0}));
  const std::array<bool, 3> one{true, false, false};
  EXPECT_EQ(swapPanes(slots, one, 0), 0);
  EXPECT_EQ(slots, (std::array<int, 3>{2, 1, 0}));
}

TEST(PanesTest, ZoomStaysBetweenEightAndTwenty) {
  EXPECT_EQ(zoomedIn(12), 14);
  EXPECT_EQ(zoomedIn(19), 21);  // below 20 adds 2, as the rule says
  EXPECT_EQ(zoomedIn(20), 20);
  EXPECT_EQ(zoomedOut(9), 7);
  EXPECT_EQ(zoomedOut(8), 8);
}

TEST(PanesTest, AlignedParagraphRunsBetweenTwoBreaks) {
  Document doc;
  doc.lineTable = {3, 9, 15};  // three paragraphs
  EXPECT_EQ(alignedParagraph(doc, -1).start, 0);
  EXPECT_EQ(alignedParagraph(doc, -1).length, 3);
  EXPECT_EQ(alignedParagraph(doc, 0).start, 5);
  EXPECT_EQ(alignedParagraph(doc, 0).length, 4);
  // Beyond the last paragraph the range turns negative; the panes clamp it.
  EXPECT_LT(alignedParagraph(doc, 5).length, 0);
}

}  // namespace
}  // namespace lirno
