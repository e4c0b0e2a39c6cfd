// One chunk of a file through the loading scan: read, checksummed, shown to
// the character set detector, and its lines added to the index.
#pragma once
#include <cstddef>
#include <cstdint>

#include "files/load_text.h"
#include "platform/block_file.h"
#include "text/line_index.h"

namespace vintorel {

struct charset_detector;

// Reads the `count` bytes at `offset` (the next block of the file, at most
// scan_chunk_size) into `buffer`, records the block's checksum in `file`, feeds
// `detector` (when there is one), and appends the lines the bytes close to
// `lines`, leaving the open record in `state`; `longest` grows to the longest
// line. False on a read error or short read, a file detected as binary, a line
// of 4 GiB or more (closed or still open), or exhausted memory.
bool scan_chunk(block_file& file, std::uint64_t offset, std::size_t count, char* buffer, line_index& lines,
                scan_state& state, charset_detector* detector, std::uint64_t& longest);

}  // namespace vintorel
