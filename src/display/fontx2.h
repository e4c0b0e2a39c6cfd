// FONTX2 bitmap fonts: header reading, the two glyph loaders that render into
// locked glyph sheets, the sheet position of a character code, and the
// start-up check that creates missing font files and fits the grid to the screen.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vintorel {

struct font_header {
  bool double_byte = false;
  int width = 0;   // pixels, 0..255
  int height = 0;  // pixels, 0..255
};

// Reads the 17-byte header; false unless all of it is there and it starts with
// "FONTX2".
bool read_font_header(const std::string& path, font_header& header);
bool parse_font_header(const std::uint8_t* data, std::size_t size, font_header& header);

// Where a glyph goes in the 24 full-width sheets: sheet index, and column and
// row in that sheet's grid of 32 × 16 cells.
struct glyph_slot {
  int sheet = 0;
  int column = 0;
  int row = 0;
};
// False for a code that is not a Shift_JIS double-byte code (lead byte
// 0x81-0x9F or 0xE0-0xFC, trail byte 0x40-0xFC): such a code has no place of
// its own in the sheets and is neither loaded nor drawn. Inline: the painter
// asks it for every character it draws.
inline bool full_width_slot(unsigned code, glyph_slot& slot) {
  unsigned lead = code >> 8;
  unsigned trail = code & 0xFF;
  if (code > 0xFFFF || !((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC))) return false;
  if (trail < 0x40 || trail > 0xFC) return false;
  unsigned k = code >= 0xE000 ? code - 0x4000 : code;
  k = (k + 0x7FC0) & 0xFFFF;
  int passed = (k >= 0x1000) + (k >= 0x2000) + (k >= 0x3000);
  slot.sheet = static_cast<int>((k >> 5) & 7) + 6 * passed;
  slot.column = static_cast<int>(k & 31);
  slot.row = static_cast<int>((k >> 8) & 15);
  return slot.sheet < 24;
}

// A locked sheet: pixel memory whose rows are `stride` bytes apart (width ×
// bytes-per-pixel when 0).
struct sheet_pixels {
  std::uint8_t* pixels = nullptr;
  int width = 0;   // pixels
  int height = 0;  // pixels
  std::size_t stride = 0;
};

// What the loaders draw with: the cell size the sheets were made for (a font
// whose header disagrees is refused), the pixel size and the ink value.
struct glyph_target {
  int cell_width = 8;   // W; full-width glyphs are 2·W wide
  int cell_height = 16; // H
  int bits_per_pixel = 32;
  std::uint32_t ink = 0;
};

// Renders the 256 glyphs of a single-byte font into the half-width sheet (code c
// at ((c mod 16)·W, (c div 16)·H)). False when the file is not a single-byte
// font of the target's size or ends early. Never writes outside the sheet.
bool load_half_width_glyphs(const std::string& path, const sheet_pixels& sheet, const glyph_target& target);
bool load_half_width_glyph_bytes(const std::uint8_t* data, std::size_t size, const sheet_pixels& sheet,
                                 const glyph_target& target);

// Renders every glyph of a double-byte font into the 24 full-width sheets. False
// when the file is not a double-byte font of 2·W × H or any block is cut short.
// Codes with no slot are read and skipped; nothing is written outside a sheet.
bool load_full_width_glyphs(const std::string& path,
                            const std::array<sheet_pixels, 24>& sheets, const glyph_target& target);
bool load_full_width_glyph_bytes(const std::uint8_t* data, std::size_t size,
                                 const std::array<sheet_pixels, 24>& sheets, const glyph_target& target);

// Sheet sizes in pixels for cell metrics W × H.
int half_width_sheet_width(int cell_width);
int half_width_sheet_height(int cell_height);
int full_width_sheet_width(int cell_width);
int full_width_sheet_height(int cell_height);

// Runs a program (argv[0] is its path) in `directory` and waits for it to end.
// False only when it could not be started.
using program_runner = std::function<bool(const std::vector<std::string>& argv, const std::string& directory)>;

// Starts argv[0] with posix_spawn (no shell), working directory `directory`,
// and waits at most `time_limit_ms` for it (then it is killed). False when it
// could not be started.
bool run_and_wait(const std::vector<std::string>& argv, const std::string& directory, int time_limit_ms);

struct font_check {
  // In: the two font file names as the settings hold them ("/" separators);
  // relative names are taken from `directory`, which is also where the
  // generator runs. The generator lives in `generator_directory` ("" for
  // `directory`).
  std::string half_width_font;
  std::string full_width_font;
  std::string directory;
  std::string generator_directory;
  int screen_width = 1920;
  int screen_height = 1080;
  // In and out: the grid, reduced to fit the screen.
  int columns = 80;
  int lines = 21;
  // Out: the cell metrics from the half-width font.
  int cell_width = 0;
  int cell_height = 0;
  // Seams: how the generator is run (default: run_and_wait of
  // generator_directory + "mkfontx2"), and the error box with a string-table id.
  program_runner run;
  std::function<void(int string_id)> show_error;
};

// Checks both fonts, creating a missing one with "mkfontx2 s|m FILE WINDOWS";
// sets the cell metrics and fits the grid. False after an error message:
// 29 when the generator cannot be started, 36 when a font is unusable.
bool check_fonts(font_check& check);

// Reduces the grid to the screen: columns to screen width / W (even), lines to
// screen height / H (odd, at least 7), each only when it does not fit.
void fit_grid_to_screen(int screen_width, int screen_height, int cell_width, int cell_height, int& columns,
                        int& lines);

}  // namespace vintorel
