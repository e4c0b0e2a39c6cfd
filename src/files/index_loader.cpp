// The worker that scans the rest of a large file, and the main thread's side:
// taking its batches into the index and ending the load.
#include "files/index_loader.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <new>
#include <system_error>

namespace vintorel {

namespace {

// Lines and checksums go to the main thread after this many chunks (1 MiB).
constexpr int chunks_per_batch = 16;

const byte_string stand_in(1, '\x1A');

std::atomic<bool> workers_held{false};

int percent_of(std::uint64_t part, std::uint64_t whole) {
  if (whole == 0) return 99;
  return static_cast<int>(std::min<std::uint64_t>(99, part * 100 / whole));
}

// Moves what the worker gathered to the loader's shared lists; false when
// memory runs out.
bool hand_over(index_loader& loader, std::vector<std::uint32_t>& lengths, std::vector<std::uint64_t>& sums) {
  std::lock_guard<std::mutex> hold(loader.lock);
  try {
    if (loader.lengths.empty()) {
      loader.lengths.swap(lengths);
    } else {
      loader.lengths.insert(loader.lengths.end(), lengths.begin(), lengths.end());
    }
    if (loader.sums.empty()) {
      loader.sums.swap(sums);
    } else {
      loader.sums.insert(loader.sums.end(), sums.begin(), sums.end());
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  lengths.clear();
  sums.clear();
  loader.scanned = loader.at.offset;
  return true;
}

void scan_rest(index_loader& loader) {
  std::vector<std::uint32_t> lengths;
  std::vector<std::uint64_t> sums;
  scan_end end = scan_end::failed;
  bool handed = true;
  if (std::unique_ptr<char[]> buffer{new (std::nothrow) char[scan_chunk_size]}) {
    int chunks = 0;
    auto push_length = [&lengths](std::uint32_t length) {
      try {
        lengths.push_back(length);
      } catch (const std::bad_alloc&) {
        return false;
      }
      return true;
    };
    end = scan_range(
        loader.fd, loader.size, loader.at, loader.scan, loader.detecting ? &loader.detector : nullptr, sums,
        buffer.get(),
        line_lengths_to(loader.at.longest, push_length),
        [&] {
          while (workers_held.load() && !loader.cancel.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
          if (++chunks % chunks_per_batch == 0) {
            handed = hand_over(loader, lengths, sums);
            loader.progress.notify_all();
          }
          return handed && !loader.cancel.load(std::memory_order_relaxed);
        });
  }
  handed = handed && hand_over(loader, lengths, sums);
  {
    std::lock_guard<std::mutex> hold(loader.lock);
    loader.ended = true;
    loader.succeeded = handed && end == scan_end::done;
  }
  loader.progress.notify_all();
}

}  // namespace

index_loader::~index_loader() { stop_index_loader(*this); }

bool start_index_loader(text_document& document, background_load& rest, const scan_cursor& at,
                        const scan_state& scan, const charset_detector* detector) {
  std::unique_ptr<index_loader> loader(new (std::nothrow) index_loader);
  if (!loader) return false;
  // The worker reads through a descriptor of its own, which stays valid
  // whatever becomes of the text's.
  loader->fd = fcntl(document.file.fd, F_DUPFD_CLOEXEC, 0);
  if (loader->fd < 0) return false;
  loader->size = document.file.size;
  loader->at = at;
  loader->scan = scan;
  loader->scanned = at.offset;
  if (detector) {
    loader->detector = *detector;
    loader->detecting = true;
    // The guess from the part scanned; the end of the load may change it once.
    charset_detector guess = *detector;
    guess.finish(document.file_charset, document.file_linefeed);
  }
  document.save_charset = document.file_charset;
  document.save_linefeed = document.file_linefeed;
  if (!document.lines.append_memory_line(stand_in)) return false;
  try {
    loader->worker = std::thread(scan_rest, std::ref(*loader));
  } catch (const std::system_error&) {
    document.lines.erase(document.lines.size() - 1);
    return false;
  }
  document.loading_percent = percent_of(at.offset, loader->size);
  rest.loader = std::move(loader);
  return true;
}

bool take_indexed_lines(index_loader& loader, text_document& document) {
  std::vector<std::uint32_t> lengths;
  std::vector<std::uint64_t> sums;
  std::uint64_t scanned;
  {
    std::lock_guard<std::mutex> hold(loader.lock);
    lengths.swap(loader.lengths);
    sums.swap(loader.sums);
    scanned = loader.scanned;
  }
  try {
    document.file.block_sums.insert(document.file.block_sums.end(), sums.begin(), sums.end());
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!lengths.empty()) {
    // The new lines go before the stand-in last line.
    document.lines.erase(document.lines.size() - 1);
    bool appended = true;
    document.lines.reserve_file_lines(lengths.size());
    for (std::uint32_t length : lengths) {
      if (!document.lines.append_file_line(length)) {
        appended = false;
        break;
      }
    }
    if (!document.lines.append_memory_line(stand_in) || !appended) return false;
  }
  document.loading_percent = percent_of(scanned, loader.size);
  return true;
}

bool wait_for_index(index_loader& loader, int milliseconds) {
  std::unique_lock<std::mutex> hold(loader.lock);
  return loader.progress.wait_for(hold, std::chrono::milliseconds(milliseconds), [&loader] { return loader.ended; });
}

bool finish_text_load(index_loader& loader, text_document& document) {
  if (loader.worker.joinable()) loader.worker.join();
  bool scanned = take_indexed_lines(loader, document) && loader.succeeded;
  // The stand-in gives way to the real last line.
  document.lines.erase(document.lines.size() - 1);
  document.loading_percent = -1;
  int state = document.state;
  if (!end_load(document, scanned, loader.scan, loader.at.longest, loader.detecting ? &loader.detector : nullptr,
                state)) {
    document.current.reset();
    document.state = failed_state;
    return false;
  }
  document.state = state;
  return true;
}

void hold_index_loaders(bool held) { workers_held.store(held); }

void stop_index_loader(index_loader& loader) {
  loader.cancel.store(true, std::memory_order_relaxed);
  if (loader.worker.joinable()) loader.worker.join();
  if (loader.fd >= 0) {
    close(loader.fd);
    loader.fd = -1;
  }
}

}  // namespace vintorel
