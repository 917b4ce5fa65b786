#include "platform/large_pages.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace lirno {
namespace {

std::size_t rounded(std::size_t bytes) {
  return (bytes + kLargePageBytes - 1) / kLargePageBytes * kLargePageBytes;
}

}  // namespace

void* allocateLargePages(std::size_t bytes) {
  const std::size_t size = rounded(bytes);
  // Mapped with one alignment's worth to spare, whose ends are then given
  // back, since mmap only promises page alignment.
  void* raw = ::mmap(nullptr, size + kLargePageBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (start + kLargePageBytes - 1) & ~(std::uintptr_t{kLargePageBytes} - 1);
  if (aligned > start) ::munmap(raw, aligned - start);
  const std::uintptr_t end = start + size + kLargePageBytes;
  if (end > aligned + size) ::munmap(reinterpret_cast<void*>(aligned + size), end - (aligned + size));
  // Not advised as huge pages (MADV_HUGEPAGE): under the usual "madvise"
  // defragmentation setting the system then compacts memory at each fault
  // when the page cache has filled it, which cost a corpus word list a
  // quarter of its time; where huge pages are always on, the block gets
  // them all the same.
  return reinterpret_cast<void*>(aligned);
}

void freeLargePages(void* block, std::size_t bytes) noexcept {
  if (block) ::munmap(block, rounded(bytes));
}

void parkLargePages(void* block, std::size_t bytes) noexcept {
#ifdef MADV_FREE
  if (block) ::madvise(block, rounded(bytes), MADV_FREE);
#else
  (void)block;
  (void)bytes;
#endif
}

}  // namespace lirno
