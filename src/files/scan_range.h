// The loop that reads a file in block-sized chunks for the line-end scan,
// skipping the holes of sparse files; each chunk goes through scan_chunk, which
// records its checksum and feeds the character-set detector. Loading runs it for the first part of a
// file on the calling thread and for the rest on a worker (index_loader), each
// with its own line sink.
#pragma once
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <limits>
#include <vector>

#include "files/charset.h"
#include "files/load_text.h"
#include "files/scan_chunk.h"
#include "platform/block_file.h"
#include "platform/fd_io.h"

namespace vintorel {

// Where the scan of a file stands between chunks.
struct scan_cursor {
  std::uint64_t offset = 0;    // the next byte to read
  std::uint64_t data_end = 0;  // end of the data region that holds `offset`
  std::uint64_t longest = 0;   // the longest line closed so far
};

enum class scan_end {
  done,    // every byte present at open was scanned, or a 0x1A ended the text
  paused,  // keep_going said no after a chunk; the scan can go on from `at`
  failed,  // a read error, a file shorter than at open, a line of 4 GiB or more,
           // a binary file, or exhausted memory
};

namespace scan_range_detail {

// Start of the data at or after `offset` (the end of a hole), at most `size`.
inline std::uint64_t next_data(int fd, std::uint64_t offset, std::uint64_t size) {
  off_t data = lseek(fd, static_cast<off_t>(offset), SEEK_DATA);
  if (data < 0) return errno == ENXIO ? size : offset;  // ENXIO: only a hole is left
  return static_cast<std::uint64_t>(data) < size ? static_cast<std::uint64_t>(data) : size;
}

// End of the data region holding `offset`; the whole file where holes are not reported.
inline std::uint64_t next_hole(int fd, std::uint64_t offset, std::uint64_t size) {
  off_t hole = lseek(fd, static_cast<off_t>(offset), SEEK_HOLE);
  if (hole < 0 || static_cast<std::uint64_t>(hole) <= offset) return size;
  return static_cast<std::uint64_t>(hole) < size ? static_cast<std::uint64_t>(hole) : size;
}

}  // namespace scan_range_detail

// Scans the `size` bytes of the file `fd` from `at` on, in aligned chunks of
// scan_chunk_size (`buffer` holds one), each through scan_chunk. The closed
// lines go to `on_ends` as scan_line_ends hands them on; it keeps at.longest up
// to date and refuses a line of 4 GiB or more or when memory runs out (see
// line_lengths_to, or line_index::append_file_line_ends). Each chunk's checksum
// is appended to `sums`. After each chunk `keep_going()` may pause the scan.
// The open last record stays in `state`.
template <typename Ends, typename KeepGoing>
scan_end scan_range(int fd, std::uint64_t size, scan_cursor& at, scan_state& state, charset_detector* detector,
                    std::vector<std::uint64_t>& sums, char* buffer, Ends&& on_ends, KeepGoing&& keep_going) {
  using namespace scan_range_detail;
  constexpr std::uint64_t longest_allowed = std::numeric_limits<std::uint32_t>::max();
  // Only the bytes present at open are scanned: they are what the block cache
  // will agree to read later. Every chunk is one aligned block of the cache, and
  // its checksum is recorded so that a later read can tell whether the block
  // still holds these bytes.
  static_assert(scan_chunk_size == block_file::block_size);
  while (at.offset < size && !state.stopped) {
    if (at.offset >= at.data_end) {
      // A hole in a sparse file reads as NUL bytes, none of which ends a line:
      // its whole blocks are added to the current record without being read.
      std::uint64_t data = next_data(fd, at.offset, size);
      std::uint64_t skip_to = data - data % block_file::block_size;
      if (skip_to > at.offset) {
        // A hole reads as NUL bytes, which tell the detector the file is binary.
        if (detector) detector->feed("", 1);
        // The first NUL settles a pending CR; the rest only lengthen the record.
        const char zero = 0;
        if (!scan_line_ends(state, &zero, 1, on_ends)) return scan_end::failed;
        state.line_length += skip_to - at.offset - 1;
        if (state.line_length >= longest_allowed ||
            !add_zero_block_sums(sums, (skip_to - at.offset) / block_file::block_size))
          return scan_end::failed;
        at.offset = skip_to;
        continue;
      }
      at.data_end = next_hole(fd, at.offset, size);
    }
    std::uint64_t left = size - at.offset;
    std::size_t want = left < scan_chunk_size ? static_cast<std::size_t>(left) : scan_chunk_size;
    if (!scan_chunk(fd, at.offset, want, buffer, sums, detector, state, on_ends)) return scan_end::failed;
    at.offset += want;
    if (at.offset < size && !state.stopped && !keep_going()) return scan_end::paused;
  }
  // The last record stays open: a CR at its end is part of the last line.
  return state.line_length < longest_allowed ? scan_end::done : scan_end::failed;
}

}  // namespace vintorel
