// The archive reader over archives made by Info-ZIP zip, Python's zipfile
// and 7-Zip, and over damaged and hostile copies of them.
#include <gtest/gtest.h>

#include "fs.h"
#include "paths.h"
#include "placement.h"
#include "support/files_fixture.h"
#include "text.h"
#include "zip/zip_archive.h"

namespace stelvane {
namespace {

using test::archivePath;
std::string treeBytes(const std::wstring& name) {
  return test::readBytes(std::wstring(STELVANE_ARCHIVE_DIR) + L"\\tree\\" + name);
}
// The attributes an archive can give (the system may add "archive" to any file).
DWORD attributes(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) &
         (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}
// The stored date and time of every test file, in local time.
constexpr wchar_t kStoredTime[] = L"20210304050608";

class Archive : public ::testing::Test {
 protected:
  // Opens `name`, extracts `entry` into the temporary folder; returns the code.
  int extractOne(const std::wstring& name, const std::wstring& entry, const std::wstring& target) {
    EXPECT_EQ(archive.open(archivePath(name)), 0) << toUtf8(name);
    return archive.extract(entry, folder.file(target));
  }
  ZipArchive archive;
  test::TempFolder folder;
};

TEST_F(Archive, InfoZipArchivesOfEveryKindGiveTheSameFiles) {
  // Deflated, stored, with ZIP64 records, and behind a program stub.
  for (const wchar_t* name : {L"infozip.zip", L"infozip-stored.zip", L"infozip-zip64.zip", L"stub.zip"}) {
    SCOPED_TRACE(toUtf8(name));
    ASSERT_EQ(archive.open(archivePath(name)), 0);
    ASSERT_EQ(archive.count(), 8u);
    for (const wchar_t* file : {L"docs\\lisez-moi.txt", L"docs\\long.txt", L"docs\\vide.txt",
                                L"docs\\notes\\lecture-seule.txt", L"bin\\aleatoire.bin"}) {
      SCOPED_TRACE(toUtf8(file));
      const std::wstring target = folder.file(fileNameOf(file));
      ASSERT_EQ(archive.extract(file, target), kExtractPlaced);
      EXPECT_EQ(test::readBytes(target), treeBytes(file));
      EXPECT_EQ(describeExisting(target).time, kStoredTime);
      setAttributes(target, FILE_ATTRIBUTE_NORMAL);
      deleteFile(target);
    }
    EXPECT_TRUE(archive.find(L"docs\\notes\\"));  // folder entries are listed too
  }
}

TEST_F(Archive, ALargeCentralDirectoryIsReadWhole) {
  ASSERT_EQ(archive.open(archivePath(L"many.zip")), 0);
  ASSERT_EQ(archive.count(), 1200u);
  EXPECT_EQ(archive.entryName(1199), L"dossier-11\\un-nom-de-fichier-assez-long-01199.txt");
  for (size_t i : {size_t{0}, size_t{777}, size_t{1199}}) {
    ASSERT_EQ(archive.extractIndex(i, folder.file(L"x.txt")), kExtractPlaced);
    EXPECT_EQ(test::readBytes(folder.file(L"x.txt")), std::to_string(i));
  }
}

TEST_F(Archive, AttributesFollowTheOriginOfTheEntry) {
  // Unix: read-only when the owner may not write.
  ASSERT_EQ(extractOne(L"infozip.zip", L"docs\\notes\\lecture-seule.txt", L"ro.txt"), 0);
  EXPECT_EQ(attributes(folder.file(L"ro.txt")), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  ASSERT_EQ(archive.extract(L"docs\\lisez-moi.txt", folder.file(L"rw.txt")), 0);
  EXPECT_EQ(attributes(folder.file(L"rw.txt")), 0u);

  ASSERT_EQ(extractOne(L"python-utf8.zip", L"dos\\cache.txt", L"cache.txt"), 0);
  EXPECT_EQ(attributes(folder.file(L"cache.txt")), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(GetFileAttributesW(folder.file(L"cache.txt").c_str()) & FILE_ATTRIBUTE_ARCHIVE);
  ASSERT_EQ(archive.extract(L"dos\\lecture.txt", folder.file(L"dos-ro.txt")), 0);
  EXPECT_EQ(attributes(folder.file(L"dos-ro.txt")), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  ASSERT_EQ(archive.extract(L"unix\\lecture.txt", folder.file(L"unix-ro.txt")), 0);
  EXPECT_EQ(attributes(folder.file(L"unix-ro.txt")), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  // Neither MS-DOS nor Unix: the stored read-only bit is not taken.
  ASSERT_EQ(archive.extract(L"autre\\rien.txt", folder.file(L"rien.txt")), 0);
  EXPECT_EQ(attributes(folder.file(L"rien.txt")), 0u);
  EXPECT_EQ(describeExisting(folder.file(L"rien.txt")).time, kStoredTime);
  for (const wchar_t* name : {L"ro.txt", L"dos-ro.txt", L"unix-ro.txt", L"cache.txt"})
    setAttributes(folder.file(name), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Archive, NamesAreDecodedAsUtf8WhenFlaggedElseAsOem) {
  ASSERT_EQ(archive.open(archivePath(L"python-utf8.zip")), 0);
  EXPECT_EQ(archive.entryName(0), L"été\\café.txt");
  EXPECT_EQ(archive.entryName(1), L"日本\\名前.txt");
  ASSERT_EQ(archive.extract(L"été/café.txt", folder.file(L"café.txt")), 0);
  EXPECT_EQ(test::readBytes(folder.file(L"café.txt")), "caf\xC3\xA9\r\n");

  // 7-Zip flags its non-ASCII names and lists the folder first.
  ASSERT_EQ(archive.open(archivePath(L"7zip.zip")), 0);
  ASSERT_EQ(archive.count(), 2u);
  EXPECT_EQ(archive.entryName(0), L"données\\");
  EXPECT_EQ(archive.entryName(1), L"données\\été.txt");
  ASSERT_EQ(archive.extract(L"données\\été.txt", folder.file(L"été.txt")), 0);
  EXPECT_EQ(test::readBytes(folder.file(L"été.txt")), "\xC3\xA9t\xC3\xA9\r\n");
  EXPECT_EQ(describeExisting(folder.file(L"été.txt")).time, kStoredTime);

  ASSERT_EQ(archive.open(archivePath(L"oem.zip")), 0);
  const UINT oem = GetOEMCP();
  if (oem == 437 || oem == 850) {
    EXPECT_EQ(archive.entryName(0), L"café.txt");
  }
}

TEST_F(Archive, LookupIgnoresCaseAndTakesEitherSeparator) {
  ASSERT_EQ(archive.open(archivePath(L"infozip.zip")), 0);
  EXPECT_EQ(archive.find(L"docs/long.txt"), archive.find(L"DOCS\\LONG.TXT"));
  ASSERT_TRUE(archive.find(L"Docs\\Long.txt"));
  EXPECT_EQ(archive.entryName(*archive.find(L"Docs\\Long.txt")), L"docs\\long.txt");
  EXPECT_FALSE(archive.find(L"docs\\absent.txt"));
}

TEST_F(Archive, EveryFailureHasItsCode) {
  EXPECT_EQ(archive.extract(L"docs\\long.txt", folder.file(L"x")), kExtractNotOpen);
  ASSERT_EQ(archive.open(archivePath(L"infozip.zip")), 0);
  EXPECT_EQ(archive.extract(L"docs\\absent.txt", folder.file(L"x")), kExtractNoEntry);
  EXPECT_EQ(archive.extract(L"docs\\long.txt", folder.file(L"no\\such\\folder\\x")), kExtractCannotCreate);

  struct Case {
    const wchar_t* archive;
    const wchar_t* entry;
    int code;
  };
  const Case cases[] = {
      {L"bad-crc.zip", L"docs\\long.txt", kExtractBadData},
      {L"corrupt-data.zip", L"docs\\long.txt", kExtractBadData},
      {L"size-larger.zip", L"docs\\long.txt", kExtractShortData},
      {L"size-huge.zip", L"docs\\long.txt", kExtractShortData},
      {L"size-smaller.zip", L"docs\\long.txt", kExtractBadData},
      {L"overrun.zip", L"docs\\long.txt", kExtractBadData},
      // Two entries over one local header: neither is extracted.
      {L"overlap.zip", L"docs\\long.txt", kExtractBadData},
      {L"overlap.zip", L"docs\\lisez-moi.txt", kExtractBadData},
      {L"encrypted.zip", L"docs\\lisez-moi.txt", kExtractBadData},
      {L"bzip2.zip", L"docs\\long.txt", kExtractBadData},  // method 12: not read
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.archive) + " " + toUtf8(c.entry));
    ASSERT_EQ(archive.open(archivePath(c.archive)), 0);
    EXPECT_EQ(archive.extract(c.entry, folder.file(L"x.txt")), c.code);
    EXPECT_FALSE(pathExists(folder.file(L"x.txt")));  // nothing half-written is left
  }
  // The other entries of a damaged archive are still good.
  ASSERT_EQ(archive.open(archivePath(L"overrun.zip")), 0);
  EXPECT_EQ(archive.extract(L"bin\\aleatoire.bin", folder.file(L"a.bin")), kExtractPlaced);
}

TEST_F(Archive, ArchivesThatCannotBeOpened) {
  EXPECT_NE(archive.open(archivePath(L"truncated.zip")), 0);
  EXPECT_FALSE(archive.isOpen());
  EXPECT_NE(archive.open(archivePath(L"garbage.zip")), 0);
  EXPECT_EQ(archive.open(archivePath(L"absent.zip")), kExtractCannotCreate);
  EXPECT_EQ(archive.extract(L"a.txt", folder.file(L"a.txt")), kExtractNotOpen);
  // A false end-record signature in the comment does not hide the real one.
  ASSERT_EQ(archive.open(archivePath(L"comment.zip")), 0);
  ASSERT_EQ(archive.count(), 1u);
  EXPECT_EQ(archive.extract(L"a.txt", folder.file(L"a.txt")), kExtractPlaced);
}

TEST(EntryNames, OnlyNamesInsideTheTargetFolderAreContained) {
  for (const wchar_t* name : {L"a.txt", L"sous\\b.txt", L".\\c.txt", L"d..e.txt", L"..f", L"g\\h..\\i",
                              L"console.txt", L"COM10", L"lpt.txt", L"nul_x",
                              L"COM\u2074", L"LPT\u00B9\u00B9"})
    EXPECT_TRUE(isContainedEntryName(name)) << toUtf8(name);
  for (const wchar_t* name : {L"", L"..\\x", L"a\\..\\..\\x", L"a\\..", L"\\abs", L"\\\\server\\share\\x",
                              L"C:\\x", L"C:x", L"a\\b:stream", L"x\\...\\y", L"x\\. .\\y", L"CON",
                              L"a\\nul.txt", L"Com1", L"lpt9.log", L"aux \\x", L"conout$", L"COM0",
                              L"COM\u00B9", L"lpt\u00B2.txt", L"x\\Com\u00B3 .log"})
    EXPECT_FALSE(isContainedEntryName(name)) << toUtf8(name);
}

}  // namespace
}  // namespace stelvane
