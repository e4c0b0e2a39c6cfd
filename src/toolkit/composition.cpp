// Pre-edit strings to Shift_JIS with attribute bytes and a byte cursor.
#include "toolkit/composition.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QTextCharFormat>
#include <vector>

#include "toolkit/qt_text.h"

namespace vintorel {

composition_text convert_preedit(const QString& preedit,
                                 const QList<QInputMethodEvent::Attribute>& attributes) {
  const int units = static_cast<int>(preedit.size());
  std::vector<bool> target(static_cast<std::size_t>(units), false);
  int cursor_unit = units;
  for (const QInputMethodEvent::Attribute& a : attributes) {
    if (a.type == QInputMethodEvent::Cursor) {
      cursor_unit = a.start < 0 ? 0 : (a.start > units ? units : a.start);
    } else if (a.type == QInputMethodEvent::TextFormat) {
      QTextFormat format = a.value.value<QTextFormat>();
      if (!format.hasProperty(QTextFormat::BackgroundBrush)) continue;
      for (int i = a.start; i < a.start + a.length; ++i) {
        if (i >= 0 && i < units) target[static_cast<std::size_t>(i)] = true;
      }
    }
  }

  // Character by character, so that every byte gets the attribute of the
  // character it belongs to and the cursor lands on a character start.
  composition_text out;
  for (int i = 0; i < units;) {
    int length = preedit.at(i).isHighSurrogate() && i + 1 < units &&
                         preedit.at(i + 1).isLowSurrogate()
                     ? 2
                     : 1;
    if (i == cursor_unit || (i < cursor_unit && i + length > cursor_unit)) {
      out.cursor = static_cast<int>(out.text.size());
    }
    byte_string bytes = to_sjis(preedit.mid(i, length));
    out.text += bytes;
    out.attributes.append(bytes.size(),
                          static_cast<char>(target[static_cast<std::size_t>(i)] ? attribute_target
                                                                                : attribute_input));
    i += length;
  }
  if (cursor_unit >= units) out.cursor = static_cast<int>(out.text.size());
  return out;
}

void composition_context::set_candidate_position(int x, int y) {
  // The input method puts its candidate window below the rectangle.
  set_cursor_rectangle(QRect(x, y - 1, 1, 1));
}

void composition_context::set_cursor_rectangle(const QRect& rectangle) {
  cursor_rectangle_ = rectangle;
  if (QGuiApplication::instance()) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

}  // namespace vintorel
