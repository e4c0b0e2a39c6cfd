// One chunk of a file through the loading scan: read, checksummed, shown to
// the character set detector, and its line ends handed on. Both the part of a
// load on the calling thread and the worker that scans the rest run it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "files/charset.h"
#include "files/load_text.h"
#include "platform/block_file.h"
#include "platform/fd_io.h"

namespace vintorel {

// Reads the `count` bytes at `offset` of `fd` (the next block of the file, at
// most scan_chunk_size) into `buffer`, appends the block's checksum to `sums`,
// feeds `detector` (when there is one), and scans the bytes, handing the lines
// they close to `on_ends` as scan_line_ends does; the open record stays in
// `state`. False on a read error or short read, a file detected as binary, an
// open record of 4 GiB or more, exhausted memory, or when on_ends refuses.
template <typename G>
bool scan_chunk(int fd, std::uint64_t offset, std::size_t count, char* buffer, std::vector<std::uint64_t>& sums,
                charset_detector* detector, scan_state& state, G&& on_ends) {
  if (!read_exactly_at(fd, offset, buffer, count) || !add_block_sum(sums, buffer, count)) return false;
  if (detector && detector->feed(buffer, count) && detector->charset_code == binary) return false;
  if (!scan_line_ends(state, buffer, count, on_ends)) return false;
  return state.line_length < std::numeric_limits<std::uint32_t>::max();
}

// A sink for scan_line_ends that gives each closed line's length to
// `append_line(std::uint32_t)` (false when memory runs out) and keeps `longest`
// up to date; it refuses a line of 4 GiB or more.
template <typename Append>
auto line_lengths_to(std::uint64_t& longest, Append& append_line) {
  return [&longest, &append_line](std::uint64_t start, std::uint64_t base, const std::uint32_t* ends, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) {
      const std::uint64_t end = base + ends[k];
      const std::uint64_t length = end - start;
      if (length > longest) longest = length;
      if (length > std::numeric_limits<std::uint32_t>::max() || !append_line(static_cast<std::uint32_t>(length)))
        return false;
      start = end;
    }
    return true;
  };
}

}  // namespace vintorel
