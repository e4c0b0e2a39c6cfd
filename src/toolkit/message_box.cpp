// Message boxes over QMessageBox, with the texts loaded as the resources are:
// caption into 128 bytes, text into 256.
#include "toolkit/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <map>
#include <string>

#include "toolkit/qt_text.h"
#include "platform/string_table.h"

namespace vintorel {
namespace {

user_interface* responder = nullptr;

std::map<std::string, QIcon>& icons() {
  static std::map<std::string, QIcon> table;
  return table;
}

QString load_bounded(int id, std::size_t size) {
  char buffer[256];
  load_string(id, buffer, size < sizeof buffer ? size : sizeof buffer);
  return to_qstring(buffer);
}

int show_box(QWidget* owner, QMessageBox::Icon icon, int caption_id, int text_id,
             QMessageBox::StandardButtons buttons, QMessageBox::StandardButton default_button,
             const QString& detail = QString(), const std::function<bool()>& settled = {}) {
  QString text = load_bounded(text_id, 256);
  if (!detail.isEmpty()) text += "\n\n" + detail;
  QMessageBox box(icon, load_bounded(caption_id, 128), text, buttons, owner);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(default_button);
  QTimer watch;
  if (settled) {
    QObject::connect(&watch, &QTimer::timeout, &box, [&] {
      if (settled()) box.done(QMessageBox::Cancel);
    });
    watch.start(100);
  }
  return box.exec();
}

}  // namespace

user_interface* set_box_responder(user_interface* r) {
  user_interface* previous = responder;
  responder = r;
  return previous;
}

user_interface* box_responder() { return responder; }

void notice(QWidget* owner, int caption_id, int text_id) {
  if (responder) return responder->notice(caption_id, text_id);
  show_box(owner, QMessageBox::Information, caption_id, text_id, QMessageBox::Ok, QMessageBox::Ok);
}

bool confirm(QWidget* owner, int caption_id, int text_id) {
  if (responder) return responder->confirm(caption_id, text_id);
  return show_box(owner, QMessageBox::Question, caption_id, text_id,
                  QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) == QMessageBox::Ok;
}

bool confirm_until(QWidget* owner, int caption_id, int text_id, const std::function<bool()>& settled) {
  if (responder) return responder->confirm(caption_id, text_id);
  if (settled()) return false;
  return show_box(owner, QMessageBox::Question, caption_id, text_id, QMessageBox::Ok | QMessageBox::Cancel,
                  QMessageBox::Cancel, QString(), settled) == QMessageBox::Ok;
}

choice choose(QWidget* owner, int caption_id, int text_id) {
  if (responder) return responder->choose(caption_id, text_id);
  int answer = show_box(owner, QMessageBox::Question, caption_id, text_id,
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
  if (answer == QMessageBox::Yes) return choice::yes;
  if (answer == QMessageBox::No) return choice::no;
  return choice::cancel;  // Cancel, Escape or the close button
}

void error(QWidget* owner, int caption_id, int text_id) {
  if (responder) return responder->error(caption_id, text_id);
  show_box(owner, QMessageBox::Warning, caption_id, text_id, QMessageBox::Ok, QMessageBox::Ok);
}

void error_with_path(QWidget* owner, int caption_id, int text_id, const byte_string& path) {
  if (responder) return responder->error_with_path(caption_id, text_id, path);
  show_box(owner, QMessageBox::Warning, caption_id, text_id, QMessageBox::Ok, QMessageBox::Ok, to_qstring(path));
}

void version_box(QWidget* owner, int caption_id, int text_id, const char* icon_name, const QString& detail) {
  if (responder) return responder->notice(caption_id, text_id);
  QString text = load_bounded(text_id, 256);
  if (!detail.isEmpty()) text += QStringLiteral("\n\n") + detail;
  QMessageBox box(QMessageBox::NoIcon, load_bounded(caption_id, 128), text, QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);
  QIcon icon = load_icon(icon_name);
  if (!icon.isNull()) box.setIconPixmap(icon.pixmap(48, 48));
  box.exec();
}

void register_icon(const char* name, const QIcon& icon) { icons()[name ? name : ""] = icon; }

QIcon load_icon(const char* name) {
  auto it = icons().find(name ? name : "");
  if (it != icons().end()) return it->second;
  return QApplication::windowIcon();
}

}  // namespace vintorel
