#pragma once
// Memory in large blocks aligned on the size of a huge page, so that the
// system may back them by huge pages where it always does (a block written
// through once then costs one page fault per 2 MiB instead of one per
// 4 KiB), and so that an address tells the block it lies in.
#include <cstddef>

namespace lirno {

inline constexpr std::size_t kLargePageBytes = std::size_t{2} << 20;

// A block of `bytes` (rounded up to kLargePageBytes) aligned on
// kLargePageBytes; throws std::bad_alloc when there is no memory.
void* allocateLargePages(std::size_t bytes);
// Gives back a block of allocateLargePages with the same `bytes`.
void freeLargePages(void* block, std::size_t bytes) noexcept;
// Keeps a block of allocateLargePages for another use, but lets the system
// take its memory back if it runs short: its bytes are then undefined.
// Reused before the system needs it, the block costs no new page faults.
void parkLargePages(void* block, std::size_t bytes) noexcept;

}  // namespace lirno
