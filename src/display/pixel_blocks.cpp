// Fills and glyph composition over whole vectors of pixels, with a pixel-wise
// tail for widths that do not fill the last vector.
#include "display/pixel_blocks.h"

#include <cstring>
#include <type_traits>

namespace vintorel {

namespace {

constexpr std::size_t vector_bytes = 16;

template <class Pixel>
struct lanes {
  using signed_pixel = std::conditional_t<sizeof(Pixel) == 4, std::int32_t, std::int16_t>;
  typedef signed_pixel vec __attribute__((vector_size(vector_bytes)));
  static constexpr int count = vector_bytes / sizeof(Pixel);

  static vec splat(std::uint32_t value) { return vec{} + static_cast<signed_pixel>(static_cast<Pixel>(value)); }
  static vec load(const std::uint8_t* p) {
    vec v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  static void store(std::uint8_t* p, vec v) { std::memcpy(p, &v, sizeof v); }
};

// Whether every byte of the pixel value is the same (black, white): the
// library's memset then fills faster than any loop here.
template <class Pixel>
bool uniform_bytes(Pixel p) {
  for (std::size_t i = 1; i < sizeof(Pixel); ++i)
    if (((p >> (8 * i)) & 0xFF) != (p & 0xFF)) return false;
  return true;
}

template <class Pixel>
void fill_typed(const image_rows& to, int width, int height, std::uint32_t value) {
  using L = lanes<Pixel>;
  if (uniform_bytes(static_cast<Pixel>(value))) {
    const std::size_t bytes = static_cast<std::size_t>(width) * sizeof(Pixel);
    for (int y = 0; y < height; ++y) {
      std::memset(to.first + y * to.stride, static_cast<int>(value & 0xFF), bytes);
    }
    return;
  }
  const typename L::vec v = L::splat(value);
  const Pixel p = static_cast<Pixel>(value);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* a = to.first + y * to.stride;
    int x = 0;
    for (; x + L::count <= width; x += L::count) L::store(a + x * sizeof(Pixel), v);
    for (; x < width; ++x) std::memcpy(a + x * sizeof(Pixel), &p, sizeof p);
  }
}

template <class Pixel>
Pixel compose(Pixel s, const glyph_values& v) {
  if (s == static_cast<Pixel>(v.ink)) return static_cast<Pixel>(v.foreground);
  if (s == static_cast<Pixel>(v.blank)) return static_cast<Pixel>(v.background);
  return s;
}

template <class Pixel>
void glyph_typed(const image_rows& to, const std::uint8_t* sheet, std::size_t sheet_stride, int width, int height,
                 const glyph_values& values) {
  using L = lanes<Pixel>;
  using vec = typename L::vec;
  const vec ink = L::splat(values.ink);
  const vec blank = L::splat(values.blank);
  const vec fg = L::splat(values.foreground);
  const vec bg = L::splat(values.background);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* s = sheet + y * sheet_stride;
    std::uint8_t* a = to.first + y * to.stride;
    int x = 0;
    for (; x + L::count <= width; x += L::count) {
      const vec in = L::load(s + x * sizeof(Pixel));
      const vec is_ink = in == ink;
      const vec is_blank = in == blank;
      vec out = (is_blank & bg) | (~is_blank & in);
      out = (is_ink & fg) | (~is_ink & out);
      L::store(a + x * sizeof(Pixel), out);
    }
    for (; x < width; ++x) {
      Pixel in;
      std::memcpy(&in, s + x * sizeof(Pixel), sizeof in);
      const Pixel out = compose(in, values);
      std::memcpy(a + x * sizeof(Pixel), &out, sizeof out);
    }
  }
}

// The ink bits of mask row y.
inline std::uint32_t mask_bits(const std::uint16_t* rows, int y, int width) {
  return mask_words(width) == 1 ? rows[y] : rows[2 * y] | static_cast<std::uint32_t>(rows[2 * y + 1]) << 16;
}

// Glyph rows from an ink mask with vectors of `VectorBytes`: each lane tests
// its own bit of the row's mask, so no table of lane patterns is needed.
// `Width` > 0 fixes the width at compile time (the loop then unrolls), 0 takes
// it from `width`; `Both` writes `also` as well. Always inlined, so that a
// caller built for wider vectors compiles it for them.
template <class Pixel, int VectorBytes, int Width, bool Both>
[[gnu::always_inline]] inline void mask_rows(const image_rows& to, const image_rows& also,
                                              const std::uint16_t* rows, int width, int height,
                                              std::uint32_t ink_value, std::uint32_t other_value) {
  using signed_pixel = std::conditional_t<sizeof(Pixel) == 4, std::int32_t, std::int16_t>;
  typedef signed_pixel vec __attribute__((vector_size(VectorBytes)));
  constexpr int count = VectorBytes / static_cast<int>(sizeof(Pixel));
  // A narrower vector for a row end the wide one does not fill (8 pixels of
  // 16 bits under AVX2).
  typedef signed_pixel narrow_vec __attribute__((vector_size(16)));
  constexpr int narrow_count = 16 / static_cast<int>(sizeof(Pixel));
  vec lane_bits{};
  for (int i = 0; i < count; ++i) lane_bits[i] = static_cast<signed_pixel>(1u << i);
  const vec other = vec{} + static_cast<signed_pixel>(static_cast<Pixel>(other_value));
  const vec differ = other ^ (vec{} + static_cast<signed_pixel>(static_cast<Pixel>(ink_value)));
  narrow_vec narrow_lane_bits{};
  for (int i = 0; i < narrow_count; ++i) narrow_lane_bits[i] = static_cast<signed_pixel>(1u << i);
  const narrow_vec narrow_other = narrow_vec{} + static_cast<signed_pixel>(static_cast<Pixel>(other_value));
  const narrow_vec narrow_differ =
      narrow_other ^ (narrow_vec{} + static_cast<signed_pixel>(static_cast<Pixel>(ink_value)));
  const Pixel ink_pixel = static_cast<Pixel>(ink_value);
  const Pixel other_pixel = static_cast<Pixel>(other_value);
  const int w = Width > 0 ? Width : width;
  // Strides in locals: the stores could alias `to` and `also` otherwise.
  const std::size_t a_stride = to.stride;
  const std::size_t b_stride = Both ? also.stride : 0;
  std::uint8_t* a = to.first;
  std::uint8_t* b = also.first;
  for (int y = 0; y < height; ++y, a += a_stride, b += b_stride) {
    const std::uint32_t bits = mask_bits(rows, y, width);
    int x = 0;
#pragma GCC unroll 8
    for (; x + count <= w; x += count) {
      const signed_pixel part = static_cast<signed_pixel>(bits >> x);
      const vec lanes_bits = (vec{} + part) & lane_bits;
      const vec out = other ^ ((lanes_bits == lane_bits) & differ);
      std::memcpy(a + x * sizeof(Pixel), &out, sizeof out);
      if constexpr (Both) std::memcpy(b + x * sizeof(Pixel), &out, sizeof out);
    }
    if constexpr (VectorBytes > 16) {
      if (x + narrow_count <= w) {
        const signed_pixel part = static_cast<signed_pixel>(bits >> x);
        const narrow_vec lanes_bits = (narrow_vec{} + part) & narrow_lane_bits;
        const narrow_vec out = narrow_other ^ ((lanes_bits == narrow_lane_bits) & narrow_differ);
        std::memcpy(a + x * sizeof(Pixel), &out, sizeof out);
        if constexpr (Both) std::memcpy(b + x * sizeof(Pixel), &out, sizeof out);
        x += narrow_count;
      }
    }
    for (; x < w; ++x) {
      const Pixel out = (bits >> x) & 1 ? ink_pixel : other_pixel;
      std::memcpy(a + x * sizeof(Pixel), &out, sizeof out);
      if constexpr (Both) std::memcpy(b + x * sizeof(Pixel), &out, sizeof out);
    }
  }
}

// The usual cell widths (8-pixel half-width cells and their full-width
// glyphs) get loops of fixed length.
template <class Pixel, int VectorBytes, bool Both>
[[gnu::always_inline]] inline void mask_widths(const image_rows& to, const image_rows& also,
                                                const std::uint16_t* rows, int width, int height,
                                                std::uint32_t ink_value, std::uint32_t other_value) {
  if (width == 16)
    mask_rows<Pixel, VectorBytes, 16, Both>(to, also, rows, width, height, ink_value, other_value);
  else if (width == 8)
    mask_rows<Pixel, VectorBytes, 8, Both>(to, also, rows, width, height, ink_value, other_value);
  else
    mask_rows<Pixel, VectorBytes, 0, Both>(to, also, rows, width, height, ink_value, other_value);
}

#define VINTOREL_MASK_KERNEL(name, attributes, vector_bytes)                                                     \
  template <class Pixel>                                                                                         \
  attributes void name(const image_rows& to, const image_rows& also, const std::uint16_t* rows, int width,      \
                       int height, std::uint32_t ink_value, std::uint32_t other_value) {                          \
    if (also.first)                                                                                              \
      mask_widths<Pixel, vector_bytes, true>(to, also, rows, width, height, ink_value, other_value);            \
    else                                                                                                         \
      mask_widths<Pixel, vector_bytes, false>(to, also, rows, width, height, ink_value, other_value);           \
  }

VINTOREL_MASK_KERNEL(mask_typed, , 16)

#if defined(__x86_64__) || defined(__i386__)
// With AVX2 a 16-pixel row of 16-bit pixels, or half of one of 32-bit
// pixels, is one store; the processor is asked once whether it has it.
#define VINTOREL_WIDE_MASKS 1
VINTOREL_MASK_KERNEL(mask_typed_wide, __attribute__((target("avx2"))), 32)
const bool has_wide_vectors = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}();
bool use_wide_vectors = has_wide_vectors;
#endif

