// The keyword dialog: asks the extension-style dialog for one keyword to colour.
#pragma once
#include "platform/byte_string.h"
#include "toolkit/dialog.h"
#include "toolkit/edit.h"

class QWidget;

namespace vintorel {

class dialog_keyword : public dialog {
 public:
  byte_string keyword;  // after OK: the keyword typed, at most 127 bytes, without ","

  // 1 for OK, 2 for Cancel.
  int run_modal(QWidget* parent);

  void on_init() override;
  void on_command(int id, std::intptr_t parameter) override;
  void on_destroy() override;

 private:
  edit_keyword edit_;
};

}  // namespace vintorel
