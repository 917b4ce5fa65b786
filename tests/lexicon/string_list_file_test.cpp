#include "lexicon/string_list_file.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace lirno {
namespace {

using Lines = std::vector<std::string>;

TEST(StringListFileTest, LinesEndAtCrLfOrTheirPair) {
  EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(splitLines("a\n\nb\r\n"), (Lines{"a", "", "b"}));
  EXPECT_EQ(splitLines("\r\n"), (Lines{""}));
  EXPECT_EQ(splitLines("\n\r"), (Lines{"", ""}));  // LF then CR: two breaks
  EXPECT_EQ(splitLines(""), Lines{});
  EXPECT_EQ(splitLines("  chat  \r\n"), (Lines{"  chat  "}));
}

TEST(StringListFileTest, WritesEveryEntryWithCrLf) {
  testing::TempFolder folder("lists");
  const std::string path = folder.file("t.the");
  ASSERT_TRUE(writeStringListFile(path, {"chat", "", "chien"}));
  EXPECT_EQ(folder.read("t.the"), "chat\r\n\r\nchien\r\n");
  ASSERT_TRUE(writeStringListFile(path, {"rat"}, true));
  EXPECT_EQ(folder.read("t.the"), "chat\r\n\r\nchien\r\nrat\r\n");
  Lines read;
  ASSERT_TRUE(readStringListFile(path, read));
  EXPECT_EQ(read, (Lines{"chat", "", "chien", "rat"}));
}

TEST(StringListFileTest, AFailedWriteLeavesTheFileAndAFailedReadTheList) {
  testing::TempFolder folder("lists");
  folder.write("t.the", "old\r\n");
  folder.blockWrites("t.the");
  EXPECT_FALSE(writeStringListFile(folder.file("t.the"), {"new"}));
  EXPECT_EQ(folder.read("t.the"), "old\r\n");
  Lines kept = {"x"};
  EXPECT_FALSE(readStringListFile(folder.file("missing.the"), kept));
  EXPECT_FALSE(readStringListFile(folder.path(), kept));
  EXPECT_EQ(kept, Lines{"x"});
}

TEST(StringListFileTest, CorpusPathsAreWindows1252OnDiskAndUtf8InMemory) {
  testing::TempFolder folder("lists");
  folder.write("c.cor", "/corpus/d\xe9" "but.rtf\r\n/corpus/b.rtf\r\n");
  Lines paths;
  ASSERT_TRUE(readCorpusFile(folder.file("c.cor"), paths));
  EXPECT_EQ(paths, (Lines{"/corpus/d\xc3\xa9" "but.rtf", "/corpus/b.rtf"}));
  ASSERT_TRUE(writeCorpusFile(folder.file("d.cor"), paths));
  EXPECT_EQ(folder.read("d.cor"), "/corpus/d\xe9" "but.rtf\r\n/corpus/b.rtf\r\n");
}

TEST(StringListFileTest, CorpusPathsWithoutAWindows1252FormComeBackAsTheyWere) {
  testing::TempFolder folder("lists");
  const Lines paths{"/corpus/\xC5\x82\xC3\xB3" "d\xC5\xBA.txt", "/corpus/d\xC3\xA9" "but.rtf"};
  ASSERT_TRUE(writeCorpusFile(folder.file("c.cor"), paths));
  // The first as its own bytes (no "?"), the second in Windows-1252.
  EXPECT_EQ(folder.read("c.cor"), "/corpus/\xC5\x82\xC3\xB3" "d\xC5\xBA.txt\r\n/corpus/d\xE9" "but.rtf\r\n");
  Lines back;
  ASSERT_TRUE(readCorpusFile(folder.file("c.cor"), back));
  EXPECT_EQ(back, paths);
}

TEST(StringListFileTest, BlankCorpusLinesNameNoDocument) {
  testing::TempFolder folder("lists");
  folder.write("c.cor", "/corpus/a.rtf\r\n\r\n  \r\n/corpus/b.rtf\r\n\r\n");
  Lines paths;
  ASSERT_TRUE(readCorpusFile(folder.file("c.cor"), paths));
  EXPECT_EQ(paths, (Lines{"/corpus/a.rtf", "/corpus/b.rtf"}));
}

}  // namespace
}  // namespace lirno
