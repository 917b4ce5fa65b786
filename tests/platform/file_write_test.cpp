#include "platform/file_write.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "support/faults.h"
#include "support/temp_folder.h"

namespace lirno {
namespace {

using Mode = FileWriter::Mode;
namespace fs = std::filesystem;

// Names in the folder other than `keep`: leftovers of a write.
std::vector<std::string> othersIn(const testing::TempFolder& folder, const std::string& keep) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder.path())) {
    const std::string name = e.path().filename().string();
    if (name != keep) names.push_back(name);
  }
  return names;
}

mode_t modeOf(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

TEST(FileWriterTest, ReplacesKeepingTheModeAndAppendsInPlace) {
  testing::TempFolder folder("writer");
  const std::string path = folder.file("r.txt");
  folder.write("r.txt", "old content\n");
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(writeWholeFile(path, "new\n"));
  EXPECT_EQ(folder.read("r.txt"), "new\n");
  EXPECT_EQ(modeOf(path), 0640u);
  ASSERT_TRUE(writeWholeFile(path, "more\n", Mode::Append));
  EXPECT_EQ(folder.read("r.txt"), "new\nmore\n");
  ASSERT_TRUE(writeWholeFile(folder.file("fresh.txt"), "x", Mode::Append));
  EXPECT_EQ(folder.read("fresh.txt"), "x");
  EXPECT_EQ(othersIn(folder, "r.txt"), std::vector<std::string>{"fresh.txt"});
}

TEST(FileWriterTest, ANameAtTheLengthLimitIsReplacedToo) {
  testing::TempFolder folder("writer");
  const std::string name(255, 'n');
  folder.write(name, "old");
  ASSERT_TRUE(writeWholeFile(folder.file(name), "new"));
  EXPECT_EQ(folder.read(name), "new");
  EXPECT_TRUE(othersIn(folder, name).empty());
}

TEST(FileWriterTest, LargeWritesArriveWholeThroughTheBuffer) {
  testing::TempFolder folder("writer");
  std::string big;
  for (int i = 0; i < 50000; ++i) big += std::to_string(i) + ",";
  FileWriter w;
  ASSERT_TRUE(w.open(folder.file("big.txt")));
  ASSERT_TRUE(w.write("<"));
  ASSERT_TRUE(w.write(big));
  ASSERT_TRUE(w.write(">"));
  ASSERT_TRUE(w.commit());
  EXPECT_EQ(folder.read("big.txt"), "<" + big + ">");
}

TEST(FileWriterTest, AFullDiskLeavesThePreviousFileAndSaysWhy) {
  testing::TempFolder folder("writer");
  folder.write("r.txt", "the previous report\n");
  const std::string path = folder.file("r.txt");
  {
    testing::ScopedFaults faults;
    faults.diskFullAfter(100000);
    FileWriter w;
    ASSERT_TRUE(w.open(path));
    for (int i = 0; i < 5000; ++i) w.write(std::string(100, 'n'));
    EXPECT_TRUE(w.failed());
    EXPECT_FALSE(w.commit());
    EXPECT_EQ(w.errorCode(), ENOSPC);
    EXPECT_EQ(w.error(), std::strerror(ENOSPC));
  }
  EXPECT_EQ(folder.read("r.txt"), "the previous report\n");
  EXPECT_TRUE(othersIn(folder, "r.txt").empty());  // the new file is gone
}

TEST(FileWriterTest, AFailedSyncOrRenameLeavesThePreviousFile) {
  testing::TempFolder folder("writer");
  folder.write("r.txt", "kept\n");
  const std::string path = folder.file("r.txt");
  {
    testing::ScopedFaults faults;
    faults.syncFails();
    errno = 0;
    EXPECT_FALSE(writeWholeFile(path, "lost\n"));
    EXPECT_EQ(errno, EIO);
  }
  {
    testing::ScopedFaults faults;
    faults.renameFails(EXDEV);
    EXPECT_FALSE(writeWholeFile(path, "lost\n"));
    EXPECT_EQ(errno, EXDEV);
  }
  {
    // Never committed: abandoned.
    FileWriter w;
    ASSERT_TRUE(w.open(path));
    w.write("lost\n");
  }
  EXPECT_EQ(folder.read("r.txt"), "kept\n");
  EXPECT_TRUE(othersIn(folder, "r.txt").empty());
}

TEST(FileWriterTest, ASymbolicLinkIsWrittenThroughToItsTarget) {
  testing::TempFolder folder("writer");
  folder.write("real/settings.ini", "old\n");
  ::chmod(folder.file("real/settings.ini").c_str(), 0600);
  fs::create_symlink("real/settings.ini", folder.file("link.ini"));
  fs::create_symlink("link.ini", folder.file("link2.ini"));  // a chain
  ASSERT_TRUE(writeWholeFile(folder.file("link2.ini"), "new\n"));
  EXPECT_TRUE(fs::is_symlink(folder.file("link.ini")));
  EXPECT_TRUE(fs::is_symlink(folder.file("link2.ini")));
  EXPECT_EQ(folder.read("real/settings.ini"), "new\n");
  EXPECT_EQ(modeOf(folder.file("real/settings.ini")), 0600u);
  // The new file was made beside the target and is gone.
  std::size_t inReal = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder.file("real"))) ++inReal;
  EXPECT_EQ(inReal, 1u);

  // A dangling link: the file is made where it points.
  fs::create_symlink("real/made.txt", folder.file("dangling"));
  ASSERT_TRUE(writeWholeFile(folder.file("dangling"), "made\n"));
  EXPECT_EQ(folder.read("real/made.txt"), "made\n");

  fs::create_symlink("loop2", folder.file("loop1"));
  fs::create_symlink("loop1", folder.file("loop2"));
  EXPECT_FALSE(writeWholeFile(folder.file("loop1"), "x"));
  EXPECT_EQ(errno, ELOOP);
}

