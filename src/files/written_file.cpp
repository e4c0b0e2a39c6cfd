// Recording what the writer writes as the loader's scan would record it.
#include "files/written_file.h"

#include <limits>
#include <new>

#include "platform/block_file.h"
#include "platform/checksum.h"

namespace vintorel {

namespace {

bool close_record(written_file& written, std::uint64_t length) {
  if (length > written.longest) written.longest = length;
  return length <= std::numeric_limits<std::uint32_t>::max() &&
         written.lines.append_file_line(static_cast<std::uint32_t>(length));
}

}  // namespace

bool record_block_sums(written_file& written, const char* bytes, std::size_t count) {
  for (std::size_t at = 0; at < count;) {
    std::size_t take = count - at < block_file::block_size ? count - at : block_file::block_size;
    try {
      written.block_sums.push_back(block_checksum(bytes + at, take));
    } catch (const std::bad_alloc&) {
      return false;
    }
    at += take;
  }
  return true;
}

bool record_scanned_bytes(written_file& written, const char* bytes, std::size_t count) {
  written.lines.begin_file_lines(0);
  if (!scan_bytes(written.scan, bytes, count, [&written](std::uint64_t length) { return close_record(written, length); }))
    return false;
  // A 0x1A ends the text for the scan, which then records no checksum behind
  // its block; such a file is left to the scan.
  return !written.scan.stopped && written.scan.line_length < std::numeric_limits<std::uint32_t>::max();
}

bool record_copied_lines(written_file& written, const line_index& lines, std::int32_t first, std::int32_t last,
                         char first_byte, char last_byte) {
  written.lines.begin_file_lines(0);
  scan_state& scan = written.scan;
  if (scan.stopped || (scan.line_length != 0 && !scan.cr_pending)) return false;
  std::int32_t line = first;
  if (scan.cr_pending) {
    // As the scan settles a CR that ended the bytes before: a LF right after
    // it belongs to its record, and then that LF is the whole first line.
    scan.cr_pending = false;
    std::uint64_t length = scan.line_length + (first_byte == '\n' ? 1 : 0);
    if (!close_record(written, length)) return false;
    scan.line_start += length;
    scan.line_length = 0;
    if (first_byte == '\n') {
      if (lines.length(first) != 1) return false;
      ++line;
    }
  }
  if (line > last) return true;
  // A final lone CR waits, as in the scan, for the byte behind it.
  const bool cr_waits = last_byte == '\r';
  const std::int32_t closed = cr_waits ? last - 1 : last;
  if (!written.lines.append_file_lines_like(lines, line, closed, written.longest)) return false;
  scan.line_start = written.lines.file_lines_end();
  if (cr_waits) {
    scan.line_length = lines.length(last);
    scan.cr_pending = true;
  }
  return true;
}

}  // namespace vintorel
