// The help window: a range of lines of the manual beside the dialog that
// opened it, shown modeless until its Close button.
#pragma once
#include <memory>
#include <string>

#include "toolkit/dialog.h"

class QWidget;

namespace vintorel {

class dialog_help : public dialog {
 public:
  dialog_help(std::string manual_path, int first_line, int line_count)
      : manual_path_(std::move(manual_path)), first_line_(first_line), line_count_(line_count) {}

  // Shows the window (modeless) with `parent` as owner; false when it could
  // not be built.
  bool open(QWidget* parent);
  // Close (or Cancel) was chosen: the owner destroys the window at its next
  // timer tick and may then open a new one.
  bool closed() const { return first_line_ == -1; }

  void on_init() override;
  void on_command(int id, std::intptr_t parameter) override;

 private:
  std::string manual_path_;
  int first_line_;
  int line_count_;
};

// The one help window a dialog may have open. The dialog opens it without
// blocking itself, passes its 10 ms timer ticks to collect, which destroys the
// window once the user closed it, and closes it when the dialog itself goes.
class help_slot {
 public:
  help_slot() = default;
  help_slot(const help_slot&) = delete;
  help_slot& operator=(const help_slot&) = delete;
  ~help_slot() { close(); }

  // Opens the excerpt with `parent` as owner unless a help window is open.
  void open(QWidget* parent, const std::string& manual_path, int first_line, int line_count);
  void collect();
  void close();
  dialog_help* window() const { return help_.get(); }

 private:
  std::unique_ptr<dialog_help> help_;
};

}  // namespace vintorel
