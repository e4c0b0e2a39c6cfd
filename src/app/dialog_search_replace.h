// The search/replace dialog: sets the search and replacement strings (it does
// not search), and the jump dialog, which asks for a line number.
#pragma once
#include <cstdint>

#include "platform/byte_string.h"
#include "toolkit/dialog.h"
#include "toolkit/edit.h"
#include "toolkit/updown.h"

class QWidget;

namespace vintorel {

class dialog_search_replace : public dialog {
 public:
  // The strings shown at first (cut to 255 bytes, never half a character);
  // after OK they hold what the user left in the two fields.
  byte_string search_string;
  byte_string replace_string;

  // 1 for OK, 2 for Cancel.
  int run_modal(QWidget* parent);

  void on_init() override;
  void on_command(int id, std::intptr_t parameter) override;
};

class dialog_jump : public dialog {
 public:
  std::int32_t current_line = 0;  // in: the cursor's line index
  std::int32_t last_line = 0;     // in: the last line index
  std::int32_t chosen_line = 0;   // out: the line index asked for

  // 1 for OK, 2 for Cancel.
  int run_modal(QWidget* parent);

  void on_init() override;
  void on_command(int id, std::intptr_t parameter) override;
  void on_destroy() override;

 private:
  edit_linenumber number_;
  updown arrows_;
};

}  // namespace vintorel
