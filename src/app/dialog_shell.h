// `dialog_shell`: the command line and working directory of a command to
// run, typed directly (entry -1) or taken from a program entry for
// confirmation; an entry marked to run at once presses OK by itself.
#pragma once
#include <cstdint>
#include <string>

#include "platform/byte_string.h"
#include "toolkit/dialog.h"
#include "toolkit/edit.h"

class QWidget;

namespace vintorel {

class dialog_shell : public dialog {
 public:
  byte_string command_line;   // out: at most 255 bytes
  byte_string directory;      // in: the directory offered; out: confirmed, ending in "/"
  int entry = -1;             // the program entry, -1 for direct input
  std::string programs_path;  // program.ini

  // 1 for OK, 2 for Cancel (also when the entry does not exist).
  int run_modal(QWidget* parent);

  void on_init() override;
  void on_command(int id, std::intptr_t parameter) override;
  void on_destroy() override;

 private:
  edit_commandline command_edit_;
  edit directory_edit_;
};

// The directory as a command runs in it: "/" appended when missing, "./"
// for none.
byte_string command_directory_of(const byte_string& typed);

}  // namespace vintorel
