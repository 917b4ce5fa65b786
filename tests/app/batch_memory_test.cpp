// lirno-batch when memory runs out: a message and exit status 1, not an
// abort.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "support/temp_folder.h"

namespace lirno {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

TEST(BatchMemory, AnAllocationFailureEndsWithAMessageAndStatusOne) {
  // The sanitizers reserve more address space than the limit allows.
  if (kSanitized) GTEST_SKIP() << "not under the sanitizers";
  testing::TempFolder folder("batch-memory");
  // A sparse document larger than the address space the program is given:
  // the reader's buffer for it cannot be had.
  const std::string doc = folder.file("big.txt");
  const int fd = ::open(doc.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, off_t{600} << 20), 0);
  ::close(fd);
  const std::string command = "ulimit -v 400000; '" + std::string(LIRNO_BATCH_FOLDER) + "lirno-batch' '" +
                              doc + "' -S a 2>'" + folder.file("stderr") + "'";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char buffer[256];
  while (std::fread(buffer, 1, sizeof buffer, pipe) > 0) {
  }
  const int status = ::pclose(pipe);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal";
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(folder.read("stderr"), "lirno-batch: out of memory; the work was stopped\n");
}

}  // namespace
}  // namespace lirno
