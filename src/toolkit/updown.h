// `updown`: the up-down control beside a buddy edit that shows its number.
#pragma once
#include <QMetaObject>
#include <memory>

#include "toolkit/child.h"

namespace vintorel {

class updown : public commoncontrol {
 public:
  ~updown() override;

  // Creates the control as item `id` of the dialog. With a width of 0 it is
  // placed at the right end of the buddy, which gives up that room. The
  // position runs from lower to upper; the buddy shows it as a number, and
  // Up and Down in the buddy step it too.
  bool create(int x, int y, int width, int height, QWidget* dialog_handle, int id, child& buddy,
              int upper, int lower, int start);
  // The buddy's number when it holds one (clamped to the range), else the
  // last position set.
  int position() const;
  // Sets the position, clamped to the range, and shows it in the buddy.
  void set_position(int value);
  void step(int delta);

  // For the buddy's event filter.
  bool handle_buddy_key(int qt_key);

 protected:
  void detaching() override;

 private:
  QPointer<QWidget> buddy_;
  QMetaObject::Connection up_connection_;
  QMetaObject::Connection down_connection_;
  std::unique_ptr<QObject> buddy_filter_;
  int lower_ = 0;
  int upper_ = 100;
  int position_ = 0;
};

}  // namespace vintorel
