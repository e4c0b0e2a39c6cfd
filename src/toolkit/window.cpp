// The top-level window: a QMainWindow frame and a client widget that turn Qt
// events into the window's operations.
#include "toolkit/window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QSessionManager>
#include <QThread>
#include <QUrl>
#include <algorithm>

#include "platform/cp932.h"
#include "toolkit/key_mapping.h"
#include "toolkit/qt_text.h"

namespace vintorel {

// Inside QWidget subclasses "window" names QWidget::window().
using window_object = window;

class window_frame : public QMainWindow {
 public:
  explicit window_frame(window_object* owner) : owner_(owner) { setAcceptDrops(true); }
  void detach() { owner_ = nullptr; }
  window_object* owner() const { return owner_; }

 protected:
  void closeEvent(QCloseEvent* event) override {
    // The window decides: on_close destroys it or leaves it open.
    event->ignore();
    if (owner_) owner_->on_close();
  }
  void moveEvent(QMoveEvent* event) override {
    QMainWindow::moveEvent(event);
    if (owner_) owner_->on_move();
  }
  void resizeEvent(QResizeEvent* event) override {
    QMainWindow::resizeEvent(event);
    if (owner_ && !isMinimized() && !isMaximized()) owner_->on_size(size_restored);
  }
  void changeEvent(QEvent* event) override {
    QMainWindow::changeEvent(event);
    if (!owner_) return;
    switch (event->type()) {
      case QEvent::WindowStateChange:
        if (isMinimized()) {
          owner_->on_size(size_minimized);
        } else if (isMaximized()) {
          owner_->on_size(size_maximized);
        }
        break;
      case QEvent::ActivationChange:
        owner_->on_activate(isActiveWindow(), isMinimized());
        break;
      case QEvent::EnabledChange:
        if (isEnabled()) owner_->on_enable();
        break;
      default:
        break;
    }
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (owner_) owner_->handle_key(*event);
  }
  void keyReleaseEvent(QKeyEvent* event) override {
    if (owner_) owner_->handle_key(*event);
  }
  void dragEnterEvent(QDragEnterEvent* event) override {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
  }
  void dragMoveEvent(QDragMoveEvent* event) override {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
  }
  void dropEvent(QDropEvent* event) override {
    dropped_files drop;
    for (const QUrl& url : event->mimeData()->urls()) {
      if (url.isLocalFile()) drop.paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    }
    if (drop.paths.empty()) return;
    event->acceptProposedAction();
    note_modifiers(event->modifiers());
    if (owner_) owner_->on_drop_files(drop);
  }

 private:
  window_object* owner_;
};

class window_client : public QWidget {
 public:
  explicit window_client(window_object* owner) : owner_(owner) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    // The window paints every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
  }
  void detach() { owner_ = nullptr; }

 protected:
  bool event(QEvent* event) override {
    // Keys go to the window before any shortcut: F10 and Ctrl+letters must
    // never open or trigger a menu. Keys with Alt stay system keys (menu
    // access keys), except F10.
    if (event->type() == QEvent::ShortcutOverride) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (!key->modifiers().testFlag(Qt::AltModifier) || key->key() == Qt::Key_F10) {
        event->accept();
        return true;
      }
    }
    return QWidget::event(event);
  }
  // Tab and Shift+Tab are keys of the editor, not focus moves.
  bool focusNextPrevChild(bool) override { return false; }
  void keyPressEvent(QKeyEvent* event) override {
    if (owner_) owner_->handle_key(*event);
  }
  void keyReleaseEvent(QKeyEvent* event) override {
    if (owner_) owner_->handle_key(*event);
  }
  void inputMethodEvent(QInputMethodEvent* event) override {
    if (owner_) owner_->handle_input_method(*event);
    event->accept();
  }
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override {
    switch (query) {
      case Qt::ImEnabled:
        return true;
      case Qt::ImCursorRectangle:
        return owner_ ? owner_->composition().cursor_rectangle() : QRect();
      case Qt::ImSurroundingText:
      case Qt::ImCurrentSelection:
      case Qt::ImTextBeforeCursor:
      case Qt::ImTextAfterCursor:
        return QString();
      case Qt::ImCursorPosition:
      case Qt::ImAnchorPosition:
        return 0;
      case Qt::ImHints:
        return static_cast<int>(Qt::ImhNone);
      default:
        return QWidget::inputMethodQuery(query);
    }
  }
  void paintEvent(QPaintEvent* event) override {
    if (!owner_) return;
    {
      QPainter painter(this);
      owner_->on_erase_background(painter);
    }
    owner_->handle_paint(event->rect());
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (!owner_) return;
    if (event->button() == Qt::LeftButton) owner_->on_left_button_down();
    if (event->button() == Qt::RightButton) owner_->on_right_button_down();
  }

 private:
  window_object* owner_;
};

