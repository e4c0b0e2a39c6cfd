// FONTX2 header reading, the glyph loaders and the sheet position of a code.
#include "display/fontx2.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "display/surfaces.h"
#include "platform/fd_io.h"

namespace vintorel {

namespace {

constexpr std::size_t header_size = 17;

// Sequential reading from a file or from memory; the loaders see only this.
class font_reader {
 public:
  virtual ~font_reader() = default;
  // Reads exactly n bytes; false on a short read.
  virtual bool read(std::uint8_t* out, std::size_t n) = 0;
  virtual bool seek(std::size_t offset) = 0;
  virtual std::size_t tell() const = 0;
};

class memory_reader final : public font_reader {
 public:
  memory_reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool read(std::uint8_t* out, std::size_t n) override {
    if (n > size_ - at_) return false;
    if (n) std::memcpy(out, data_ + at_, n);
    at_ += n;
    return true;
  }
  bool seek(std::size_t offset) override {
    if (offset > size_) return false;
    at_ = offset;
    return true;
  }
  std::size_t tell() const override { return at_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

class file_reader final : public font_reader {
 public:
  // Only a regular file is read: a FIFO set as the font file must not block the start.
  explicit file_reader(const std::string& path) {
    int fd = open_regular_file(path);
    if (fd >= 0 && !(file_ = fdopen(fd, "rb"))) ::close(fd);
    // Large reads: a whole font is a few hundred kilobytes.
    if (file_) std::setvbuf(file_, nullptr, _IOFBF, 65536);
  }
  ~file_reader() override {
    if (file_) std::fclose(file_);
  }
  bool is_open() const { return file_ != nullptr; }
  bool read(std::uint8_t* out, std::size_t n) override {
    if (std::fread(out, 1, n, file_) != n) return false;
    at_ += n;
    return true;
  }
  bool seek(std::size_t offset) override {
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return false;
    at_ = offset;
    return true;
  }
  std::size_t tell() const override { return at_; }

 private:
  std::FILE* file_ = nullptr;
  std::size_t at_ = 0;
};

bool read_header(font_reader& in, font_header& header) {
  std::uint8_t bytes[header_size];
  if (!in.read(bytes, header_size)) return false;
  return parse_font_header(bytes, header_size, header);
}

void store_pixel(std::uint8_t* at, int bytes_per_pixel, std::uint32_t value) {
  for (int i = 0; i < bytes_per_pixel; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Writes the ink pixels of one glyph of `glyph_width` × `height` from `bits` with
// its top-left corner at (x0, y0) of the sheet. The caller has checked that the
// whole cell lies inside the sheet.
void render_glyph(const sheet_pixels& sheet, int bytes_per_pixel, std::uint32_t ink, int x0, int y0,
                  int glyph_width, int height, const std::uint8_t* bits) {
  int row_bytes = (glyph_width + 7) / 8;
  std::size_t stride = sheet.stride ? sheet.stride : static_cast<std::size_t>(sheet.width) * bytes_per_pixel;
  for (int row = 0; row < height; ++row) {
    const std::uint8_t* line = bits + static_cast<std::size_t>(row) * row_bytes;
    std::uint8_t* out = sheet.pixels + static_cast<std::size_t>(y0 + row) * stride;
    for (int x = 0; x < glyph_width; ++x) {
      if (line[x >> 3] & (0x80 >> (x & 7)))
        store_pixel(out + static_cast<std::size_t>(x0 + x) * bytes_per_pixel, bytes_per_pixel, ink);
    }
  }
}

bool cell_fits(const sheet_pixels& sheet, int x0, int y0, int width, int height) {
  return sheet.pixels != nullptr && x0 >= 0 && y0 >= 0 && x0 + width <= sheet.width && y0 + height <= sheet.height;
}

bool usable_target(const glyph_target& target) {
  int bpp = target.bits_per_pixel;
  return (bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32) && target.cell_width > 0 && target.cell_height > 0;
}

bool load_half_width(font_reader& in, const sheet_pixels& sheet, const glyph_target& target) {
  font_header header;
  if (!usable_target(target) || !read_header(in, header) || header.double_byte) return false;
  // The sheet was made for the target's cell size; a font that disagrees (the
  // file changed since start-up) would not fit its grid.
  if (header.width != target.cell_width || header.height != target.cell_height) return false;
  int w = header.width;
  int h = header.height;
  std::vector<std::uint8_t> glyph(static_cast<std::size_t>((w + 7) / 8) * h);
  int bpp = target.bits_per_pixel / 8;
  for (int code = 0; code < 256; ++code) {
    if (!in.read(glyph.data(), glyph.size())) return false;
    int x0 = (code % 16) * w;
    int y0 = (code / 16) * h;
    if (cell_fits(sheet, x0, y0, w, h)) render_glyph(sheet, bpp, target.ink, x0, y0, w, h, glyph.data());
  }
  return true;
}

bool load_full_width(font_reader& in, const std::array<sheet_pixels, 24>& sheets, const glyph_target& target) {
  font_header header;
  if (!usable_target(target) || !read_header(in, header) || !header.double_byte) return false;
  if (header.width != 2 * target.cell_width || header.height != target.cell_height) return false;
  int w = header.width;
  int h = header.height;
  std::uint8_t count = 0;
  if (!in.seek(header_size) || !in.read(&count, 1)) return false;
  std::size_t table = in.tell();
  std::size_t data = table + 4u * count;
  std::vector<std::uint8_t> glyph(static_cast<std::size_t>((w + 7) / 8) * h);
  int bpp = target.bits_per_pixel / 8;
  for (int block = 0; block < count; ++block) {
    std::uint8_t entry[4];
    if (!in.seek(table + 4u * block) || !in.read(entry, 4)) return false;
    unsigned start = entry[0] | (entry[1] << 8);
    unsigned end = entry[2] | (entry[3] << 8);
    if (!in.seek(data)) return false;
    for (unsigned code = start; code <= end; ++code) {
      if (!in.read(glyph.data(), glyph.size())) return false;
      glyph_slot slot;
      if (!full_width_slot(code, slot)) continue;
      const sheet_pixels& sheet = sheets[slot.sheet];
      int x0 = slot.column * w;
      int y0 = slot.row * h;
      if (cell_fits(sheet, x0, y0, w, h)) render_glyph(sheet, bpp, target.ink, x0, y0, w, h, glyph.data());
    }
    data = in.tell();
  }
  return true;
}

}  // namespace

bool parse_font_header(const std::uint8_t* data, std::size_t size, font_header& header) {
  if (size < header_size || std::memcmp(data, "FONTX2", 6) != 0) return false;
  header.width = data[14];
  header.height = data[15];
  header.double_byte = data[16] != 0;
  return true;
}

bool read_font_header(const std::string& path, font_header& header) {
  file_reader in(path);
  return in.is_open() && read_header(in, header);
}

bool load_half_width_glyphs(const std::string& path, const sheet_pixels& sheet, const glyph_target& target) {
  file_reader in(path);
  return in.is_open() && load_half_width(in, sheet, target);
}

bool load_half_width_glyph_bytes(const std::uint8_t* data, std::size_t size, const sheet_pixels& sheet,
                                 const glyph_target& target) {
  memory_reader in(data, size);
  return load_half_width(in, sheet, target);
}

bool load_full_width_glyphs(const std::string& path, const std::array<sheet_pixels, 24>& sheets,
                            const glyph_target& target) {
  file_reader in(path);
  return in.is_open() && load_full_width(in, sheets, target);
}

bool load_full_width_glyph_bytes(const std::uint8_t* data, std::size_t size,
                                 const std::array<sheet_pixels, 24>& sheets, const glyph_target& target) {
  memory_reader in(data, size);
  return load_full_width(in, sheets, target);
}

int half_width_sheet_width(int cell_width) { return pow2_at_least(16 * cell_width); }
int half_width_sheet_height(int cell_height) { return pow2_at_least(16 * cell_height); }
int full_width_sheet_width(int cell_width) { return pow2_at_least(64 * cell_width); }
int full_width_sheet_height(int cell_height) { return pow2_at_least(16 * cell_height); }

}  // namespace vintorel
