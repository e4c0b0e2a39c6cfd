// Parsers of GNU Unifont .hex files and BDF fonts for the font generator.
#include "display/glyph_source.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/cp932.h"
#include "platform/fd_io.h"

namespace vintorel {

namespace {

// Glyphs larger than this in either direction are not fonts for a text cell.
constexpr int max_glyph_side = 256;

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool parse_hex_number(std::string_view digits, std::uint32_t& value) {
  if (digits.empty() || digits.size() > 8) return false;
  value = 0;
  for (char c : digits) {
    int d = hex_digit(c);
    if (d < 0) return false;
    value = value * 16 + static_cast<std::uint32_t>(d);
  }
  return true;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Calls `line` for each line of `text`.
template <class F>
void for_each_line(std::string_view text, F line) {
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view l = text.substr(0, end);
    line(trim(l));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

// Splits at blanks.
std::vector<std::string_view> words(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) out.push_back(line.substr(start, i - start));
  }
  return out;
}

bool parse_int(std::string_view s, int& value) {
  if (s.empty() || s.size() > 9) return false;
  bool negative = s[0] == '-';
  if (negative || s[0] == '+') s.remove_prefix(1);
  if (s.empty()) return false;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  value = negative ? -v : v;
  return true;
}

glyph_bitmap blank_glyph(int width, int height) {
  glyph_bitmap g;
  g.width = width;
  g.height = height;
  g.rows.assign(static_cast<std::size_t>((width + 7) / 8) * height, 0);
  return g;
}

void set_pixel(glyph_bitmap& g, int x, int y) {
  if (x < 0 || y < 0 || x >= g.width || y >= g.height) return;
  g.rows[static_cast<std::size_t>(y) * ((g.width + 7) / 8) + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
}

enum class bdf_encoding { unicode, jis0208, jis0201 };

char32_t bdf_code_point(bdf_encoding encoding, int code) {
  if (code < 0) return 0xFFFFFFFF;
  switch (encoding) {
    case bdf_encoding::jis0208: {
      unsigned sjis = jis_to_jms(static_cast<unsigned>(code));
      char16_t u = sjis ? sjis_char_to_unicode(sjis) : 0;
      return u ? u : 0xFFFFFFFF;
    }
    case bdf_encoding::jis0201:
      if (code < 0x80) return static_cast<char32_t>(code);
      if (code >= 0xA1 && code <= 0xDF) return 0xFF61 + (code - 0xA1);
      return 0xFFFFFFFF;
    default: return static_cast<char32_t>(code);
  }
}

}  // namespace

bool glyph_bitmap::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return false;
  std::size_t at = static_cast<std::size_t>(y) * ((width + 7) / 8) + x / 8;
  return at < rows.size() && (rows[at] & (0x80 >> (x % 8)));
}

std::size_t parse_hex_glyphs(std::string_view text, glyph_map& glyphs) {
  std::size_t count = 0;
  for_each_line(text, [&](std::string_view line) {
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon < 4 || colon > 6) return;
    std::uint32_t code = 0;
    if (!parse_hex_number(line.substr(0, colon), code) || code > 0x10FFFF) return;
    std::string_view digits = line.substr(colon + 1);
    // 16 rows of 2, 4, 6 or 8 digits.
    if (digits.empty() || digits.size() % 32 != 0 || digits.size() > 128) return;
    const int row_bytes = static_cast<int>(digits.size() / 32);
    glyph_bitmap g = blank_glyph(row_bytes * 8, 16);
    for (std::size_t i = 0; i < g.rows.size(); ++i) {
      int hi = hex_digit(digits[2 * i]);
      int lo = hex_digit(digits[2 * i + 1]);
      if (hi < 0 || lo < 0) return;
      g.rows[i] = static_cast<std::uint8_t>(hi * 16 + lo);
    }
    glyphs[code] = std::move(g);
    ++count;
  });
  return count;
}