window::~window() {
  // The object goes first: the widgets must not call it any more.
  if (auto* frame = static_cast<window_frame*>(handle_.data())) {
    frame->detach();
    if (client_) static_cast<window_client*>(client_.data())->detach();
    QWidget* w = frame;
    unbind();
    delete w;
  }
}

bool window::create(std::string_view title_sjis, int client_x, int client_y, int client_width,
                    int client_height, int show_command, bool fixed_size) {
  if (handle_) return false;
  track_input();
  auto* frame = new window_frame(this);
  frame->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  frame->setWindowTitle(to_qstring(title_sjis));
  auto* client = new window_client(this);
  client->resize(client_width, client_height);
  if (fixed_size) client->setFixedSize(client_width, client_height);
  frame->setCentralWidget(client);
  if (fixed_size) frame->layout()->setSizeConstraint(QLayout::SetFixedSize);
  bind(frame);
  client_ = client;

  if (on_create() == -1) {
    frame->detach();
    client->detach();
    unbind();
    client_ = nullptr;
    delete frame;
    return false;
  }

  // Place the client area's corner where asked (geometry excludes the
  // decorations, which the window system adds around it).
  frame->layout()->activate();
  frame->adjustSize();
  QPoint offset = client->mapTo(frame, QPoint(0, 0));
  frame->setGeometry(QRect(QPoint(client_x - offset.x(), client_y - offset.y()), frame->size()));

  switch (show_command) {
    case show_hidden:
      break;
    case show_minimized:
    case 6:
    case 7:
      frame->showMinimized();
      break;
    case show_maximized:
      frame->showMaximized();
      break;
    default:
      frame->show();
      frame->activateWindow();
      break;
  }
  client->setFocus(Qt::OtherFocusReason);
  // The frame, decorations included, never starts off the screen's top or
  // left edge.
  QRect outer = frame->frameGeometry();
  if (outer.left() < 0 || outer.top() < 0) {
    frame->move(std::max(0, outer.left()), std::max(0, outer.top()));
  }

  QObject::connect(qApp, &QGuiApplication::applicationStateChanged, frame,
                   [frame](Qt::ApplicationState state) {
                     if (frame->owner()) frame->owner()->on_activate_app(state == Qt::ApplicationActive);
                   });
  QObject::connect(qApp, &QGuiApplication::commitDataRequest, frame,
                   [frame](QSessionManager& manager) {
                     if (frame->owner() && !frame->owner()->on_query_end_session()) manager.cancel();
                   });
  return true;
}

void window::destroy() {
  if (!handle_) return;
  auto* frame = static_cast<window_frame*>(handle_.data());
  on_destroy();
  frame->detach();
  if (client_) static_cast<window_client*>(client_.data())->detach();
  unbind();
  client_ = nullptr;
  frame->hide();
  frame->deleteLater();
  // Ends the message loop, as the quit message would; outside a loop (tests)
  // there is nothing to end.
  if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}

QMainWindow* window::frame() const { return static_cast<QMainWindow*>(handle_.data()); }
QWidget* window::client() const { return client_; }
QMenuBar* window::menu_bar() const { return handle_ ? frame()->menuBar() : nullptr; }
QWidget* window::client_widget() const { return client_; }

