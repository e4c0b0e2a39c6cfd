// Loading a text: path, character set, access state, the line-end scan that
// builds the line index (or its first part, when a worker goes on with the
// rest), and the initial cursor position.
#include "files/load_text.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <new>

#include "files/charset.h"
#include "files/file_system.h"
#include "files/index_loader.h"
#include "files/scan_range.h"
#include "files/written_file.h"
#include "platform/fd_io.h"

namespace vintorel {

namespace {

constexpr std::size_t max_name = 255;

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

background_load::background_load() = default;
background_load::~background_load() = default;

bool end_load(text_document& document, bool scanned, const scan_state& scan, std::uint64_t longest,
              charset_detector* detector, int& state) {
  // A line too long to edit is still shown and saved: the text opens read-only.
  if (longest > max_line_bytes || scan.line_length > max_line_bytes) {
    state = read_only_state;
    document.has_overlong_line = true;
  }
  if (detector) detector->finish(document.file_charset, document.file_linefeed);
  document.save_charset = document.file_charset;
  document.save_linefeed = document.file_linefeed;
  if (!scanned || !append_last_line(document, scan) || !block_file_unchanged(document.file)) {
    // A file that changed while it was scanned gives an index that fits neither
    // version of it.
    document.lines.clear();
    close_block_file(document.file);
    return false;
  }
  document.lines.compact();
  document.last_line_offset = scan.line_start;
  document.last_line_length = scan.line_length;
  return true;
}

void load_text_file(text_document& document, const std::string& path, bool read_only,
                    std::int32_t top_line, std::int32_t left_column, std::int32_t current_line,
                    std::int32_t desired_column, charset charset_code, linefeed_kind linefeed_code,
                    std::int32_t pane_rows, bool guess_utf8_euc, written_file* written, background_load* rest) {
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
  scan_cursor at;
  scan_end end = scan_end::failed;
  if (written && written->usable && charset_code != unknown_charset && is_written_file(document.file, *written)) {
    // The writer saw every byte of this very file: its records are the scan's.
    document.lines.swap(written->lines);
    document.file.block_sums.swap(written->block_sums);
    scan = written->scan;
    at.longest = written->longest;
    written->usable = false;
    end = scan_end::done;
  } else if (std::unique_ptr<char[]> buffer{new (std::nothrow) char[scan_chunk_size]}) {
    document.lines.begin_file_lines(0);
    posix_fadvise(document.file.fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    // A large file is shown once its first part and the lines of the first
    // screen are indexed; a worker scans the rest.
    bool in_background = rest && document.file.size >= rest->whole_below;
    std::int64_t needed = static_cast<std::int64_t>(std::max(top_line, current_line)) + pane_rows + 1;
    end = scan_range(
        document.file.fd, document.file.size, at, scan, charset_code == unknown_charset ? &detector : nullptr,
        document.file.block_sums, buffer.get(),
        // The index's file lines end where the scan's records start, so the
        // lists of line ends go to it as they are.
        [&document, &at](std::uint64_t, std::uint64_t base, const std::uint32_t* ends, std::size_t n) {
          return document.lines.append_file_line_ends(base, ends, n, at.longest);
        },
        [&] { return !in_background || at.offset < rest->first_part || document.lines.size() <= needed; });
  }
  if (end == scan_end::paused) {
    if (!start_index_loader(document, *rest, at, scan, charset_code == unknown_charset ? &detector : nullptr)) {
      document.lines.clear();
      close_block_file(document.file);
      return;
    }
  } else if (!end_load(document, end == scan_end::done, scan, at.longest,
                       charset_code == unknown_charset ? &detector : nullptr, state)) {
    return;
  }

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
