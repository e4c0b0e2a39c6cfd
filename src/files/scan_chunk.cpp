// The loading scan's work on one chunk of the file.
#include "files/scan_chunk.h"

#include <limits>

#include "files/charset.h"
#include "platform/fd_io.h"

namespace vintorel {

bool scan_chunk(block_file& file, std::uint64_t offset, std::size_t count, char* buffer, line_index& lines,
                scan_state& state, charset_detector* detector, std::uint64_t& longest) {
  if (!read_exactly_at(file.fd, offset, buffer, count) || !add_block_sum(file, buffer, count)) return false;
  if (detector && detector->feed(buffer, count) && detector->charset_code == binary) return false;
  // The index's file lines end where the scan's records start, so the lists of
  // ends go to the index as they are.
  auto on_ends = [&lines, &longest](std::uint64_t, std::uint64_t base, const std::uint32_t* ends, std::size_t n) {
    return lines.append_file_line_ends(base, ends, n, longest);
  };
  if (!scan_line_ends(state, buffer, count, on_ends)) return false;
  return state.line_length < std::numeric_limits<std::uint32_t>::max();
}

}  // namespace vintorel
