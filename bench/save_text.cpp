// Saving the 256 MiB Shift_JIS file with one edited line, alone and followed by
// opening the saved file again as save_file does, next to a plain copy of the
// same file (read, write, sync, rename) in the same run. The ratios to the copy
// are what to report.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "bench_file.h"
#include "files/charset.h"
#include "files/load_text.h"
#include "files/save_text.h"

namespace {

using bench_support::bench_file;
using bench_support::size_of;

std::string output_path() { return bench_file() + ".saved"; }

// The bench file opened with its line 1000 edited.
bool open_with_one_edited_line(vintorel::text_document& document, const std::string& path) {
  vintorel::load_text_file(document, path, false, 0, 0, 0, 0, vintorel::shift_jis, vintorel::crlf);
  document.current_line = 1000;
  if (document.state == vintorel::failed_state || !document.load_current_line(8)) return false;
  document.current->text.insert(0, "edited ");
  document.current->length = static_cast<std::uint32_t>(document.current->text.size());
  document.commit_current_line();
  return true;
}

void BM_save_one_edited_line(benchmark::State& state) {
  const std::string& path = bench_file();
  vintorel::text_document document;
  if (!open_with_one_edited_line(document, path)) {
    state.SkipWithError("load failed");
    return;
  }
  for (auto _ : state) {
    if (vintorel::save_text_file(document, output_path(), {}).status != vintorel::save_status::saved) {
      state.SkipWithError("save failed");
      break;
    }
  }
  std::remove(output_path().c_str());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size_of(path)));
}

// Saving as save_file does it: the text written and moved into place, then the
// file opened again as a new text.
void BM_save_and_reopen_one_edited_line(benchmark::State& state) {
  const std::string& path = bench_file();
  vintorel::text_document document;
  if (!open_with_one_edited_line(document, path)) {
    state.SkipWithError("load failed");
    return;
  }
  vintorel::save_options options;
  options.keep_written = true;
  double save_seconds = 0, reopen_seconds = 0;
  for (auto _ : state) {
    vintorel::text_document reopened;
    auto saving = std::chrono::steady_clock::now();
    vintorel::save_result result = vintorel::save_text_file(document, output_path(), options);
    save_seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - saving).count();
    if (result.status != vintorel::save_status::saved) {
      state.SkipWithError("save failed");
      break;
    }
    auto opening = std::chrono::steady_clock::now();
    vintorel::load_text_file(reopened, output_path(), false, 0, 0, 0, 0, vintorel::shift_jis, vintorel::crlf, 1, true,
                             result.written.get());
    reopen_seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - opening).count();
    // The record must have been taken: a scan here would measure the old way.
    if (reopened.state == vintorel::failed_state || reopened.line_count() != document.line_count() ||
        !result.written || result.written->usable) {
      state.SkipWithError("reopening failed");
      break;
    }
  }
  std::remove(output_path().c_str());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size_of(path)));
  // The shares of the saving and of the opening, which takes what the writer recorded.
  state.counters["save_ms"] = 1000 * save_seconds / static_cast<double>(state.iterations());
  state.counters["reopen_ms"] = 1000 * reopen_seconds / static_cast<double>(state.iterations());
}

// Copies the bench file into a new file with `copy(in, out)`, syncs it and
// renames it into place, once per iteration.
template <typename Copy>
void copy_sync_and_rename(benchmark::State& state, Copy&& copy) {
  const std::string& path = bench_file();
  const std::string temporary = output_path() + ".part";
  for (auto _ : state) {
    int in = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    int out = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool ok = in >= 0 && out >= 0 && copy(in, out) && fsync(out) == 0;
    if (in >= 0) close(in);
    if (out >= 0) close(out);
    if (!ok || std::rename(temporary.c_str(), output_path().c_str()) != 0) {
      state.SkipWithError("copy failed");
      break;
    }
  }
  std::remove(output_path().c_str());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size_of(path)));
}

// Baseline: the same bytes copied through 1 MiB reads and writes into a new
// file, synced and renamed into place, as a careful copy does.
void BM_baseline_copy_and_sync(benchmark::State& state) {
  const std::size_t size = 1 << 20;
  std::unique_ptr<char[]> buffer(new char[size]);
  copy_sync_and_rename(state, [&](int in, int out) {
    bool ok = true;
    for (ssize_t got; ok && (got = read(in, buffer.get(), size)) > 0;)
      ok = write(out, buffer.get(), static_cast<std::size_t>(got)) == got;
    return ok;
  });
}

// For comparison: the kernel copies the file (copy_file_range) into a new file,
// synced and renamed. The saving does not copy this way: its copies must pass
// through memory to be checked against the blocks' checksums and to give the
// new file's checksums, which would cost a read of the new file here.
void BM_copy_file_range_and_sync(benchmark::State& state) {
  copy_sync_and_rename(state, [](int in, int out) {
    bool ok = true;
    for (ssize_t got; ok && (got = copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0)) != 0;) ok = got > 0;
    return ok;
  });
}

}  // namespace

BENCHMARK(BM_copy_file_range_and_sync)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_baseline_copy_and_sync)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_save_one_edited_line)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_save_and_reopen_one_edited_line)->Unit(benchmark::kMillisecond)->UseRealTime();