#undef VINTOREL_MASK_KERNEL

template <class Pixel>
bool make_mask_typed(std::uint16_t* rows, const std::uint8_t* sheet, std::size_t sheet_stride, int width, int height,
                     std::uint32_t ink, std::uint32_t blank) {
  bool two_values = true;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* s = sheet + y * sheet_stride;
    std::uint32_t bits = 0;
    for (int x = 0; x < width; ++x) {
      Pixel p;
      std::memcpy(&p, s + x * sizeof(Pixel), sizeof p);
      if (p == static_cast<Pixel>(ink))
        bits |= 1u << x;
      else if (p != static_cast<Pixel>(blank))
        two_values = false;
    }
    rows[y * mask_words(width)] = static_cast<std::uint16_t>(bits);
    if (mask_words(width) == 2) rows[y * 2 + 1] = static_cast<std::uint16_t>(bits >> 16);
  }
  return two_values;
}

}  // namespace

void mask_block(const image_rows& to, const image_rows& also, const std::uint16_t* rows, int width, int height,
                std::uint32_t ink_value, std::uint32_t other_value, int bytes_per_pixel) {
#ifdef VINTOREL_WIDE_MASKS
  if (use_wide_vectors) {
    if (bytes_per_pixel == 4)
      mask_typed_wide<std::uint32_t>(to, also, rows, width, height, ink_value, other_value);
    else if (bytes_per_pixel == 2)
      mask_typed_wide<std::uint16_t>(to, also, rows, width, height, ink_value, other_value);
    return;
  }
#endif
  if (bytes_per_pixel == 4)
    mask_typed<std::uint32_t>(to, also, rows, width, height, ink_value, other_value);
  else if (bytes_per_pixel == 2)
    mask_typed<std::uint16_t>(to, also, rows, width, height, ink_value, other_value);
}

