// Memory surfaces, the colour-to-pixel rule and the memory back end.
#include "display/surfaces.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace vintorel {

pixel_format rgb32_format() { return pixel_format{32, 0x00FF0000, 0x0000FF00, 0x000000FF}; }

pixel_format rgb565_format() { return pixel_format{16, 0xF800, 0x07E0, 0x001F}; }

namespace {

std::uint32_t component_value(std::int32_t component, std::uint32_t mask) {
  if (mask == 0) return 0;
  std::uint32_t value = (static_cast<std::uint32_t>(component) & 0xFF) << 24;
  std::uint32_t probe = 0x80000000u;
  while ((probe & mask) == 0) {
    probe >>= 1;
    value >>= 1;
  }
  return value & mask;
}

bool usable_pixel_size(int bits) { return bits == 8 || bits == 16 || bits == 24 || bits == 32; }

// Clips a copy of `area` from `source` to (x, y) in `target` to both surfaces.
// Returns false when nothing is left.
bool clip_copy(const surface& target, int& x, int& y, const surface& source, pixel_rect& area) {
  if (area.x < 0) {
    x -= area.x;
    area.width += area.x;
    area.x = 0;
  }
  if (area.y < 0) {
    y -= area.y;
    area.height += area.y;
    area.y = 0;
  }
  if (x < 0) {
    area.x -= x;
    area.width += x;
    x = 0;
  }
  if (y < 0) {
    area.y -= y;
    area.height += y;
    y = 0;
  }
  area.width = std::min({area.width, source.width() - area.x, target.width() - x});
  area.height = std::min({area.height, source.height() - area.y, target.height() - y});
  return area.width > 0 && area.height > 0;
}

// Writes `value` into every pixel of `area` (already clipped).
template <class Pixel>
void fill_typed(std::uint8_t* base, std::size_t stride, const pixel_rect& area, Pixel value) {
  for (int y = area.y; y < area.y + area.height; ++y) {
    Pixel* row = reinterpret_cast<Pixel*>(base + static_cast<std::size_t>(y) * stride) + area.x;
    std::fill(row, row + area.width, value);
  }
}

template <class Pixel>
void copy_keyed_typed(std::uint8_t* to, const std::uint8_t* from, int width, Pixel key) {
  Pixel* t = reinterpret_cast<Pixel*>(to);
  const Pixel* f = reinterpret_cast<const Pixel*>(from);
  for (int x = 0; x < width; ++x)
    if (f[x] != key) t[x] = f[x];
}

bool clip_to(const surface& s, pixel_rect& area) {
  int x0 = std::max(area.x, 0);
  int y0 = std::max(area.y, 0);
  int x1 = std::min(area.x + area.width, s.width());
  int y1 = std::min(area.y + area.height, s.height());
  area = pixel_rect{x0, y0, x1 - x0, y1 - y0};
  return !area.empty();
}

}  // namespace

std::uint32_t pixel_value(const pixel_format& format, colour c) {
  if (!usable_pixel_size(format.bits_per_pixel)) return no_pixel_value;
  return component_value(c.red, format.red_mask) | component_value(c.green, format.green_mask) |
         component_value(c.blue, format.blue_mask);
}

std::size_t row_stride(int width, int bytes_per_pixel) {
  const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(bytes_per_pixel);
  return bytes % 512 == 0 ? bytes + 64 : bytes;
}

int pow2_at_least(int n) {
  int p = 2;
  while (p < n && p < (1 << 30)) p <<= 1;
  return p;
}

pixel_rect united(const pixel_rect& a, const pixel_rect& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  int x0 = std::min(a.x, b.x);
  int y0 = std::min(a.y, b.y);
  int x1 = std::max(a.x + a.width, b.x + b.width);
  int y1 = std::max(a.y + a.height, b.y + b.height);
  return pixel_rect{x0, y0, x1 - x0, y1 - y0};
}

surface::surface(int width, int height, const pixel_format& format, std::vector<std::uint8_t> pixels)
    : width_(width),
      height_(height),
      bytes_per_pixel_(format.bits_per_pixel / 8),
      stride_(row_stride(width, format.bits_per_pixel / 8)),
      format_(format),
      pixels_(std::move(pixels)) {}

