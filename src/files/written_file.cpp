// Recording what the writer writes as the loader's scan would record it.
#include "files/written_file.h"

#include <limits>
#include <new>

#include "platform/block_file.h"
#include "platform/checksum.h"

namespace vintorel {

bool record_written_bytes(written_file& written, const char* bytes, std::size_t count) {
  written.lines.begin_file_lines(0);
  auto on_line = [&written](std::uint64_t length) {
    if (length > written.longest) written.longest = length;
    return length <= std::numeric_limits<std::uint32_t>::max() &&
           written.lines.append_file_line(static_cast<std::uint32_t>(length));
  };
  // Block by block, as the scan reads the file: it records no checksum behind
  // the block where a 0x1A ends the text.
  for (std::size_t at = 0; at < count && !written.scan.stopped;) {
    std::size_t take = count - at < block_file::block_size ? count - at : block_file::block_size;
    try {
      written.block_sums.push_back(block_checksum(bytes + at, take));
    } catch (const std::bad_alloc&) {
      return false;
    }
    if (!scan_bytes(written.scan, bytes + at, take, on_line)) return false;
    if (written.scan.line_length >= std::numeric_limits<std::uint32_t>::max()) return false;
    at += take;
  }
  return true;
}

}  // namespace vintorel