std::size_t parse_bdf_glyphs(std::string_view text, glyph_map& glyphs) {
  std::size_t count = 0;
  int box_width = 0, box_height = 0, box_x = 0, box_y = 0;
  bdf_encoding encoding = bdf_encoding::unicode;

  bool in_char = false, in_bitmap = false, bad = false;
  int code = -1, width = 0, height = 0, x_offset = 0, y_offset = 0, bitmap_row = 0, top = 0, left = 0;
  glyph_bitmap cell;

  for_each_line(text, [&](std::string_view line) {
    std::vector<std::string_view> w = words(line);
    if (w.empty()) return;
    if (!in_char) {
      if (w[0] == "FONTBOUNDINGBOX" && w.size() >= 5) {
        int bw, bh, bx, by;
        if (parse_int(w[1], bw) && parse_int(w[2], bh) && parse_int(w[3], bx) && parse_int(w[4], by) && bw > 0 &&
            bh > 0 && bw <= max_glyph_side && bh <= max_glyph_side) {
          box_width = bw, box_height = bh, box_x = bx, box_y = by;
        }
      } else if (w[0] == "CHARSET_REGISTRY" && w.size() >= 2) {
        std::string registry(w[1]);
        std::transform(registry.begin(), registry.end(), registry.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (registry.find("JISX0208") != std::string::npos) encoding = bdf_encoding::jis0208;
        else if (registry.find("JISX0201") != std::string::npos) encoding = bdf_encoding::jis0201;
        else encoding = bdf_encoding::unicode;
      } else if (w[0] == "STARTCHAR") {
        in_char = true;
        in_bitmap = false;
        bad = false;
        code = -1;
        width = height = x_offset = y_offset = bitmap_row = 0;
      }
      return;
    }
    if (w[0] == "ENDCHAR") {
      if (in_bitmap && !bad && code >= 0) {
        char32_t cp = bdf_code_point(encoding, code);
        if (cp <= 0x10FFFF) {
          glyphs[cp] = std::move(cell);
          ++count;
        }
      }
      in_char = in_bitmap = false;
      return;
    }
    if (in_bitmap) {
      // One row of the glyph's own box, placed in the font's box.
      if (bad || bitmap_row >= height) return;
      std::string_view digits = w[0];
      for (int x = 0; x < width && static_cast<std::size_t>(x / 4) < digits.size(); ++x) {
        int d = hex_digit(digits[x / 4]);
        if (d < 0) {
          bad = true;
          return;
        }
        if (d & (8 >> (x % 4))) set_pixel(cell, left + x, top + bitmap_row);
      }
      ++bitmap_row;
      return;
    }
    if (w[0] == "ENCODING" && w.size() >= 2) {
      if (!parse_int(w[1], code)) code = -1;
    } else if (w[0] == "BBX" && w.size() >= 5) {
      if (!parse_int(w[1], width) || !parse_int(w[2], height) || !parse_int(w[3], x_offset) ||
          !parse_int(w[4], y_offset) || width < 0 || height < 0 || width > max_glyph_side ||
          height > max_glyph_side || x_offset < -max_glyph_side || x_offset > max_glyph_side ||
          y_offset < -max_glyph_side || y_offset > max_glyph_side)
        bad = true;
    } else if (w[0] == "BITMAP") {
      in_bitmap = true;
      // The glyph's box sits on the baseline of the font's box; a font
      // without one gets cells of each glyph's own size.
      int cw = width, ch = height;
      top = left = 0;
      if (box_width > 0) {
        cw = box_width;
        ch = box_height;
        top = (box_height + box_y) - (height + y_offset);
        left = x_offset - box_x;
      }
      if (cw <= 0 || ch <= 0) bad = true;
      if (!bad) cell = blank_glyph(cw, ch);
    }
  });
  return count;
}

bool load_glyph_file(const std::string& path, glyph_map& glyphs, std::string& message) {
  // A glyph source is a few megabytes; a FIFO or device is refused, not waited on.
  constexpr std::size_t max_source = 256u << 20;
  std::string text;
  int fd = open_regular_file(path);
  bool read = fd >= 0 && read_all(fd, text, max_source);
  if (fd >= 0) ::close(fd);
  if (!read) {
    message = "cannot read the glyph source " + path;
    return false;
  }
  bool bdf = path.size() >= 4 && (path.compare(path.size() - 4, 4, ".bdf") == 0 ||
                                  path.compare(path.size() - 4, 4, ".BDF") == 0);
  std::size_t n = bdf ? parse_bdf_glyphs(text, glyphs) : parse_hex_glyphs(text, glyphs);
  if (n == 0) {
    message = "no glyphs in " + path;
    return false;
  }
  return true;
}

}  // namespace vintorel
