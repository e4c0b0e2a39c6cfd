// The extension-style dialog: creates, changes or deletes one style of ext.ini
// (title, tab width, automatic indent and keywords).
#pragma once
#include <functional>
#include <string>

#include "app/dialog_help.h"
#include "toolkit/dialog.h"
#include "toolkit/edit.h"
#include "toolkit/listbox.h"
#include "toolkit/timer.h"
#include "toolkit/updown.h"

class QWidget;

namespace vintorel {

class dialog_extension : public dialog {
 public:
  // `index`: the style's position in ext.ini, -1 for a new style.
  dialog_extension(std::string ext_ini, std::string manual_path, int index)
      : ext_ini_(std::move(ext_ini)), manual_path_(std::move(manual_path)), index_(index) {}

  // Called after every change of ext.ini (the style submenu follows it).
  std::function<void()> on_styles_changed;

  // 1 when the style was written or deleted, 2 for Cancel (and when the style
  // to edit is gone).
  int run_modal(QWidget* parent);
  // The help window this dialog opened, for tests; null when none is open.
  dialog_help* help() const { return help_.window(); }

  void on_init() override;
  void on_destroy() override;
  void on_command(int id, std::intptr_t parameter) override;
  void on_timer(int timer_id) override;

 private:
  void accept_style();
  void add_keyword();
  void remove_keyword();
  void delete_style();
  void set_list_usable(bool usable);
  void update_ok();
  void changed();

  std::string ext_ini_;
  std::string manual_path_;
  int index_;
  edit_title title_;
  edit_tabsize tab_size_;
  updown arrows_;
  check auto_indent_;
  listbox keywords_;
  timer timer_;
  help_slot help_;
};

}  // namespace vintorel
