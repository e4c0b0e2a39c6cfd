// Fuzzes the FONTX2 header reader and both glyph loaders over arbitrary file
// bytes, with sheets sized for the cell the header claims (up to 16 × 32) so
// that lying headers and hostile block tables meet real sheet bounds; and the
// start-up font check over two such files, with the generator never found.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "display/fontx2.h"
#include "display/surfaces.h"
#include "memory_file.h"

using namespace vintorel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::vector<std::vector<std::uint8_t>> memory(25);
  font_header header;
  if (!parse_font_header(data, size, header)) {
    header.width = 8;
    header.height = 16;
  }
  // The cell the sheets are made for: from the header when it is small, so
  // that the loaders run their whole path, else the usual 8 × 16.
  int w = header.double_byte ? header.width / 2 : header.width;
  int h = header.height;
  if (w < 1 || w > 16 || h < 1 || h > 32) w = 8, h = 16;
  glyph_target target{w, h, 8, 0x5A};

  sheet_pixels half{nullptr, half_width_sheet_width(w), half_width_sheet_height(h)};
  memory[24].assign(static_cast<std::size_t>(half.width) * half.height, 0);
  half.pixels = memory[24].data();
  load_half_width_glyph_bytes(data, size, half, target);

  std::array<sheet_pixels, 24> sheets;
  for (int i = 0; i < 24; ++i) {
    sheets[i] = sheet_pixels{nullptr, full_width_sheet_width(w), full_width_sheet_height(h)};
    memory[i].assign(static_cast<std::size_t>(sheets[i].width) * sheets[i].height, 0);
    sheets[i].pixels = memory[i].data();
  }
  load_full_width_glyph_bytes(data, size, sheets, target);

  // The two halves of the input as the two font files of the start-up check.
  static const memory_file half_file, full_file;
  const std::size_t cut = size / 2;
  half_file.hold(data, cut);
  full_file.hold(data + cut, size - cut);
  font_check check;
  check.half_width_font = half_file.path;
  check.full_width_font = full_file.path;
  check.directory = "/nonexistent/";
  check.screen_width = size > 0 ? 64 + data[0] * 16 : 1920;
  check.screen_height = size > 1 ? 64 + data[1] * 8 : 1080;
  check.run = [](const std::vector<std::string>&, const std::string&) { return false; };
  check.show_error = [](int) {};
  if (check_fonts(check) && (check.cell_width < 1 || check.cell_height < 1 || check.columns < 1 || check.lines < 1))
    std::abort();
  return 0;
}
