// The status line of a pane and the bottom line of the window.
#include "display/status_line.h"

#include <cstdio>

#include "display/painter.h"
#include "files/charset.h"
#include "platform/cp932.h"
#include "text/char_class.h"
#include "text/text_document.h"
#include "platform/string_table.h"

namespace vintorel {

namespace {

constexpr std::size_t name_limit = 37;

std::string format(const char* pattern, auto... args) {
  char buffer[256];
  int n = std::snprintf(buffer, sizeof buffer, pattern, args...);
  if (n < 0) return std::string();
  return std::string(buffer, std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buffer - 1));
}

std::string code_text(unsigned code) { return code >= 0x100 ? format("%04X", code) : format("0x%02X", code); }

std::string capped(std::int64_t value, std::int64_t cap) {
  return std::to_string(value > cap ? cap : value);
}

std::string position_part(const status_fields& f) {
  return format("%s %4s:%-3s %2d%% %11s %4s/%-4s", code_text(f.code).c_str(), capped(f.line, 9999).c_str(),
                capped(f.column, 999).c_str(), f.percent, capped(f.size, 999999999).c_str(),
                charset_name(f.save_charset), linefeed_name(f.save_linefeed));
}

colour bar_colour(const display_context& display, const text_document& document) {
  if (document.name == console_text_name) return display.colours[bar_console];
  if (document.state == read_only_state) return display.colours[bar_readonly];
  return display.colours[bar_normal];
}

}  // namespace

unsigned status_character_code(const byte_string& line, std::int32_t position, charset save_charset,
                               linefeed_kind linefeed) {
  if (position < 0 || static_cast<std::size_t>(position) >= line.size()) return 0;
  const std::size_t p = static_cast<std::size_t>(position);
  const unsigned char b = static_cast<unsigned char>(line[p]);
  if (b == '\r') {
    if (linefeed == crlf) return 0x0D0A;
    if (linefeed == lf) return 0x0A;
    return 0x0D;
  }
  if (is_lead_byte(b) && p + 1 < line.size() && pairs_with_lead(static_cast<unsigned char>(line[p + 1]))) {
    const unsigned code = (b << 8) | static_cast<unsigned char>(line[p + 1]);
    switch (save_charset) {
      case iso2022jp: return jms_to_jis(code);
      case euc_jp: {
        unsigned jis = jms_to_jis(code);
        return jis ? jis + 0x8080 : 0;
      }
      case utf8: return sjis_char_to_unicode(code);
      default: return code;
    }
  }
  return b;
}

byte_string status_name(const byte_string& name) {
  byte_string shown = name;
  if (shown.size() > name_limit) {
    // After the last separator that is a character of its own (a "\" can be
    // the second byte of a double-byte character).
    std::size_t start = 0;
    for (std::size_t i = 0; i < shown.size();) {
      unsigned char b = static_cast<unsigned char>(shown[i]);
      if (is_lead_byte(b) && i + 1 < shown.size()) {
        i += 2;
        continue;
      }
      if (b == '/' || b == '\\') start = i + 1;
      i += 1;
    }
    shown.erase(0, start);
  }
  // Cut without leaving half a double-byte character at the end.
  if (shown.size() > name_limit) shown = cut_to_bytes(shown, name_limit);
  return shown;
}

status_fields status_fields_of(text_document& document) {
  status_fields f;
  byte_string fetched;
  const byte_string* line = nullptr;
  if (document.current) {
    line = &document.current->text;
  } else if (document.fetch_line(document.current_line, fetched)) {
    line = &fetched;
  }
  if (line)
    f.code = status_character_code(*line, document.position, document.save_charset, document.save_linefeed);
  f.line = static_cast<std::int64_t>(document.current_line) + 1;
  f.column = static_cast<std::int64_t>(document.column) + 1;
  const std::int64_t count = document.line_count();
  f.percent = count > 0 ? static_cast<int>(f.line * 100 / count) : 0;
  if (f.percent == 100) f.percent = 99;
  // While the file is still being indexed the share of the line count is
  // meaningless: the share of the file scanned is shown instead.
  if (document.loading_percent >= 0) f.percent = document.loading_percent;
  f.size = document.size;
  f.save_charset = document.save_charset;
  f.save_linefeed = document.save_linefeed;
  if (document.name != console_text_name) {
    if (document.state == read_only_state) f.state = 'R';
    else if (document.state == modified_state) f.state = '*';
  }
  f.name = status_name(document.name);
  return f;
}

std::string status_line_text(const status_fields& f) {
  return position_part(f) + "  " + f.state + " " + f.name;
}

std::string status_position_text(const status_fields& f) { return position_part(f); }

std::string status_name_text(const status_fields& f) { return std::string(1, f.state) + " " + f.name; }

std::string bottom_line_text(const bottom_line_state& state, bool shift_held) {
  std::string mode;
  if (state.escape_pending) {
    mode = "[ESC ]";
  } else {
    // The mode name as the string table loads it into a 7-byte buffer.
    char label[7];
    load_string(state.overwrite ? string_overwrite_mode : string_insert_mode, label, sizeof label);
    mode = label;
  }
  const byte_string& labels = shift_held ? state.function_shift_labels : state.function_labels;
  return mode + " " + cut_to_bytes(labels, 60);
}

std::string cut_to_bytes(std::string_view text, std::size_t limit) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size() && text[i] != '\0') {
    unsigned char b = static_cast<unsigned char>(text[i]);
    std::size_t n = (is_lead_byte(b) && i + 1 < text.size() && pairs_with_lead(static_cast<unsigned char>(text[i + 1]))) ? 2 : 1;
    if (out.size() + n > limit) break;
    out.append(text.substr(i, n));
    i += n;
  }
  return out;
}

std::string fit_to_width(std::string_view text, int width) {
  if (width <= 0) return std::string();
  std::string out = cut_to_bytes(text, static_cast<std::size_t>(width));
  out.append(static_cast<std::size_t>(width) - out.size(), ' ');
  return out;
}

void draw_status_line(display_context& display, const pane_view& pane, text_document& document) {
  const status_fields f = status_fields_of(document);
  const colour text_colour = display.colours[back_normal];
  const colour bar = bar_colour(display, document);
  if (!display.layout.side_by_side) {
    draw_string(display, pane.first_row - 1, pane.first_column, pane.columns,
                fit_to_width(status_line_text(f), pane.columns), text_colour, bar);
    return;
  }
  draw_string(display, pane.first_row - 2, pane.first_column, pane.columns,
              fit_to_width(status_position_text(f), pane.columns), text_colour, bar);
  draw_string(display, pane.first_row - 1, pane.first_column, pane.columns,
              fit_to_width(status_name_text(f), pane.columns), text_colour, bar);
}

void draw_bottom_line(display_context& display, bool shift_held) {
  draw_string(display, display.lines - 1, 0, display.columns,
              fit_to_width(bottom_line_text(display.bottom_line, shift_held), display.columns), display.window_text,
              display.button_face);
}

}  // namespace vintorel
