// Conversions between the editor's Shift_JIS byte strings and Qt's strings.
#pragma once
#include <QString>
#include <string_view>

#include "platform/byte_string.h"

namespace vintorel {

// Shift_JIS to a QString; bytes with no Unicode form become "?".
QString to_qstring(std::string_view sjis);
// A QString to Shift_JIS; characters with no Shift_JIS form become "?".
byte_string to_sjis(const QString& text);
// A UTF-8 literal of the source (dialog templates, the string table) to a QString.
QString from_utf8(const char* text);

}  // namespace vintorel
