// Drawing surfaces: pixel formats and colour conversion, memory surfaces with
// the back-end operations the painter needs (fill, copy, keyed copy, colour key,
// lock), and the set of screen surfaces with its creation, rebuild and release.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vintorel {

// A colour as the settings give it: three signed components, normally 0..255.
struct colour {
  std::int32_t red = 0;
  std::int32_t green = 0;
  std::int32_t blue = 0;
  friend bool operator==(const colour&, const colour&) = default;
};

struct pixel_format {
  int bits_per_pixel = 32;
  std::uint32_t red_mask = 0x00FF0000;
  std::uint32_t green_mask = 0x0000FF00;
  std::uint32_t blue_mask = 0x000000FF;
};

pixel_format rgb32_format();
pixel_format rgb565_format();

// The value of a pixel that has no colour (the format could not be read).
constexpr std::uint32_t no_pixel_value = 0xFFFFFFFFu;

// Turns a colour into the pixel value of `format`: each 8-bit component is put
// in the top byte of a 32-bit word and shifted down to the top bit of its mask,
// then masked. no_pixel_value when the format has no usable pixel size.
std::uint32_t pixel_value(const pixel_format& format, colour c);

// Smallest power of two that is at least n, and at least 2.
int pow2_at_least(int n);

// A rectangle in pixels.
struct pixel_rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool empty() const { return width <= 0 || height <= 0; }
};
// The smallest rectangle holding both (an empty one counts as nothing).
pixel_rect united(const pixel_rect& a, const pixel_rect& b);

// Bytes from one row of a memory surface to the next: width × bytes per pixel,
// and one cache line more when that is a multiple of 512 bytes, so that the
// rows of a tall image (whose width is a power of two) do not all fall into
// the same few cache sets.
std::size_t row_stride(int width, int bytes_per_pixel);

// An off-screen surface in memory, rows stride() bytes apart.
class surface {
 public:
  surface(int width, int height, const pixel_format& format, std::vector<std::uint8_t> pixels);

  int width() const { return width_; }
  int height() const { return height_; }
  int bytes_per_pixel() const { return bytes_per_pixel_; }
  std::size_t stride() const { return stride_; }
  const pixel_format& format() const { return format_; }
  bool is_lost() const { return lost_; }
  bool is_locked() const { return locked_; }
  bool has_colour_key() const { return has_key_; }
  std::uint32_t colour_key() const { return key_; }

  // Raw pixel access for the back end and for tests; (x, y) must lie inside.
  std::uint32_t pixel_at(int x, int y) const;
  void set_pixel(int x, int y, std::uint32_t value);
  std::uint8_t* data() { return pixels_.data(); }
  const std::uint8_t* data() const { return pixels_.data(); }

 private:
  friend class memory_backend;
  int width_;
  int height_;
  int bytes_per_pixel_;
  std::size_t stride_;
  pixel_format format_;
  std::vector<std::uint8_t> pixels_;
  bool has_key_ = false;
  std::uint32_t key_ = 0;
  bool locked_ = false;
  bool lost_ = false;
};

// Outcome of a surface operation. `lost` is the one the caller must answer with
// a rebuild; anything else that went wrong is `failed` and is ignored by painters.
enum class draw_result { ok, failed, lost };

// Capability bits the display needs (the values the drawing API defines).
constexpr std::uint32_t caps_blt = 0x40;
constexpr std::uint32_t caps_blt_colour_fill = 0x04000000;
constexpr std::uint32_t caps_colour_key = 0x00400000;
constexpr std::uint32_t colour_key_caps_source_blt = 0x200;

