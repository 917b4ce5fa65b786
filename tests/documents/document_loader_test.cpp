// The document loader: formats it does not read, UTF-8 plain text converted
// or refused, and everything else read as the reader reads it.
#include "documents/document_loader.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

#include "platform/cp1252.h"

#include "documents/rtf_reader.h"
#include "reader_support.h"
#include "support/faults.h"
#include "support/temp_folder.h"

namespace lirno {
namespace {

class DocumentLoaderTest : public ::testing::Test {
 protected:
  DocumentLoad load(const std::string& name, const std::string& bytes) {
    folder.write(name, bytes);
    doc = Document();
    doc.text = "untouched";
    return loadDocument(folder.file(name), doc, markers);
  }
  // What the reader alone makes of `bytes`.
  Document direct(const std::string& bytes) { return testing::readText(bytes, markers); }

  testing::TempFolder folder{"loader"};
  Markers markers;
  Document doc;
};

TEST_F(DocumentLoaderTest, FormatsItDoesNotReadAreRecognisedByTheirFirstBytes) {
  const std::pair<const char*, std::string> files[] = {
      {"a.docx", std::string("PK\x03\x04\x14\x00\x06\x00", 8) + "[Content_Types].xml"},
      {"a.odt", std::string("PK\x03\x04\x0A\x00\x00\x00", 8) + "mimetypeapplication/vnd.oasis"},
      {"a.doc", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\x00\x00", 10)},
      {"a.pdf", "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n1 0 obj"},
      {"a.png", std::string("\x89PNG\r\n\x1A\n\x00\x00\x00\rIHDR", 16)},
      {"a.jpg", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10)},
      {"a.bmp", std::string("BM\x1E\x00\x00\x00\x00\x00\x00\x00\x1A\x00\x00\x00", 14) + std::string(16, '\0')},
      {"u16.txt", std::string("\xFF\xFEh\x00\xE9\x00", 6)},
  };
  for (const auto& [name, bytes] : files) {
    const DocumentLoad r = load(name, bytes);
    EXPECT_EQ(r.status, LoadStatus::ForeignFormat) << name;
    EXPECT_EQ(r.message, kForeignFormatMessage);
    EXPECT_EQ(r.detail.rfind(folder.file(name) + " (", 0), 0u) << r.detail;
    EXPECT_EQ(doc.text, "untouched") << name;
  }
  // Text that merely begins like a signature is text.
  EXPECT_TRUE(load("bm.txt", "BMX du folio 3\r\n").loaded());
  EXPECT_EQ(doc.text, "BMX du folio 3\n\n");  // the line's break, then the final one
  EXPECT_TRUE(load("pk.txt", "PK 12, Page 4\r\n").loaded());
}

TEST_F(DocumentLoaderTest, Utf8PlainTextIsConvertedAndThenReadAsAnyDocument) {
  // "Été ± cœur" with the Page marker (0xB1, "±") in the middle: it must
  // become a page mark, never the second byte of a pair.
  const std::string utf8 = "\xC3\x89t\xC3\xA9 \xC2\xB1 c\xC5\x93ur\r\nfin\r\n";
  const std::string ansi = "\xC9t\xE9 \xB1 c\x9Cur\r\nfin\r\n";
  ASSERT_TRUE(load("u.txt", utf8).loaded());
  const Document expected = direct(ansi);
  EXPECT_EQ(doc.text, expected.text);
  EXPECT_EQ(testing::describeMarks(doc), testing::describeMarks(expected));
  EXPECT_EQ(doc.lineTable, expected.lineTable);
  EXPECT_EQ(doc.path, folder.file("u.txt"));

  // A byte order mark is dropped, also before plain ASCII.
  ASSERT_TRUE(load("bom.txt", "\xEF\xBB\xBFherba\r\n").loaded());
  EXPECT_EQ(doc.text, "herba\n\n");
  ASSERT_TRUE(load("bom2.txt", "\xEF\xBB\xBF\xC3\xA9").loaded());
  EXPECT_EQ(doc.text, "\xE9\n");
}

TEST_F(DocumentLoaderTest, Utf8BeyondWindows1252IsRefusedNamingTheCharactersAndTheFirstLine) {
  const DocumentLoad r = load("pl.txt", "caf\xC3\xA9\r\nd\xC5\x82ugi\nx \xC5\xBA \xC5\x82\n");
  EXPECT_EQ(r.status, LoadStatus::Unconvertible);
  EXPECT_EQ(r.message, kUnconvertibleMessage);
  EXPECT_EQ(r.detail, "\xC5\x82 \xC5\xBA (ligne 2)\n" + folder.file("pl.txt"));
  EXPECT_EQ(doc.text, "untouched");
}

TEST_F(DocumentLoaderTest, Windows1252TextAndRichTextAreReadAsBefore) {
  const std::string ansi = "d\xE9" "but \xB1 suite\r\n";  // é alone is not UTF-8
  ASSERT_TRUE(load("w.txt", ansi).loaded());
  EXPECT_EQ(doc.text, direct(ansi).text);
  // Windows-1252 that happens to be valid UTF-8 further on stays what it
  // is where the first byte is not.
  ASSERT_TRUE(load("w2.txt", "\xE9t\xC3\xA9").loaded());
  EXPECT_EQ(doc.text, "\xE9t\xC3\xA9\n");
  // Rich text is never taken for UTF-8, whatever its bytes.
  const std::string rtf = "{\\rtf1 \xC3\xA9\\par x}";
  ASSERT_TRUE(load("r.rtf", rtf).loaded());
  EXPECT_EQ(doc.text, direct(rtf).text);

  const DocumentLoad r = load("z.txt", "");
  EXPECT_TRUE(r.loaded());
  EXPECT_EQ(doc.text, "");
  const DocumentLoad gone = loadDocument(folder.file("absent.txt"), doc, markers);
  EXPECT_EQ(gone.status, LoadStatus::NotFound);
  EXPECT_EQ(gone.message + gone.detail, "Fichier non trouvé :\n" + folder.file("absent.txt"));
}

TEST_F(DocumentLoaderTest, FilesItCannotReadAreSaidWithTheReason) {
  DocumentLoad r;
  {
    testing::ScopedFaults faults;
    faults.readFailsAfter(10, EIO);  // in the middle of the text
    r = load("doc.txt", "odo et odo et odo\n");
  }
  EXPECT_FALSE(r.loaded());
  EXPECT_EQ(r.message, "Impossible de lire le fichier :\n");
  EXPECT_EQ(r.detail, folder.file("doc.txt") + "\n" + std::strerror(EIO));
  EXPECT_EQ(doc.text, "");  // no part of it to be searched

  ASSERT_EQ(::mkfifo(folder.file("fifo.txt").c_str(), 0600), 0);  // no writer: opening it would wait
  r = loadDocument(folder.file("fifo.txt"), doc, markers);
  EXPECT_EQ(r.message, "Ce n'est pas un fichier ordinaire :\n");
  {
    testing::ScopedFaults faults;
    faults.readOpenFails(EACCES);
    folder.write("secret.txt", "s");
    r = loadDocument(folder.file("secret.txt"), doc, markers);
  }
  EXPECT_EQ(r.message, "Impossible de lire le fichier :\n");
  EXPECT_EQ(r.detail, folder.file("secret.txt") + "\n" + std::strerror(EACCES));
  r = loadDocument(folder.file("none.txt"), doc, markers);
  EXPECT_EQ(r.message, "Fichier non trouvé :\n");
  EXPECT_EQ(r.detail, folder.file("none.txt"));
}

TEST_F(DocumentLoaderTest, LargeFilesAreDecidedOverTheirWholeLength) {
  // A pair cut by a block boundary is still one character.
  std::string big(65535, 'a');
  big += "\xC3\xA9";
  big += std::string(70000, 'b');
  ASSERT_TRUE(load("big.txt", big).loaded());
  EXPECT_EQ(doc.text.size(), 65535u + 1 + 70000 + 1);
  EXPECT_EQ(doc.text[65535], '\xE9');
  // A Windows-1252 byte far into an ASCII file makes it Windows-1252.
  std::string late(200000, 'c');
  late += "\xE9";
  ASSERT_TRUE(load("late.txt", late).loaded());
  EXPECT_EQ(doc.text.back(), '\n');
  EXPECT_EQ(doc.text[200000], '\xE9');
  // A byte order mark on bytes that are not UTF-8 announces what is not so.
  const DocumentLoad r = load("liar.txt", "\xEF\xBB\xBFok\r\nd\xE9" "but\r\n");
  EXPECT_EQ(r.status, LoadStatus::Unconvertible);
  EXPECT_EQ(r.message, kBrokenUtf8Message);
  EXPECT_EQ(r.detail, "2\n" + folder.file("liar.txt"));
}

// The loader decodes block by block; the platform's whole-string functions
// are the reference, over random mixes of ASCII, characters with and
// without a Windows-1252 form and stray bytes, cut anywhere.
TEST_F(DocumentLoaderTest, AgreesWithTheWholeTextConversionOnRandomInput) {
  std::mt19937 random(16);
  const char* const pieces[] = {"a", "b ", "\r\n", "\n", "\xC3\xA9", "\xE2\x82\xAC", "\xC5\x82",
                                "\xF0\x9F\x98\x80", "\xE9", "\xC3", "\x80", "\xEF\xBB\xBF"};
  int outcomes[4] = {0, 0, 0, 0};  // each must come up
  for (int sample = 0; sample < 300; ++sample) {
    const std::size_t length = sample % 50 == 0 ? 140000 : random() % 40;
    std::string bytes = sample % 3 == 0 ? "\xEF\xBB\xBF" : "";
    bytes += 'a';  // never a signature
    // Mostly ASCII with a few others, so that every outcome comes up.
    while (bytes.size() < length) {
      const unsigned r = random() % 1000;
      bytes += r < 900 ? pieces[r % 4] : pieces[4 + r % 8];
    }
    const bool bom = bytes.rfind("\xEF\xBB\xBF", 0) == 0;
    const std::string body = bom ? bytes.substr(3) : bytes;
    const bool ascii = std::all_of(body.begin(), body.end(), [](char c) { return (c & 0x80) == 0; });
    const bool utf8 = ascii || isMultiByteUtf8(body);

    const DocumentLoad r = load("r.txt", bytes);
    if (!utf8 && bom) {
      ++outcomes[0];
      EXPECT_EQ(r.status, LoadStatus::Unconvertible) << sample;
    } else if (!utf8 || (ascii && !bom)) {
      ++outcomes[1];
      ASSERT_TRUE(r.loaded()) << sample;
      EXPECT_EQ(doc.text, direct(bytes).text) << sample;
    } else if (const std::string missing = charactersWithoutCp1252(body, nullptr, 32); !missing.empty()) {
      ++outcomes[2];
      EXPECT_EQ(r.status, LoadStatus::Unconvertible) << sample;
      EXPECT_EQ(r.detail.rfind(missing, 0), 0u) << sample << " " << r.detail;
    } else {
      ++outcomes[3];
      ASSERT_TRUE(r.loaded()) << sample;
      EXPECT_EQ(doc.text, direct(utf8ToCp1252(body)).text) << sample;
    }
  }
  for (const int n : outcomes) EXPECT_GT(n, 5);
}

}  // namespace
}  // namespace lirno
