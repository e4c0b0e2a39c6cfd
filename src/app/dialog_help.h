// The help window: a range of lines of the manual beside the dialog that
// opened it, shown modeless until its Close button.
#pragma once
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

}  // namespace vintorel
