// The message boxes: notice, confirm, choose, error and the version box, with
// caption and text from the string table; and the hook through which tests
// answer them (and the file dialog) without showing anything.
#pragma once
#include <QIcon>
#include <QString>
#include <functional>

#include "platform/user_interface.h"

class QWidget;

namespace vintorel {

// Information icon, OK.
void notice(QWidget* owner, int caption_id, int text_id);
// Question icon, OK and Cancel: true for OK.
bool confirm(QWidget* owner, int caption_id, int text_id);
// The same box, closed by itself (as Cancel) as soon as `settled` turns true;
// it is asked every tenth of a second.
bool confirm_until(QWidget* owner, int caption_id, int text_id, const std::function<bool()>& settled);
// Question icon, Yes, No and Cancel.
choice choose(QWidget* owner, int caption_id, int text_id);
// Exclamation icon, OK.
void error(QWidget* owner, int caption_id, int text_id);
// The same with a path (Shift_JIS) on a line of its own below the text.
void error_with_path(QWidget* owner, int caption_id, int text_id, const byte_string& path);
// The program's named icon, OK (string 6 with text string 1 and "icon_main");
// `detail`, when given, follows the text after an empty line.
void version_box(QWidget* owner, int caption_id, int text_id, const char* icon_name,
                 const QString& detail = QString());

// While a responder is set, every box and file dialog of the toolkit asks it
// instead of showing a window (the version box as a notice with its ids).
// Returns the responder set before.
user_interface* set_box_responder(user_interface* responder);
user_interface* box_responder();

// Sets a responder for the life of a scope.
class scoped_box_responder {
 public:
  explicit scoped_box_responder(user_interface& responder)
      : previous_(set_box_responder(&responder)) {}
  ~scoped_box_responder() { set_box_responder(previous_); }
  scoped_box_responder(const scoped_box_responder&) = delete;
  scoped_box_responder& operator=(const scoped_box_responder&) = delete;

 private:
  user_interface* previous_;
};

// The program's icons by resource name ("icon_main"). An unknown name gives
// the application's window icon.
void register_icon(const char* name, const QIcon& icon);
QIcon load_icon(const char* name);

}  // namespace vintorel
