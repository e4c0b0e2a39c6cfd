// The user's side over Qt: message boxes owned by a window, the editor's file
// dialog and the system clipboard.
#pragma once
#include <QPointer>
#include <QWidget>

#include "platform/user_interface.h"

namespace vintorel {

class qt_user_interface : public user_interface {
 public:
  explicit qt_user_interface(QWidget* owner = nullptr) : owner_(owner) {}
  void set_owner(QWidget* owner) { owner_ = owner; }

  void notice(int caption_id, int text_id) override;
  bool confirm(int caption_id, int text_id) override;
  choice choose(int caption_id, int text_id) override;
  void error(int caption_id, int text_id) override;
  void error_with_path(int caption_id, int text_id, const byte_string& path) override;
  // Clipboard text is Unicode with LF line ends; the editor's text is
  // Shift_JIS with CR LF. Reading stops at a NUL, as the plain-text format does.
  bool get_clipboard_text(byte_string& text) override;
  bool set_clipboard_text(const byte_string& text) override;
  bool choose_file(bool save, byte_string& path) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace vintorel
