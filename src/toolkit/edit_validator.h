// What an edit accepts as typed: a byte limit on the Shift_JIS text, digits
// only, or everything turned to lower case (the edit styles of the templates).
#pragma once
#include <QValidator>

namespace vintorel {

class edit_validator : public QValidator {
 public:
  edit_validator(QObject* parent, bool digits_only, bool lower_case)
      : QValidator(parent), digits_only_(digits_only), lower_case_(lower_case) {}

  // -1: no limit.
  void set_max_bytes(int n) { max_bytes_ = n; }
  int max_bytes() const { return max_bytes_; }

  State validate(QString& input, int& position) const override;

 private:
  bool digits_only_;
  bool lower_case_;
  int max_bytes_ = -1;
};

}  // namespace vintorel
