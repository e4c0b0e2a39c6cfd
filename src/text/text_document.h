// One open text: its file-backed line index, cursor, marks and block, and the
// current-line buffer that holds the line being edited.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/block_file.h"
#include "platform/byte_string.h"
#include "platform/charsets.h"
#include "text/line_index.h"

namespace vintorel {

// State codes of a text.
enum text_state : int { read_only_state = 0, unchanged_state = 1, modified_state = 2, failed_state = 3 };

// What a block selection covers: nothing, whole lines from the anchor line to
// the cursor line, or the characters between the anchor and the cursor.
enum class block_kind : int { none = 0, lines = 1, characters = 2 };

// The longest line the text model edits. Positions and columns are 32-bit, and
// joining two lines of this length still fits them; a longer line is shown and
// saved but not edited (a text holding one opens read-only).
constexpr std::size_t max_line_bytes = (std::size_t{1} << 30) - 4096;

// Gives a line fetched from a file of line-end kind `file_linefeed` the internal
// CR LF (see fetch_line).
void normalise_line_end(byte_string& line, linefeed_kind file_linefeed);

struct text_document {
  std::int64_t size = 0;          // bytes of the text in the internal form; -1 unknown
  charset file_charset = shift_jis;
  charset save_charset = shift_jis;
  linefeed_kind file_linefeed = crlf;
  linefeed_kind save_linefeed = crlf;
  block_file file;                // open while the text exists; closed for new texts
  int state = failed_state;
  line_index lines;
  std::int32_t top_line = 0;
  std::int32_t left_column = 0;
  std::int32_t current_line = 0;
  std::int32_t column = 0;
  std::int32_t previous_line = 0;
  std::int32_t mark_line = 0;
  std::unique_ptr<line_record> current;  // the current-line buffer, or null
  std::int32_t position = 0;
  std::int32_t desired_column = 0;
  std::int32_t end_column = 0;
  std::int32_t mark_column = 0;
  block_kind block_state = block_kind::none;
  bool block_backward = false;
  std::int32_t anchor_line = 0;
  std::int32_t anchor_position = 0;
  std::string name;               // full path, at most 255 bytes
  // The file bytes of the last line (which lives in memory), so that saving can
  // write it back as it was read when it was not edited.
  std::uint64_t last_line_offset = 0;
  std::uint64_t last_line_length = 0;
  bool has_overlong_line = false;  // a line longer than max_line_bytes made the text read-only
  // While the rest of the file is still being indexed: the share of it scanned
  // so far (0-99), and the last line is a stand-in holding only 0x1A. -1 once
  // the index is whole.
  int loading_percent = -1;

  // Called after a commit changed the text (the window refreshes its title and
  // list of texts). Empty by default.
  void (*on_modified)(text_document&) = nullptr;

  text_document() = default;
  text_document(const text_document&) = delete;
  text_document& operator=(const text_document&) = delete;
  ~text_document() { destroy(); }

  std::int32_t line_count() const;
  // The internal form of line `index` (terminator included) into `out`; the
  // stored version, never the current-line buffer. False when there is no such
  // line or the file could not be read.
  bool fetch_line(std::int32_t index, byte_string& out);
  // Fills the current-line buffer from line current_line and places the cursor
  // by desired_column; a buffer still held is dropped (commit it first). On
  // failure `current` is null.
  bool load_current_line(int tab_size);
  // Puts a changed buffer in place of its line (state 2, on_modified); never
  // fails for a valid current_line, so an edit is not lost here.
  void commit_current_line();
  // True when the buffer differs from the stored line, and also when the stored
  // line can no longer be read (the file changed on the disk): the buffer is
  // then the only copy and is kept by the commit.
  bool is_line_changed();
  bool is_modified();
  void create_empty(const std::string& new_name);
  void destroy();

  // Line index edits for the text model: these keep the index consistent and own
  // the text; they do not touch `size` or `state`.
  bool insert_line(std::int32_t index, byte_string text);
  bool remove_line(std::int32_t index);
  // Lines [first, first + count) in one step; false, removing nothing, when the
  // range is not inside the text.
  bool remove_lines(std::int32_t first, std::int32_t count);
  bool replace_line(std::int32_t index, byte_string text);

  bool is_usable() const { return state != failed_state; }
};

}  // namespace vintorel