bool allow_wide_vectors(bool allow) {
#ifdef VINTOREL_WIDE_MASKS
  use_wide_vectors = allow && has_wide_vectors;
  return use_wide_vectors;
#else
  (void)allow;
  return false;
#endif
}

bool make_mask(std::uint16_t* rows, const std::uint8_t* sheet, std::size_t sheet_stride, int width, int height,
               std::uint32_t ink, std::uint32_t blank, int bytes_per_pixel) {
  if (bytes_per_pixel == 4) return make_mask_typed<std::uint32_t>(rows, sheet, sheet_stride, width, height, ink, blank);
  if (bytes_per_pixel == 2) return make_mask_typed<std::uint16_t>(rows, sheet, sheet_stride, width, height, ink, blank);
  return false;
}

void copy_block(const image_rows& to, const image_rows& from, std::size_t row_bytes, int height) {
  for (int y = 0; y < height; ++y) std::memcpy(to.first + y * to.stride, from.first + y * from.stride, row_bytes);
}

void fill_block(const image_rows& to, int width, int height, std::uint32_t value, int bytes_per_pixel) {
  if (bytes_per_pixel == 4)
    fill_typed<std::uint32_t>(to, width, height, value);
  else if (bytes_per_pixel == 2)
    fill_typed<std::uint16_t>(to, width, height, value);
}

void glyph_block(const image_rows& to, const std::uint8_t* sheet, std::size_t sheet_stride, int width, int height,
                 const glyph_values& values, int bytes_per_pixel) {
  if (bytes_per_pixel == 4)
    glyph_typed<std::uint32_t>(to, sheet, sheet_stride, width, height, values);
  else if (bytes_per_pixel == 2)
    glyph_typed<std::uint16_t>(to, sheet, sheet_stride, width, height, values);
}

}  // namespace vintorel
