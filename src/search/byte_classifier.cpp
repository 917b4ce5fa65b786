#include "search/byte_classifier.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define LIRNO_X86 1
#endif

namespace lirno {
namespace {

#ifdef LIRNO_X86

// table[p[j]] for 32 bytes: one shuffle per high nibble picks by the low
// nibble, and a tree of blends on the high nibble's four bits picks among them.
__attribute__((target("avx2"))) inline __m256i lookup32(const __m256i* tables, __m256i bytes) {
  const __m256i nibble = _mm256_set1_epi8(0x0F);
  const __m256i lo = _mm256_and_si256(bytes, nibble);
  const __m256i hi = _mm256_and_si256(_mm256_srli_epi16(bytes, 4), nibble);
  __m256i r[16];
  for (int h = 0; h < 16; ++h) r[h] = _mm256_shuffle_epi8(tables[h], lo);
  // Bit b of the high nibble moved to each byte's top bit, which blendv reads.
  const __m256i m0 = _mm256_slli_epi16(hi, 7);
  const __m256i m1 = _mm256_slli_epi16(hi, 6);
  const __m256i m2 = _mm256_slli_epi16(hi, 5);
  const __m256i m3 = _mm256_slli_epi16(hi, 4);
  __m256i s[8];
  for (int k = 0; k < 8; ++k) s[k] = _mm256_blendv_epi8(r[2 * k], r[2 * k + 1], m0);
  __m256i t[4];
  for (int k = 0; k < 4; ++k) t[k] = _mm256_blendv_epi8(s[2 * k], s[2 * k + 1], m1);
  const __m256i u0 = _mm256_blendv_epi8(t[0], t[1], m2);
  const __m256i u1 = _mm256_blendv_epi8(t[2], t[3], m2);
  return _mm256_blendv_epi8(u0, u1, m3);
}

__attribute__((target("avx2"))) inline std::uint64_t mask64(__m256i a, __m256i b) {
  return static_cast<std::uint32_t>(_mm256_movemask_epi8(a)) |
         (static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(b))) << 32);
}

__attribute__((target("avx2"))) void loadRows(const std::uint8_t (*rows)[32], __m256i* tables) {
  for (int h = 0; h < 16; ++h) tables[h] = _mm256_load_si256(reinterpret_cast<const __m256i*>(rows[h]));
}

__attribute__((target("avx2"))) void vectorBits(const std::uint8_t (*rows)[32], const unsigned char* p,
                                                int blocks, BlockBits* out) {
  __m256i tables[16];
  loadRows(rows, tables);
  for (int k = 0; k < blocks; ++k, p += kBlockBytes) {
    const __m256i a = lookup32(tables, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
    const __m256i b = lookup32(tables, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32)));
    // Bit n to the top of each byte: a 16-bit shift by 7 - n does it, since
    // only each byte's own top bit is read.
    std::uint64_t* bits = out[k].bit;
    bits[7] = mask64(a, b);
    bits[6] = mask64(_mm256_slli_epi16(a, 1), _mm256_slli_epi16(b, 1));
    bits[5] = mask64(_mm256_slli_epi16(a, 2), _mm256_slli_epi16(b, 2));
    bits[4] = mask64(_mm256_slli_epi16(a, 3), _mm256_slli_epi16(b, 3));
    bits[3] = mask64(_mm256_slli_epi16(a, 4), _mm256_slli_epi16(b, 4));
    bits[2] = mask64(_mm256_slli_epi16(a, 5), _mm256_slli_epi16(b, 5));
    bits[1] = mask64(_mm256_slli_epi16(a, 6), _mm256_slli_epi16(b, 6));
    bits[0] = mask64(_mm256_slli_epi16(a, 7), _mm256_slli_epi16(b, 7));
  }
}

__attribute__((target("avx2"))) void vectorEqual(const std::uint8_t (*rows)[32], const unsigned char* p,
                                                 int blocks, const std::uint8_t* values, int count,
                                                 std::uint64_t* equal) {
  __m256i tables[16];
  loadRows(rows, tables);
  for (int k = 0; k < blocks; ++k, p += kBlockBytes) {
    const __m256i a = lookup32(tables, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
    const __m256i b = lookup32(tables, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32)));
    for (int i = 0; i < count; ++i) {
      const __m256i v = _mm256_set1_epi8(static_cast<char>(values[i]));
      equal[k * count + i] = mask64(_mm256_cmpeq_epi8(a, v), _mm256_cmpeq_epi8(b, v));
    }
  }
}

// The whole table in four registers: two permutes look up 128 entries
// each, the byte's top bit picks between them, and each wanted bit is one
// test into a mask register.
struct WideTable {
  __m512i t0, t1, t2, t3;
};

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) inline WideTable wideTable(const std::uint8_t* table) {
  return {_mm512_loadu_si512(table), _mm512_loadu_si512(table + 64), _mm512_loadu_si512(table + 128),
          _mm512_loadu_si512(table + 192)};
}

