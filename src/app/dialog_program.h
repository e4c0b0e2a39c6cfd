// The program dialog: creates, changes or deletes one program entry of
// program.ini (title, command line, confirmation before running).
#pragma once
#include <functional>
#include <string>

#include "app/dialog_help.h"
#include "toolkit/dialog.h"
#include "toolkit/edit.h"
#include "toolkit/timer.h"

class QWidget;

namespace vintorel {

class dialog_program : public dialog {
 public:
  // `index`: the entry's position in program.ini, -1 for a new entry.
  dialog_program(std::string program_ini, std::string manual_path, int index)
      : program_ini_(std::move(program_ini)), manual_path_(std::move(manual_path)), index_(index) {}

  // Called after every change of program.ini (both program menus follow it).
  std::function<void()> on_programs_changed;

  // 1 when the entry was written or deleted, 2 for Cancel (and when the entry
  // to edit is gone).
  int run_modal(QWidget* parent);
  dialog_help* help() const { return help_.window(); }

  void on_init() override;
  void on_destroy() override;
  void on_command(int id, std::intptr_t parameter) override;
  void on_timer(int timer_id) override;

 private:
  void accept_entry();
  void delete_entry();
  void update_ok();
  void changed();

  std::string program_ini_;
  std::string manual_path_;
  int index_;
  edit_title title_;
  edit_commandline command_;
  check confirm_;
  timer timer_;
  help_slot help_;
};

}  // namespace vintorel
