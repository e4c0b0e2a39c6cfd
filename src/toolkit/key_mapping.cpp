// The Qt key -> virtual-key table and the tracked modifier state.
#include "toolkit/key_mapping.h"

#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QObject>
#include <QPointer>

#include "toolkit/qt_text.h"

namespace vintorel {
namespace {

struct key_pair {
  int qt_key;
  int virtual_key;
};

// Named keys. Letters, digits and function keys are ranges (below).
constexpr key_pair named_keys[] = {
    {Qt::Key_Backspace, vk_back},     {Qt::Key_Tab, vk_tab},
    {Qt::Key_Backtab, vk_tab},  // Shift+Tab arrives as its own key
    {Qt::Key_Clear, vk_clear},        {Qt::Key_Return, vk_return},
    {Qt::Key_Enter, vk_return},       {Qt::Key_Shift, vk_shift},
    {Qt::Key_Control, vk_control},    {Qt::Key_Alt, vk_menu},
    {Qt::Key_AltGr, vk_menu},         {Qt::Key_Pause, vk_pause},
    {Qt::Key_CapsLock, vk_capital},   {Qt::Key_Kana_Lock, vk_kana},
    {Qt::Key_Kana_Shift, vk_kana},    {Qt::Key_Hiragana_Katakana, vk_kana},
    {Qt::Key_Zenkaku_Hankaku, vk_kanji}, {Qt::Key_Zenkaku, vk_kanji},
    {Qt::Key_Hankaku, vk_kanji},      {Qt::Key_Kanji, vk_kanji},
    {Qt::Key_Escape, vk_escape},      {Qt::Key_Henkan, vk_convert},
    {Qt::Key_Muhenkan, vk_nonconvert}, {Qt::Key_Space, vk_space},
    {Qt::Key_PageUp, vk_prior},       {Qt::Key_PageDown, vk_next},
    {Qt::Key_End, vk_end},            {Qt::Key_Home, vk_home},
    {Qt::Key_Left, vk_left},          {Qt::Key_Up, vk_up},
    {Qt::Key_Right, vk_right},        {Qt::Key_Down, vk_down},
    {Qt::Key_Print, vk_snapshot},     {Qt::Key_Insert, vk_insert},
    {Qt::Key_Delete, vk_delete},      {Qt::Key_Meta, vk_lwin},
    {Qt::Key_Super_L, vk_lwin},       {Qt::Key_Super_R, vk_lwin},
    {Qt::Key_Menu, vk_apps},          {Qt::Key_NumLock, vk_numlock},
    {Qt::Key_ScrollLock, vk_scroll},
    // Punctuation, by the US layout; shifted digits give their digit key.
    {Qt::Key_Semicolon, vk_oem_1},    {Qt::Key_Colon, vk_oem_1},
    {Qt::Key_Equal, vk_oem_plus},     {Qt::Key_Plus, vk_oem_plus},
    {Qt::Key_Comma, vk_oem_comma},    {Qt::Key_Less, vk_oem_comma},
    {Qt::Key_Minus, vk_oem_minus},    {Qt::Key_Underscore, vk_oem_minus},
    {Qt::Key_Period, vk_oem_period},  {Qt::Key_Greater, vk_oem_period},
    {Qt::Key_Slash, vk_oem_2},        {Qt::Key_Question, vk_oem_2},
    {Qt::Key_QuoteLeft, vk_oem_3},    {Qt::Key_AsciiTilde, vk_oem_3},
    {Qt::Key_BracketLeft, vk_oem_4},  {Qt::Key_BraceLeft, vk_oem_4},
    {Qt::Key_Backslash, vk_oem_5},    {Qt::Key_Bar, vk_oem_5},
    {Qt::Key_yen, vk_oem_5},
    {Qt::Key_BracketRight, vk_oem_6}, {Qt::Key_BraceRight, vk_oem_6},
    {Qt::Key_Apostrophe, vk_oem_7},   {Qt::Key_QuoteDbl, vk_oem_7},
    {Qt::Key_At, '2'},                {Qt::Key_Exclam, '1'},
    {Qt::Key_NumberSign, '3'},        {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},           {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},         {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},         {Qt::Key_ParenRight, '0'},
};

// Keys of the numeric keypad that have codes of their own there.
constexpr key_pair keypad_keys[] = {
    {Qt::Key_Asterisk, vk_multiply}, {Qt::Key_Plus, vk_add},
    {Qt::Key_Minus, vk_subtract},    {Qt::Key_Period, vk_decimal},
    {Qt::Key_Comma, vk_decimal},     {Qt::Key_Slash, vk_divide},
};

struct modifier_state {
  bool known = false;
  bool shift = false;
  bool ctrl = false;
};
modifier_state state;

// Sees every input event of the application before its receiver does, so that
// the state is right even for input that went to a menu or a message box.
class input_tracker : public QObject {
 public:
  bool eventFilter(QObject* object, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
        note_key_state(*static_cast<QKeyEvent*>(event));
        break;
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
        note_modifiers(static_cast<QInputEvent*>(event)->modifiers());
        break;
      case QEvent::DragEnter:
      case QEvent::DragMove:
      case QEvent::Drop:
        note_modifiers(static_cast<QDropEvent*>(event)->modifiers());
        break;
      default:
        break;
    }
    return QObject::eventFilter(object, event);
  }
};

}  // namespace

