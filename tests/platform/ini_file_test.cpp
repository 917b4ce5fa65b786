#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "support/faults.h"

namespace lirno {
namespace {

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("lirno_ini_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "Lirno.ini").string();
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
  }
  void write(const std::string& content) {
    std::ofstream(path_, std::ios::binary) << content;
  }
  std::string content() const {
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }

  std::filesystem::path dir_;
  std::string path_;
};

TEST_F(IniFileTest, MissingFileReadsAsDefaults) {
  IniFile ini(path_);
  EXPECT_EQ(ini.readString("Lirno", "Rules", "nac.rul"), "nac.rul");
  EXPECT_EQ(ini.readInt("Window", "State", 2), 2);
}

TEST_F(IniFileTest, NamesIgnoreCaseFirstMatchWinsValuesAreTrimmed) {
  write(
      "; settings\r\n"
      "[lirno]\r\n"
      "  RULES =  first.rul  \r\n"
      "rules=second.rul\r\n"
      "[Window]\r\n"
      "Top = -12px\r\n"
      "Left=abc\r\n"
      "[LIRNO]\r\n"
      "Language=late.lng\r\n");
  IniFile ini(path_);
  EXPECT_EQ(ini.readString("Lirno", "Rules"), "first.rul");
  EXPECT_EQ(ini.readInt("WINDOW", "top", 0), -12);
  EXPECT_EQ(ini.readInt("Window", "Left", 7), 0);  // no digits reads as 0
  // Only the first section of a name is read.
  EXPECT_EQ(ini.readString("Lirno", "Language", "none"), "none");
}

TEST_F(IniFileTest, WriteCreatesFileAndSection) {
  IniFile ini(path_);
  ASSERT_TRUE(ini.writeInt("Window", "Top", 0));
  EXPECT_EQ(content(), "[Window]\r\nTop=0\r\n");
  ASSERT_TRUE(ini.writeString("Lirno", "Rules", "nac.rul"));
  ASSERT_TRUE(ini.writeInt("Window", "Left", 5));
  EXPECT_EQ(content(), "[Window]\r\nTop=0\r\nLeft=5\r\n[Lirno]\r\nRules=nac.rul\r\n");
  EXPECT_EQ(ini.readInt("Window", "Left", 0), 5);
}

TEST_F(IniFileTest, WriteKeepsEveryOtherLineAsItWas) {
  write(
      "; keep me\n"
      "[Window]\n"
      "State=2 ; odd comment\n"
      "top=10\n"
      "\n"
      "[Other]\n"
      "x = y\n"
      "no line end");
  IniFile ini(path_);
  ASSERT_TRUE(ini.writeInt("window", "TOP", 42));
  ASSERT_TRUE(ini.writeInt("Window", "Width", 800));
  ASSERT_TRUE(ini.writeString("Last", "k", "v"));
  EXPECT_EQ(content(),
            "; keep me\n"
            "[Window]\n"
            "State=2 ; odd comment\n"
            "TOP=42\n"
            "Width=800\n"
            "\n"
            "[Other]\n"
            "x = y\n"
            "no line end\n"
            "[Last]\n"
            "k=v\n");
}

TEST_F(IniFileTest, FailedWriteLeavesTheFileUntouched) {
  write("[Window]\r\nTop=3\r\n");
  IniFile ini(path_);
  {
    testing::ScopedFaults faults;
    faults.diskFullAfter(4);
    EXPECT_FALSE(ini.writeInt("Window", "Top", 9));
    EXPECT_EQ(errno, ENOSPC);
  }
  EXPECT_EQ(content(), "[Window]\r\nTop=3\r\n");
  EXPECT_EQ(ini.readInt("Window", "Top", 0), 3);
}

TEST_F(IniFileTest, AFileThatCannotBeReadIsNotReplacedByOneKey) {
  write("[Lirno]\r\nRules=mine.rul\r\n[Window]\r\nTop=3\r\n");
  IniFile ini(path_);
  {
    testing::ScopedFaults faults;
    faults.readOpenFails(EACCES);
    EXPECT_FALSE(ini.writeInt("Window", "Top", 9));
    EXPECT_EQ(errno, EACCES);
  }
  {
    testing::ScopedFaults faults;
    faults.readFailsAfter(5, EIO);  // an I/O error in the middle
    EXPECT_FALSE(ini.writeInt("Window", "Top", 9));
    EXPECT_EQ(errno, EIO);
  }
  EXPECT_EQ(content(), "[Lirno]\r\nRules=mine.rul\r\n[Window]\r\nTop=3\r\n");
  // A FIFO is neither waited on nor replaced.
  const std::string fifo = (dir_ / "fifo.ini").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  IniFile pipe(fifo);
  EXPECT_EQ(pipe.readInt("Window", "Top", 7), 7);
  EXPECT_FALSE(pipe.writeInt("Window", "Top", 9));
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

TEST_F(IniFileTest, ALinkedFileIsWrittenThroughKeepingItsMode) {
  const std::filesystem::path real = dir_ / "shared" / "real.ini";
  std::filesystem::create_directories(real.parent_path());
  std::ofstream(real, std::ios::binary) << "[Window]\r\nTop=3\r\n";
  ::chmod(real.c_str(), 0604);
  std::filesystem::create_symlink(real, path_);
  ASSERT_TRUE(IniFile(path_).writeInt("Window", "Top", 9));
  EXPECT_TRUE(std::filesystem::is_symlink(path_));
  EXPECT_EQ(content(), "[Window]\r\nTop=9\r\n");
  EXPECT_EQ(std::filesystem::status(real).permissions(),
            std::filesystem::perms(0604));
}

TEST_F(IniFileTest, WriteIntoMissingFolderFails) {
  IniFile ini((dir_ / "no" / "such" / "Lirno.ini").string());
  EXPECT_FALSE(ini.writeString("Lirno", "Rules", "x"));
}

}  // namespace
}  // namespace lirno
