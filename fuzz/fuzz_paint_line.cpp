// Fuzzes the painter: one line of random bytes, a random horizontal scroll,
// tab size, keyword block and search string, painted into a small memory
// screen. Nothing may be drawn outside the surfaces (the sanitizers watch),
// painting never fails on what a text can hold, and painting straight into
// the images leaves the same pixels as painting by surface copies (a second
// screen whose locks are all refused).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "display/display_context.h"
#include "display/font_generator.h"
#include "display/painter.h"
#include "display/screen_setup.h"
#include "text/text_document.h"

using namespace vintorel;

namespace {

// A small screen with fonts made once from a one-glyph source (blank glyphs
// draw as every other glyph does).
struct painter_setup {
  memory_backend backend;
  display_context display;
  bool ready = false;
  explicit painter_setup(bool by_copies) {
    char pattern[] = "/tmp/vintorel-fuzz-paint-XXXXXX";
    const std::string dir = std::string(mkdtemp(pattern)) + "/";
    if (std::FILE* f = std::fopen((dir + "g.hex").c_str(), "w")) {
      std::fputs("0041:00000000000000000000000000000000\n", f);
      std::fclose(f);
    }
    std::string message;
    run_font_generator({"s", dir + "h.fnt", dir + "g.hex"}, message);
    run_font_generator({"m", dir + "z.fnt", dir + "g.hex"}, message);
    display.backend = &backend;
    display.half_width_font = dir + "h.fnt";
    display.full_width_font = dir + "z.fnt";
    display.columns = 80;
    display.lines = 7;
    set_pane_layout(display.layout, display.lines, display.columns, false, false);
    ready = create_surfaces(display) && load_sheets(display);
    if (by_copies) backend.fail_lock_after = 0;
    // The sheets hold the glyphs now; the files are not needed any more.
    for (const char* name : {"g.hex", "h.fnt", "z.fnt"}) std::remove((dir + name).c_str());
    ::rmdir(dir.c_str());
  }
};

// The bytes a line of the internal form holds before its terminator.
char in_line(std::uint8_t b) { return b == '\r' || b == '\n' || b == 0x1A || b == 0 ? ' ' : static_cast<char>(b); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static painter_setup setup(false);
  static painter_setup copies(true);
  if (!setup.ready || !copies.ready) std::abort();
  if (size < 4) return 0;
  const std::size_t keyword_bytes = data[2] % 32 < size - 4 ? data[2] % 32 : size - 4;
  const std::size_t search_bytes = data[3] % 8 < size - 4 - keyword_bytes ? data[3] % 8 : size - 4 - keyword_bytes;
  std::size_t at = 4;
  // Keywords are NUL-separated; any byte goes, the block need not be ended.
  byte_string keywords(reinterpret_cast<const char*>(data + at), keyword_bytes);
  at += keyword_bytes;
  byte_string search;
  for (std::size_t i = 0; i < search_bytes; ++i) search += in_line(data[at + i]);
  at += search_bytes;
  byte_string line;
  for (; at < size; ++at) line += in_line(data[at]);

  text_document document;
  document.create_empty("fuzz.c");
  document.replace_line(0, line + "\r\n");
  document.insert_line(1, "\x1A");
  document.left_column = data[0] % 160;
  setup.display.pane_styles[0].tab_size = 1 + data[1] % 16;
  setup.display.pane_styles[0].keywords = keywords;
  setup.display.search_string = search.empty() ? nullptr : &search;
  copies.display.pane_styles[0] = setup.display.pane_styles[0];
  copies.display.search_string = setup.display.search_string;
  for (painter_setup* s : {&setup, &copies}) {
    const pane_view pane = pane_of(s->display, 0);
    paint_line(s->display, pane, document, 0);
    paint_line(s->display, pane, document, 1);
    s->display.search_string = nullptr;
  }
  const std::size_t row_bytes =
      static_cast<std::size_t>(setup.display.client_pixel_width()) * setup.display.surfaces.text_image->bytes_per_pixel();
  for (surface* (screen_surfaces::*image) : {&screen_surfaces::text_image, &screen_surfaces::screen_image}) {
    const surface& a = *(setup.display.surfaces.*image);
    const surface& b = *(copies.display.surfaces.*image);
    for (int y = 0; y < setup.display.client_pixel_height(); ++y)
      if (std::memcmp(a.data() + y * a.stride(), b.data() + y * b.stride(), row_bytes) != 0) std::abort();
  }
  return 0;
}
