#include "documents/rtf_reader.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "documents/reader_support.h"
#include "support/faults.h"
#include "support/temp_folder.h"

namespace lirno {
namespace {

using lirno::testing::describeMarks;
using lirno::testing::metafileHex;
using lirno::testing::picture;
using lirno::testing::readText;
using lirno::testing::TempFolder;
using Marks = std::vector<std::string>;
using Lines = std::vector<std::int32_t>;

const std::string kPage = "\xb1", kVerso = "\xbe", kGlyph = "\xad", kSpan = "\xae", kAnchor = "\xb9";

TEST(Reader, RichTextParagraphAndFinalBreak) {
  const Document d = readText("{\\rtf1 ab\\par c}");
  EXPECT_EQ(d.text, "ab\nc\n");
  EXPECT_EQ(describeMarks(d), (Marks{"P1@0/0"}));
  EXPECT_EQ(d.lineTable, (Lines{2, 5}));
}

TEST(Reader, PlainTextKeepsItsLineFeedsAndStillReadsGroupsAndWords) {
  EXPECT_EQ(readText("{ab\\par c}\nd").text, "ab\nc\nd\n");
  EXPECT_EQ(readText("{\\rtf1 ab\\par c}\nd").text, "ab\ncd\n");  // rich text drops file line ends
  EXPECT_EQ(readText("a\r\nb\rc").text, "a\nbc\n");                 // CR never counts
  const Document d = readText("ab\n\ncd");
  EXPECT_EQ(d.text, "ab\n\ncd\n");
  EXPECT_EQ(d.lineTable, (Lines{2, 4, 8}));
}

TEST(Reader, ControlWordDelimiters) {
  EXPECT_EQ(readText("{\\rtf1 a\\par x}").text, "a\nx\n");
  EXPECT_EQ(readText("{\\rtf1 a\\tab;}").text, "a\t;\n");
  EXPECT_EQ(readText("{\\rtf1 a\\b0 b\\i1x\\fs-24 c\\ulnone\\'e9}").text, "abxc\xe9\n");
  EXPECT_EQ(readText("{\\rtf1 \\line x\\cell\\row}").text, "\rx\t\n\n");
  EXPECT_EQ(readText("{\\rtf1 \\endash\\emdash\\bullet\\enspace\\emspace\\lquote\\rquote\\ldblquote\\rdblquote}").text,
            "\x96\x97\x95  \x91\x92\x93\x94\n");
}

TEST(Reader, IgnoredDestinationsProduceNothing) {
  EXPECT_EQ(readText("{\\rtf1{\\*\\generator X}Y}").text, "Y\n");
  EXPECT_EQ(readText("{\\rtf1{\\fonttbl {\\f0 Arial;}}Z}").text, "Z\n");
  EXPECT_EQ(readText("{\\rtf1{\\colortbl;\\red0;}{\\stylesheet{\\s0 Normal;}}{\\header h}{\\footer f}"
                     "{\\footerf g}{\\info{\\author A}}T}")
                .text,
            "T\n");
}

TEST(Reader, Escapes) {
  EXPECT_EQ(readText("{\\rtf1 \\'e9\\'C9}").text, "\xe9\xc9\n");
  const Document brace = readText("{\\rtf1 a\\'7bb}c");
  EXPECT_EQ(brace.text, "a{bc\n");  // an escaped brace opens no group
  EXPECT_EQ(readText("{\\rtf1 \\<65>\\<233>}").text, "A\xe9\n");
  EXPECT_EQ(readText("{\\rtf1 \\{\\}\\\\\\_\\~\\A}").text, "{}\\- A\n");
  EXPECT_EQ(readText("\\'5c\\'7d").text, "\\}\n");
}

TEST(Reader, DecimalEscapeOutsideAByteGivesItsLowByte) {
  EXPECT_EQ(readText("a\\<-3>b\\<300>c").text, "a\xfd" "b,c\n");
  EXPECT_EQ(readText("\\<-0>\\<256>\\<511>\\<-256>x").text, "\xffx\n");  // 0 bytes give nothing
  EXPECT_EQ(readText("\\<--1>\\<1->").text, "-1>->\n");  // one sign, and only first
}

TEST(Reader, GlyphMarkerBeforeAPictureTakesIt) {
  const Document typed = readText("{\\rtf1 ab" + kGlyph + picture() + "c}");
  EXPECT_EQ(typed.text, "ab" + kGlyph + "c\n");
  EXPECT_EQ(describeMarks(typed), (Marks{"P1@0/0", "G1*@2/2"}));
  const GlyphPicture* p = typed.marks[1].picture.get();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->mappingMode, 8);
  EXPECT_EQ(p->width, 120);
  EXPECT_EQ(p->height, 80);
  EXPECT_EQ(p->metafile.size(), metafileHex().size() / 2);
  EXPECT_EQ(p->metafile[0], 1);