std::uint32_t surface::pixel_at(int x, int y) const {
  const std::uint8_t* p = pixels_.data() + static_cast<std::size_t>(y) * stride_ +
                          static_cast<std::size_t>(x) * bytes_per_pixel_;
  std::uint32_t v = 0;
  for (int i = bytes_per_pixel_ - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

void surface::set_pixel(int x, int y, std::uint32_t value) {
  std::uint8_t* p = pixels_.data() + static_cast<std::size_t>(y) * stride_ +
                    static_cast<std::size_t>(x) * bytes_per_pixel_;
  for (int i = 0; i < bytes_per_pixel_; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

memory_backend::memory_backend(pixel_format format) : depth(format.bits_per_pixel), format_(format) {}

memory_backend::~memory_backend() = default;

void memory_backend::fill_rows(surface& s, const pixel_rect& r, std::uint32_t v) {
  switch (s.bytes_per_pixel_) {
    case 4: fill_typed<std::uint32_t>(s.pixels_.data(), s.stride_, r, v); return;
    case 2: fill_typed<std::uint16_t>(s.pixels_.data(), s.stride_, r, static_cast<std::uint16_t>(v)); return;
    default:
      for (int y = r.y; y < r.y + r.height; ++y)
        for (int x = r.x; x < r.x + r.width; ++x) s.set_pixel(x, y, v);
  }
}

void memory_backend::copy_keyed_row(std::uint8_t* to, const std::uint8_t* from, int width, int bpp,
                                    std::uint32_t key) {
  switch (bpp) {
    case 4: copy_keyed_typed<std::uint32_t>(to, from, width, key); return;
    case 2: copy_keyed_typed<std::uint16_t>(to, from, width, static_cast<std::uint16_t>(key)); return;
    default:
      for (int px = 0; px < width; ++px) {
        std::uint32_t v = 0;
        for (int b = bpp - 1; b >= 0; --b) v = (v << 8) | from[px * bpp + b];
        if (v != key) std::memcpy(to + px * bpp, from + px * bpp, bpp);
      }
  }
}

void memory_backend::lose_surfaces() {
  for (auto& s : surfaces_) s->lost_ = true;
}

void memory_backend::before_operation() {
  if (before_each_operation) before_each_operation(*this);
}

bool memory_backend::open_device(bool emulation) {
  if (fail_open) return false;
  device_open_ = true;
  emulation_only_ = emulation;
  return true;
}

void memory_backend::close_device() { device_open_ = false; }

int memory_backend::display_depth() { return depth; }

bool memory_backend::capabilities(std::uint32_t& caps_out, std::uint32_t& key_caps_out) {
  if (fail_caps || !device_open_) return false;
  caps_out = caps;
  key_caps_out = colour_key_caps;
  return true;
}

bool memory_backend::open_window_target() {
  if (fail_target || !device_open_) return false;
  target_open_ = true;
  return true;
}

void memory_backend::close_window_target() { target_open_ = false; }

surface* memory_backend::create_surface(int width, int height, bool /*system_memory*/) {
  if (!device_open_ || !usable_pixel_size(format_.bits_per_pixel)) return nullptr;
  if (width <= 0 || height <= 0 || width > max_side || height > max_side) return nullptr;
  if (fail_create_after == 0) return nullptr;
  if (fail_create_after > 0) --fail_create_after;
  std::size_t bytes = row_stride(width, format_.bits_per_pixel / 8) * static_cast<std::size_t>(height);
  std::unique_ptr<surface> s;
  try {
    s = std::make_unique<surface>(width, height, format_, std::vector<std::uint8_t>(bytes));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  ++creations_;
  surfaces_.push_back(std::move(s));
  return surfaces_.back().get();
}

void memory_backend::release_surface(surface* s) {
  auto it = std::find_if(surfaces_.begin(), surfaces_.end(),
                         [s](const std::unique_ptr<surface>& p) { return p.get() == s; });
  if (it != surfaces_.end()) surfaces_.erase(it);
}

draw_result memory_backend::set_colour_key(surface& s, colour c) {
  before_operation();
  if (s.lost_) return draw_result::lost;
  std::uint32_t v = pixel_value_of(s, c);
  if (v == no_pixel_value) return draw_result::failed;
  s.has_key_ = true;
  s.key_ = v;
  return draw_result::ok;
}

draw_result memory_backend::fill(surface& s, const pixel_rect& area, colour c) {
  before_operation();
  if (s.lost_) return draw_result::lost;
  std::uint32_t v = pixel_value_of(s, c);
  if (v == no_pixel_value) return draw_result::failed;
  pixel_rect r = area;
  if (!clip_to(s, r)) return draw_result::ok;
  fill_rows(s, r, v);
  return draw_result::ok;
}

draw_result memory_backend::copy(surface& target, int x, int y, surface& source, const pixel_rect& area,
                                 bool keyed) {
  before_operation();
  if (target.lost_ || source.lost_) return draw_result::lost;
  if (target.bytes_per_pixel_ != source.bytes_per_pixel_) return draw_result::failed;
  pixel_rect r = area;
  if (!clip_copy(target, x, y, source, r)) return draw_result::ok;
  int bpp = source.bytes_per_pixel_;
  std::size_t row_bytes = static_cast<std::size_t>(r.width) * bpp;
  // Rows in an order that is safe when source and target are the same surface
  // and the areas overlap (shifting rows up or down).
  bool backwards = &target == &source && y > r.y;
  for (int i = 0; i < r.height; ++i) {
    int row = backwards ? r.height - 1 - i : i;
    const std::uint8_t* from = source.pixels_.data() + static_cast<std::size_t>(r.y + row) * source.stride_ +
                               static_cast<std::size_t>(r.x) * bpp;
    std::uint8_t* to = target.pixels_.data() + static_cast<std::size_t>(y + row) * target.stride_ +
                       static_cast<std::size_t>(x) * bpp;
    if (!keyed || !source.has_key_) {
      std::memmove(to, from, row_bytes);
      continue;
    }
    copy_keyed_row(to, from, r.width, bpp, source.key_);
  }
  return draw_result::ok;
}

std::uint8_t* memory_backend::lock(surface& s) {
  before_operation();
  if (s.lost_ || s.locked_) return nullptr;
  if (fail_lock_after == 0) return nullptr;
  if (fail_lock_after > 0) --fail_lock_after;
  ++locks_;
  s.locked_ = true;
  return s.pixels_.data();
}

void memory_backend::unlock(surface& s) { s.locked_ = false; }

std::uint32_t memory_backend::pixel_value_of(surface& s, colour c) {
  if (unreadable_format) return no_pixel_value;
  return pixel_value(s.format_, c);
}

}  // namespace vintorel
