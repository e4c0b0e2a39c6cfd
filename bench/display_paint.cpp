// Painting the drawing benchmark's 11,520 full-width characters (16 a line)
// through paint_line into memory surfaces, against a memset of the same
// pixel area as the floor of what any painter could do.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "display/display_context.h"
#include "display/font_generator.h"
#include "display/painter.h"
#include "display/screen_setup.h"
#include "text/text_document.h"

namespace vintorel {
namespace {

// Every double-byte code the benchmark types, 16 to a line.
std::vector<byte_string> benchmark_lines() {
  std::vector<byte_string> lines;
  byte_string line;
  unsigned lead = 0x81, trail = 0x40;
  for (;;) {
    line += static_cast<char>(lead);
    line += static_cast<char>(trail);
    if (++trail == 0x100) {
      trail = 0x40;
      if (++lead == 0xA0) lead = 0xE0;
    }
    if (trail % 16 == 0) {
      lines.push_back(line + "\r\n");
      line.clear();
    }
    if (lead == 0xFD) break;
  }
  lines.push_back("\x1A");
  return lines;
}

struct bench_display {
  std::string dir;
  memory_backend backend;
  display_context display;
  text_document document;
  bool ready = false;

  bench_display() {
    char pattern[] = "/tmp/vintorel-bench-XXXXXX";
    dir = std::string(mkdtemp(pattern)) + "/";
    // Fonts from Unifont when it is installed, else from an empty source
    // (blank glyphs draw at the same cost).
    std::string source = std::filesystem::exists(default_glyph_source) ? std::string("WINDOWS") : dir + "none.hex";
    if (source != "WINDOWS") {
      std::FILE* f = std::fopen(source.c_str(), "w");
      std::fputs("0041:00000000000000000000000000000000\n", f);
      std::fclose(f);
    }
    std::string message;
    run_font_generator({"s", dir + "h.fnt", source}, message);
    run_font_generator({"m", dir + "z.fnt", source}, message);
    display.backend = &backend;
    display.half_width_font = dir + "h.fnt";
    display.full_width_font = dir + "z.fnt";
    set_pane_layout(display.layout, display.lines, display.columns, false, false);
    ready = create_surfaces(display) && load_sheets(display);

    std::vector<byte_string> lines = benchmark_lines();
    document.create_empty("console/scratch");
    document.replace_line(0, lines[0]);
    for (std::size_t i = 1; i < lines.size(); ++i) document.insert_line(static_cast<std::int32_t>(i), lines[i]);
  }
  ~bench_display() {
    release_surfaces(display);
    std::filesystem::remove_all(dir);
  }
};

bench_display& shared_display() {
  static bench_display d;
  return d;
}

constexpr int text_lines = 720;

void paint_all_lines(benchmark::State& state) {
  bench_display& b = shared_display();
  if (!b.ready) {
    state.SkipWithError("surfaces or fonts could not be made");
    return;
  }
  const pane_view pane = pane_of(b.display, 0);
  for (auto _ : state) {
    for (std::int32_t line = 0; line < text_lines; ++line) {
      b.document.top_line = line - line % pane.rows;
      paint_line(b.display, pane, b.document, line);
    }
    benchmark::DoNotOptimize(b.display.surfaces.screen_image->data());
  }
  state.counters["chars_per_s"] = benchmark::Counter(11520.0 * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(paint_all_lines)->Unit(benchmark::kMillisecond);

// As when typing: after each character the whole line so far is painted again.
void paint_while_typing(benchmark::State& state) {
  bench_display& b = shared_display();
  if (!b.ready) {
    state.SkipWithError("surfaces or fonts could not be made");
    return;
  }
  const pane_view pane = pane_of(b.display, 0);
  std::vector<byte_string> lines = benchmark_lines();
  for (auto _ : state) {
    for (std::int32_t line = 0; line < text_lines; ++line) {
      b.document.top_line = line - line % pane.rows;
      for (std::size_t n = 2; n <= 32; n += 2) {
        b.document.replace_line(line, lines[line].substr(0, n) + "\r\n");
        paint_line(b.display, pane, b.document, line);
      }
    }
    benchmark::DoNotOptimize(b.display.surfaces.screen_image->data());
  }
  for (std::int32_t line = 0; line < text_lines; ++line) b.document.replace_line(line, lines[line]);
  state.counters["chars_per_s"] = benchmark::Counter(11520.0 * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(paint_while_typing)->Unit(benchmark::kMillisecond);

// The floor: the same pixels (720 rows of 32 cells) written with memset.
void memset_same_area(benchmark::State& state) {
  bench_display& b = shared_display();
  if (!b.ready) {
    state.SkipWithError("surfaces or fonts could not be made");
    return;
  }
  surface& screen = *b.display.surfaces.screen_image;
  const cell_metrics& m = b.display.metrics;
  const pane_view pane = pane_of(b.display, 0);
  const std::size_t row_bytes = static_cast<std::size_t>(32 * m.width) * screen.bytes_per_pixel();
  int value = 0;
  for (auto _ : state) {
    for (int line = 0; line < text_lines; ++line) {
      const int y0 = (pane.first_row + line % pane.rows) * (m.height + m.between);
      for (int y = y0; y < y0 + m.height; ++y) std::memset(screen.data() + y * screen.stride(), ++value & 0xFF, row_bytes);
    }
    benchmark::DoNotOptimize(screen.data());
  }
  state.counters["chars_per_s"] = benchmark::Counter(11520.0 * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(memset_same_area)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vintorel
