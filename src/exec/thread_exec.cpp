// Running a command in the worker thread: the child, the echo, the reading of
// the output and its hand-over to the console.
#include "exec/thread_exec.h"

#include <memory>

#include "exec/output_lines.h"
#include "platform/cp932.h"

namespace vintorel {

namespace {

// Output runs go to the console as the worker's sent commands.
class to_console : public output_events {
 public:
  explicit to_console(console_commands& console) : console_(console) {}
  void text(const char* run) override { console_.append(run); }
  void line_feed() override { console_.line_feed(); }

 private:
  console_commands& console_;
};

}  // namespace

byte_string cut_to_bytes(const byte_string& text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t end = 0;
  while (end < text.size()) {
    std::size_t step = is_lead_byte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
    if (end + step > limit) break;
    end += step;
  }
  return text.substr(0, end);
}

thread_exec::thread_exec(console_commands& console, const byte_string& command_line, const byte_string& directory)
    : console_(console),
      command_line_(cut_to_bytes(command_line, command_buffer_bytes)),
      directory_(cut_to_bytes(directory, command_buffer_bytes)) {}

thread_exec::~thread_exec() {
  // The thread must be gone before the members it uses.
  close();
}

bool thread_exec::stop(int signal_number) {
  std::lock_guard<std::mutex> hold(child_lock_);
  return signal_child(child_, signal_number);
}

void thread_exec::run() {
  child_process started;
  if (!start_child(command_line_, directory_, started)) {
    finish(0);
    return;
  }
  {
    std::lock_guard<std::mutex> hold(child_lock_);
    child_ = started;
  }
  console_.go_to_end();
  to_console events(console_);
  output_lines lines;
  byte_string echo = "\n" + directory_ + ">" + command_line_ + "\n";
  lines.feed(echo.data(), echo.size(), events);
  auto buffer = std::make_unique<char[]>(output_piece_bytes);
  for (;;) {
    std::size_t n = read_child_output(started, buffer.get(), output_piece_bytes);
    if (n == 0) break;
    lines.feed(buffer.get(), n, events);
  }
  lines.finish();
  console_.line_feed();
  close_output(started);
  // The group id stays valid for stop() until the child is reaped under the lock.
  wait_for_exit(started);
  {
    std::lock_guard<std::mutex> hold(child_lock_);
    reap_child(child_);
  }
  finish(1);
}

}  // namespace vintorel
