// One open text: fetching lines from its file, the current-line buffer and its
// commit, and the lifecycle of a text.
#include "text/text_document.h"

#include <limits>
#include <new>

#include "platform/charsets.h"
#include "text/char_class.h"

namespace vintorel {

namespace {

constexpr unsigned char end_of_text = 26;
constexpr std::size_t max_name = 255;

// Offset of the line's terminator: the CR of a final CR LF, else the last byte
// (the mark 26, or whatever ends a line without CR LF).
std::size_t terminator_offset(const byte_string& text) {
  std::size_t n = text.size();
  if (n == 0) return 0;
  if (n >= 2 && text[n - 2] == '\r') return n - 2;
  return n - 1;
}

struct step {
  int bytes;
  int width;
};

// The character at `at`, by the text model's rule: a lead byte makes a
// double-byte character only with a second byte that is not a line end (or
// NUL), so no walk is carried over the terminator by a stray lead byte.
step character_at(const byte_string& text, std::size_t at, std::int64_t column, int tab_size) {
  if (character_length(text, at) == 2) return {2, 2};
  if (text[at] == '\t') return {1, static_cast<int>(tab_size - column % tab_size)};
  return {1, 1};
}

// Display column where the character at `limit` starts (column of the terminator
// when limit is the terminator's offset).
std::int64_t column_of(const byte_string& text, std::size_t limit, int tab_size) {
  if (text.empty() || static_cast<unsigned char>(text[0]) == end_of_text) return 0;
  std::size_t at = 0;
  std::int64_t column = 0;
  while (at < text.size() && at < limit && text[at] != '\r') {
    step s = character_at(text, at, column, tab_size);
    at += static_cast<std::size_t>(s.bytes);
    column += s.width;
    if (at < text.size() && static_cast<unsigned char>(text[at]) == end_of_text) break;
  }
  return column;
}

std::int32_t clamp32(std::int64_t value) {
  return value > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                          : static_cast<std::int32_t>(value);
}

}  // namespace

// A line that does not end the way the file's kind says (mixed line ends) keeps
// its own line end, except that a CR LF line in a LF file is left as CR LF
// rather than growing a second CR.
void normalise_line_end(byte_string& line, linefeed_kind file_linefeed) {
  if (file_linefeed == lf) {
    std::size_t at = line.find('\n');
    if (at != byte_string::npos && (at == 0 || line[at - 1] != '\r')) line.insert(at, 1, '\r');
  } else if (file_linefeed == cr) {
    std::size_t at = line.find('\r');
    if (at != byte_string::npos) {
      line.resize(at + 1);
      line.push_back('\n');
    }
  }
}

std::int32_t text_document::line_count() const { return lines.size(); }

bool text_document::fetch_line(std::int32_t index, byte_string& out) {
  if (index < 0 || index >= lines.size()) return false;
  std::uint64_t offset = lines.offset(index);
  if (offset == in_memory) {
    try {
      out = lines.text(index);
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }
  std::uint32_t length = lines.length(index);
  try {
    // Room for the CR the normalisation may add, so that does not reallocate.
    out.reserve(static_cast<std::size_t>(length) + 1);
    out.resize(length);
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!read_at(file, offset, out.data(), length)) return false;
  decode_in_place(out, file_charset);
  normalise_line_end(out, file_linefeed);
  return true;
}

bool text_document::load_current_line(int tab_size) {
  // A buffer still held here was not committed by the caller; it is dropped as
  // the calling order says it is replaced.
  current.reset();
  if (current_line < 0 || current_line >= lines.size()) return false;
  std::unique_ptr<line_record> record(new (std::nothrow) line_record);
  if (!record) return false;
  if (!fetch_line(current_line, record->text)) return false;
  // The commit that gives the edited line back must not need memory.
  if (!lines.make_replaceable()) return false;
  if (record->text.size() > std::numeric_limits<std::uint32_t>::max()) return false;
  record->offset = in_memory;
  record->length = static_cast<std::uint32_t>(record->text.size());

  if (tab_size < 1) tab_size = 1;
  const byte_string& text = record->text;
  std::size_t end = terminator_offset(text);
  std::size_t at = 0;
  std::int64_t col = 0;
  while (at < end) {
    unsigned char b = static_cast<unsigned char>(text[at]);
    if (b == end_of_text || b == '\r') break;
    step s = character_at(text, at, col, tab_size);
    if (desired_column != -1 && col + s.width > desired_column) break;
    // Positions and columns are 32-bit; a line too long for them stops the walk.
    if (col + s.width > std::numeric_limits<std::int32_t>::max() - 16) break;
    at += static_cast<std::size_t>(s.bytes);
    col += s.width;
  }
  position = clamp32(static_cast<std::int64_t>(at));
  column = clamp32(col);
  if (desired_column == -1) desired_column = column;
  end_column = clamp32(column_of(text, end, tab_size));
  current = std::move(record);
  return true;
}

void text_document::commit_current_line() {
  if (!current) return;
  if (is_line_changed()) {
    current->offset = in_memory;
    current->length = static_cast<std::uint32_t>(current->text.size());
    // Replacing the entry in place needs no allocation (loading the line made
    // room for it), so the edited text can never be lost here and the index
    // never holds two records for one line.
    if (lines.replace(current_line, std::move(current))) {
      state = modified_state;
      if (on_modified) on_modified(*this);
    }
  }
  current.reset();
  previous_line = current_line;
}

bool text_document::is_line_changed() {
  if (!current) return false;
  byte_string stored;
  // A stored line that can no longer be read (the file changed on the disk)
  // counts as changed, so the buffer is kept rather than thrown away.
  if (!fetch_line(current_line, stored)) return true;
  return stored.size() != current->length || stored != current->text;
}

bool text_document::is_modified() { return state == modified_state || is_line_changed(); }

void text_document::create_empty(const std::string& new_name) {
  destroy();
  state = failed_state;
  if (!lines.append_memory_line(byte_string(1, static_cast<char>(end_of_text)))) {
    lines.clear();
    return;
  }
  try {
    name = new_name.substr(0, max_name);
  } catch (const std::bad_alloc&) {
    lines.clear();
    return;
  }
  state = unchanged_state;
  file_charset = save_charset = shift_jis;
  file_linefeed = save_linefeed = crlf;
  size = 0;
  desired_column = left_column = top_line = mark_column = mark_line = previous_line = current_line = 0;
  column = position = end_column = 0;
  anchor_line = anchor_position = 0;
  block_state = block_kind::none;
  block_backward = false;
}

void text_document::destroy() {
  commit_current_line();
  current.reset();
  lines.clear();
  close_block_file(file);
  last_line_offset = last_line_length = 0;
  has_overlong_line = false;
  loading_percent = -1;
  state = failed_state;
}

bool text_document::insert_line(std::int32_t index, byte_string text) {
  return lines.insert(index, std::move(text));
}

bool text_document::remove_line(std::int32_t index) {
  if (index < 0 || index >= lines.size()) return false;
  lines.erase(index);
  return true;
}

bool text_document::remove_lines(std::int32_t first, std::int32_t count) {
  if (first < 0 || count < 0 || count > lines.size() - first) return false;
  lines.erase(first, count);
  return true;
}

bool text_document::replace_line(std::int32_t index, byte_string text) {
  if (index < 0 || index >= lines.size() || text.size() > std::numeric_limits<std::uint32_t>::max())
    return false;
  std::unique_ptr<line_record> record(new (std::nothrow) line_record);
  if (!record) return false;
  record->offset = in_memory;
  record->length = static_cast<std::uint32_t>(text.size());
  record->text = std::move(text);
  return lines.replace(index, std::move(record));
}

}  // namespace vintorel
