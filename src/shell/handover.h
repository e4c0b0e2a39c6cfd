// The second instance's side of start-up: handing its command line to the
// running instance through the response file and the instance socket, with a
// time limit on every wait so that it never hangs.
#pragma once
#include <atomic>
#include <string>

#include "shell/command_line.h"

namespace vintorel {

// How long the second instance waits, in milliseconds, and how often it looks.
struct handover_limits {
  int find_window_ms = 20000;    // for the running instance to show its window
  int response_file_ms = 10000;  // for an earlier hand-over to be consumed
  int answer_ms = 60000;         // for a request to be carried out
  int poll_ms = 100;
  int notice_ms = 2000;          // before the user is told that nobody answers
};

enum class handover_result {
  done,              // handed over (or only raised, for an empty command line)
  instance_gone,     // the running instance ended before it took the hand-over
  no_window,         // it never showed its window in time
  response_busy,     // an earlier response file was never consumed
  file_error,        // the response file could not be written
  no_answer,         // it took a request but did not carry it out in time
  cancelled,         // the cancel flag was set: the user chose to start alone
};

struct handover_input {
  std::string instance_directory;  // where the lock and the socket are
  std::string response_path;       // the response file
  bool command_line_empty = true;  // nothing is handed over, the window is only raised
  command_line_items items;        // the parsed command line (absolute paths)
  bool read_only = false;          // /R given or Ctrl held at start
};

// Setting `cancel` from another thread ends every wait within a poll interval
// (a tenth of a second) with `cancelled`.
handover_result hand_over(const handover_input& input, const handover_limits& limits = {},
                          const std::atomic<bool>* cancel = nullptr);

// The string-table id of the message a result calls for: 0 for done, 31 when
// the response file failed, 29 for the rest (0 for cancelled: the user chose).
int handover_message(handover_result result);

}  // namespace vintorel
