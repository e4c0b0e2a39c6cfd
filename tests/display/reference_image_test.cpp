// Renders one pane of mixed text with the fonts mkfontx2 makes from Unifont
// and compares the image pixel for pixel with the reviewed reference image.
// VINTOREL_UPDATE_REFERENCE=1 writes a new reference (review it by eye).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "display/font_generator.h"
#include "display/status_line.h"
#include "display_fixture.h"
#include "platform/cp932.h"

namespace vintorel {
namespace {

const std::string reference_path = std::string(VINTOREL_TEST_DATA) + "/reference_pane.ppm";

byte_string sjis(const std::string& utf8) {
  byte_string out;
  utf8_to_sjis_string(utf8, out);
  return out;
}

// The client area of the screen image as a binary PPM.
std::string ppm_of(const surface& s, int width, int height) {
  std::ostringstream out;
  out << "P6\n" << width << " " << height << "\n255\n";
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint32_t v = s.pixel_at(x, y);
      out.put(static_cast<char>((v >> 16) & 0xFF));
      out.put(static_cast<char>((v >> 8) & 0xFF));
      out.put(static_cast<char>(v & 0xFF));
    }
  }
  return out.str();
}

TEST(ReferenceImage, MixedTextPaneMatchesTheReviewedImage) {
  if (!std::filesystem::exists(default_glyph_source)) GTEST_SKIP() << "unifont is not installed";
  test::display_fixture f(false);
  std::string message;
  ASSERT_EQ(run_font_generator({"s", f.dir.path + "h.fnt", "WINDOWS"}, message), 0) << message;
  ASSERT_EQ(run_font_generator({"m", f.dir.path + "z.fnt", "WINDOWS"}, message), 0) << message;
  display_context& d = f.display;
  d.half_width_font = f.dir.path + "h.fnt";
  d.full_width_font = f.dir.path + "z.fnt";
  d.columns = 40;
  d.lines = 9;
  set_pane_layout(d.layout, d.lines, d.columns, false, false);
  d.switches.view_tab = true;
  d.pane_styles[0].keywords = byte_string("int\0void\0return\0\0", 18);
  d.bottom_line.function_labels = "1:open 2:save 3:find";
  byte_string search = "main";
  d.search_string = &search;
  ASSERT_TRUE(create_surfaces(d) && load_sheets(d)) << f.errors.size();

  text_document doc;
  test::fill_document(doc,
                      {"int main(void) {\r\n", sjis("\tputs(\"漢字とカナ\");\r\n"), sjis("\tｶﾀｶﾅ ﾃｽﾄ 123\r\n"),
                       "  return main;\r\n", sjis("　全角　space\r\n"), "ctl:\x01\x02 end\r\n", "}\x1A"},
                      "/home/user/src/sample.c");
  doc.state = modified_state;
  doc.size = 120;
  // A character block from line 2, offset 1 to line 3, offset 6; the cursor at
  // its end.
  doc.block_state = block_kind::characters;
  doc.anchor_line = 2;
  doc.anchor_position = 1;
  doc.current_line = 3;
  doc.position = 6;
  doc.column = 6;
  const pane_view pane = pane_of(d, 0);
  repaint_pane(d, pane, doc);
  draw_cursor(d, pane.first_row, pane.first_column, pane.rows, pane.columns, pane.first_row + 3, 6);
  draw_bottom_line(d, false);

  const int width = d.client_pixel_width();
  const int height = d.client_pixel_height();
  const std::string image = ppm_of(f.screen(), width, height);
  if (std::getenv("VINTOREL_UPDATE_REFERENCE")) {
    std::ofstream(reference_path, std::ios::binary) << image;
    GTEST_SKIP() << "reference written to " << reference_path;
  }
  std::ostringstream reference_bytes;
  reference_bytes << std::ifstream(reference_path, std::ios::binary).rdbuf();
  const std::string reference = reference_bytes.str();
  ASSERT_FALSE(reference.empty()) << "no reference image at " << reference_path;
  if (image != reference) {
    std::string actual = std::filesystem::temp_directory_path().string() + "/vintorel_pane_actual.ppm";
    std::ofstream(actual, std::ios::binary) << image;
    std::size_t first = 0;
    while (first < image.size() && first < reference.size() && image[first] == reference[first]) ++first;
    FAIL() << "image differs from the reference from byte " << first << "; written to " << actual;
  }
}

}  // namespace
}  // namespace vintorel
