// Shared helpers of the display tests: synthetic FONTX2 fonts whose glyphs
// encode their own code, a display on memory surfaces, and small documents.
#pragma once
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "display/display_context.h"
#include "display/painter.h"
#include "display/screen_setup.h"
#include "display/surfaces.h"
#include "text/text_document.h"

namespace vintorel::test {

// A FONTX2 header.
inline std::vector<std::uint8_t> font_header_bytes(int width, int height, bool double_byte) {
  std::vector<std::uint8_t> out = {'F', 'O', 'N', 'T', 'X', '2', 'T', 'E', 'S', 'T', ' ', ' ', ' ', ' '};
  out.push_back(static_cast<std::uint8_t>(width));
  out.push_back(static_cast<std::uint8_t>(height));
  out.push_back(double_byte ? 1 : 0);
  return out;
}

// Half-width test glyphs (8 wide): row 0 holds the code's bits, row 1 is all
// ink; the space is blank.
inline std::vector<std::uint8_t> half_font(int width = 8, int height = 16) {
  std::vector<std::uint8_t> out = font_header_bytes(width, height, false);
  const int row_bytes = (width + 7) / 8;
  for (int code = 0; code < 256; ++code) {
    for (int row = 0; row < height; ++row) {
      for (int b = 0; b < row_bytes; ++b) {
        std::uint8_t v = 0;
        if (code != 0x20 && b == 0 && row == 0) v = static_cast<std::uint8_t>(code);
        if (code != 0x20 && row == 1) v = 0xFF;
        out.push_back(v);
      }
    }
  }
  return out;
}

// Full-width test glyphs (16 wide): row 0 holds the 16 bits of the code, row 1
// is all ink.
inline void append_full_glyph(std::vector<std::uint8_t>& out, unsigned code, int width, int height) {
  const int row_bytes = (width + 7) / 8;
  for (int row = 0; row < height; ++row) {
    for (int b = 0; b < row_bytes; ++b) {
      std::uint8_t v = 0;
      if (row == 0 && b < 2) v = static_cast<std::uint8_t>(b == 0 ? code >> 8 : code & 0xFF);
      if (row == 1) v = 0xFF;
      out.push_back(v);
    }
  }
}

struct block { unsigned start, end; };

inline std::vector<std::uint8_t> full_font(const std::vector<block>& blocks, int width = 16, int height = 16) {
  std::vector<std::uint8_t> out = font_header_bytes(width, height, true);
  out.push_back(static_cast<std::uint8_t>(blocks.size()));
  for (const block& b : blocks) {
    out.push_back(b.start & 0xFF), out.push_back(b.start >> 8);
    out.push_back(b.end & 0xFF), out.push_back(b.end >> 8);
  }
  for (const block& b : blocks)
    for (unsigned code = b.start; code <= b.end; ++code) append_full_glyph(out, code, width, height);
  return out;
}

// A fresh directory under the system's temporary directory, removed at the end.
struct scratch_dir {
  std::string path;
  scratch_dir() {
    char pattern[] = "/tmp/vintorel-display-XXXXXX";
    path = mkdtemp(pattern);
    path += "/";
  }
  ~scratch_dir() { std::filesystem::remove_all(path); }
  std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    std::string p = path + name;
    std::FILE* f = std::fopen(p.c_str(), "wb");
    if (f) {
      std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
    return p;
  }
};

inline colour rgb(int r, int g, int b) { return colour{r, g, b}; }

// A display of 80 × 21 cells on memory surfaces with the test fonts loaded.
struct display_fixture {
  scratch_dir dir;
  memory_backend backend;
  display_context display;
  std::vector<int> errors;

  explicit display_fixture(pixel_format format = rgb32_format(), bool load = true) : backend(format) {
    display.backend = &backend;
    display.metrics = cell_metrics{8, 16, 3};
    display.half_width_font = dir.write("half.fnt", half_font());
    display.full_width_font = dir.write("full.fnt", full_font({{0x8140, 0x84BE}, {0x889F, 0x9FFC}, {0xE040, 0xEAA4},
                                                                  {0xED40, 0xEEFC}, {0xFA40, 0xFC4B}}));
    display.show_error = [this](int id) { errors.push_back(id); };
    set_pane_layout(display.layout, display.lines, display.columns, false, false);
    if (load) {
      created = create_surfaces(display);
      loaded = created && load_sheets(display);
    }
  }
  ~display_fixture() { release_surfaces(display); }
  bool created = false;
  bool loaded = false;

  surface& screen() { return *display.surfaces.screen_image; }
  std::uint32_t value(colour c) { return pixel_value(backend.format(), c); }
  // Pixel (x, y) of cell (row, column) of the screen image.
  std::uint32_t cell_pixel(int row, int column, int x, int y) {
    const cell_metrics& m = display.metrics;
    return screen().pixel_at(column * m.width + x, row * (m.height + m.between) + y);
  }
  // The code drawn in a cell with ink `fg`, read back from the glyph's row 0
  // (0x20 for a cell without ink), and checks that row 1 is all ink.
  unsigned half_code_at(int row, int column, colour fg) {
    unsigned code = 0;
    std::uint32_t ink = value(fg);
    for (int x = 0; x < 8; ++x) code = (code << 1) | (cell_pixel(row, column, x, 0) == ink ? 1 : 0);
    bool full_row = true;
    for (int x = 0; x < 8; ++x) full_row = full_row && cell_pixel(row, column, x, 1) == ink;
    if (code == 0 && !full_row) return 0x20;
    return full_row ? code : 0xFFFF;
  }
  unsigned full_code_at(int row, int column, colour fg) {
    unsigned code = 0;
    std::uint32_t ink = value(fg);
    for (int x = 0; x < 16; ++x) code = (code << 1) | (cell_pixel(row, column, x, 0) == ink ? 1 : 0);
    for (int x = 0; x < 16; ++x)
      if (cell_pixel(row, column, x, 1) != ink) return 0xFFFF;
    return code;
  }
  // Whether every pixel of the cell's background (row 2 on) has colour `c`.
  bool cell_background_is(int row, int column, colour c, int cells = 1) {
    std::uint32_t v = value(c);
    for (int y = 2; y < display.metrics.height; ++y)
      for (int x = 0; x < 8 * cells; ++x)
        if (cell_pixel(row, column, x, y) != v) return false;
    return true;
  }
};

// A document of in-memory lines (each given with its line end; the last one
// ends in the end mark 26).
inline void fill_document(text_document& document, const std::vector<byte_string>& lines,
                          const std::string& name = "/tmp/test.txt") {
  document.create_empty(name);
  document.replace_line(0, lines.empty() ? byte_string("\x1A") : lines[0]);
  for (std::size_t i = 1; i < lines.size(); ++i) document.insert_line(static_cast<std::int32_t>(i), lines[i]);
  document.state = unchanged_state;
}

}  // namespace vintorel::test