// table[x] for 64 bytes: two permutes look up 128 entries each, and the
// byte's top bit picks between them.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) inline __m512i wideLookup(const WideTable& t,
                                                                                 const unsigned char* p) {
  const __m512i x = _mm512_loadu_si512(p);
  const __m512i low = _mm512_permutex2var_epi8(t.t0, x, t.t1);
  const __m512i high = _mm512_permutex2var_epi8(t.t2, x, t.t3);
  return _mm512_mask_blend_epi8(_mm512_movepi8_mask(x), low, high);
}

// Each wanted bit is then one test into a mask register.
// `used`: the bits that some table value has; the others are 0 in every
// block, and are not tested (a scan's group tables often use one bit).
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void wideBits(const std::uint8_t* table,
                                                                     std::uint8_t used,
                                                                     const unsigned char* p, int blocks,
                                                                     BlockBits* out) {
  const WideTable t = wideTable(table);
  for (int k = 0; k < blocks; ++k, p += kBlockBytes) {
    const __m512i v = wideLookup(t, p);
    for (int n = 0; n < 8; ++n) {
      out[k].bit[n] = (used >> n & 1) ? _mm512_test_epi8_mask(v, _mm512_set1_epi8(static_cast<char>(1 << n))) : 0;
    }
  }
}

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void wideEqual(const std::uint8_t* table,
                                                                      const unsigned char* p, int blocks,
                                                                      const std::uint8_t* values, int count,
                                                                      std::uint64_t* equal) {
  const WideTable t = wideTable(table);
  for (int k = 0; k < blocks; ++k, p += kBlockBytes) {
    const __m512i v = wideLookup(t, p);
    for (int i = 0; i < count; ++i) {
      equal[k * count + i] = _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(static_cast<char>(values[i])));
    }
  }
}

#endif  // LIRNO_X86

}  // namespace

bool ByteClassifier::available(Method method) {
#ifdef LIRNO_X86
  switch (method) {
    case Method::kAvx512:
      return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
             __builtin_cpu_supports("avx512vbmi");
    case Method::kAvx2:
      return __builtin_cpu_supports("avx2");
    default:
      return true;
  }
#else
  return method == Method::kPlain || method == Method::kBest;
#endif
}

ByteClassifier::ByteClassifier(const std::array<std::uint8_t, 256>& table, Method method)
    : table_(table), method_(method) {
  if (method_ == Method::kBest) {
    method_ = available(Method::kAvx512) ? Method::kAvx512
              : available(Method::kAvx2) ? Method::kAvx2
                                         : Method::kPlain;
  } else if (!available(method_)) {
    method_ = Method::kPlain;
  }
  for (int h = 0; h < 16; ++h) {
    for (int l = 0; l < 16; ++l) rows_[h][l] = rows_[h][l + 16] = table[static_cast<std::size_t>(h * 16 + l)];
  }
  for (const std::uint8_t v : table) used_ |= v;
}

void ByteClassifier::bits(const unsigned char* p, int blocks, BlockBits* out) const {
#ifdef LIRNO_X86
  if (method_ == Method::kAvx512) {
    wideBits(table_.data(), used_, p, blocks, out);
    return;
  }
  if (method_ == Method::kAvx2) {
    vectorBits(rows_, p, blocks, out);
    return;
  }
#endif
  for (int k = 0; k < blocks; ++k, p += kBlockBytes) {
    std::uint64_t* bits = out[k].bit;
    for (int n = 0; n < 8; ++n) bits[n] = 0;
    for (int j = 0; j < kBlockBytes; ++j) {
      const unsigned v = table_[p[j]];
      for (int n = 0; n < 8; ++n) bits[n] |= static_cast<std::uint64_t>((v >> n) & 1u) << j;
    }
  }
}

void ByteClassifier::equal(const unsigned char* p, int blocks, const std::uint8_t* values, int count,
                           std::uint64_t* equal) const {
#ifdef LIRNO_X86
  if (method_ == Method::kAvx512) {
    wideEqual(table_.data(), p, blocks, values, count, equal);
    return;
  }
  if (method_ == Method::kAvx2) {
    vectorEqual(rows_, p, blocks, values, count, equal);
    return;
  }
#endif
  for (int k = 0; k < blocks; ++k, p += kBlockBytes) {
    for (int i = 0; i < count; ++i) {
      std::uint64_t m = 0;
      for (int j = 0; j < kBlockBytes; ++j) {
        if (table_[p[j]] == values[i]) m |= std::uint64_t{1} << j;
      }
      equal[k * count + i] = m;
    }
  }
}

}  // namespace lirno
