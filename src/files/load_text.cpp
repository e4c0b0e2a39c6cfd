// Loading a text: path, character set, access state, the line-end scan that
// builds the line index, and the initial cursor position.
#include "files/load_text.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <limits>
#include <memory>
#include <new>

#include "files/charset.h"
#include "files/file_system.h"
#include "files/scan_chunk.h"
#include "files/written_file.h"
#include "platform/fd_io.h"

namespace vintorel {

namespace {

constexpr std::size_t max_name = 255;

// Start of the data at or after `offset` (the end of a hole), at most `size`.
std::uint64_t next_data(int fd, std::uint64_t offset, std::uint64_t size) {
  off_t data = lseek(fd, static_cast<off_t>(offset), SEEK_DATA);
  if (data < 0) return errno == ENXIO ? size : offset;  // ENXIO: only a hole is left
  return static_cast<std::uint64_t>(data) < size ? static_cast<std::uint64_t>(data) : size;
}

// End of the data region holding `offset`; the whole file where holes are not reported.
std::uint64_t next_hole(int fd, std::uint64_t offset, std::uint64_t size) {
  off_t hole = lseek(fd, static_cast<off_t>(offset), SEEK_HOLE);
  if (hole < 0 || static_cast<std::uint64_t>(hole) <= offset) return size;
  return static_cast<std::uint64_t>(hole) < size ? static_cast<std::uint64_t>(hole) : size;
}

// Feeds `count` NUL bytes to the scan: the first settles a pending CR, the rest
// only lengthen the record.
template <typename F>
bool skip_zeros(scan_state& state, std::uint64_t count, F& on_line) {
  const char zero = 0;
  if (!scan_bytes(state, &zero, 1, on_line)) return false;
  state.line_length += count - 1;
  return state.line_length < std::numeric_limits<std::uint32_t>::max();
}

// Builds the index of file lines and returns the open last record in `state`.
// False on a read error, a file shorter than its size at open, a line too long
// for a 32-bit length, or exhausted memory.
bool scan_file(block_file& file, line_index& lines, scan_state& state, charset_detector* detector,
               std::uint64_t& longest) {
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[scan_chunk_size]);
  if (!buffer) return false;
  lines.begin_file_lines(0);
  posix_fadvise(file.fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  auto on_line = [&lines, &longest](std::uint64_t length) {
    if (length > longest) longest = length;
    return length <= std::numeric_limits<std::uint32_t>::max() &&
           lines.append_file_line(static_cast<std::uint32_t>(length));
  };
  // Only the bytes present at open are scanned: they are what the block cache
  // will agree to read later. Every chunk is one aligned block of the cache, and
  // its checksum is recorded so that a later read can tell whether the block
  // still holds these bytes.
  static_assert(scan_chunk_size == block_file::block_size);
  std::uint64_t offset = 0;
  std::uint64_t data_end = 0;  // end of the data region that holds `offset`
  while (offset < file.size && !state.stopped) {
    if (offset >= data_end) {
      // A hole in a sparse file reads as NUL bytes, none of which ends a line:
      // its whole blocks are added to the current record without being read.
      std::uint64_t data = next_data(file.fd, offset, file.size);
      std::uint64_t skip_to = data - data % block_file::block_size;
      if (skip_to > offset) {
        // A hole reads as NUL bytes, which tell the detector the file is binary.
        if (detector) detector->feed("", 1);
        if (!skip_zeros(state, skip_to - offset, on_line) ||
            !add_zero_block_sums(file, (skip_to - offset) / block_file::block_size))
          return false;
        offset = skip_to;
        continue;
      }
      data_end = next_hole(file.fd, offset, file.size);
    }
    std::uint64_t left = file.size - offset;
    std::size_t want = left < scan_chunk_size ? static_cast<std::size_t>(left) : scan_chunk_size;
    if (!scan_chunk(file, offset, want, buffer.get(), lines, state, detector, longest)) return false;
    offset += want;
  }
  // The last record stays open: a CR at its end is part of the last line.
  return state.line_length < std::numeric_limits<std::uint32_t>::max();
}

// The last line in memory: its bytes from the file, converted, then 0x1A.
bool append_last_line(text_document& document, const scan_state& state) {
  byte_string text;
  try {
    text.resize(static_cast<std::size_t>(state.line_length));
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!text.empty() && !read_at(document.file, state.line_start, text.data(), text.size())) return false;
  try {
    decode_in_place(text, document.file_charset);
    text.push_back(static_cast<char>(0x1A));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return document.lines.append_memory_line(std::move(text));
}

bool is_written_file(const block_file& file, const written_file& written) {
  return file.size == written.size && file.inode == written.inode && file.device == written.device &&
         file.mtime_ns == written.mtime_ns;
}

int access_state(const std::string& path, bool read_only) {
  if (read_only) return read_only_state;
  std::string attributes;
  if (!get_attribute_string(path, attributes)) return read_only_state;
  return attributes.compare(0, 3, "---") == 0 ? unchanged_state : read_only_state;
}

}  // namespace

void load_text_file(text_document& document, const std::string& path, bool read_only,
                    std::int32_t top_line, std::int32_t left_column, std::int32_t current_line,
                    std::int32_t desired_column, charset charset_code, linefeed_kind linefeed_code,
                    std::int32_t pane_rows, bool guess_utf8_euc, written_file* written) {
  document.destroy();  // leaves state 3 until the load succeeds
  document.block_state = block_kind::none;
  document.block_backward = false;

  std::string full = path;
  if (full.empty() || full[0] != '/') full = executable_directory() + full;
  // A longer path is refused rather than cut: a cut path names another file,
  // and saving would write there.
  if (full.size() > max_name) return;
  document.name = full;

  // Opened first: only a regular file opens, so the detector below never
  // meets a FIFO or a device that would block it.
  if (!open_block_file(document.file, full)) return;
  document.size = static_cast<std::int64_t>(document.file.size);

  // Detection reads the blocks the scan reads, so it costs no pass of its own.
  charset_detector detector(guess_utf8_euc);
  document.file_charset = charset_code;
  document.file_linefeed = linefeed_code;
  int state = access_state(full, read_only);

  scan_state scan;
  std::uint64_t longest = 0;
  bool scanned;
  if (written && written->usable && charset_code != unknown_charset && is_written_file(document.file, *written)) {
    // The writer saw every byte of this very file: its records are the scan's.
    document.lines.swap(written->lines);
    document.file.block_sums.swap(written->block_sums);
    scan = written->scan;
    longest = written->longest;
    written->usable = false;
    scanned = true;
  } else {
    scanned = scan_file(document.file, document.lines, scan, charset_code == unknown_charset ? &detector : nullptr, longest);
  }
  // A line too long to edit is still shown and saved: the text opens read-only.
  if (longest > max_line_bytes || scan.line_length > max_line_bytes) {
    state = read_only_state;
    document.has_overlong_line = true;
  }
  if (charset_code == unknown_charset) detector.finish(document.file_charset, document.file_linefeed);
  document.save_charset = document.file_charset;
  document.save_linefeed = document.file_linefeed;
  if (!scanned || !append_last_line(document, scan) ||
      !block_file_unchanged(document.file)) {
    // A file that changed while it was scanned gives an index that fits neither
    // version of it.
    document.lines.clear();
    close_block_file(document.file);
    return;
  }
  document.lines.compact();
  document.last_line_offset = scan.line_start;
  document.last_line_length = scan.line_length;

  std::int32_t count = document.lines.size();
  if (current_line < 0) current_line = 0;
  if (current_line >= count) {
    current_line = count - 1;
    top_line = count - pane_rows;
    if (top_line < 0) top_line = 0;
  }
  document.top_line = top_line;
  document.left_column = left_column;
  document.current_line = current_line;
  document.desired_column = desired_column;
  document.previous_line = document.mark_line = current_line;
  document.mark_column = desired_column;
  document.column = document.position = document.end_column = 0;
  document.anchor_line = document.anchor_position = 0;
  document.state = state;
}

}  // namespace vintorel
