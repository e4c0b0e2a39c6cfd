// Line ends 64 bytes at a time: each window of 64 bytes is compared once and
// gives three bit masks (LF, CR, 0x1A); the line ends are read off the masks
// without going back to the bytes, so a short line costs a few instructions and
// no restart of the vector search. The processor's widest compare (AVX-512,
// AVX2 or SSE2) is picked once at run time.
#include "files/line_ends.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VINTOREL_X86 1
#endif

namespace vintorel {

namespace {

// The helpers are inlined into each vector loop, whose instructions they then use.
#define VINTOREL_INLINE inline __attribute__((always_inline))

struct window_masks {
  std::uint64_t lf = 0, cr = 0, eot = 0;
};

window_masks portable_masks(const char* p) {
  window_masks m;
  for (int i = 0; i < 64; ++i) {
    const std::uint64_t bit = std::uint64_t{1} << i;
    if (p[i] == '\n') m.lf |= bit;
    if (p[i] == '\r') m.cr |= bit;
    if (p[i] == '\x1A') m.eot |= bit;
  }
  return m;
}

// Appends base + i for every set bit i, lowest first.
VINTOREL_INLINE void emit_each(std::uint64_t bits, std::uint32_t base, std::uint32_t*& out) {
  while (bits != 0) {
    *out++ = base + static_cast<std::uint32_t>(__builtin_ctzll(bits));
    bits &= bits - 1;
  }
}

// The same without a branch per end for the usual window of up to two ends:
// two entries are written whatever the count (hence line_ends_slack).
VINTOREL_INLINE void emit_two_then_each(std::uint64_t bits, std::uint32_t base, std::uint32_t*& out) {
  const int count = __builtin_popcountll(bits);
  // The top bit keeps ctz defined once the bits run out; those entries are spare.
  constexpr std::uint64_t top = std::uint64_t{1} << 63;
  out[0] = base + static_cast<std::uint32_t>(__builtin_ctzll(bits | top));
  bits &= bits - 1;
  out[1] = base + static_cast<std::uint32_t>(__builtin_ctzll(bits | top));
  bits &= bits - 1;
  if (count > 2) {
    std::uint32_t* rest = out + 2;
    emit_each(bits, base, rest);
  }
  out += count;
}

// The line ends of the window at data[at, at + 64), given its masks (bytes
// past `count` read as 0). False when a 0x1A stops the scan; `stop` is set then.
template <bool unrolled>
VINTOREL_INLINE bool take_window(const window_masks& m, const char* data, std::size_t at, std::size_t count,
                                 std::uint32_t*& out, std::size_t& stop) {
  // A LF ends a line; so does a CR whose next byte is not a LF.
  std::uint64_t ends = m.lf | (m.cr & ~(m.lf >> 1));
  constexpr std::uint64_t top = std::uint64_t{1} << 63;
  if (count - at > 64) {
    // The byte after a CR in the window's last place is the next window's first.
    if ((m.cr & top) != 0 && data[at + 64] == '\n') ends &= ~top;
  } else {
    // A CR as the very last byte waits for bytes not given here.
    const std::uint64_t last = std::uint64_t{1} << (count - 1 - at);
    if ((m.cr & last) != 0) ends &= ~last;
  }
  const auto base = static_cast<std::uint32_t>(at + 1);
  if (m.eot != 0) {
    // Only ends before the 0x1A count (a CR right before it does end a line).
    const int first = __builtin_ctzll(m.eot);
    emit_each(ends & ((std::uint64_t{1} << first) - 1), base, out);
    stop = at + static_cast<std::size_t>(first);
    return false;
  }
  if (unrolled)
    emit_two_then_each(ends, base, out);
  else
    emit_each(ends, base, out);
  return true;
}

std::size_t portable_line_ends(const char* data, std::size_t count, std::uint32_t* ends, std::size_t& stop) {
  std::uint32_t* out = ends;
  for (std::size_t at = 0; at < count; at += 64) {
    char window[64] = {};
    std::memcpy(window, data + at, count - at < 64 ? count - at : 64);
    if (!take_window<false>(portable_masks(window), data, at, count, out, stop))
      return static_cast<std::size_t>(out - ends);
  }
  stop = count;
  return static_cast<std::size_t>(out - ends);
}

#if defined(VINTOREL_X86) && defined(__SSE2__)

VINTOREL_INLINE std::uint64_t sse2_bits(__m128i a, __m128i b, __m128i c, __m128i d, __m128i byte) {
  auto bits = [byte](__m128i v) {
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, byte))));
  };
  return bits(a) | bits(b) << 16 | bits(c) << 32 | bits(d) << 48;
}

VINTOREL_INLINE window_masks sse2_masks(const char* p) {
  const auto* v = reinterpret_cast<const __m128i*>(p);
  const __m128i a = _mm_loadu_si128(v), b = _mm_loadu_si128(v + 1);
  const __m128i c = _mm_loadu_si128(v + 2), d = _mm_loadu_si128(v + 3);
  window_masks m;
  m.lf = sse2_bits(a, b, c, d, _mm_set1_epi8(0x0A));
  m.cr = sse2_bits(a, b, c, d, _mm_set1_epi8(0x0D));
  const __m128i eot = _mm_set1_epi8(0x1A);
  // 0x1A is rare: one test for the window, its place only when it is there.
  const __m128i any = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(a, eot), _mm_cmpeq_epi8(b, eot)),
                                   _mm_or_si128(_mm_cmpeq_epi8(c, eot), _mm_cmpeq_epi8(d, eot)));
  if (_mm_movemask_epi8(any) != 0) m.eot = sse2_bits(a, b, c, d, eot);
  return m;
}

