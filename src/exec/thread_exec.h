// `thread_exec`: the worker that runs one command line through the command
// interpreter and hands its echo and output to the console, piece by piece,
// through `console_commands` (each call returns once the user-interface
// thread has carried it out). It finishes with 1 when the child was started,
// 0 when not.
#pragma once
#include <mutex>

#include "exec/thread.h"
#include "platform/byte_string.h"
#include "platform/process.h"

namespace vintorel {

// The console commands the worker sends: go_to_end is forward_line_tail,
// forward_tail and insert_linefeed; append inserts without repainting; line_feed
// is insert_linefeed.
class console_commands {
 public:
  virtual ~console_commands() = default;
  virtual void go_to_end() = 0;
  virtual void append(const char* text) = 0;
  virtual void line_feed() = 0;
};

// The command line and directory handed to the worker are cut to this many
// bytes.
constexpr std::size_t command_buffer_bytes = 255;
// Output is read in pieces of at most this size.
constexpr std::size_t output_piece_bytes = 65534;

class thread_exec : public thread {
 public:
  // `directory` ends in "/" (or is empty for the current directory).
  thread_exec(console_commands& console, const byte_string& command_line, const byte_string& directory);
  ~thread_exec() override;

  // Sends `signal_number` to the running child's process group; false when
  // no child runs (not started yet, or ended and reaped).
  bool stop(int signal_number);

  const byte_string& command_line() const { return command_line_; }
  const byte_string& directory() const { return directory_; }

 protected:
  void run() override;

 private:
  console_commands& console_;
  byte_string command_line_;
  byte_string directory_;
  std::mutex child_lock_;  // guards child_.pid against the stop request
  child_process child_;
};

// The shared buffers hold at most `limit` bytes, never half a character.
byte_string cut_to_bytes(const byte_string& text, std::size_t limit);

}  // namespace vintorel
