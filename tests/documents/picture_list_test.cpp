// Build picture list and Look up folio on the forms an information file's
// "[Images]" section takes, and on the cuts the list makes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "documents/jpeg_decoder.h"
#include "documents/picture_list.h"

namespace lirno {
namespace {

using Strings = std::vector<std::string>;

Strings describe(const cPictureList& l) {
  Strings out;
  for (const PictureEntry& e : l.entries()) {
    out.push_back(e.folio + "|" + e.description + "|" + e.image + (e.marked ? "*" : ""));
  }
  return out;
}

cPictureList built(const std::string& text) {
  cPictureList l;
  l.build(text);
  return l;
}

TEST(PictureList, TheSectionAfterItsHeadingLine) {
  const cPictureList l = built(
      "Description libre\r\n[Images] (photographies)\r\n"
      "1r\tnever an entry\tskipped.jpg\r\n"  // the heading line, whatever it holds
      "1r\t Incipit \t f1r.jpg \r\n"
      "  1v  \tVerso\tf1v.jpg\r\n"
      "Folio\tDescription\tImage\r\n"      // a heading again: skipped
      "2r\tno second tab\r\n"             // skipped
      "2v\tno image\t  \r\n"               // skipped
      "\t\tnofolio.jpg\r\n"                // an empty folio is still an entry
      "3r\ta\tb\tc\r\n"                    // the image keeps what follows its tab
      "3v\tlast line without end\tf3v.jpg");
  EXPECT_EQ(describe(l), (Strings{"1r|Incipit|f1r.jpg", "1v|Verso|f1v.jpg", "||nofolio.jpg", "3r|a|b\tc"}));
  EXPECT_EQ(l.imageFolder(), "");
}

TEST(PictureList, ALineWithoutTabEndsTheListAndMayNameTheFolder) {
  const cPictureList l = built("[Images]\r\nFolio\tDescription\tImage\r\n1r\ta\tx.jpg\r\nRepertoire=scans\r\n2r\tb\ty.jpg\r\n");
  EXPECT_EQ(describe(l), (Strings{"1r|a|x.jpg"}));
  EXPECT_EQ(l.imageFolder(), "scans");
  const cPictureList blank = built("[Images]\r\nh\r\n1r\ta\tx.jpg\r\n\r\n2r\tb\ty.jpg\r\n");
  EXPECT_EQ(describe(blank), (Strings{"1r|a|x.jpg"}));
  const cPictureList other = built("[Images]\r\nh\r\nrepertoire=scans\r\n");  // the key is as written
  EXPECT_EQ(other.imageFolder(), "");
  EXPECT_EQ(built("[Images]\r\nh\r\nRepertoire=" + std::string(300, 'd') + "\r\n").imageFolder(), std::string(255, 'd'));
}

TEST(PictureList, WhatIsNotReadAtAll) {
  EXPECT_TRUE(built("").empty());
  EXPECT_TRUE(built("no section\r\n1r\ta\tb\r\n").empty());
  EXPECT_TRUE(built("[images]\r\nh\r\n1r\ta\tb\r\n").empty());  // the section's name is as written
  EXPECT_TRUE(built("[Images]").empty());
  EXPECT_TRUE(built("[Images]\r\nheading only").empty());
  EXPECT_TRUE(built("[Images]\nh\n1r\ta\tb\n").empty());  // lines end with CR LF
  // The section is read within its first 32000 characters, counted from "[Images]".
  std::string text = "[Images]\r\nh\r\n";
  const std::string line = "1r\tdescription\timage.jpg\r\n";  // 26 characters
  while (text.size() + line.size() <= 32000) text += line;
  const std::size_t whole = (text.size() - 13) / line.size();
  text += line + line;
  EXPECT_EQ(built(text).size(), whole);
  EXPECT_EQ(built(std::string(50000, 'x') + text).size(), whole);  // what comes before does not count
  // Characters, not bytes: a cut never splits one.
  std::string wide = "[Images]\r\nh\r\n";
  std::string e3;
  for (int i = 0; i < 300; ++i) e3 += "\xC3\xA9";
  wide += "1r\t" + e3 + "\tx.jpg\r\n";
  const cPictureList w = built(wide);
  ASSERT_EQ(w.size(), 0u);  // cut at 256 characters, the rest has no second tab
  const cPictureList v = built("[Images]\r\nh\r\n1r\td\t" + e3 + "\r\n");
  ASSERT_EQ(v.size(), 1u);
  EXPECT_EQ(v.entries()[0].image.size(), 254u * 2);  // the cut of the rest: "d", a tab, 254 more
}

TEST(PictureList, LookUpFolio) {
  cPictureList l = built("[Images]\r\nh\r\n12r\ta\tx.jpg\r\n12v\tb\ty.jpg\r\n12R\tc\tz.jpg\r\n\xC3\xA9\td\tw.jpg\r\n");
  EXPECT_EQ(l.lookUpFolio("12r"), 0);
  EXPECT_EQ(describe(l), (Strings{"12r|a|x.jpg*", "12v|b|y.jpg", "12R|c|z.jpg*", "\xC3\xA9|d|w.jpg"}));
  EXPECT_EQ(l.lastFolio(), "12R");
  EXPECT_EQ(l.lookUpFolio("12R"), cPictureList::kUnchanged);  // the same folio, case aside
  EXPECT_EQ(l.lookUpFolio("12v"), 1);
  EXPECT_EQ(describe(l)[0], "12r|a|x.jpg");  // marks follow the caret
  EXPECT_EQ(l.lookUpFolio("13r"), cPictureList::kNone);
  for (const PictureEntry& e : l.entries()) EXPECT_FALSE(e.marked);
  EXPECT_EQ(l.lookUpFolio("\xC3\x89"), 3);  // É finds é
  l.clear();
  EXPECT_EQ(l.lastFolio(), "");
  EXPECT_TRUE(l.empty());
  EXPECT_EQ(l.lookUpFolio(""), cPictureList::kUnchanged);
  EXPECT_EQ(l.lookUpFolio("1r"), cPictureList::kNone);
  // A rebuilt list forgets the last folio: the same caret folio marks again.
  l.build("[Images]\r\nh\r\n1r\ta\tx.jpg\r\n");
  EXPECT_EQ(l.lookUpFolio("1r"), 0);
}

TEST(PictureList, UpperFolio) {
  EXPECT_EQ(upperFolio("12v"), "12V");
  EXPECT_EQ(upperFolio("\xC3\xA0\xC3\xBE\xC3\xB7\xC5\x93\xC3\xBF"), "\xC3\x80\xC3\x9E\xC3\xB7\xC5\x92\xC5\xB8");
  EXPECT_EQ(firstCharacters("a\xC3\xA9" "b", 2), "a\xC3\xA9");
  EXPECT_EQ(firstCharacters("\xC3", 5), "\xC3");
}

TEST(Jpeg, DamagedFilesGiveAMessage) {
  std::string error;
  JpegSize size;
  EXPECT_FALSE(readJpegSize("not a jpeg", size, error));
  EXPECT_FALSE(error.empty());
  error.clear();
  bool called = false;
  const JpegTarget target = [&](int, int, std::size_t&) -> std::uint32_t* {
    called = true;
    return nullptr;
  };
  EXPECT_FALSE(decodeJpeg("\xFF\xD8\xFF\xE0 broken", 1, target, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(called);
  EXPECT_TRUE(isJpeg("\xFF\xD8\xFF"));
  EXPECT_FALSE(isJpeg("\xFF\xD8"));
}

}  // namespace
}  // namespace lirno