  const Document own = readText("{\\rtf1 ab" + picture() + "c}");
  EXPECT_EQ(own.text, "ab" + kGlyph + "c\n");
  EXPECT_EQ(describeMarks(own), (Marks{"P1@0/0", "G1*@2/2"}));
}

TEST(Reader, PicturesNeverGoToPageFolioOrSpanMarks) {
  // The automatic page 1 stands at the character just before the picture.
  const Document first = readText("{\\rtf1 a" + picture() + "}");
  EXPECT_EQ(describeMarks(first), (Marks{"P1@0/0", "G1*@1/1"}));
  // A typed Glyph marker as the first character: the page mark comes after
  // the glyph mark at the same character; the picture still finds the glyph.
  const Document glyphFirst = readText("{\\rtf1 " + kGlyph + picture() + "}");
  EXPECT_EQ(describeMarks(glyphFirst), (Marks{"G1*@0/0", "P1@0/0"}));
  const Document afterMarkers = readText("{\\rtf1 " + kPage + picture() + "=" + picture() + kSpan + picture() + "}");
  EXPECT_EQ(describeMarks(afterMarkers),
            (Marks{"P1@0/0", "G1*@1/1", "F1r@2/2", "G2*@3/3", "S1@4/4", "G3*@5/5"}));
}

TEST(Reader, TwoPicturesInARowAreTwoGlyphs) {
  const Document d = readText("{\\rtf1 x" + kGlyph + picture(1) + picture(2) + "}");
  EXPECT_EQ(d.text, "x" + kGlyph + kGlyph + "\n");
  EXPECT_EQ(describeMarks(d), (Marks{"P1@0/0", "G1*@1/1", "G2*@2/2"}));
  EXPECT_NE(d.marks[1].picture->metafile, d.marks[2].picture->metafile);
  // A picture that is not kept still takes the typed glyph.
  const Document png = readText("{\\rtf1 x" + kGlyph + picture(1, "\\pngblip") + picture(2) + "}");
  EXPECT_EQ(describeMarks(png), (Marks{"P1@0/0", "G1@1/1", "G2*@2/2"}));
}

TEST(Reader, PictureTypesAndBadData) {
  // Not a Windows metafile: a glyph without picture.
  EXPECT_EQ(describeMarks(readText("{\\rtf1 " + picture(1, "\\emfblip") + "}")), (Marks{"G1@0/0"}));
  // The type is not reset between pictures.
  const Document sticky = readText("{\\rtf1 " + picture(1, "\\jpegblip") + "{\\pict " + metafileHex() + "}}");
  EXPECT_EQ(describeMarks(sticky), (Marks{"G1@0/0", "G2@1/1"}));
  // Data that does not start like a metafile, and an odd digit with stray
  // characters that are dropped.
  EXPECT_EQ(describeMarks(readText("{\\rtf1 {\\pict\\wmetafile8 0102zz}}")), (Marks{"G1@0/0"}));
  const Document odd = readText("{\\rtf1 {\\pict\\wmetafile8 " + metafileHex() + " x\n" + "f}}");
  ASSERT_TRUE(odd.marks[0].picture);
  EXPECT_EQ(odd.marks[0].picture->metafile.size(), metafileHex().size() / 2);
  // Binary data may hold braces and backslashes.
  std::string raw;
  for (std::size_t i = 0; i < metafileHex().size(); i += 2) {
    raw.push_back(static_cast<char>(std::stoi(metafileHex().substr(i, 2), nullptr, 16)));
  }
  raw += "{}\\";
  const Document bin = readText("{\\rtf1 {\\pict\\wmetafile8\\bin" + std::to_string(raw.size()) + " " + raw + "}z}");
  EXPECT_EQ(bin.text, kGlyph + "z\n");
  ASSERT_TRUE(bin.marks[0].picture);
  EXPECT_EQ(bin.marks[0].picture->metafile.size(), raw.size());
  EXPECT_EQ(readText("{\\rtf1 {\\*\\blob\\bin3 }}}}x}").text, "x\n");
}

TEST(Reader, FolioMarkers) {
  const Document d = readText("=a" + kVerso + "b" + kVerso + "c=d");
  EXPECT_EQ(describeMarks(d), (Marks{"F1r@0/0", "P1@0/0", "F1v@2/2", "F2v@4/4", "F3r@6/6"}));
  const Document versoFirst = readText(kVerso + "x");
  EXPECT_EQ(describeMarks(versoFirst), (Marks{"F0v@0/0", "P1@0/0"}));
}

TEST(Reader, Spans) {
  const Document closed = readText(kSpan + "abc" + kSpan + "d");
  EXPECT_EQ(describeMarks(closed), (Marks{"S4@0/0", "P1@0/0"}));
  const Document byBreak = readText("x" + kSpan + "ab\ncd");
  EXPECT_EQ(describeMarks(byBreak), (Marks{"P1@0/0", "S3@1/1"}));
  const Document byMarker = readText("x" + kSpan + "ab" + kPage + "c");
  EXPECT_EQ(describeMarks(byMarker), (Marks{"P1@0/0", "S3@1/1", "P2@4/4"}));
  const Document byEnd = readText(kSpan + "ab");
  EXPECT_EQ(describeMarks(byEnd), (Marks{"S3@0/0", "P1@0/0"}));
}

TEST(Reader, Footnotes) {
  const Document d = readText("{\\rtf1 " + kPage + "a" + kPage + "b" + kPage +
                              "de{\\footnote n\\par o\\tab\\'e9}f\\par g}");
  EXPECT_EQ(d.text, kPage + "a" + kPage + "b" + kPage + "de" + kAnchor + "f\ng\n");
  ASSERT_EQ(d.notes.size(), 1u);
  EXPECT_EQ(d.notes[0].text, "n\no\t\xe9");
  EXPECT_EQ(d.notes[0].page, 3);
  EXPECT_EQ(d.lineTable, (Lines{9, 12}));  // the note's paragraph is not in the main text
  // Before any page mark the note has page 0; a line break in it is an LF.
  const Document early = readText("{\\rtf1 {\\footnote a\\line b}x}");
  ASSERT_EQ(early.notes.size(), 1u);
  EXPECT_EQ(early.notes[0].page, 0);
  EXPECT_EQ(early.notes[0].text, "a\nb");
  EXPECT_EQ(early.text, kAnchor + "x\n");
}

TEST(Reader, EmptyInput) {
  const Document d = readText("");
  EXPECT_EQ(d.text, "");
  EXPECT_TRUE(d.marks.empty());
  EXPECT_TRUE(d.lineTable.empty());
  EXPECT_EQ(readText("{\\rtf1 {\\info x}}").text, "");
}

TEST(Reader, MarkersOfTheRulesFile) {
  Markers m;
  m.page = '#';
  m.verso = '%';
  m.glyph = '@';
  const Document d = readText("#a%@b" + kPage + picture() + "}", m);
  EXPECT_EQ(describeMarks(d), (Marks{"P1@0/0", "F0v@2/2", "G1@3/3", "G2*@6/6"}));
  EXPECT_EQ(d.text, "#a%@b" + kPage + "@\n");
  // A marker that is NUL or a break cannot be used: the reset value stands.
  Markers bad;
  bad.glyph = 0;
  bad.page = '\n';
  const Document safe = readText(picture() + "x", bad);
  EXPECT_EQ(safe.text, kGlyph + "x\n");
}

// Faults of the plain reading that word processors' files run into.
TEST(Reader, EscapedBracesInsideIgnoredGroupsAreNotGroupBraces) {
  EXPECT_EQ(readText("{\\rtf1{\\info{\\title a\\{b}}text}").text, "text\n");
  EXPECT_EQ(readText("{\\rtf1{\\info{\\title a\\}b}}text}").text, "text\n");
  EXPECT_EQ(readText("{\\rtf1{\\*\\x \\\\}text}").text, "text\n");
  EXPECT_EQ(readText("{\\rtf1{\\fonttbl{\\f0 A\\par}}t}").text, "t\n");  // no word acts in a skipped group
}

TEST(Reader, WordProcessorForms) {
  // The optional hyphen as a control symbol is the Glyph marker.
  const Document hyphen = readText("{\\rtf1 ab\\-c}");
  EXPECT_EQ(hyphen.text, "ab" + kGlyph + "c\n");
  EXPECT_EQ(describeMarks(hyphen), (Marks{"P1@0/0", "G1@2/2"}));
  // Footnotes and pictures behind "\*".
  const Document note = readText("{\\rtf1 a{\\super\\chftn}{\\*\\footnote\\chftn\\~\\pard x}b}");
  EXPECT_EQ(note.text, "a" + kAnchor + "b\n");
  ASSERT_EQ(note.notes.size(), 1u);
  EXPECT_EQ(note.notes[0].text, " x");
  EXPECT_EQ(describeMarks(readText("{\\rtf1 {\\*\\pict\\wmetafile8 " + metafileHex() + "}}")), (Marks{"G1*@0/0"}));
  // Other starred destinations are still skipped whole.
  EXPECT_EQ(readText("{\\rtf1 {\\*\\shppict{\\pict\\pngblip 00}}{\\*\\bkmkstart x}y}").text, "y\n");
  EXPECT_EQ(readText("{\\rtf1 {\\* text}z}").text, "z\n");
}

TEST(Reader, UnicodeEscapes) {
  EXPECT_EQ(readText("{\\rtf1 caf\\u233?s}").text, "caf\xe9s\n");
  EXPECT_EQ(readText("{\\rtf1 \\uc2\\u8364 EUR\\u339\\'9c\\'9cx}").text, "\x80R\x9cx\n");
  EXPECT_EQ(readText("{\\rtf1 \\uc0\\u233 x}").text, "\xe9x\n");
  EXPECT_EQ(readText("{\\rtf1 \\u20320?x}").text, "?x\n");  // no Windows-1252 byte: the fallback stays
  EXPECT_EQ(readText("{\\rtf1 \\u-3?x}").text, "?x\n");     // U+FFFD
  EXPECT_EQ(readText("{\\rtf1 \\u133?x}").text, "?x\n");  // a control without a Windows-1252 byte
  EXPECT_EQ(readText("{\\rtf1 \\u233\\'e9x}").text, "\xe9x\n");   // an escape is one fallback character
  EXPECT_EQ(readText("{\\rtf1 {\\u233}x}").text, "\xe9x\n");      // the group end ends the fallback
  EXPECT_EQ(readText("{\\rtf1 \\u177?}").text, kPage + "\n");     // and it is a marker like any byte
}

TEST(Reader, UnicodeFallbackCountEndsWithItsGroup) {
  EXPECT_EQ(readText("{\\rtf1 {\\uc0 x}\\u233?b}").text, "x\xe9" "b\n");
  EXPECT_EQ(readText("{\\rtf1 \\uc2{\\uc0 x}\\u233??b}").text, "x\xe9" "b\n");
}

TEST(Reader, ControlWordInAFallbackIsActedOnAndNotCounted) {
  const Document d = readText("{\\rtf1 a\\u233\\par xb}");
  EXPECT_EQ(d.text, "a\xe9\nb\n");
  EXPECT_EQ(d.lineTable, (Lines{2, 5}));
  EXPECT_EQ(readText("{\\rtf1 \\uc2\\u233\\b\\tab\\~xy}").text, "\xe9\ty\n");  // a control symbol counts
}

TEST(Reader, UnicodeEscapesOfControlCharactersGiveTheirBytes) {
  const Document d = readText("{\\rtf1 a\\u9?b\\u13?c}");
  EXPECT_EQ(d.text, "a\tb\rc\n");
  EXPECT_EQ(d.lineTable, (Lines{3, 6}));  // the CR is a line break
  EXPECT_EQ(readText("{\\rtf1 a\\u0?b\\u129?c}").text, "ab\x81" "c\n");  // U+0000 gives nothing, its fallback dropped
  EXPECT_EQ(readText("{\\rtf1 a\\u10?b}").text, "ab\n");  // as an escaped LF in rich text
}

TEST(Reader, EscapedLineBreakBytes) {
  // An escaped CR is the line break it names; an escaped LF follows the LF
  // of the file: dropped in rich text, a paragraph in plain text.
  const Document cr = readText("{\\rtf1 a\\'0db\\<13>c}");
  EXPECT_EQ(cr.text, "a\rb\rc\n");
  EXPECT_EQ(cr.lineTable, (Lines{1, 4, 7}));
  EXPECT_EQ(readText("{\\rtf1 a\\'0ab}").text, "ab\n");
  EXPECT_EQ(readText("a\\'0ab").text, "a\nb\n");
  const Document note = readText("{\\rtf1 {\\footnote x\\'0dy}}");
  EXPECT_EQ(note.notes.at(0).text, "x\ny");
}

TEST(Reader, NoNulEverEntersTheText) {
  EXPECT_EQ(readText(std::string("a\0b", 3) + "\\'00\\<0>c").text, "abc\n");
  EXPECT_EQ(readText(std::string("{\\footnote a\0b}", 15)).notes.at(0).text, "ab");
}

TEST(ReadDocument, FileInBlocksReadsLikeMemory) {
  TempFolder dir("reader");
  // Tokens of odd lengths straddle the 4096-byte block boundaries.
  std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Times;}}";
  for (int i = 0; i < 3000; ++i) {
    rtf += "w\\'e9rd" + std::to_string(i) + (i % 7 == 0 ? kGlyph + picture(i) : "") +
           (i % 11 == 0 ? "{\\footnote n" + std::to_string(i) + "}" : "") + (i % 13 == 0 ? kPage : "") +
           (i % 5 == 0 ? "\\par\r\n" : " ");
  }
  rtf += "}";
  dir.write("doc.rtf", rtf);
  Document fromFile;
  ASSERT_TRUE(readDocument(dir.file("doc.rtf"), fromFile, Markers()));
  const Document fromMemory = readText(rtf);
  EXPECT_EQ(fromFile.path, dir.file("doc.rtf"));
  EXPECT_EQ(fromFile.text, fromMemory.text);
  EXPECT_EQ(describeMarks(fromFile), describeMarks(fromMemory));
  EXPECT_EQ(fromFile.lineTable, fromMemory.lineTable);
  ASSERT_EQ(fromFile.notes.size(), fromMemory.notes.size());
  EXPECT_EQ(fromFile.notes.back().text, "n2992");
  EXPECT_EQ(checkDocument(fromFile, Markers()), "");
  int pictures = 0;
  for (const Mark& m : fromFile.marks) pictures += m.picture ? 1 : 0;
  EXPECT_EQ(pictures, 429);
}

