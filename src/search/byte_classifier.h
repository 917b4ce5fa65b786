#pragma once
// Classifies 64 text bytes at a time through a 256-entry table: the fast
// scans use it to find, in one step, the few bytes of a block that need the
// character-by-character path. Vectorised with AVX2 where the processor has
// it, plain C++ otherwise; both give the same masks.
#include <array>
#include <cstdint>

namespace lirno {

inline constexpr int kBlockBytes = 64;
inline constexpr int kMaxChunkBlocks = 8;  // blocks classified per call

// The set bits of a block's mask that holds few (its line breaks): a loop
// over them beats the library call that std::popcount becomes on
// processors assumed to lack the instruction.
inline int fewBits(std::uint64_t mask) {
  int n = 0;
  for (; mask; mask &= mask - 1) ++n;
  return n;
}

// For one block: bit[k] has bit j set when the table value of byte j has
// bit k.
struct BlockBits {
  std::uint64_t bit[8];
};

class ByteClassifier {
 public:
  enum class Method {
    kBest,    // the fastest this processor runs
    kAvx512,  // AVX-512 VBMI byte permutes
    kAvx2,    // AVX2 shuffles
    kPlain,   // plain C++
  };

  // `table` gives each byte value an 8-bit value. A method the processor
  // does not run falls back to the plain one (tests compare them all).
  explicit ByteClassifier(const std::array<std::uint8_t, 256>& table, Method method = Method::kBest);

  // The bits of `blocks` (1 to kMaxChunkBlocks) consecutive blocks at p.
  // REQUIRES: blocks * 64 readable bytes at p.
  void bits(const unsigned char* p, int blocks, BlockBits* out) const;

  // equal[b * count + i]: bit j of block b set when the table value of its
  // byte j equals values[i], for i < count <= 16.
  void equal(const unsigned char* p, int blocks, const std::uint8_t* values, int count,
             std::uint64_t* equal) const;

  Method method() const { return method_; }

  // Whether this processor runs `method`.
  static bool available(Method method);

 private:
  std::array<std::uint8_t, 256> table_;
  // The table as 16 rows of 16 values, each row twice (both vector lanes).
  alignas(32) std::uint8_t rows_[16][32];
  Method method_;
  std::uint8_t used_ = 0;  // the bits that some value of the table has
};

}  // namespace lirno
