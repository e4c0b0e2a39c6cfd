// A box with a progress bar and Cancel, shown while the program waits for work
// of its own (a large file being indexed). It does not take the keyboard from
// the window below, so what the user types meanwhile still goes there.
#pragma once
#include <QPointer>

class QProgressDialog;
class QWidget;

namespace vintorel {

class progress_box {
 public:
  progress_box(QWidget* owner, int caption_id, int text_id) : owner_(owner), caption_id_(caption_id), text_id_(text_id) {}
  progress_box(const progress_box&) = delete;
  progress_box& operator=(const progress_box&) = delete;
  ~progress_box();

  // Shows the box (once); with a box responder set, asks it instead.
  void show(int percent);
  bool shown() const { return shown_; }
  void set_percent(int percent);
  // True once Cancel was pressed (or the responder cancelled).
  bool cancelled() const;

 private:
  QWidget* owner_;
  int caption_id_;
  int text_id_;
  bool shown_ = false;
  bool answered_cancel_ = false;
  QPointer<QProgressDialog> dialog_;
};

}  // namespace vintorel