void window::post_command(int id, std::intptr_t parameter) {
  if (!handle_) return;
  auto* frame = static_cast<window_frame*>(handle_.data());
  QMetaObject::invokeMethod(
      frame,
      [frame, id, parameter] {
        if (frame->owner()) frame->owner()->on_command(id, parameter);
      },
      Qt::QueuedConnection);
}

void window::run_posted_commands() {
  if (handle_) QCoreApplication::sendPostedEvents(handle_.data(), QEvent::MetaCall);
}

void window::send_command(int id, std::intptr_t parameter) {
  if (!handle_) return;
  auto* frame = static_cast<window_frame*>(handle_.data());
  if (QThread::currentThread() == frame->thread()) {
    on_command(id, parameter);
    return;
  }
  QMetaObject::invokeMethod(
      frame,
      [frame, id, parameter] {
        if (frame->owner()) frame->owner()->on_command(id, parameter);
      },
      Qt::BlockingQueuedConnection);
}

namespace {
bool has_double_byte(const byte_string& bytes) {
  for (char c : bytes) {
    if (is_lead_byte(static_cast<unsigned char>(c))) return true;
  }
  return false;
}
}  // namespace

void window::handle_key(QKeyEvent& event) {
  note_key_state(event);
  bool press = event.type() == QEvent::KeyPress;
  // A held key repeats as presses; its release comes once, at the end.
  if (!press && event.isAutoRepeat()) return;
  int key = virtual_key_of(event.key(), event.modifiers());
  // Keys with Alt, and Alt itself, are system keys left to the menu bar;
  // F10 is an ordinary key with or without Alt.
  bool alt = event.modifiers().testFlag(Qt::AltModifier) || key == vk_menu;
  if (alt && key != vk_f10) return;
  if (!press) {
    if (key != 0) on_key_up(key);
    return;
  }
  // A key event without a key (text composed by the window system) only types.
  if (key != 0) on_key_down(key);
  if (alt) return;  // Alt+F10 types nothing
  byte_string bytes = typed_bytes(event);
  if (has_double_byte(bytes)) {
    // Japanese text that comes as a key event (a direct commit of some input
    // methods, a synthesized keystroke) goes the way of an input-method
    // result: as character messages its double-byte characters would be lost.
    commit_text(bytes);
    return;
  }
  for (char c : bytes) {
    if (!handle_) return;  // a handler may have destroyed the window
    on_char(static_cast<unsigned char>(c));
  }
}

void window::commit_text(const byte_string& text) {
  bool was_composing = composing_;
  if (!was_composing) {
    composing_ = true;
    on_composition_start();
  }
  composition_.set(composition_text(), text);
  on_composition(composition_result_ready);
  composing_ = false;
  on_composition_end();
  composition_.clear();
}

void window::handle_input_method(QInputMethodEvent& event) {
  const QString& preedit = event.preeditString();
  const QString& commit = event.commitString();
  if (preedit.isEmpty() && commit.isEmpty()) {
    // An empty pre-edit after composing: the composition was cancelled.
    if (composing_) {
      composition_.clear();
      composing_ = false;
      on_composition_end();
    }
    return;
  }
  if (!composing_) {
    composing_ = true;
    on_composition_start();
  }
  composition_text composition;
  if (!preedit.isEmpty()) composition = convert_preedit(preedit, event.attributes());
  composition_.set(composition, commit.isEmpty() ? byte_string() : to_sjis(commit));
  if (!preedit.isEmpty()) {
    // Still composing. A clause committed on the way is read as the result
    // string of this change and inserted by it; it is gone afterwards, so
    // nothing inserts it a second time.
    on_composition(composition_all_changed);
    composition_.set(composition, byte_string());
    return;
  }
  // Committed with nothing left to compose: the result, then the end, which
  // still reads the same result string.
  on_composition(composition_result_ready);
  composing_ = false;
  on_composition_end();
  composition_.clear();
}

void window::handle_paint(const QRect& rectangle) {
  paint_rectangle_ = rectangle;
  on_paint();
  paint_rectangle_ = QRect();
}

}  // namespace vintorel
