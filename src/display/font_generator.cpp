// Builds FONTX2 files from a Unicode glyph source for the "mkfontx2" program.
#include "display/font_generator.h"

#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/profile.h"

namespace vintorel {

namespace {

constexpr int half_width = 8;
constexpr int full_width = 16;
constexpr int cell_height = 16;
constexpr char32_t unmapped = 0xFFFFFFFF;

// One glyph cell of `width` × cell_height as FONTX2 stores it.
using cell_bits = std::vector<std::uint8_t>;

cell_bits blank_cell(int width) { return cell_bits(static_cast<std::size_t>((width + 7) / 8) * cell_height, 0); }

void ink(cell_bits& cell, int width, int x, int y) {
  if (x < 0 || y < 0 || x >= width || y >= cell_height) return;
  cell[static_cast<std::size_t>(y) * ((width + 7) / 8) + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
}

// The glyph centred in the cell where it is smaller, cut where it is larger.
cell_bits render(const glyph_bitmap& glyph, int width) {
  cell_bits cell = blank_cell(width);
  int dx = glyph.width < width ? (width - glyph.width) / 2 : 0;
  int dy = glyph.height < cell_height ? (cell_height - glyph.height) / 2 : 0;
  for (int y = 0; y < glyph.height && y + dy < cell_height; ++y)
    for (int x = 0; x < glyph.width && x + dx < width; ++x)
      if (glyph.pixel(x, y)) ink(cell, width, x + dx, y + dy);
  return cell;
}

cell_bits glyph_cell(const glyph_map& glyphs, char32_t code_point, int width) {
  if (code_point == unmapped) return blank_cell(width);
  auto it = glyphs.find(code_point);
  return it == glyphs.end() ? blank_cell(width) : render(it->second, width);
}

// The marks the painter shows for line feeds, tabs and the end of the text.
cell_bits mark_cell(unsigned code) {
  cell_bits cell = blank_cell(half_width);
  auto dot = [&cell](int x, int y) { ink(cell, half_width, x, y); };
  if (code == linefeed_mark_code) {  // a return arrow: down, then left
    for (int y = 3; y <= 11; ++y) dot(6, y);
    for (int x = 1; x <= 6; ++x) dot(x, 11);
    dot(2, 10), dot(2, 12), dot(3, 9), dot(3, 13);
  } else if (code == tab_mark_code) {  // a right arrow
    for (int x = 0; x <= 6; ++x) dot(x, 8);
    dot(5, 7), dot(5, 9), dot(4, 6), dot(4, 10);
  } else if (code == end_of_file_mark_code) {  // a hollow box with a bar
    for (int x = 1; x <= 6; ++x) dot(x, 4), dot(x, 12);
    for (int y = 4; y <= 12; ++y) dot(1, y), dot(6, y);
    for (int x = 2; x <= 5; ++x) dot(x, 8);
  }
  return cell;
}

void put_header(std::vector<std::uint8_t>& out, int width, bool double_byte) {
  const char magic_and_name[] = "FONTX2UNIFONT ";
  out.insert(out.end(), magic_and_name, magic_and_name + 14);
  out.push_back(static_cast<std::uint8_t>(width));
  out.push_back(static_cast<std::uint8_t>(cell_height));
  out.push_back(double_byte ? 1 : 0);
}

class cp932_decoder {
 public:
  cp932_decoder() : cd_(iconv_open("UTF-32LE", "CP932")) {}
  ~cp932_decoder() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  char32_t decode(unsigned code) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return unmapped;
    char in[2];
    std::size_t in_left = 0;
    if (code < 0x100) {
      in[0] = static_cast<char>(code);
      in_left = 1;
    } else {
      in[0] = static_cast<char>(code >> 8);
      in[1] = static_cast<char>(code & 0xFF);
      in_left = 2;
    }
    unsigned char out[8];
    char* in_p = in;
    char* out_p = reinterpret_cast<char*>(out);
    std::size_t out_left = sizeof out;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd_, &in_p, &in_left, &out_p, &out_left) == static_cast<std::size_t>(-1) || in_left != 0 ||
        sizeof out - out_left != 4)
      return unmapped;
    return static_cast<char32_t>(out[0] | (out[1] << 8) | (out[2] << 16) | (out[3] << 24));
  }

