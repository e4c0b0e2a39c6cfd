// The line-end scan over a chunk of file bytes (included by load_text.h).
//
// The records are exactly those of the byte-by-byte rules: LF ends a line, so
// does CR LF, and a CR not followed by LF ends a line after the CR; 0x1A stops
// the scan and neither it nor anything after it belongs to the text. The bytes
// go through find_line_ends a piece at a time, which lists every line end of
// the piece at once, and the records are closed a list at a time. A CR that
// ends a chunk stays pending until the first byte of the next chunk is known.
#pragma once
#include <cstddef>
#include <cstdint>

#include "files/line_ends.h"

namespace vintorel {

// Bytes handed to find_line_ends at a time: its list of ends lives on the stack.
constexpr std::size_t scan_piece_size = 4096;

template <typename G>
bool scan_line_ends(scan_state& state, const char* data, std::size_t count, G&& on_ends) {
  if (state.stopped || count == 0) return true;
  const std::uint64_t origin = state.line_start + state.line_length;  // file offset of data[0]
  auto fail = [&state] {
    state.line_length = 0;
    return false;
  };
  // A record closed on its own, at data[end].
  auto close_at = [&](std::size_t end) {
    const std::uint32_t none = 0;
    if (!on_ends(state.line_start, origin + end, &none, std::size_t{1})) return false;
    state.line_start = origin + end;
    return true;
  };

  std::size_t at = 0;
  if (state.cr_pending) {
    state.cr_pending = false;
    const std::size_t end = data[0] == '\n' ? 1 : 0;
    if (!close_at(end)) return fail();
    at = end;
  }

  std::uint32_t ends[scan_piece_size + line_ends_slack];
  while (at < count) {
    const std::size_t piece = count - at < scan_piece_size ? count - at : scan_piece_size;
    std::size_t stop;
    const std::size_t found = find_line_ends(data + at, piece, ends, stop);
    if (found > 0) {
      if (!on_ends(state.line_start, origin + at, ends, found)) return fail();
      state.line_start = origin + at + ends[found - 1];
    }
    if (stop < piece) {
      state.stopped = true;
      state.line_length = origin + at + stop - state.line_start;
      return true;
    }
    at += piece;
    if (data[at - 1] == '\r') {
      if (at == count) {
        // Whether this CR is followed by LF is known only with the next chunk.
        state.cr_pending = true;
      } else if (data[at] != '\n' && !close_at(at)) {
        // (Followed by LF, the CR's record ends with that LF, in the next piece.)
        return fail();
      }
    }
  }
  state.line_length = origin + count - state.line_start;
  return true;
}

template <typename F>
bool scan_bytes(scan_state& state, const char* data, std::size_t count, F&& on_line) {
  return scan_line_ends(state, data, count,
                        [&on_line](std::uint64_t start, std::uint64_t base, const std::uint32_t* ends, std::size_t n) {
                          for (std::size_t k = 0; k < n; ++k) {
                            const std::uint64_t end = base + ends[k];
                            if (!on_line(end - start)) return false;
                            start = end;
                          }
                          return true;
                        });
}

}  // namespace vintorel
