// What the writer saw of a file it wrote: the line index and block checksums
// that a scan of the file would give, so that the text can be opened from the
// file again without reading it. They are taken only for the very file the
// writer left: same device, inode, size and modification time.
#pragma once
#include <cstdint>
#include <vector>

#include "files/load_text.h"
#include "text/line_index.h"

namespace vintorel {

struct written_file {
  line_index lines;             // the file lines, the last record not included
  scan_state scan;              // the open last record, as a scan leaves it
  std::uint64_t longest = 0;    // the longest closed record
  std::vector<std::uint64_t> block_sums;  // as the scan records them
  bool usable = false;          // every byte was seen and recorded
  // The file after its last write and sync.
  std::uint64_t size = 0;
  std::uint64_t inode = 0;
  std::uint64_t device = 0;
  std::int64_t mtime_ns = 0;

  written_file() = default;
  written_file(const written_file&) = delete;
  written_file& operator=(const written_file&) = delete;
};

// The recording, each false when memory runs out or the bytes are beyond what
// can be recorded (then `written` is left unusable):
// - the checksums of the next `count` bytes of the file (from offset 0 on, in
//   pieces that end on block boundaries, but for the last);
bool record_block_sums(written_file& written, const char* bytes, std::size_t count);
// - the next bytes, fed to the loader's scan;
bool record_scanned_bytes(written_file& written, const char* bytes, std::size_t count);
// - the next bytes copied from file lines [first, last] of `lines` that follow
//   each other in their file: the scan of that file closed exactly these
//   records, so they are taken as they are. `first_byte` is the first byte of
//   the copy and `last_byte` its last.
bool record_copied_lines(written_file& written, const line_index& lines, std::int32_t first, std::int32_t last,
                         char first_byte, char last_byte);

}  // namespace vintorel
