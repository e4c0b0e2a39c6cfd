// Building the line index of a large Shift_JIS CRLF file, and fetching every
// line, each next to a baseline that reads the same bytes the same way; and the
// scan alone over short lines in memory next to a count of LF bytes.
//
// The file is the shared 256 MiB Shift_JIS CRLF bench file (bench_file.h).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "bench_file.h"
#include "files/charset.h"
#include "files/load_text.h"
#include "text/line_index.h"
#include "text/text_document.h"

namespace {

using bench_support::bench_file;
using bench_support::size_of;

void load_index(benchmark::State& state, vintorel::charset charset_code, vintorel::linefeed_kind linefeed_code, const std::string& path = bench_file(),
                bool detect_first = false) {
  std::int64_t lines = 0;
  std::size_t memory = 0;
  for (auto _ : state) {
    vintorel::text_document document;
    // The way texts were opened before detection ran inside the scan: a pass
    // of its own over the file, then the scan.
    if (detect_first) vintorel::detect_charset(path, charset_code, linefeed_code, false);
    vintorel::load_text_file(document, path, false, 0, 0, 0, 0, charset_code, linefeed_code);
    if (document.state == vintorel::failed_state) {
      state.SkipWithError("load failed");
      return;
    }
    lines = document.line_count();
    memory = document.lines.memory_bytes();
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size_of(path)));
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["index_bytes_per_line"] = static_cast<double>(memory) / static_cast<double>(lines);
}

void BM_index_build(benchmark::State& state) { load_index(state, vintorel::shift_jis, vintorel::crlf); }
void BM_index_build_detected(benchmark::State& state) { load_index(state, vintorel::unknown_charset, vintorel::unknown_linefeed); }
void BM_index_build_detected_utf8(benchmark::State& state) { load_index(state, vintorel::unknown_charset, vintorel::unknown_linefeed, bench_support::bench_file_utf8()); }
void BM_baseline_detect_then_build(benchmark::State& state) { load_index(state, vintorel::unknown_charset, vintorel::unknown_linefeed, bench_file(), true); }
void BM_baseline_detect_then_build_utf8(benchmark::State& state) {
  load_index(state, vintorel::unknown_charset, vintorel::unknown_linefeed, bench_support::bench_file_utf8(), true);
}

// Baseline: the same open, status, 64 KiB pread calls over the same bytes, but
// only LF bytes are counted.
void BM_baseline_count_lf(benchmark::State& state) {
  const std::string& path = bench_file();
  std::unique_ptr<char[]> buffer(new char[vintorel::scan_chunk_size]);
  std::uint64_t count = 0;
  for (auto _ : state) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status;
    fstat(fd, &status);
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    std::uint64_t size = static_cast<std::uint64_t>(status.st_size);
    count = 0;
    for (std::uint64_t offset = 0; offset < size;) {
      std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(vintorel::scan_chunk_size, size - offset));
      ssize_t got = pread(fd, buffer.get(), want, static_cast<off_t>(offset));
      if (got <= 0) break;
      const char* p = buffer.get();
      const char* end = p + got;
      while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) != nullptr) {
        ++count;
        ++p;
      }
      offset += static_cast<std::uint64_t>(got);
    }
    close(fd);
    benchmark::DoNotOptimize(count);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size_of(path)));
  state.counters["lines"] = static_cast<double>(count);
}

// Fetching every line of the loaded text through the block cache.
void BM_fetch_every_line(benchmark::State& state) {
  const std::string& path = bench_file();
  vintorel::text_document document;
  vintorel::load_text_file(document, path, false, 0, 0, 0, 0, vintorel::shift_jis, vintorel::crlf);
  if (document.state == vintorel::failed_state) {
    state.SkipWithError("load failed");
    return;
  }
  vintorel::byte_string line;
  std::uint64_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    std::int32_t count = document.line_count();
    for (std::int32_t i = 0; i < count; ++i) {
      if (!document.fetch_line(i, line)) {
        state.SkipWithError("fetch failed");
        return;
      }
      bytes += line.size();
    }
    benchmark::DoNotOptimize(bytes);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size_of(path)));
  state.counters["lines"] = static_cast<double>(document.line_count());
}

// Baseline: reading the whole file in 64 KiB chunks once.
void BM_baseline_read_chunks(benchmark::State& state) {
  const std::string& path = bench_file();
  std::unique_ptr<char[]> buffer(new char[vintorel::scan_chunk_size]);
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  std::uint64_t size = size_of(path);
  for (auto _ : state) {
    std::uint64_t sum = 0;
    for (std::uint64_t offset = 0; offset < size;) {
      ssize_t got = pread(fd, buffer.get(), vintorel::scan_chunk_size, static_cast<off_t>(offset));
      if (got <= 0) break;
      sum += static_cast<unsigned char>(buffer[0]);
      offset += static_cast<std::uint64_t>(got);
    }
    benchmark::DoNotOptimize(sum);
  }
  close(fd);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

// The scan alone over bytes already in memory, with lines of 16 to 48 bytes
// (so that most 64-byte windows end two lines or more), each chunk's lines
// appended to an index; next to counting LF with memchr over the same chunks.
const std::string& short_lines() {
  static const std::string bytes = [] {
    std::mt19937 random(7);
    std::string text;
    text.reserve(64 << 20);
    while (text.size() < (64u << 20)) {
      text.append(14 + random() % 33, 'a');
      text += "\r\n";
    }
    return text;
  }();
  return bytes;
}

void BM_scan_short_lines(benchmark::State& state) {
  const std::string& bytes = short_lines();
  std::int64_t lines = 0;
  for (auto _ : state) {
    vintorel::line_index index;
    index.begin_file_lines(0);
    vintorel::scan_state scan;
    std::uint64_t longest = 0;
    auto on_ends = [&](std::uint64_t, std::uint64_t base, const std::uint32_t* ends, std::size_t n) {
      return index.append_file_line_ends(base, ends, n, longest);
    };
    for (std::size_t at = 0; at < bytes.size(); at += vintorel::scan_chunk_size) {
      std::size_t count = std::min(vintorel::scan_chunk_size, bytes.size() - at);
      vintorel::scan_line_ends(scan, bytes.data() + at, count, on_ends);
    }
    lines = index.size();
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * short_lines().size()));
  state.counters["lines"] = static_cast<double>(lines);
}

void BM_baseline_count_lf_short_lines(benchmark::State& state) {
  const std::string& bytes = short_lines();
  std::uint64_t count = 0;
  for (auto _ : state) {
    count = 0;
    for (std::size_t at = 0; at < bytes.size(); at += vintorel::scan_chunk_size) {
      const char* p = bytes.data() + at;
      const char* end = p + std::min(vintorel::scan_chunk_size, bytes.size() - at);
      while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) != nullptr) {
        ++count;
        ++p;
      }
    }
    benchmark::DoNotOptimize(count);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * short_lines().size()));
  state.counters["lines"] = static_cast<double>(count);
}

}  // namespace

BENCHMARK(BM_baseline_count_lf_short_lines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_scan_short_lines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_baseline_count_lf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_index_build)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_index_build_detected)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_baseline_detect_then_build)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_index_build_detected_utf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_baseline_detect_then_build_utf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_baseline_read_chunks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_fetch_every_line)->Unit(benchmark::kMillisecond);
