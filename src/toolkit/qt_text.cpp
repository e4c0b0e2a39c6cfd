// Shift_JIS <-> QString through the code page 932 converter of the platform layer.
#include "toolkit/qt_text.h"

#include "platform/cp932.h"

namespace vintorel {

QString to_qstring(std::string_view sjis) {
  std::u16string wide;
  if (!sjis_to_utf16(sjis, wide)) return QString();
  return QString(reinterpret_cast<const QChar*>(wide.data()), static_cast<qsizetype>(wide.size()));
}

byte_string to_sjis(const QString& text) {
  byte_string out;
  std::u16string_view wide(reinterpret_cast<const char16_t*>(text.utf16()),
                           static_cast<std::size_t>(text.size()));
  if (!utf16_to_sjis(wide, out)) return byte_string();
  return out;
}

QString from_utf8(const char* text) { return text ? QString::fromUtf8(text) : QString(); }

}  // namespace vintorel
