#include "platform/file_read.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "support/faults.h"
#include "support/temp_folder.h"

namespace lirno {
namespace {

TEST(FileReadTest, AReadErrorIsAnErrorNotTheEnd) {
  testing::TempFolder folder("read");
  folder.write("f.txt", std::string(200000, 'a'));
  std::string bytes = "kept";
  FileError error;
  {
    testing::ScopedFaults faults;
    faults.readFailsAfter(70000, EIO);
    EXPECT_FALSE(readFileBytes(folder.file("f.txt"), bytes, &error));
  }
  EXPECT_EQ(bytes, "kept");
  EXPECT_EQ(error.kind, FileError::Kind::Read);
  EXPECT_EQ(errno, EIO);
  EXPECT_EQ(error.messageText(), "Impossible de lire le fichier :\n");
  EXPECT_EQ(error.detail("/x/f.txt"), std::string("/x/f.txt\n") + std::strerror(EIO));
  ASSERT_TRUE(readFileBytes(folder.file("f.txt"), bytes, &error));
  EXPECT_EQ(bytes.size(), 200000u);
  EXPECT_EQ(error.kind, FileError::Kind::None);
}

TEST(FileReadTest, OnlyRegularFilesAreReadAndNoneIsWaitedOn) {
  testing::TempFolder folder("read");
  ASSERT_EQ(::mkfifo(folder.file("fifo").c_str(), 0600), 0);  // no writer: opening it would wait
  std::string bytes;
  FileError error;
  EXPECT_FALSE(readFileBytes(folder.file("fifo"), bytes, &error));
  EXPECT_EQ(error.kind, FileError::Kind::NotRegular);
  EXPECT_EQ(error.messageText(), "Ce n'est pas un fichier ordinaire :\n");
  EXPECT_FALSE(readFileBytes("/dev/zero", bytes, &error));  // endless
  EXPECT_EQ(error.kind, FileError::Kind::NotRegular);
  EXPECT_FALSE(readFileBytes(folder.path(), bytes, &error));
  EXPECT_EQ(errno, EISDIR);
  EXPECT_EQ(error.detail("/d/"), std::string("/d/\n") + std::strerror(EISDIR));

  EXPECT_FALSE(readFileBytes(folder.file("none.txt"), bytes, &error));
  EXPECT_TRUE(error.missing());
  EXPECT_EQ(error.messageText(), "Fichier non trouvé :\n");
  EXPECT_EQ(error.detail("/x/none.txt"), "/x/none.txt");
  {
    testing::ScopedFaults faults;
    faults.readOpenFails(EACCES);
    folder.write("secret.txt", "s");
    EXPECT_FALSE(readFileBytes(folder.file("secret.txt"), bytes, &error));
    EXPECT_FALSE(error.missing());
    EXPECT_EQ(error.detail("/s"), std::string("/s\n") + std::strerror(EACCES));
  }
}

TEST(FileReadTest, AFileAboveTheBoundIsRefusedWithItsSize) {
  testing::TempFolder folder("read");
  folder.write("big.txt", std::string(1001, 'b'));
  std::string bytes;
  FileError error;
  EXPECT_FALSE(readFileBytes(folder.file("big.txt"), bytes, &error, 1000));
  EXPECT_EQ(error.kind, FileError::Kind::TooLarge);
  EXPECT_EQ(error.messageText(), "Fichier trop volumineux :\n");
  EXPECT_EQ(error.detail("/b"), "/b\n1001 octets, la limite est de 1000 octets");
  EXPECT_TRUE(readFileBytes(folder.file("big.txt"), bytes, &error, 1001));
}

}  // namespace
}  // namespace lirno
