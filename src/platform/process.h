// A child process of the command interpreter with its output on one pipe:
// `$ComSpec -c LINE` when ComSpec is set, else `/bin/sh -c LINE`, started in
// its own process group in a given directory. Standard output and standard
// error share the pipe; standard input is a pipe whose writing end is closed
// before the child runs, so a child that reads it sees the end at once.
#pragma once
#include <sys/types.h>

#include <cstddef>
#include <string>

namespace vintorel {

struct child_process {
  pid_t pid = -1;      // also the process group id
  int output_fd = -1;  // the editor's reading end
};

// The interpreter `start_child` runs: $ComSpec when set and not empty, else
// /bin/sh.
std::string command_interpreter();

// Starts `command_line` through the interpreter in `directory`. False, with
// nothing left open, when a pipe cannot be made, the directory cannot be
// entered or the interpreter cannot be run.
bool start_child(const std::string& command_line, const std::string& directory, child_process& child);

// Reads at most `size` bytes of output. The count read; 0 once every writer
// of the pipe has closed it (the child and whatever it started have ended),
// or on a read error. Interrupted reads are repeated.
std::size_t read_child_output(child_process& child, char* buffer, std::size_t size);

// Sends `signal_number` to the child's whole process group; false when the
// child is gone already or was never started.
bool signal_child(const child_process& child, int signal_number);

// Closes the reading end.
void close_output(child_process& child);
// Waits without limit for the child to end but leaves it unreaped, so that its
// process group id cannot be taken by another process meanwhile.
void wait_for_exit(const child_process& child);
// Reaps the ended child; its id is no longer valid afterwards.
void reap_child(child_process& child);
// All three.
void close_child(child_process& child);

}  // namespace vintorel