// The operations the display logic needs of a drawing back end.
class drawing_backend {
 public:
  virtual ~drawing_backend() = default;
  virtual bool open_device(bool emulation_only) = 0;
  virtual void close_device() = 0;
  // Bits per pixel of the display, 0 on failure.
  virtual int display_depth() = 0;
  virtual bool capabilities(std::uint32_t& caps, std::uint32_t& colour_key_caps) = 0;
  // The window's target (the primary surface with its clipper).
  virtual bool open_window_target() = 0;
  virtual void close_window_target() = 0;
  // Null on failure. The surface belongs to the back end until released.
  virtual surface* create_surface(int width, int height, bool system_memory) = 0;
  virtual void release_surface(surface* s) = 0;
  virtual draw_result set_colour_key(surface& s, colour c) = 0;
  virtual draw_result fill(surface& s, const pixel_rect& area, colour c) = 0;
  // Copies `area` of `source` to (x, y) of `target`; with `keyed`, source pixels
  // equal to the source's colour key are left out.
  virtual draw_result copy(surface& target, int x, int y, surface& source, const pixel_rect& area,
                           bool keyed) = 0;
  // Pixel memory of the whole surface, rows stride() apart; null on failure.
  virtual std::uint8_t* lock(surface& s) = 0;
  virtual void unlock(surface& s) = 0;
  virtual std::uint32_t pixel_value_of(surface& s, colour c) = 0;
};

// The back end of this program: surfaces in memory in one pixel format. A
// surface is never lost by itself here; the test switches below can make the
// operations report a loss or fail so that every path of the callers runs.
class memory_backend : public drawing_backend {
 public:
  explicit memory_backend(pixel_format format = rgb32_format());
  ~memory_backend() override;

  // Test switches (all off by default).
  int depth;                          // what display_depth() reports
  std::uint32_t caps = caps_blt | caps_blt_colour_fill | caps_colour_key;
  std::uint32_t colour_key_caps = colour_key_caps_source_blt;
  bool fail_open = false;
  bool fail_caps = false;
  bool fail_target = false;
  int fail_create_after = -1;         // creations that succeed before one fails
  int fail_lock_after = -1;           // locks that succeed before one fails
  bool unreadable_format = false;     // pixel_value_of gives no_pixel_value
  // Called at the start of every fill, copy, colour key and lock; a test can
  // lose the surfaces from here at a chosen moment.
  std::function<void(memory_backend&)> before_each_operation;
  // Marks every surface alive now as lost: each later operation on it reports
  // `lost` until it is released and made again.
  void lose_surfaces();

  // Bookkeeping for tests.
  bool device_open() const { return device_open_; }
  bool target_open() const { return target_open_; }
  bool emulation_only() const { return emulation_only_; }
  std::size_t live_surfaces() const { return surfaces_.size(); }
  int creations() const { return creations_; }
  const pixel_format& format() const { return format_; }

  bool open_device(bool emulation_only) override;
  void close_device() override;
  int display_depth() override;
  bool capabilities(std::uint32_t& caps_out, std::uint32_t& key_caps_out) override;
  bool open_window_target() override;
  void close_window_target() override;
  surface* create_surface(int width, int height, bool system_memory) override;
  void release_surface(surface* s) override;
  draw_result set_colour_key(surface& s, colour c) override;
  draw_result fill(surface& s, const pixel_rect& area, colour c) override;
  draw_result copy(surface& target, int x, int y, surface& source, const pixel_rect& area,
                   bool keyed) override;
  std::uint8_t* lock(surface& s) override;
  void unlock(surface& s) override;
  std::uint32_t pixel_value_of(surface& s, colour c) override;

  // Largest side of a surface this back end makes.
  static constexpr int max_side = 16384;

 private:
  pixel_format format_;
  std::vector<std::unique_ptr<surface>> surfaces_;
  bool device_open_ = false;
  bool target_open_ = false;
  bool emulation_only_ = false;
  int creations_ = 0;
  int locks_ = 0;
  void before_operation();
  static void fill_rows(surface& s, const pixel_rect& area, std::uint32_t value);
  static void copy_keyed_row(std::uint8_t* to, const std::uint8_t* from, int width, int bytes_per_pixel,
                             std::uint32_t key);
};

constexpr int full_width_sheet_count = 24;

// The surfaces of the main window.
struct screen_surfaces {
  bool device = false;
  bool window_target = false;
  surface* screen_image = nullptr;
  surface* text_image = nullptr;
  surface* cell_scratch = nullptr;
  surface* half_width_sheet = nullptr;
  std::array<surface*, full_width_sheet_count> full_width_sheets{};
  // Image size in pixels (the client area rounded up to powers of two).
  int image_width = 0;
  int image_height = 0;
};

}  // namespace vintorel
