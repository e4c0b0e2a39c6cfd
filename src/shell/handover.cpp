// The hand-over of a second instance's command line to the running instance.
#include "shell/handover.h"

#include <time.h>
#include <unistd.h>

#include "shell/response_file.h"
#include "platform/instance.h"

namespace vintorel {

namespace {

long long now_ms() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void pause_ms(int ms) { ::usleep(static_cast<useconds_t>(ms) * 1000); }

// Waits until the running instance listens. A lock that is free again means
// it ended (or never got as far as its window).
handover_result wait_for_window(const handover_input& in, const handover_limits& limits,
                                const std::atomic<bool>* cancel) {
  long long deadline = now_ms() + limits.find_window_ms;
  for (;;) {
    // "raise" is harmless to repeat and proves that someone answers.
    request_outcome outcome =
        send_request(in.instance_directory, {request_kind::raise, false}, limits.answer_ms, nullptr, cancel);
    if (outcome == request_outcome::answered) return handover_result::done;
    if (outcome == request_outcome::no_answer) return handover_result::no_answer;
    if (outcome == request_outcome::cancelled || (cancel && cancel->load())) return handover_result::cancelled;
    if (!instance_running(in.instance_directory)) return handover_result::instance_gone;
    if (now_ms() >= deadline) return handover_result::no_window;
    pause_ms(limits.poll_ms);
  }
}

// Waits until an earlier hand-over has been consumed.
handover_result wait_for_response_file(const handover_input& in, const handover_limits& limits,
                                       const std::atomic<bool>* cancel) {
  long long deadline = now_ms() + limits.response_file_ms;
  while (response_file_exists(in.response_path)) {
    if (cancel && cancel->load()) return handover_result::cancelled;
    if (!instance_running(in.instance_directory)) return handover_result::instance_gone;
    if (now_ms() >= deadline) return handover_result::response_busy;
    pause_ms(limits.poll_ms);
  }
  return handover_result::done;
}

}  // namespace

handover_result hand_over(const handover_input& in, const handover_limits& limits,
                          const std::atomic<bool>* cancel) {
  // Finding the window raises it too (restored if minimised); the hand-over
  // order has the raise after the response file is claimed, which changes
  // nothing the user can see.
  handover_result r = wait_for_window(in, limits, cancel);
  if (r != handover_result::done) return r;
  r = wait_for_response_file(in, limits, cancel);
  if (r != handover_result::done) return r;
  if (!write_response_file(in.response_path, {})) return handover_result::file_error;
  if (in.command_line_empty) {
    delete_response_file(in.response_path);
    return handover_result::done;
  }
  if (!write_response_file(in.response_path, response_lines(in.items))) {
    delete_response_file(in.response_path);
    return handover_result::file_error;
  }
  instance_request request;
  request.kind = in.items.command_mode ? request_kind::run_command : request_kind::open_files;
  request.read_only = !in.items.command_mode && in.read_only;
  switch (send_request(in.instance_directory, request, limits.answer_ms, nullptr, cancel)) {
    case request_outcome::answered:
      return handover_result::done;
    case request_outcome::cancelled:
      // The request may still be carried out later; the response file stays
      // for it, as it would for an instance that is only slow.
      return handover_result::cancelled;
    case request_outcome::not_listening:
      // Nobody will ever read it: the instance went away in between.
      delete_response_file(in.response_path);
      return handover_result::instance_gone;
    case request_outcome::no_answer:
      break;
  }
  return handover_result::no_answer;
}

int handover_message(handover_result result) {
  switch (result) {
    case handover_result::done:
    case handover_result::cancelled:
      return 0;
    case handover_result::file_error:
      return 31;
    default:
      return 29;
  }
}

}  // namespace vintorel