void track_input() {
  static QPointer<input_tracker> tracker;
  if (tracker || !QCoreApplication::instance()) return;
  tracker = new input_tracker;
  tracker->setParent(QCoreApplication::instance());
  QCoreApplication::instance()->installEventFilter(tracker);
}

int virtual_key_of(int qt_key, Qt::KeyboardModifiers modifiers) {
  if (qt_key == 0 || qt_key == Qt::Key_unknown) return 0;
  bool keypad = modifiers.testFlag(Qt::KeypadModifier);
  if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) return vk_a + (qt_key - Qt::Key_A);
  if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) {
    return (keypad ? vk_numpad0 : vk_0) + (qt_key - Qt::Key_0);
  }
  if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24) return vk_f1 + (qt_key - Qt::Key_F1);
  if (keypad) {
    for (const key_pair& k : keypad_keys) {
      if (k.qt_key == qt_key) return k.virtual_key;
    }
  }
  for (const key_pair& k : named_keys) {
    if (k.qt_key == qt_key) return k.virtual_key;
  }
  return vk_unknown;
}

byte_string typed_bytes(const QKeyEvent& event) {
  // Delete types nothing in a character message; Qt reports it as 0x7F.
  if (event.key() == Qt::Key_Delete) return byte_string();
  // Shift+Tab types a tab, whatever Qt made of its text.
  if (event.key() == Qt::Key_Backtab) return byte_string("\t");
  QString text = event.text();
  if (text.isEmpty()) return byte_string();
  if (event.modifiers().testFlag(Qt::ControlModifier) &&
      !event.modifiers().testFlag(Qt::AltModifier)) {
    // With Ctrl a key types a control character or nothing, as the character
    // messages have it, whatever text the window system put in the event:
    // Ctrl+A is 0x01, Ctrl+[ is Escape, Ctrl+Space a space.
    byte_string out;
    for (QChar c : text) {
      char16_t u = c.unicode();
      if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '[' || u == '\\' || u == ']') {
        out += static_cast<char>(u & 0x1F);
      } else if (u < 0x20 || u == ' ') {
        out += static_cast<char>(u);
      }
    }
    return out;
  }
  return to_sjis(text);
}

void note_modifiers(Qt::KeyboardModifiers modifiers) {
  state.known = true;
  state.shift = modifiers.testFlag(Qt::ShiftModifier);
  state.ctrl = modifiers.testFlag(Qt::ControlModifier);
}

void note_key_state(const QKeyEvent& event) {
  note_modifiers(event.modifiers());
  // The event's modifiers may or may not include the key being pressed or
  // released, depending on the window system; the key itself decides.
  bool press = event.type() == QEvent::KeyPress;
  if (event.key() == Qt::Key_Shift) state.shift = press;
  if (event.key() == Qt::Key_Control) state.ctrl = press;
}

bool shift_down() {
  if (!state.known) return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
  return state.shift;
}

bool ctrl_down() {
  if (!state.known) return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
  return state.ctrl;
}

}  // namespace vintorel