std::size_t sse2_line_ends(const char* data, std::size_t count, std::uint32_t* ends, std::size_t& stop) {
  std::uint32_t* out = ends;
  std::size_t at = 0;
  for (; at + 64 <= count; at += 64)
    if (!take_window<false>(sse2_masks(data + at), data, at, count, out, stop))
      return static_cast<std::size_t>(out - ends);
  if (at < count) {
    char window[64] = {};
    std::memcpy(window, data + at, count - at);
    if (!take_window<false>(sse2_masks(window), data, at, count, out, stop))
      return static_cast<std::size_t>(out - ends);
  }
  stop = count;
  return static_cast<std::size_t>(out - ends);
}

#define VINTOREL_AVX2 __attribute__((target("avx2,bmi,popcnt")))

VINTOREL_AVX2 VINTOREL_INLINE std::uint64_t avx2_bits(__m256i a, __m256i b, __m256i byte) {
  return static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(a, byte)))) |
         static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(b, byte))))
             << 32;
}

VINTOREL_AVX2 VINTOREL_INLINE window_masks avx2_masks(const char* p) {
  const auto* v = reinterpret_cast<const __m256i*>(p);
  const __m256i a = _mm256_loadu_si256(v), b = _mm256_loadu_si256(v + 1);
  window_masks m;
  m.lf = avx2_bits(a, b, _mm256_set1_epi8(0x0A));
  m.cr = avx2_bits(a, b, _mm256_set1_epi8(0x0D));
  const __m256i eot = _mm256_set1_epi8(0x1A);
  const __m256i any = _mm256_or_si256(_mm256_cmpeq_epi8(a, eot), _mm256_cmpeq_epi8(b, eot));
  if (!_mm256_testz_si256(any, any)) m.eot = avx2_bits(a, b, eot);
  return m;
}

VINTOREL_AVX2 std::size_t avx2_line_ends(const char* data, std::size_t count, std::uint32_t* ends,
                                         std::size_t& stop) {
  std::uint32_t* out = ends;
  std::size_t at = 0;
  for (; at + 64 <= count; at += 64)
    if (!take_window<true>(avx2_masks(data + at), data, at, count, out, stop))
      return static_cast<std::size_t>(out - ends);
  if (at < count) {
    char window[64] = {};
    std::memcpy(window, data + at, count - at);
    if (!take_window<true>(avx2_masks(window), data, at, count, out, stop))
      return static_cast<std::size_t>(out - ends);
  }
  stop = count;
  return static_cast<std::size_t>(out - ends);
}

// AVX-512 compares a whole window at once, straight into 64-bit masks; the tail
// is read with a masked load, so it needs no copy.
#define VINTOREL_AVX512 __attribute__((target("avx512f,avx512bw,bmi,popcnt")))

VINTOREL_AVX512 VINTOREL_INLINE window_masks avx512_masks(__m512i v) {
  window_masks m;
  m.lf = _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(0x0A));
  m.cr = _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(0x0D));
  m.eot = _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(0x1A));
  return m;
}

VINTOREL_AVX512 std::size_t avx512_line_ends(const char* data, std::size_t count, std::uint32_t* ends,
                                             std::size_t& stop) {
  std::uint32_t* out = ends;
  std::size_t at = 0;
  for (; at + 64 <= count; at += 64)
    if (!take_window<true>(avx512_masks(_mm512_loadu_si512(data + at)), data, at, count, out, stop))
      return static_cast<std::size_t>(out - ends);
  if (at < count) {
    const __mmask64 present = (std::uint64_t{1} << (count - at)) - 1;
    if (!take_window<true>(avx512_masks(_mm512_maskz_loadu_epi8(present, data + at)), data, at, count, out, stop))
      return static_cast<std::size_t>(out - ends);
  }
  stop = count;
  return static_cast<std::size_t>(out - ends);
}

#endif

using line_end_finder = std::size_t (*)(const char*, std::size_t, std::uint32_t*, std::size_t&);

line_end_finder finder_for(vector_way way) {
#if defined(VINTOREL_X86) && defined(__SSE2__)
  if (!vector_way_available(way)) way = vector_way::portable;
  if (way == vector_way::avx512) return avx512_line_ends;
  if (way == vector_way::avx2) return avx2_line_ends;
  if (way == vector_way::sse2) return sse2_line_ends;
#endif
  (void)way;
  return portable_line_ends;
}

}  // namespace

std::size_t find_line_ends_by(vector_way way, const char* data, std::size_t count, std::uint32_t* ends,
                              std::size_t& stop) {
  return finder_for(way)(data, count, ends, stop);
}

std::size_t find_line_ends(const char* data, std::size_t count, std::uint32_t* ends, std::size_t& stop) {
  static const line_end_finder best = finder_for(best_vector_way());
  return best(data, count, ends, stop);
}

}  // namespace vintorel
