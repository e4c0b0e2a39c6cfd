// Dispatch of the commands on files and the text list: new, open and view,
// close, the settings file and manual, the version box, the hand-overs of a
// second instance and the text-switch entries.
#include <QMainWindow>
#include <QProcess>

#include "app/menu_table.h"
#include "app/response_file.h"
#include "app/window_filer.h"
#include "app/window_main.h"
#include "toolkit/message_box.h"
#include "toolkit/qt_text.h"
#include "toolkit/string_table.h"
#include "toolkit/key_mapping.h"

namespace vintorel {

void window_::dispatch_files(int id) {
  if (id >= first_text_entry_id && id <= last_text_entry_id) {
    show_text(id - first_text_entry_id);
    return;
  }
  switch (id) {
    case 216:
      before_dialog();
      if (ui_.confirm(string_caption_confirm, string_new_text_question)) new_text("???");
      break;
    case 217:
      open_file_command(ctrl_down());
      break;
    case 219:
      open_file_command(true);
      break;
    case 220:
      reload_file();
      break;
    case 221:
      duplicate_file();
      break;
    case 226:
      save_file();
      break;
    case 227:
      if (close_text(2, false) && text_count() == 1) post_command(217);
      break;
    case 228:
      if (close_all_texts() && text_count() == 1) post_command(217);
      break;
    case 335:
      open_text(text_count(), ini_path("vintorel.ini"), false);
      break;
    case 336:
      open_text(text_count(), ini_path("vintorel.txt"), true);
      break;
    case 337:
      before_dialog();
      version_box(frame(), string_caption_version, string_version, "icon_main");
      break;
    case 339:
      hand_over_command();
      break;
    default:
      break;
  }
}

void window_::open_file_command(bool read_only) {
  const settings_record& s = *setup_.settings;
  // An outside file manager instead of the dialog: its window when one is
  // open, else the program.
  if (!s.filer_class.empty() && activate_filer_window(s.filer_class)) return;
  if (!s.filer_path.empty() && QProcess::startDetached(QString::fromLocal8Bit(s.filer_path.c_str()), {})) return;
  before_dialog();
  byte_string chosen;
  if (ui_.choose_file(false, chosen)) open_text(text_count(), chosen, read_only);
}

void window_::hand_over_files(bool read_only) {
  std::vector<std::string> lines;
  if (read_response_file(setup_.response_path, lines)) {
    for (const std::string& path : lines) {
      if (!path.empty()) open_text(text_count(), path, read_only);
    }
  }
  delete_response_file(setup_.response_path);
}

void window_::hand_over_command() {
  std::vector<std::string> lines;
  if (read_response_file(setup_.response_path, lines) && lines.size() >= 2) {
    command_directory_ = lines[0];
    if (command_directory_.empty() || command_directory_.back() != '/') command_directory_ += '/';
    last_command_ = lines[1];
    if (setup_.run_command) setup_.run_command(command_directory_, last_command_);
  }
  delete_response_file(setup_.response_path);
}

}  // namespace vintorel