TEST(ReadDocument, UnreadableFileLeavesTheDocumentAlone) {
  TempFolder dir("reader");
  Document doc;
  doc.text = "kept";
  EXPECT_FALSE(readDocument(dir.file("missing.rtf"), doc, Markers()));
  EXPECT_FALSE(readDocument(dir.path(), doc, Markers()));
  EXPECT_EQ(doc.text, "kept");
  // A successful read replaces what the document held.
  dir.write("a.txt", "new");
  EXPECT_TRUE(readDocument(dir.file("a.txt"), doc, Markers()));
  EXPECT_EQ(doc.text, "new\n");
}

TEST(ReadDocument, AReadErrorInTheMiddleIsAnErrorNotTheEnd) {
  TempFolder dir("reader");
  std::string text = "odo ";
  text += std::string(20000, 'x') + " odo " + std::string(20000, 'y') + " odo";
  dir.write("doc.txt", text);
  Document doc;
  FileError error;
  {
    testing::ScopedFaults faults;
    faults.readFailsAfter(30000, EIO);
    EXPECT_FALSE(readDocument(dir.file("doc.txt"), doc, Markers(), &error));
  }
  EXPECT_EQ(error.kind, FileError::Kind::Read);
  EXPECT_EQ(error.code, EIO);
  EXPECT_TRUE(doc.text.empty());  // no part of it to be searched
  EXPECT_TRUE(doc.path.empty());
  ASSERT_TRUE(readDocument(dir.file("doc.txt"), doc, Markers(), &error));
  EXPECT_EQ(doc.text, text + "\n");  // the reader ends the text with a break
  EXPECT_EQ(error.kind, FileError::Kind::None);
}

