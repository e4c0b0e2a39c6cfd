// The line-end scan over a chunk of file bytes (included by load_text.h).
//
// The records are exactly those of the byte-by-byte rules: LF ends a line, so
// does CR LF, and a CR not followed by LF ends a line after the CR; 0x1A stops
// the scan and neither it nor anything after it belongs to the text. Instead of
// looking at every byte, the scan finds the next CR, LF or 0x1A sixteen bytes at
// a time with SSE2 and handles only those bytes. A CR that ends a chunk stays
// pending until the first byte of the next chunk is known.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vintorel {

namespace scan_detail {

inline bool is_event(unsigned char b) { return b == 0x0A || b == 0x0D || b == 0x1A; }

// Offset of the first CR, LF or 0x1A in data[from, count), or count.
inline std::size_t next_event(const char* data, std::size_t from, std::size_t count) {
  std::size_t at = from;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8(0x0D);
  const __m128i lf = _mm_set1_epi8(0x0A);
  const __m128i eot = _mm_set1_epi8(0x1A);
  // Four vectors per round keep the loop branch rare on long lines.
  while (at + 64 <= count) {
    const __m128i* p = reinterpret_cast<const __m128i*>(data + at);
    __m128i a = _mm_loadu_si128(p), b = _mm_loadu_si128(p + 1);
    __m128i c = _mm_loadu_si128(p + 2), d = _mm_loadu_si128(p + 3);
    __m128i ma = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(a, cr), _mm_cmpeq_epi8(a, lf)), _mm_cmpeq_epi8(a, eot));
    __m128i mb = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(b, cr), _mm_cmpeq_epi8(b, lf)), _mm_cmpeq_epi8(b, eot));
    __m128i mc = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(c, cr), _mm_cmpeq_epi8(c, lf)), _mm_cmpeq_epi8(c, eot));
    __m128i md = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(d, cr), _mm_cmpeq_epi8(d, lf)), _mm_cmpeq_epi8(d, eot));
    std::uint64_t mask = static_cast<std::uint32_t>(_mm_movemask_epi8(ma)) |
                         static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(mb))) << 16 |
                         static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(mc))) << 32 |
                         static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(md))) << 48;
    if (mask != 0) return at + static_cast<std::size_t>(__builtin_ctzll(mask));
    at += 64;
  }
  while (at + 16 <= count) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    __m128i m = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(a, cr), _mm_cmpeq_epi8(a, lf)), _mm_cmpeq_epi8(a, eot));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(m));
    if (mask != 0) return at + static_cast<std::size_t>(__builtin_ctz(mask));
    at += 16;
  }
#endif
  while (at < count && !is_event(static_cast<unsigned char>(data[at]))) ++at;
  return at;
}

}  // namespace scan_detail

template <typename F>
bool scan_bytes(scan_state& state, const char* data, std::size_t count, F&& on_line) {
  if (state.stopped || count == 0) return true;
  // Bytes of the current record before data[segment] (from earlier chunks).
  std::uint64_t carried = state.line_length;
  std::size_t segment = 0;
  std::size_t at = 0;

  auto close = [&](std::size_t end) -> bool {
    std::uint64_t length = carried + (end - segment);
    carried = 0;
    segment = end;
    if (!on_line(length)) return false;
    state.line_start += length;
    return true;
  };

  if (state.cr_pending) {
    state.cr_pending = false;
    std::size_t end = data[0] == '\n' ? 1 : 0;
    if (!close(end)) {
      state.line_length = 0;
      return false;
    }
    at = end;
  }

  for (;;) {
    at = scan_detail::next_event(data, at, count);
    if (at == count) break;
    std::size_t end;
    if (data[at] == '\n') {
      end = at + 1;
    } else if (data[at] == '\r') {
      if (at + 1 == count) {
        // Whether this CR is followed by LF is known only with the next chunk.
        state.cr_pending = true;
        break;
      }
      end = data[at + 1] == '\n' ? at + 2 : at + 1;
    } else {
      state.stopped = true;
      state.line_length = carried + (at - segment);
      return true;
    }
    if (!close(end)) {
      state.line_length = 0;
      return false;
    }
    at = end;
  }
  state.line_length = carried + (count - segment);
  return true;
}

}  // namespace vintorel
