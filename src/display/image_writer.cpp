// Direct painting into the locked images, composed as the surface copies of
// draw_glyph compose: ink pixels of the sheet take the glyph colour, the
// sheet's blank pixels take the background, and the result goes to the text
// image and the screen image alike, in one pass where the glyph has an ink mask.
#include "display/image_writer.h"

#include <algorithm>

#include "display/fontx2.h"
#include "display/painter.h"

namespace vintorel {

image_writer::image_writer(display_context& display) : display_(display) {
  drawing_backend* backend = display.backend;
  const screen_surfaces& s = display.surfaces;
  if (!backend || !s.text_image || !s.screen_image || !s.half_width_sheet) return;
  for (const surface* sheet : s.full_width_sheets)
    if (!sheet) return;
  surface& text = *s.text_image;
  surface& screen = *s.screen_image;
  bytes_per_pixel_ = text.bytes_per_pixel();
  stride_ = text.stride();
  image_width_ = text.width();
  image_height_ = text.height();
  if (bytes_per_pixel_ != 2 && bytes_per_pixel_ != 4) return;
  if (screen.bytes_per_pixel() != bytes_per_pixel_ || screen.stride() != stride_ ||
      screen.width() != text.width() || screen.height() != text.height())
    return;
  ink_ = value_of(display.colours[text_normal]);
  blank_ = value_of(display.colours[back_normal]);
  if (ink_ == no_pixel_value || blank_ == no_pixel_value) return;
  text_ = backend->lock(text);
  if (!text_) return;
  screen_ = backend->lock(screen);
  if (!screen_) {
    backend->unlock(text);
    text_ = nullptr;
    return;
  }
  usable_ = true;
}

image_writer::~image_writer() { release(); }

void image_writer::release() {
  drawing_backend* backend = display_.backend;
  const screen_surfaces& s = display_.surfaces;
  for (std::size_t i = sheets_.size(); i-- > 0;) {
    if (sheets_[i]) backend->unlock(sheet_surface(static_cast<int>(i)));
    sheets_[i] = nullptr;
  }
  if (screen_) backend->unlock(*s.screen_image);
  if (text_) backend->unlock(*s.text_image);
  screen_ = text_ = nullptr;
  usable_ = false;
}

surface& image_writer::sheet_surface(int index) const {
  const screen_surfaces& s = display_.surfaces;
  return index == 0 ? *s.half_width_sheet : *s.full_width_sheets[static_cast<std::size_t>(index - 1)];
}

std::uint8_t* image_writer::sheet_pixels(int index) {
  std::uint8_t*& p = sheets_[static_cast<std::size_t>(index)];
  if (!p) {
    surface& sheet = sheet_surface(index);
    if (sheet.bytes_per_pixel() != bytes_per_pixel_) return nullptr;
    p = display_.backend->lock(sheet);
  }
  return p;
}

std::uint32_t image_writer::value_of(const colour& c) {
  paint_preparations& p = display_.prepared;
  for (int i = 0; i < p.recent_count; ++i)
    if (p.recent_colours[static_cast<std::size_t>(i)] == c) return p.recent_values[static_cast<std::size_t>(i)];
  const std::uint32_t v = display_.backend->pixel_value_of(*display_.surfaces.text_image, c);
  if (v == no_pixel_value) return v;
  const std::size_t slot = static_cast<std::size_t>(p.recent_next);
  p.recent_colours[slot] = c;
  p.recent_values[slot] = v;
  p.recent_next = (p.recent_next + 1) % static_cast<int>(p.recent_colours.size());
  if (p.recent_count < static_cast<int>(p.recent_colours.size())) ++p.recent_count;
  return v;
}

namespace {

// Glyph slots: the 256 half-width glyphs, then 512 places on each full-width sheet.
constexpr int half_width_slots = 256;
constexpr int full_width_sheet_slots = 512;
constexpr int glyph_slots = half_width_slots + full_width_sheet_count * full_width_sheet_slots;
// Masks hold a full-width row in 32 bits at most.
constexpr int widest_masked_cell = 16;

// Mask words a glyph slot takes: every slot has room for a full-width glyph.
int slot_words(const cell_metrics& m) { return m.height * mask_words(2 * m.width); }

// The part of `area` inside an image of `s`'s size.
pixel_rect within(const pixel_rect& area, const surface& s) {
  const int x0 = std::max(area.x, 0);
  const int y0 = std::max(area.y, 0);
  const int x1 = std::min(area.x + area.width, s.width());
  const int y1 = std::min(area.y + area.height, s.height());
  return {x0, y0, x1 - x0, y1 - y0};
}

}  // namespace

void image_writer::check_masks() {
  glyph_mask_cache& cache = display_.prepared.glyph_masks;
  const cell_metrics& m = display_.metrics;
  if (cache.rows.empty() || cache.cell_width != m.width || cache.cell_height != m.height || cache.ink != ink_ ||
      cache.blank != blank_) {
    cache.cell_width = m.width;
    cache.cell_height = m.height;
    cache.ink = ink_;
    cache.blank = blank_;
    cache.rows.assign(static_cast<std::size_t>(glyph_slots) * static_cast<std::size_t>(slot_words(m)), 0);
    cache.made.assign(glyph_slots, 0);
  }
  masks_ = cache.rows.data();
  masks_made_ = cache.made.data();
  slot_words_ = static_cast<std::size_t>(slot_words(m));
}

const std::uint16_t* image_writer::take_mask(int slot, int sheet, int source_x, int source_y, int width,
                                             bool& failed) {
  const cell_metrics& m = display_.metrics;
  const surface& from = sheet_surface(sheet);
  // A glyph the sheet holds only in part is drawn from the sheet, clipped.
  if (source_x < 0 || source_y < 0 || source_x + width > from.width() || source_y + m.height > from.height())
    return nullptr;
  const std::uint8_t* pixels = sheet_pixels(sheet);
  if (!pixels) {
    failed = true;
    return nullptr;
  }
  std::uint16_t* rows = masks_ + static_cast<std::size_t>(slot) * slot_words_;
  std::uint8_t& made = masks_made_[slot];
  made = make_mask(rows,
                   pixels + static_cast<std::size_t>(source_y) * from.stride() +
                       static_cast<std::size_t>(source_x) * bytes_per_pixel_,
                   from.stride(), width, m.height, ink_, blank_, bytes_per_pixel_)
             ? 1
             : 2;
  return made == 1 ? rows : nullptr;
}

image_rows image_writer::text_at(int x, int y) const {
  return image_rows{text_ + static_cast<std::size_t>(y) * stride_ + static_cast<std::size_t>(x) * bytes_per_pixel_,
                    stride_};
}

image_rows image_writer::screen_at(int x, int y) const {
  return image_rows{screen_ + static_cast<std::size_t>(y) * stride_ + static_cast<std::size_t>(x) * bytes_per_pixel_,
                    stride_};
}

void image_writer::mirror(int x, int y, int width, int height) {
  copy_block(screen_at(x, y), text_at(x, y), static_cast<std::size_t>(width) * bytes_per_pixel_, height);
}

bool image_writer::fill(const pixel_rect& area, const colour& c) {
  if (!usable_) return false;
  const pixel_rect r = within(area, *display_.surfaces.text_image);
  if (r.empty()) return true;
  forget_written(display_.prepared.known_rows, r);
  const std::uint32_t value = value_of(c);
  fill_block(text_at(r.x, r.y), r.width, r.height, value, bytes_per_pixel_);
  fill_block(screen_at(r.x, r.y), r.width, r.height, value, bytes_per_pixel_);
  return true;
}

bool image_writer::clear_row_end(int row, int from_column, int end_column, const colour& c) {
  if (from_column >= end_column) return usable_;
  const cell_metrics& m = display_.metrics;
  return clear_known(row, false, cell_block_rect(m, row, from_column, 1, end_column - from_column), c);
}

bool image_writer::clear_gap_below(int row, int from_column, int end_column, const colour& c) {
  const cell_metrics& m = display_.metrics;
  if (from_column >= end_column || m.between <= 0) return usable_;
  const pixel_rect cells = cell_block_rect(m, row, from_column, 1, end_column - from_column);
  return clear_known(row, true, pixel_rect{cells.x, cells.y + m.height, cells.width, m.between}, c);
}

namespace {

// The parts of columns [x0, x1) outside `known` when it holds `value`, else
// all of them: at most two pieces, on either side of the run.
struct pieces {
  int count = 0;
  int from[2] = {0, 0};
  int to[2] = {0, 0};
};
pieces not_known(int x0, int x1, const pixel_run& known, std::uint32_t value) {
  pieces p;
  auto add = [&p](int from, int to) {
    if (from < to) p.from[p.count] = from, p.to[p.count++] = to;
  };
  if (known.empty() || known.value != value || known.to <= x0 || known.from >= x1) {
    add(x0, x1);
  } else {
    add(x0, known.from);
    add(known.to, x1);
  }
  return p;
}

// A run that meets [x0, x1) and holds `value` widens it.
pixel_run widened(pixel_run now, const pixel_run& known) {
  if (!known.empty() && known.value == now.value && known.from <= now.to && known.to >= now.from) {
    now.from = std::min(now.from, known.from);
    now.to = std::max(now.to, known.to);
  }
  return now;
}

}  // namespace

bool image_writer::clear_known(int row, bool gap, const pixel_rect& band, const colour& c) {
  if (!usable_) return false;
  const cell_metrics& m = display_.metrics;
  const int pitch = m.height + m.between;
  const int x0 = band.x;
  const int x1 = band.x + band.width;
  const std::uint32_t value = value_of(c);
  const band_runs known = known_runs(display_.prepared.known_rows, row, pitch, m.height, gap);
  // Each image only where it does not hold the value already (the pieces lie
  // inside this band, so nothing else known changes).
  const surface& image = *display_.surfaces.text_image;
  auto fill_pieces = [&](const pieces& p, bool in_text) {
    for (int k = 0; k < p.count; ++k) {
      const pixel_rect r = within(pixel_rect{p.from[k], band.y, p.to[k] - p.from[k], band.height}, image);
      if (!r.empty())
        fill_block(in_text ? text_at(r.x, r.y) : screen_at(r.x, r.y), r.width, r.height, value, bytes_per_pixel_);
    }
  };
  fill_pieces(not_known(x0, x1, known.text, value), true);
  fill_pieces(not_known(x0, x1, known.screen, value), false);
  // Both images now hold the value over the band, and what either knew
  // beyond it still holds.
  const pixel_run now{x0, x1, value};
  remember_runs(display_.prepared.known_rows, row, pitch, m.height,
                band_runs{widened(now, known.text), widened(now, known.screen)}, gap);
  return true;
}

bool image_writer::glyph(int row, int column, unsigned code, const colour& fg, const colour& bg) {
  if (!usable_) return false;
  const cell_metrics& m = display_.metrics;
  // The place is read field by field, never copied whole: a rectangle read
  // back at once from fields just stored one by one stalls the processor.
  const glyph_place place = place_of_glyph(code, m);
  const int sheet = place.sheet;
  const int width = place.source.width;
  const int x = column * m.width;
  const int y = row * (m.height + m.between);
  // A code with no place in the sheets shows as an empty cell.
  if (sheet < 0) return fill(pixel_rect{x, y, width, m.height}, bg);
  if (!have_last_ || !(last_fg_ == fg) || !(last_bg_ == bg)) {
    const colour ink = corrected_foreground(fg, bg, display_.colours[back_normal]);
    glyph_values& v = last_values_;
    v.ink = ink_;
    v.blank = blank_;
    v.background = value_of(bg);
    const std::uint32_t fg_value = value_of(ink);
    v.foreground = fg_value == blank_ ? v.background : fg_value;
    last_fg_ = fg;
    last_bg_ = bg;
    have_last_ = true;
  }

  // Whole cells from the glyph's ink mask: the sheets hold only ink and blank
  // pixels, so a mask says all there is.
  if (m.width <= widest_masked_cell && x >= 0 && y >= 0 && x + width <= image_width_ &&
      y + m.height <= image_height_) {
    if (!masks_) check_masks();
    const int slot = sheet == 0 ? static_cast<int>(code)
                                : half_width_slots + (sheet - 1) * full_width_sheet_slots + place.row * 32 +
                                      place.column;
    const std::uint8_t made = masks_made_[slot];
    bool failed = false;
    const std::uint16_t* rows =
        made == 1   ? masks_ + static_cast<std::size_t>(slot) * slot_words_
        : made == 0 ? take_mask(slot, sheet, place.source.x, place.source.y, width, failed)
                    : nullptr;
    if (rows) {
      forget_cells_written(display_.prepared.known_rows, row, m.height + m.between, m.height, x, x + width);
      mask_block(text_at(x, y), screen_at(x, y), rows, width, m.height, last_values_.foreground,
                 last_values_.background, bytes_per_pixel_);
      return true;
    }
    if (failed) return false;
  }
  return glyph_from_sheet(sheet, pixel_rect{place.source.x, place.source.y, width, m.height}, x, y);
}

bool image_writer::glyph_from_sheet(int sheet, pixel_rect source, int x, int y) {
  const std::uint8_t* pixels = sheet_pixels(sheet);
  if (!pixels) return false;
  const surface& from = sheet_surface(sheet);
  const surface& to = *display_.surfaces.text_image;
  // Clip to the sheet and to the images as a surface copy would.
  if (source.x < 0) x -= source.x, source.width += source.x, source.x = 0;
  if (source.y < 0) y -= source.y, source.height += source.y, source.y = 0;
  if (x < 0) source.x -= x, source.width += x, x = 0;
  if (y < 0) source.y -= y, source.height += y, y = 0;
  source.width = std::min({source.width, from.width() - source.x, to.width() - x});
  source.height = std::min({source.height, from.height() - source.y, to.height() - y});
  if (source.width <= 0 || source.height <= 0) return true;
  forget_written(display_.prepared.known_rows, pixel_rect{x, y, source.width, source.height});
  const std::uint8_t* start = pixels + static_cast<std::size_t>(source.y) * from.stride() +
                              static_cast<std::size_t>(source.x) * bytes_per_pixel_;
  glyph_block(text_at(x, y), start, from.stride(), source.width, source.height, last_values_, bytes_per_pixel_);
  mirror(x, y, source.width, source.height);
  return true;
}

}  // namespace vintorel