TEST(ReadDocument, NonRegularAndOversizedFilesAreRefusedWithoutWaiting) {
  TempFolder dir("reader");
  ASSERT_EQ(::mkfifo(dir.file("fifo.rtf").c_str(), 0600), 0);
  Document doc;
  FileError error;
  EXPECT_FALSE(readDocument(dir.file("fifo.rtf"), doc, Markers(), &error));  // no writer: would wait
  EXPECT_EQ(error.kind, FileError::Kind::NotRegular);
  EXPECT_FALSE(readDocument("/dev/zero", doc, Markers(), &error));
  EXPECT_EQ(error.kind, FileError::Kind::NotRegular);
  // A sparse file over the bound costs no disk.
  dir.write("huge.txt", "");
  std::filesystem::resize_file(dir.file("huge.txt"), kMaxDocumentBytes + 1);
  EXPECT_FALSE(readDocument(dir.file("huge.txt"), doc, Markers(), &error));
  EXPECT_EQ(error.kind, FileError::Kind::TooLarge);
  EXPECT_EQ(error.size, kMaxDocumentBytes + 1);
  EXPECT_EQ(error.limit, kMaxDocumentBytes);
  EXPECT_EQ(error.messageText(), "Fichier trop volumineux :\n");
}

}  // namespace
}  // namespace lirno
