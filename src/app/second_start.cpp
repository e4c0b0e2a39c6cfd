// The second start's wait for the running editor, on a worker thread so that
// the notice box can be shown and closed while the wait goes on.
#include "app/second_start.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/string_table.h"
#include "toolkit/message_box.h"

namespace vintorel {

handover_result hand_over_with_notice(const handover_input& input, const handover_limits& limits) {
  std::atomic<bool> cancel{false};
  std::mutex mutex;
  std::condition_variable ended;
  bool finished = false;
  handover_result result = handover_result::no_answer;
  std::thread worker([&] {
    handover_result r = hand_over(input, limits, &cancel);
    std::lock_guard<std::mutex> guard(mutex);
    result = r;
    finished = true;
    ended.notify_all();
  });
  bool quiet;
  {
    std::unique_lock<std::mutex> lock(mutex);
    quiet = ended.wait_for(lock, std::chrono::milliseconds(limits.notice_ms), [&] { return finished; });
  }
  if (!quiet) {
    auto settled = [&] {
      std::lock_guard<std::mutex> guard(mutex);
      return finished;
    };
    if (confirm_until(nullptr, string_caption_confirm, string_instance_silent, settled)) cancel = true;
  }
  worker.join();
  return result;
}

}  // namespace vintorel
