// Message boxes, the file dialog and the clipboard for plain code.
#include "toolkit/qt_user_interface.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "files/file_system.h"
#include "toolkit/file_dialog.h"
#include "toolkit/message_box.h"
#include "toolkit/qt_text.h"
#include "platform/string_table.h"

namespace vintorel {

void qt_user_interface::notice(int caption_id, int text_id) {
  vintorel::notice(owner_, caption_id, text_id);
}
bool qt_user_interface::confirm(int caption_id, int text_id) {
  return vintorel::confirm(owner_, caption_id, text_id);
}
choice qt_user_interface::choose(int caption_id, int text_id) {
  return vintorel::choose(owner_, caption_id, text_id);
}
void qt_user_interface::error(int caption_id, int text_id) {
  vintorel::error(owner_, caption_id, text_id);
}

void qt_user_interface::error_with_path(int caption_id, int text_id, const byte_string& path) {
  vintorel::error_with_path(owner_, caption_id, text_id, path);
}

bool qt_user_interface::get_clipboard_text(byte_string& text) {
  if (user_interface* responder = box_responder()) return responder->get_clipboard_text(text);
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return false;
  const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
  if (!data || !data->hasText()) return false;
  QString unicode = data->text();
  qsizetype nul = unicode.indexOf(QChar(0));
  if (nul >= 0) unicode.truncate(nul);
  text = to_sjis(unicode);
  return true;
}

bool qt_user_interface::set_clipboard_text(const byte_string& text) {
  if (user_interface* responder = box_responder()) return responder->set_clipboard_text(text);
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return false;
  byte_string plain = text.substr(0, text.find('\0'));
  // CR LF pairs become LF, the line end other programs here expect; a lone CR
  // stays (it still ends a line when the editor reads it back).
  byte_string lf;
  lf.reserve(plain.size());
  for (std::size_t i = 0; i < plain.size(); ++i) {
    if (plain[i] == '\r' && i + 1 < plain.size() && plain[i + 1] == '\n') continue;
    lf += plain[i];
  }
  clipboard->setText(to_qstring(lf), QClipboard::Clipboard);
  return true;
}

bool qt_user_interface::choose_file(bool save, byte_string& path) {
  byte_string start = path.empty() ? desktop_directory() : path;
  byte_string chosen;
  if (!file_dialog(owner_, -1, string_filter_text, {"*.txt", "*.*"}, chosen, start, save)) {
    return false;
  }
  path = chosen;
  return true;
}

}  // namespace vintorel
