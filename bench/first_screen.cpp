// How soon a large file is shown: load_text_file returning with the first part
// indexed (a worker would go on with the rest), against building the whole
// index of the same file in the same run; and how long the whole load takes
// that way.
//
// The file is the shared 256 MiB Shift_JIS CRLF bench file (bench_file.h).
#include <benchmark/benchmark.h>

#include "bench_file.h"
#include "files/index_loader.h"
#include "files/load_text.h"
#include "text/text_document.h"

namespace {

using bench_support::bench_file;

// How far each iteration goes: the whole index on the calling thread, the
// first part only, or the first part and then the worker's lines taken as
// they come until the index is whole (as the window does).
enum class load_way { whole, first_screen, first_screen_then_rest };

void open_file(benchmark::State& state, load_way way) {
  const std::string& path = bench_file();
  const bool in_background = way != load_way::whole;
  std::int64_t lines = 0;
  for (auto _ : state) {
    vintorel::text_document document;
    vintorel::background_load rest;
    vintorel::load_text_file(document, path, false, 0, 0, 0, 0, vintorel::unknown_charset,
                             vintorel::unknown_linefeed, 60, true, nullptr, in_background ? &rest : nullptr);
    if (document.state == vintorel::failed_state || in_background != (rest.loader != nullptr)) {
      state.SkipWithError("load failed");
      return;
    }
    if (way == load_way::first_screen_then_rest) {
      while (!vintorel::wait_for_index(*rest.loader, 50)) vintorel::take_indexed_lines(*rest.loader, document);
      if (!vintorel::finish_text_load(*rest.loader, document)) {
        state.SkipWithError("load failed");
        return;
      }
    }
    lines = document.line_count();
    benchmark::DoNotOptimize(lines);
    // Stopping the worker and freeing the text are not part of the load.
    state.PauseTiming();
    rest.loader.reset();
    document.destroy();
    state.ResumeTiming();
  }
  state.counters["lines"] = static_cast<double>(lines);
}

void BM_first_screen(benchmark::State& state) { open_file(state, load_way::first_screen); }
void BM_first_screen_then_rest(benchmark::State& state) { open_file(state, load_way::first_screen_then_rest); }
void BM_baseline_whole_index(benchmark::State& state) { open_file(state, load_way::whole); }

}  // namespace

BENCHMARK(BM_baseline_whole_index)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_first_screen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_first_screen_then_rest)->Unit(benchmark::kMillisecond)->UseRealTime();
