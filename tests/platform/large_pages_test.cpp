#include "platform/large_pages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace lirno {
namespace {

TEST(LargePagesTest, BlocksAreAlignedWritableAndRoundedUp) {
  // One byte past a page: the block holds two, all of it writable.
  const std::size_t bytes = kLargePageBytes + 1;
  auto* a = static_cast<unsigned char*>(allocateLargePages(bytes));
  auto* b = static_cast<unsigned char*>(allocateLargePages(1));
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(a) % kLargePageBytes, 0u);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(b) % kLargePageBytes, 0u);
  std::memset(a, 0xA5, 2 * kLargePageBytes);
  std::memset(b, 0x5A, kLargePageBytes);
  // The two blocks do not overlap.
  EXPECT_EQ(a[2 * kLargePageBytes - 1], 0xA5);
  EXPECT_EQ(b[0], 0x5A);
  freeLargePages(a, bytes);
  freeLargePages(b, 1);
  freeLargePages(nullptr, 1);
}

TEST(LargePagesTest, AParkedBlockCanBeWrittenAgain) {
  // Whether or not the system took its memory back, the block is whole and
  // keeps what is written to it after parking.
  auto* a = static_cast<unsigned char*>(allocateLargePages(kLargePageBytes));
  std::memset(a, 0x11, kLargePageBytes);
  parkLargePages(a, kLargePageBytes);
  for (std::size_t k = 0; k < kLargePageBytes; k += 4096) a[k] = static_cast<unsigned char>(k >> 12);
  for (std::size_t k = 0; k < kLargePageBytes; k += 4096) ASSERT_EQ(a[k], static_cast<unsigned char>(k >> 12));
  freeLargePages(a, kLargePageBytes);
  parkLargePages(nullptr, 1);
}

}  // namespace
}  // namespace lirno
