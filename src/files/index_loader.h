// The rest of a large file's index, scanned on a worker thread while the text
// is already shown (see background_load in load_text.h).
//
// The worker owns a duplicate of the file's descriptor, its scan position and
// the detector; it hands over what it found in batches (line lengths and block
// checksums) under a lock. Only the main thread touches the text: it takes the
// batches into the index before the stand-in last line, and at the end it
// ends the load as a whole scan would have.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "files/charset.h"
#include "files/load_text.h"
#include "files/scan_range.h"

namespace vintorel {

struct index_loader {
  // The worker's own, until it has ended.
  int fd = -1;
  std::uint64_t size = 0;
  scan_cursor at;
  scan_state scan;
  charset_detector detector;
  bool detecting = false;
  std::thread worker;
  std::atomic<bool> cancel{false};

  // Handed over under `lock`.
  std::mutex lock;
  std::condition_variable progress;
  std::vector<std::uint32_t> lengths;  // lines scanned and not taken yet
  std::vector<std::uint64_t> sums;     // checksums of the blocks scanned and not taken yet
  std::uint64_t scanned = 0;           // bytes scanned
  bool ended = false;
  bool succeeded = false;

  index_loader() = default;
  index_loader(const index_loader&) = delete;
  index_loader& operator=(const index_loader&) = delete;
  ~index_loader();  // stops the worker
};

// Puts the stand-in last line after the lines indexed so far and starts a
// worker that scans on from `at` (the detector, when given, goes on with it);
// the text's character set and line end become the detector's guess so far.
// False when memory or a thread cannot be had.
bool start_index_loader(text_document& document, background_load& rest, const scan_cursor& at,
                        const scan_state& scan, const charset_detector* detector);

// Takes the lines scanned since the last call into the index and updates
// loading_percent. False when memory ran out (the load cannot go on).
bool take_indexed_lines(index_loader& loader, text_document& document);
// True once the worker has ended; waits at most `milliseconds` for it.
bool wait_for_index(index_loader& loader, int milliseconds);
// After the worker ended: the last lines taken and the load ended as
// end_load ends it. False when the load failed: the text is state 3 then
// (file_charset binary for a file found to be binary).
bool finish_text_load(index_loader& loader, text_document& document);
// Stops the worker and waits for it (the text is left as it is).
void stop_index_loader(index_loader& loader);
// For tests: while held, every worker stops after each chunk it scans (until
// it is stopped), so that a load cannot end before the test acts on it.
void hold_index_loaders(bool held);

}  // namespace vintorel
