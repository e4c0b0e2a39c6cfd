// The questions, notices and clipboard that plain code needs from the user's
// side, declared here so that the text model and the file layer never see the
// window toolkit. The toolkit implements it over message boxes and the system
// clipboard; tests answer it with a scripted responder.
#pragma once
#include "platform/byte_string.h"

namespace vintorel {

// Button pressed in a Yes/No/Cancel box.
enum class choice { yes, no, cancel };

// Caption and text are string-table ids (2 notice, 3 confirm, 4 choose, 5 error
// are the usual captions). The defaults answer as a user who cancels everything
// and has an empty clipboard, so a null_user_interface is safe anywhere.
class user_interface {
 public:
  virtual ~user_interface() = default;

  // Information icon, OK.
  virtual void notice(int caption_id, int text_id) { (void)caption_id, (void)text_id; }
  // Question icon, OK and Cancel: true for OK.
  virtual bool confirm(int caption_id, int text_id) {
    (void)caption_id, (void)text_id;
    return false;
  }
  // Question icon, Yes, No and Cancel.
  virtual choice choose(int caption_id, int text_id) {
    (void)caption_id, (void)text_id;
    return choice::cancel;
  }
  // Exclamation icon, OK.
  virtual void error(int caption_id, int text_id) { (void)caption_id, (void)text_id; }
  // The same with a file's path shown below the text (where a text was left).
  virtual void error_with_path(int caption_id, int text_id, const byte_string& path) {
    (void)path;
    error(caption_id, text_id);
  }

  // A progress box with Cancel that stays up while the program waits: asked
  // once when it appears; true when the user cancels the wait.
  virtual bool cancel_wait(int caption_id, int text_id) {
    (void)caption_id, (void)text_id;
    return false;
  }
  // Plain text of the clipboard in Shift_JIS. False when the clipboard holds no
  // text or cannot be opened.
  virtual bool get_clipboard_text(byte_string& text) {
    (void)text;
    return false;
  }
  // Replaces the clipboard's content; false when it cannot be opened.
  virtual bool set_clipboard_text(const byte_string& text) {
    (void)text;
    return false;
  }

  // The file dialog for text files (filters "テキストファイル" *.txt and
  // "全てのファイル"). On entry `path` holds the directory to start in (the
  // desktop folder when empty); on OK it holds the chosen file. Opening needs
  // an existing file; saving asks before overwriting one. False when cancelled.
  virtual bool choose_file(bool save, byte_string& path) {
    (void)save, (void)path;
    return false;
  }
};

class null_user_interface final : public user_interface {};

}  // namespace vintorel
