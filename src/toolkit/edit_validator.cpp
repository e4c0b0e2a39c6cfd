// Byte limit, digits-only and lower-case rules for typed text.
#include "toolkit/edit_validator.h"

#include "toolkit/qt_text.h"

namespace vintorel {

QValidator::State edit_validator::validate(QString& input, int& position) const {
  (void)position;
  if (lower_case_) {
    // Only ASCII letters change, so the cursor position stays right.
    for (qsizetype i = 0; i < input.size(); ++i) {
      QChar c = input.at(i);
      if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) input[i] = QChar(c.unicode() + 32);
    }
  }
  if (digits_only_) {
    for (QChar c : input) {
      if (c < QLatin1Char('0') || c > QLatin1Char('9')) return Invalid;
    }
  }
  if (max_bytes_ >= 0 && static_cast<int>(to_sjis(input).size()) > max_bytes_) return Invalid;
  return Acceptable;
}

}  // namespace vintorel
