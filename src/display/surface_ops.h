// Surface operations of the painter, each repeated after a rebuild when the
// back end reports a lost surface. Surfaces are named by index and looked up
// afresh on every try, since a rebuild replaces them.
#pragma once
#include "display/display_context.h"

namespace vintorel::surface_ops {

enum : int { screen_image = 0, text_image = 1, cell_scratch = 2, half_width_sheet = 3, full_width_sheet = 4 };

// The surface with this index (full_width_sheet + i for sheet i), or null.
surface* surface_at(display_context& display, int index);

draw_result fill(display_context& display, int index, const pixel_rect& area, colour c);
draw_result copy(display_context& display, int target, int x, int y, int source, const pixel_rect& area,
                 bool keyed);
draw_result set_key(display_context& display, int index, colour c);

}  // namespace vintorel::surface_ops