 private:
  iconv_t cd_;
};

}  // namespace

char32_t cp932_code_point(unsigned code) {
  static thread_local cp932_decoder decoder;
  return decoder.decode(code);
}

std::vector<code_block> cp932_double_byte_blocks() {
  std::vector<code_block> blocks;
  cp932_decoder decoder;
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead >= 0xA0 && lead < 0xE0) continue;
    unsigned first = 0, last = 0;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      unsigned code = (lead << 8) | trail;
      if (decoder.decode(code) == unmapped) continue;
      if (!first) first = code;
      last = code;
    }
    if (first) blocks.push_back(code_block{first, last});
  }
  return blocks;
}

std::vector<std::uint8_t> make_single_byte_font(const glyph_map& glyphs) {
  std::vector<std::uint8_t> out;
  put_header(out, half_width, false);
  for (unsigned code = 0; code < 256; ++code) {
    cell_bits cell;
    if (code == linefeed_mark_code || code == tab_mark_code || code == end_of_file_mark_code)
      cell = mark_cell(code);
    else if ((code >= 0x20 && code <= 0x7E) || (code >= 0xA1 && code <= 0xDF))
      cell = glyph_cell(glyphs, code < 0x80 ? code : 0xFF61 + (code - 0xA1), half_width);
    else
      cell = blank_cell(half_width);
    out.insert(out.end(), cell.begin(), cell.end());
  }
  return out;
}

std::vector<std::uint8_t> make_double_byte_font(const glyph_map& glyphs, const std::vector<code_block>& blocks) {
  std::vector<std::uint8_t> out;
  put_header(out, full_width, true);
  out.push_back(static_cast<std::uint8_t>(blocks.size()));
  for (const code_block& b : blocks) {
    out.push_back(static_cast<std::uint8_t>(b.start & 0xFF));
    out.push_back(static_cast<std::uint8_t>(b.start >> 8));
    out.push_back(static_cast<std::uint8_t>(b.end & 0xFF));
    out.push_back(static_cast<std::uint8_t>(b.end >> 8));
  }
  cp932_decoder decoder;
  for (const code_block& b : blocks) {
    for (unsigned code = b.start; code <= b.end; ++code) {
      cell_bits cell = glyph_cell(glyphs, decoder.decode(code), full_width);
      out.insert(out.end(), cell.begin(), cell.end());
    }
  }
  return out;
}

int run_font_generator(const std::vector<std::string>& args, std::string& message) {
  if (args.size() != 3 || (args[0] != "s" && args[0] != "m") || args[1].empty()) {
    message = "usage: mkfontx2 s|m FILE WINDOWS|GLYPHS.hex|GLYPHS.bdf";
    return 2;
  }
  const std::string source = args[2] == "WINDOWS" ? default_glyph_source : args[2];
  struct stat st;
  if (::stat(source.c_str(), &st) != 0) {
    message = "glyph source " + source + " not found" +
              (args[2] == "WINDOWS" ? std::string(" (install the Debian package unifont)") : std::string());
    return 1;
  }
  glyph_map glyphs;
  if (!load_glyph_file(source, glyphs, message)) return 1;
  std::vector<std::uint8_t> font =
      args[0] == "s" ? make_single_byte_font(glyphs) : make_double_byte_font(glyphs, cp932_double_byte_blocks());
  // A reader never sees half a font: the bytes go to a temporary name first.
  if (!replace_file_contents(args[1], std::string_view(reinterpret_cast<const char*>(font.data()), font.size()))) {
    message = "cannot write " + args[1];
    return 1;
  }
  return 0;
}

}  // namespace vintorel
