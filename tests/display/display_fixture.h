// Shared helpers of the display tests: synthetic FONTX2 fonts (full-width
// glyphs encode their own code in row 0, row 1 is all ink), a display on
// memory surfaces, and small documents.
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

inline std::vector<std::uint8_t> font_header_bytes(int width, int height, bool double_byte) {
  std::vector<std::uint8_t> out = {'F', 'O', 'N', 'T', 'X', '2', 'T', 'E', 'S', 'T', ' ', ' ', ' ', ' '};
  out.push_back(static_cast<std::uint8_t>(width));
  out.push_back(static_cast<std::uint8_t>(height));
  out.push_back(double_byte ? 1 : 0);
  return out;
}

// 256 blank half-width glyphs.
inline std::vector<std::uint8_t> half_font(int width = 8, int height = 16) {
  std::vector<std::uint8_t> out = font_header_bytes(width, height, false);
  out.resize(out.size() + 256 * height * ((width + 7) / 8));
  return out;
}

struct block { unsigned start, end; };

inline std::vector<std::uint8_t> full_font(const std::vector<block>& blocks, int width = 16, int height = 16) {
  std::vector<std::uint8_t> out = font_header_bytes(width, height, true);
  out.push_back(static_cast<std::uint8_t>(blocks.size()));
  for (const block& b : blocks) {
    out.push_back(b.start & 0xFF), out.push_back(b.start >> 8);
    out.push_back(b.end & 0xFF), out.push_back(b.end >> 8);
  }
  const int row_bytes = (width + 7) / 8;
  for (const block& b : blocks)
    for (unsigned code = b.start; code <= b.end; ++code)
      for (int row = 0; row < height; ++row)
        for (int i = 0; i < row_bytes; ++i)
          out.push_back(row == 1 ? 0xFF : row == 0 && i < 2 ? (i == 0 ? code >> 8 : code & 0xFF) : 0);
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
    if (std::FILE* f = std::fopen(p.c_str(), "wb")) {
      std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
    return p;
  }
};

// A display of 80 × 21 cells on memory surfaces with the test fonts loaded.
struct display_fixture {
  scratch_dir dir;
  memory_backend backend;
  display_context display;
  std::vector<int> errors;
  bool loaded = false;

  explicit display_fixture(bool load = true, pixel_format format = rgb32_format()) : backend(format) {
    display.backend = &backend;
    display.metrics = cell_metrics{8, 16, 3};
    display.half_width_font = dir.write("half.fnt", half_font());
    display.full_width_font = dir.write("full.fnt", full_font({{0x8140, 0x84BE}, {0x889F, 0x889F}}));
    display.show_error = [this](int id) { errors.push_back(id); };
    set_pane_layout(display.layout, display.lines, display.columns, false, false);
    loaded = load && create_surfaces(display) && load_sheets(display);
  }
  ~display_fixture() { release_surfaces(display); }

  surface& screen() { return *display.surfaces.screen_image; }
  std::uint32_t value(colour c) { return pixel_value(backend.format(), c); }
};

// A document of in-memory lines (each given with its line end; the last one
// ends in the end mark 26).
inline void fill_document(text_document& document, const std::vector<byte_string>& lines, const std::string& name) {
  document.create_empty(name);
  document.replace_line(0, lines[0]);
  for (std::size_t i = 1; i < lines.size(); ++i) document.insert_line(static_cast<std::int32_t>(i), lines[i]);
  document.state = unchanged_state;
}

}  // namespace vintorel::test
