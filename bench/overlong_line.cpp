// Opening a file whose first line is longer than 2 GiB (too long to edit, so
// the text opens read-only), next to reading the same bytes in the scan's
// chunks.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "files/load_text.h"
#include "text/text_document.h"

namespace {

constexpr std::uint64_t line_bytes = (std::uint64_t{2} << 30) + 100;

// The file: a line of line_bytes bytes, then a short last line. Dense, it is
// 2 GiB of "x" written once and kept in $TMPDIR or /tmp (the scan skips holes,
// so only a dense line measures the scan); sparse, the line is a hole.
std::string make_file(bool sparse) {
  const char* base = std::getenv("TMPDIR");
  std::string p = std::string(base && *base ? base : "/tmp") +
                  (sparse ? "/vintorel_bench_overlong_sparse.txt" : "/vintorel_bench_overlong_line.txt");
  const char tail[] = "\r\nlast line\r\n";
  const std::uint64_t size = line_bytes + sizeof tail - 1;
  struct stat st;
  if (::stat(p.c_str(), &st) == 0 && static_cast<std::uint64_t>(st.st_size) == size &&
      (sparse ? static_cast<std::uint64_t>(st.st_blocks) * 512 < size / 2
              : static_cast<std::uint64_t>(st.st_blocks) * 512 >= line_bytes))
    return p;
  int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return std::string();
  std::string chunk(1 << 20, 'x');
  bool ok = true;
  for (std::uint64_t at = 0; !sparse && ok && at < line_bytes; at += chunk.size()) {
    std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), line_bytes - at));
    ok = ::pwrite(fd, chunk.data(), n, static_cast<off_t>(at)) == static_cast<ssize_t>(n);
  }
  ok = ok && ::pwrite(fd, tail, sizeof tail - 1, static_cast<off_t>(line_bytes)) == static_cast<ssize_t>(sizeof tail - 1);
  ::close(fd);
  if (!ok) ::unlink(p.c_str());
  return ok ? p : std::string();
}

const std::string& overlong_file(bool sparse) {
  static const std::string dense_path = make_file(false);
  static const std::string sparse_path = make_file(true);
  return sparse ? sparse_path : dense_path;
}

void BM_open_overlong_line(benchmark::State& state) {
  const std::string& path = overlong_file(state.range(0) != 0);
  if (path.empty()) return state.SkipWithError("no sparse file");
  for (auto _ : state) {
    vintorel::text_document document;
    vintorel::load_text_file(document, path, false, 0, 0, 0, 0, vintorel::shift_jis, vintorel::crlf);
    if (document.state != vintorel::read_only_state || !document.has_overlong_line)
      return state.SkipWithError("not opened read-only");
    benchmark::DoNotOptimize(document.line_count());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line_bytes));
}

// Baseline: the same bytes read once in the scan's chunks.
void BM_baseline_read_overlong_line(benchmark::State& state) {
  const std::string& path = overlong_file(state.range(0) != 0);
  if (path.empty()) return state.SkipWithError("no sparse file");
  std::unique_ptr<char[]> buffer(new char[vintorel::scan_chunk_size]);
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  for (auto _ : state) {
    std::uint64_t sum = 0;
    for (std::uint64_t offset = 0;;) {
      ssize_t got = ::pread(fd, buffer.get(), vintorel::scan_chunk_size, static_cast<off_t>(offset));
      if (got <= 0) break;
      sum += static_cast<unsigned char>(buffer[0]);
      offset += static_cast<std::uint64_t>(got);
    }
    benchmark::DoNotOptimize(sum);
  }
  ::close(fd);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line_bytes));
}

}  // namespace

// Argument 0: the dense file; 1: the sparse one.
BENCHMARK(BM_baseline_read_overlong_line)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_open_overlong_line)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
