// Creation, loading, rebuild and release of the screen surfaces and glyph sheets.
#include "display/screen_setup.h"

#include "display/fontx2.h"
#include "display/painter.h"

namespace vintorel {

namespace {

bool fail(display_context& display, int string_id) {
  report_error(display, string_id);
  return false;
}

surface* make_surface(display_context& display, int width, int height) {
  return display.backend->create_surface(width, height, display.switches.safety_direct_draw);
}

sheet_pixels sheet_view(surface& s, std::uint8_t* pixels) { return sheet_pixels{pixels, s.width(), s.height(), s.stride()}; }

glyph_target target_for(display_context& display, surface& sheet) {
  glyph_target target;
  target.cell_width = display.metrics.width;
  target.cell_height = display.metrics.height;
  target.bits_per_pixel = sheet.bytes_per_pixel() * 8;
  target.ink = display.backend->pixel_value_of(sheet, display.colours[text_normal]);
  return target;
}

}  // namespace

bool create_surfaces(display_context& display) {
  drawing_backend& backend = *display.backend;
  screen_surfaces& s = display.surfaces;
  display.prepared.glyph_masks = glyph_mask_cache();
  display.prepared.recent_count = display.prepared.recent_next = 0;
  forget_all(display.prepared.known_rows);
  if (!backend.open_device(display.switches.safety_direct_draw)) return fail(display, string_no_direct_draw);
  s.device = true;
  if (backend.display_depth() <= 8) return fail(display, string_too_few_colours);
  std::uint32_t caps = 0, key_caps = 0;
  if (!backend.capabilities(caps, key_caps)) return fail(display, string_drawing_error);
  const std::uint32_t needed = caps_blt | caps_blt_colour_fill | caps_colour_key;
  if ((caps & needed) != needed || !(key_caps & colour_key_caps_source_blt))
    return fail(display, string_missing_capabilities);
  if (!backend.open_window_target()) return fail(display, string_drawing_error);
  s.window_target = true;

  s.image_width = pow2_at_least(display.client_pixel_width());
  s.image_height = pow2_at_least(display.client_pixel_height());
  const colour key = display.colours[back_normal];
  if (!(s.screen_image = make_surface(display, s.image_width, s.image_height)))
    return fail(display, string_drawing_error);
  if (!(s.text_image = make_surface(display, s.image_width, s.image_height)))
    return fail(display, string_drawing_error);
  backend.set_colour_key(*s.text_image, key);
  if (!(s.cell_scratch = make_surface(display, s.image_width, s.image_height)))
    return fail(display, string_drawing_error);
  backend.set_colour_key(*s.cell_scratch, key);

  fill_cells(display, 0, 0, display.lines, display.columns, key);

  const cell_metrics& m = display.metrics;
  if (!(s.half_width_sheet =
            make_surface(display, half_width_sheet_width(m.width), half_width_sheet_height(m.height))))
    return fail(display, string_drawing_error);
  for (surface*& sheet : s.full_width_sheets) {
    if (!(sheet = make_surface(display, full_width_sheet_width(m.width), full_width_sheet_height(m.height))))
      return fail(display, string_drawing_error);
  }
  return true;
}

bool load_sheets(display_context& display) {
  drawing_backend& backend = *display.backend;
  screen_surfaces& s = display.surfaces;
  const cell_metrics& m = display.metrics;
  const colour blank = display.colours[back_normal];
  display.prepared.glyph_masks = glyph_mask_cache();
  if (!s.half_width_sheet) return fail(display, string_drawing_error);
  for (surface* sheet : s.full_width_sheets)
    if (!sheet) return fail(display, string_drawing_error);

  surface& half = *s.half_width_sheet;
  backend.fill(half, pixel_rect{0, 0, 16 * m.width, 16 * m.height}, blank);
  std::uint8_t* half_pixels = backend.lock(half);
  if (!half_pixels) return fail(display, string_drawing_error);
  bool half_ok = load_half_width_glyphs(display.half_width_font, sheet_view(half, half_pixels),
                                        target_for(display, half));
  backend.unlock(half);

  bool full_ok = false;
  if (half_ok) {
    std::array<sheet_pixels, full_width_sheet_count> views;
    for (int i = 0; i < full_width_sheet_count; ++i) {
      surface& sheet = *s.full_width_sheets[i];
      backend.fill(sheet, pixel_rect{0, 0, 64 * m.width, 16 * m.height}, blank);
      std::uint8_t* pixels = backend.lock(sheet);
      if (!pixels) {
        for (int j = i - 1; j >= 0; --j) backend.unlock(*s.full_width_sheets[j]);
        return fail(display, string_drawing_error);
      }
      views[i] = sheet_view(sheet, pixels);
    }
    full_ok = load_full_width_glyphs(display.full_width_font, views, target_for(display, *s.full_width_sheets[0]));
    for (int i = full_width_sheet_count - 1; i >= 0; --i) backend.unlock(*s.full_width_sheets[i]);
  }
  if (!half_ok || !full_ok) return fail(display, string_font_problem);
  return true;
}

void release_surfaces(display_context& display) {
  drawing_backend& backend = *display.backend;
  screen_surfaces& s = display.surfaces;
  forget_all(display.prepared.known_rows);
  auto release = [&backend](surface*& p) {
    if (p) backend.release_surface(p);
    p = nullptr;
  };
  for (int i = full_width_sheet_count - 1; i >= 0; --i) release(s.full_width_sheets[i]);
  release(s.half_width_sheet);
  release(s.cell_scratch);
  release(s.text_image);
  release(s.screen_image);
  if (s.window_target) backend.close_window_target();
  s.window_target = false;
  if (s.device) backend.close_device();
  s.device = false;
}

bool rebuild_surfaces(display_context& display) {
  // A loss while rebuilding is answered by the rebuild that is running.
  if (display.rebuilding) return false;
  display.rebuilding = true;
  ++display.rebuilds;
  // The user is asked to switch to a deeper display mode; without anyone to
  // ask, the wait could never end.
  while (display.backend->display_depth() <= 8) {
    if (!display.show_error) {
      display.rebuilding = false;
      return false;
    }
    display.show_error(string_depth_changed);
  }
  release_surfaces(display);
  bool ok = create_surfaces(display) && load_sheets(display);
  display.rebuilding = false;
  return ok;
}

}  // namespace vintorel