TEST(FileWriterTest, FoldersAreRefusedAndDevicesWrittenInPlace) {
  testing::TempFolder folder("writer");
  fs::create_directories(folder.file("sub"));
  EXPECT_FALSE(writeWholeFile(folder.file("sub"), "x"));
  EXPECT_EQ(errno, EISDIR);
  EXPECT_TRUE(fs::is_directory(folder.file("sub")));
  EXPECT_FALSE(writeWholeFile(folder.file("no/such/folder/f.txt"), "x"));
  EXPECT_EQ(errno, ENOENT);
  // Replacing /dev/null by a file would break the system; it is written to.
  ASSERT_TRUE(writeWholeFile("/dev/null", "x"));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_FALSE(writeWholeFile("/dev/full", "x"));
  EXPECT_EQ(errno, ENOSPC);
}

TEST(FileWriterTest, TheSystemsOwnLinksAreWrittenAsTheyStand) {
  // /proc/self/fd/N of a pipe names no file to put a new one beside.
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  ASSERT_TRUE(writeWholeFile("/proc/self/fd/" + std::to_string(pipeFds[1]), "through the pipe"));
  char got[32] = {};
  EXPECT_EQ(::read(pipeFds[0], got, sizeof got), 16);
  EXPECT_STREQ(got, "through the pipe");
  ::close(pipeFds[0]);
  ::close(pipeFds[1]);
}

TEST(FileWriterTest, TheStandardOutputFailsLikeAFile) {
  FileWriter w;
  const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
  ASSERT_GE(full, 0);
  w.attach(full);
  w.write("lost");
  EXPECT_FALSE(w.commit());
  EXPECT_EQ(w.errorCode(), ENOSPC);
  EXPECT_EQ(::fcntl(full, F_GETFD), FD_CLOEXEC);  // not closed: it is the caller's
  ::close(full);
}

}  // namespace
}  // namespace lirno
