// 64 MiB of child output run through the worker into a console text (the
// child, the pipe, the cutting into runs, one insertion and one line feed per
// line, the trim to the console limit), next to the same bytes catted to
// /dev/null through the same interpreter in the same run. The ratio of the
// two is what to report. The hand-over to the user-interface thread and the
// painting are not part of it: here the worker inserts itself.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "exec/console_trim.h"
#include "exec/thread_exec.h"
#include "text/editing.h"
#include "text/text_document.h"

namespace {

constexpr std::size_t output_bytes = 64u << 20;

// Lines of 64 bytes with some double-byte text, made once.
const std::string& output_file() {
  static const std::string path = [] {
    const char* base = std::getenv("TMPDIR");
    std::string p = std::string(base && *base ? base : "/tmp") + "/vintorel_bench_output_64m.txt";
    std::FILE* f = std::fopen(p.c_str(), "wb");
    if (!f) return std::string();
    // "src/a.c:1234: 日本語のwarning: ..." padded to 62 bytes, then CR LF.
    std::string line = "src/a.c:1234: \x93\xFA\x96\x7B\x8C\xEA\x82\xCC warning: unused variable 'x'";
    line.resize(62, '.');
    line += "\r\n";
    for (std::size_t n = 0; n < output_bytes; n += line.size()) std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
    return p;
  }();
  return path;
}

class into_text : public vintorel::console_commands {
 public:
  into_text(vintorel::text_document& d, vintorel::edit_context& c) : d_(d), c_(c) {}
  void go_to_end() override {}
  void append(const char* text) override { vintorel::insert_string(d_, c_, text, false, true, false); }
  void line_feed() override { vintorel::insert_linefeed(d_, c_, false, true, false, false); }

 private:
  vintorel::text_document& d_;
  vintorel::edit_context& c_;
};

void BM_output_into_console(benchmark::State& state) {
  if (output_file().empty()) return state.SkipWithError("no output file");
  for (auto _ : state) {
    vintorel::text_document console;
    console.create_empty("console/scratch");
    console.state = vintorel::unchanged_state;
    if (!console.load_current_line(8)) return state.SkipWithError("no console");
    vintorel::edit_context context;
    into_text sink(console, context);
    vintorel::thread_exec worker(sink, "cat " + output_file(), "");
    worker.start();
    if (worker.close() != 1) return state.SkipWithError("not run");
    vintorel::trim_console(console, context, 256);
    benchmark::DoNotOptimize(console.line_count());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * output_bytes));
}
BENCHMARK(BM_output_into_console)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_cat_to_null(benchmark::State& state) {
  if (output_file().empty()) return state.SkipWithError("no output file");
  std::string command = "/bin/sh -c 'cat " + output_file() + " > /dev/null'";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) return state.SkipWithError("cat failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * output_bytes));
}
BENCHMARK(BM_cat_to_null)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
