// Painting through the painter into memory surfaces, in both pixel formats the
// display can have (argument 32: 8-8-8 in 32 bits, 16: 5-6-5), each against a
// memset of the same pixel area in the same run as the floor of what any
// painter could do:
// - the drawing benchmark's 11,520 full-width characters (16 a line) through
//   paint_line, against a memset of 720 rows of 32 cells;
// - a whole repaint of a 200 × 60 cell pane of mixed Japanese text with
//   keywords and search hits, against a memset of the pane's pixels.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "display/display_context.h"
#include "display/font_generator.h"
#include "display/painter.h"
#include "display/screen_setup.h"
#include "platform/cp932.h"
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

byte_string sjis(const std::string& utf8) {
  byte_string out;
  utf8_to_sjis_string(utf8, out);
  return out;
}

// Lines of a C source with Japanese comments and strings, wider than 200 cells.
std::vector<byte_string> mixed_lines(int count) {
  const std::vector<byte_string> pattern = {
      sjis("int main(void) {  /* 漢字とかなの混じったコメント、全角　空白も入れて長くする */ return 0; }"),
      sjis("\tconst char* message = \"日本語のテキストを編集するためのエディタ\";\tif (message) return 1;"),
      sjis("static void draw(int x, int y) { while (x < y) { x++; } /* ｶﾀｶﾅ ﾊﾝｶｸ main ﾃｽﾄ */ }"),
      sjis("  for (int i = 0; i < 100; ++i) { total += table[i]; }  // 合計を求める　main loop"),
      sjis("漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字"),
  };
  std::vector<byte_string> lines;
  for (int i = 0; i < count; ++i) {
    const byte_string& p = pattern[static_cast<std::size_t>(i) % pattern.size()];
    lines.push_back(p + " " + p + "\r\n");
  }
  lines.push_back("\x1A");
  return lines;
}

const byte_string c_keywords = [] {
  byte_string block;
  for (const char* word : {"auto", "break", "case", "char", "const", "continue", "default", "do", "double",
                           "else", "enum", "extern", "float", "for", "goto", "if", "int", "long", "register",
                           "return", "short", "signed", "sizeof", "static", "struct", "switch", "typedef",
                           "union", "unsigned", "void", "volatile", "while"}) {
    block += word;
    block += '\0';
  }
  block += '\0';
  return block;
}();

struct bench_display {
  std::string dir;
  memory_backend backend;
  display_context display;
  text_document document;
  byte_string search;
  bool ready = false;

  bench_display(pixel_format format, int columns, int lines, const std::vector<byte_string>& text)
      : backend(format) {
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
    display.columns = columns;
    display.lines = lines;
    set_pane_layout(display.layout, display.lines, display.columns, false, false);
    ready = create_surfaces(display) && load_sheets(display);

    document.create_empty("console/scratch");
    document.replace_line(0, text[0]);
    for (std::size_t i = 1; i < text.size(); ++i) document.insert_line(static_cast<std::int32_t>(i), text[i]);
  }
  ~bench_display() {
    release_surfaces(display);
    std::filesystem::remove_all(dir);
  }
};

pixel_format format_of(const benchmark::State& state) {
  return state.range(0) == 16 ? rgb565_format() : rgb32_format();
}

// The display of the drawing benchmark: the default 80 × 21 grid.
bench_display& typing_display(const benchmark::State& state) {
  static std::map<int, std::unique_ptr<bench_display>> displays;
  auto& d = displays[static_cast<int>(state.range(0))];
  if (!d) d = std::make_unique<bench_display>(format_of(state), 80, 21, benchmark_lines());
  return *d;
}

// A 200 × 60 cell pane with keywords, a search string with hits on screen
// and a character block over a few lines.
bench_display& wide_display(const benchmark::State& state) {
  static std::map<int, std::unique_ptr<bench_display>> displays;
  auto& d = displays[static_cast<int>(state.range(0))];
  if (!d) {
    d = std::make_unique<bench_display>(format_of(state), 200, 62, mixed_lines(80));
    d->display.pane_styles[0].keywords = c_keywords;
    d->search = "main";
    d->display.search_string = &d->search;
    d->document.block_state = block_kind::characters;
    d->document.anchor_line = 10;
    d->document.anchor_position = 20;
    d->document.current_line = 14;
    d->document.position = 8;
  }
  return *d;
}

constexpr int text_lines = 720;

void paint_all_lines(benchmark::State& state) {
  bench_display& b = typing_display(state);
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
BENCHMARK(paint_all_lines)->Arg(32)->Arg(16)->Unit(benchmark::kMillisecond);

// As when typing: after each character the whole line so far is painted again.
void paint_while_typing(benchmark::State& state) {
  bench_display& b = typing_display(state);
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
BENCHMARK(paint_while_typing)->Arg(32)->Arg(16)->Unit(benchmark::kMillisecond);

// The floor: the same pixels (720 rows of 32 cells) written with memset.
void memset_same_area(benchmark::State& state) {
  bench_display& b = typing_display(state);
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
BENCHMARK(memset_same_area)->Arg(32)->Arg(16)->Unit(benchmark::kMillisecond);

// A whole repaint of the wide pane: its rows cleared, every visible line and
// the status line painted.
void repaint_wide_pane(benchmark::State& state) {
  bench_display& b = wide_display(state);
  if (!b.ready) {
    state.SkipWithError("surfaces or fonts could not be made");
    return;
  }
  const pane_view pane = pane_of(b.display, 0);
  for (auto _ : state) {
    repaint_pane(b.display, pane, b.document);
    benchmark::DoNotOptimize(b.display.surfaces.screen_image->data());
  }
}
BENCHMARK(repaint_wide_pane)->Arg(32)->Arg(16)->Unit(benchmark::kMillisecond);

// The floor of the repaint: one memset of the pane's pixel rows.
void memset_wide_pane(benchmark::State& state) {
  bench_display& b = wide_display(state);
  if (!b.ready) {
    state.SkipWithError("surfaces or fonts could not be made");
    return;
  }
  surface& screen = *b.display.surfaces.screen_image;
  const pane_view pane = pane_of(b.display, 0);
  const pixel_rect area = cell_block_rect(b.display.metrics, pane.first_row, pane.first_column, pane.rows, pane.columns);
  const std::size_t row_bytes = static_cast<std::size_t>(area.width) * screen.bytes_per_pixel();
  int value = 0;
  for (auto _ : state) {
    ++value;
    for (int y = area.y; y < area.y + area.height; ++y)
      std::memset(screen.data() + y * screen.stride() + area.x * screen.bytes_per_pixel(), value & 0xFF, row_bytes);
    benchmark::DoNotOptimize(screen.data());
  }
}
BENCHMARK(memset_wide_pane)->Arg(32)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vintorel
