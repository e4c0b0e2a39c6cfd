// Loading a text: the scan that builds the line index from a file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "text/text_document.h"

namespace vintorel {

// Fills `document` from the file at `path`. unknown_charset asks for detection
// (with the "detect UTF8" guesses when `guess_utf8_euc`), done on the blocks the
// scan reads; a file detected as binary is not loaded (state 3, file_charset
// binary). linefeed_code counts only when charset_code is not 0. `pane_rows` is the number
// of text rows of the pane the text will be shown in (for the initial position).
// A relative path is taken from the executable's directory. Afterwards
// document.state is 3 when loading failed (it is 0, read-only, with
// has_overlong_line set, when a line is too long to edit): the file is missing or not a regular
// file, cannot be read, changed while it was scanned, has a line of 4 GiB or
// more, or its full path is longer than 255 bytes (refused rather than cut,
// since a cut path names another file).
//
// `written` (from saving the file just before) gives the index the writer
// recorded; it is taken instead of a scan when the file at `path` is still the
// one written (same device, inode, size and time) and the character set is
// given, and it is left empty then.
//
// With `rest`, a file of at least rest->whole_below bytes is shown before it is
// wholly indexed: load_text_file returns once the first rest->first_part bytes
// and the lines up to the initial position and a screen below it are indexed,
// and a worker thread scans the rest (rest->loader; see index_loader.h).
// Meanwhile the last line is a stand-in holding only 0x1A, loading_percent is
// not -1, and the character set and line end are the detector's guess from the
// part scanned.
struct written_file;
struct index_loader;
struct background_load {
  std::uint64_t whole_below = std::uint64_t{8} << 20;
  std::uint64_t first_part = std::uint64_t{1} << 20;
  std::unique_ptr<index_loader> loader;  // set when a worker scans the rest
  background_load();
  ~background_load();
};
void load_text_file(text_document& document, const std::string& path, bool read_only,
                    std::int32_t top_line, std::int32_t left_column, std::int32_t current_line,
                    std::int32_t desired_column, charset charset_code, linefeed_kind linefeed_code,
                    std::int32_t pane_rows = 1, bool guess_utf8_euc = true, written_file* written = nullptr,
                    background_load* rest = nullptr);

// The file is read for the scan in chunks of this many bytes.
constexpr std::size_t scan_chunk_size = 65536;

// The scan over bytes already read: calls `on_line(length)` for each line ending
// in LF, CR LF or a lone CR; the text ends before the first 0x1A (then `stopped`
// is set and later bytes are ignored). When all bytes are fed, the open record
// (line_start, line_length) is the last line, a final CR included. Used by
// load_text_file chunk by chunk; exposed for tests, fuzzing and benchmarks.
struct scan_state {
  std::uint64_t line_start = 0;   // file offset of the current record
  std::uint64_t line_length = 0;  // bytes in the current record so far
  bool cr_pending = false;
  bool stopped = false;           // a 0x1A was met
};
// Feeds `count` bytes (at file offset state.line_start + state.line_length);
// `on_line` receives each closed record's length and returns false to abort
// (then scan_bytes returns false).
template <typename F>
bool scan_bytes(scan_state& state, const char* data, std::size_t count, F&& on_line);
// The same, a list of records at a time: `on_ends(start, base, ends, n)` closes
// n records, the first starting at file offset `start`, the k-th ending at
// base + ends[k]; it returns false to abort. scan_bytes is this with one call
// of on_line per record.
template <typename G>
bool scan_line_ends(scan_state& state, const char* data, std::size_t count, G&& on_ends);

// Ends a load once the whole file was scanned (`scanned` false: the scan
// failed): the line-end kind and character set from the detector when one was
// fed, the last line read into memory, and the check that the file did not
// change meanwhile. False, with the lines dropped and the file closed, when the
// text cannot be loaded; `state` becomes read-only for a line too long to edit.
struct charset_detector;
bool end_load(text_document& document, bool scanned, const scan_state& scan, std::uint64_t longest,
              charset_detector* detector, int& state);

}  // namespace vintorel

#include "files/scan_impl.h"
