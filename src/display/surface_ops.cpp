// Surface operations with the rebuild-and-retry rule for lost surfaces.
#include "display/surface_ops.h"

#include "display/screen_setup.h"

namespace vintorel::surface_ops {

namespace {

// Runs `op` until it does not report a lost surface. Each loss rebuilds the
// surfaces; a failed rebuild, or more losses than the limit, gives the
// operation up (it then reports `lost`).
template <class Op>
draw_result with_rebuild(display_context& display, Op op) {
  for (int tries = 0;; ++tries) {
    draw_result r = op();
    if (r != draw_result::lost) return r;
    if (tries >= display.rebuild_limit || !rebuild_surfaces(display)) return draw_result::lost;
  }
}

// Whatever the painter knew of the images' rows under `area` no longer holds.
void forget_under(display_context& display, int index, const pixel_rect& area) {
  if (index == screen_image) forget_written(display.prepared.known_rows, area, screen_only);
  if (index == text_image) forget_written(display.prepared.known_rows, area, text_only);
}

}  // namespace

surface* surface_at(display_context& display, int index) {
  screen_surfaces& s = display.surfaces;
  switch (index) {
    case screen_image: return s.screen_image;
    case text_image: return s.text_image;
    case cell_scratch: return s.cell_scratch;
    case half_width_sheet: return s.half_width_sheet;
    default:
      if (index >= full_width_sheet && index < full_width_sheet + full_width_sheet_count)
        return s.full_width_sheets[index - full_width_sheet];
      return nullptr;
  }
}

draw_result fill(display_context& display, int index, const pixel_rect& area, colour c) {
  forget_under(display, index, area);
  return with_rebuild(display, [&]() {
    surface* s = surface_at(display, index);
    return s && display.backend ? display.backend->fill(*s, area, c) : draw_result::failed;
  });
}

draw_result copy(display_context& display, int target, int x, int y, int source, const pixel_rect& area,
                 bool keyed) {
  forget_under(display, target, pixel_rect{x, y, area.width, area.height});
  const draw_result result = with_rebuild(display, [&]() {
    surface* to = surface_at(display, target);
    surface* from = surface_at(display, source);
    return to && from && display.backend ? display.backend->copy(*to, x, y, *from, area, keyed)
                                         : draw_result::failed;
  });
  // Taking the cursor highlight away copies the text image back unkeyed.
  if (result == draw_result::ok && source == text_image && target == screen_image && !keyed && x == area.x &&
      y == area.y)
    copied_text_to_screen(display.prepared.known_rows, area);
  return result;
}

draw_result set_key(display_context& display, int index, colour c) {
  return with_rebuild(display, [&]() {
    surface* s = surface_at(display, index);
    return s && display.backend ? display.backend->set_colour_key(*s, c) : draw_result::failed;
  });
}

}  // namespace vintorel::surface_ops
