// The text model on a text of 10 million lines: inserting a line in the middle,
// and searching forward through the whole text for a string only its last line
// holds, and backward for one no line holds, each next to a
// baseline in the same run (moving the same index entries; a memmem over the
// same lines fetched the same way; one memmem over the file's blocks).
//
// The file (about 30 bytes a line) is generated once in $TMPDIR (else /tmp) and
// reused by later runs. VINTOREL_BENCH_LINES sets another line count.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "files/charset.h"
#include "files/load_text.h"
#include "text/edit_context.h"
#include "text/editing.h"
#include "text/motion.h"
#include "text/positions.h"
#include "text/search.h"
#include "text/search_strings.h"
#include "text/text_document.h"

namespace vintorel {
namespace {

const char* const needle = "needle_at_the_end";

std::int64_t line_total() {
  const char* given = std::getenv("VINTOREL_BENCH_LINES");
  std::int64_t lines = given ? std::atoll(given) : 10000000;
  return lines < 2 ? 2 : lines;
}

std::string bench_path() {
  const char* base = std::getenv("TMPDIR");
  return std::string(base && *base ? base : "/tmp") + "/vintorel_bench_text_model_" +
         std::to_string(line_total()) + ".txt";
}

bool exists(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0;
}

// Lines of 10 to 50 bytes of kanji, kana and ASCII words (with many an "n",
// the needle's first byte); the last line alone holds the needle.
bool generate(const std::string& path) {
  static const char* const words[] = {
      "\x93\xFA\x96\x7B\x8C\xEA",          // 日本語
      "\x82\xCC",                          // の
      "\x83\x65\x83\x4C\x83\x58\x83\x67",  // テキスト
      "\x8A\xBF\x8E\x9A",                  // 漢字
      "\xB6\xC0\xB6\xC5",                  // ｶﾀｶﾅ
      "line", "name", " ", "\t", "0123", "need"};
  std::string temporary = path + ".part";
  std::FILE* out = std::fopen(temporary.c_str(), "wb");
  if (!out) return false;
  std::mt19937 random(42);
  std::string line;
  bool ok = true;
  std::int64_t lines = line_total();
  for (std::int64_t i = 0; ok && i < lines; ++i) {
    line.clear();
    std::size_t target = 10 + random() % 41;
    while (line.size() < target) line += words[random() % (sizeof words / sizeof words[0])];
    if (i + 1 == lines)
      line += std::string(" ") + needle;
    else
      line += "\r\n";
    ok = std::fwrite(line.data(), 1, line.size(), out) == line.size();
  }
  ok = std::fclose(out) == 0 && ok;
  return ok && std::rename(temporary.c_str(), path.c_str()) == 0;
}

// One loaded text shared by all benchmarks, with its cursor on line 0.
struct loaded_text {
  text_document document;
  search_strings strings;
  edit_context context;

  loaded_text() {
    std::string path = bench_path();
    if (!exists(path) && !generate(path)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      std::exit(1);
    }
    load_text_file(document, path, false, 0, 0, 0, 0, shift_jis, crlf, 40);
    if (document.state == failed_state || !reload_current_line(document, context)) {
      std::fprintf(stderr, "cannot load %s\n", path.c_str());
      std::exit(1);
    }
    context.search = &strings;
    context.pane.rows = 40;
    strings.search_string = needle;
  }
};

loaded_text& text() {
  static loaded_text shared;
  return shared;
}

void insert_line_in_the_middle(benchmark::State& state) {
  loaded_text& t = text();
  go_to_position(t.document, t.context, t.document.line_count() / 2, 0, -1, false);
  for (auto _ : state) insert_line(t.document, t.context, false);
  state.counters["lines"] = t.document.line_count();
}
BENCHMARK(insert_line_in_the_middle)->Unit(benchmark::kMillisecond);

// The same move of index entries that an insertion in the middle costs.
void insert_line_baseline(benchmark::State& state) {
  std::vector<std::uint64_t> entries(static_cast<std::size_t>(text().document.line_count()), 1);
  entries.reserve(entries.size() + 1000000);
  for (auto _ : state) {
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(entries.size() / 2), 3);
    benchmark::DoNotOptimize(entries.data());
  }
}
BENCHMARK(insert_line_baseline)->Unit(benchmark::kMillisecond);

void search_forward_through_the_text(benchmark::State& state, bool ignore_case) {
  loaded_text& t = text();
  t.context.settings.ignore_case = ignore_case;
  for (auto _ : state) {
    go_to_position(t.document, t.context, 0, 0, -1, false);
    bool found = search_forward(t.document, t.context, false);
    if (!found || t.document.current_line != t.document.line_count() - 1)
      state.SkipWithError("the needle was not found on the last line");
  }
  t.context.settings.ignore_case = false;
}
BENCHMARK_CAPTURE(search_forward_through_the_text, exact_case, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(search_forward_through_the_text, ignore_case, true)->Unit(benchmark::kMillisecond);

// Every line fetched into one buffer, as the search does, and memmem over it.
void search_baseline(benchmark::State& state) {
  loaded_text& t = text();
  std::size_t length = std::strlen(needle);
  byte_string line;
  for (auto _ : state) {
    std::int32_t found = -1;
    std::int32_t count = t.document.line_count();
    for (std::int32_t i = 0; i < count; ++i) {
      if (!t.document.fetch_line(i, line)) continue;
      if (memmem(line.data(), line.size(), needle, length)) {
        found = i;
        break;
      }
    }
    if (found != count - 1) state.SkipWithError("the needle was not found on the last line");
  }
}
BENCHMARK(search_baseline)->Unit(benchmark::kMillisecond);

// From the last line back to the first for a string no line holds.
void search_backward_through_the_text(benchmark::State& state) {
  loaded_text& t = text();
  t.strings.search_string = "needle_nowhere";
  for (auto _ : state) {
    go_to_position(t.document, t.context, t.document.line_count() - 1, 0, -1, false);
    if (search_backward(t.document, t.context, false)) state.SkipWithError("a string no line holds was found");
  }
  t.strings.search_string = needle;
}
BENCHMARK(search_backward_through_the_text)->Unit(benchmark::kMillisecond);

// The floor for a search: one memmem over the whole file read in the same 64
// KiB blocks, each block searched with the needle's length less one byte of the
// previous block in front.
void search_baseline_memmem_blocks(benchmark::State& state) {
  const std::string path = bench_path();
  const std::size_t length = std::strlen(needle);
  const std::size_t block = 65536;
  std::vector<char> buffer(block + length);
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat status;
  fstat(fd, &status);
  const std::uint64_t size = static_cast<std::uint64_t>(status.st_size);
  for (auto _ : state) {
    std::uint64_t found = UINT64_MAX;
    std::size_t carried = 0;
    for (std::uint64_t offset = 0; offset < size && found == UINT64_MAX;) {
      ssize_t got = pread(fd, buffer.data() + carried, block, static_cast<off_t>(offset));
      if (got <= 0) break;
      std::size_t have = carried + static_cast<std::size_t>(got);
      if (const void* at = memmem(buffer.data(), have, needle, length))
        found = offset - carried + static_cast<std::uint64_t>(static_cast<const char*>(at) - buffer.data());
      carried = std::min(have, length - 1);
      std::memmove(buffer.data(), buffer.data() + have - carried, carried);
      offset += static_cast<std::uint64_t>(got);
    }
    if (found == UINT64_MAX) state.SkipWithError("the needle was not found");
  }
  close(fd);
}
BENCHMARK(search_baseline_memmem_blocks)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vintorel
