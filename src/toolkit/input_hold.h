// Holds back the user's input to a window while the program waits (for a
// large file to be indexed): keys and input-method text aimed at the window
// are kept and posted again, in their order, when the hold ends, so nothing
// typed meanwhile is lost or overtakes the command that waits. Mouse buttons,
// the wheel, dropped files and close requests to the window are ignored
// meanwhile. Other windows (the progress box) get their input as usual.
#pragma once
#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

class QEvent;
class QWidget;

namespace vintorel {

class input_hold : public QObject {
 public:
  explicit input_hold(QWidget* window);
  input_hold(const input_hold&) = delete;
  input_hold& operator=(const input_hold&) = delete;
  ~input_hold() override;  // posts the kept input again unless dropped

  // Forgets the kept input (the wait was cancelled).
  void drop() { kept_.clear(); }
  std::size_t kept() const { return kept_.size(); }

 protected:
  bool eventFilter(QObject* target, QEvent* event) override;

 private:
  struct kept_event {
    QPointer<QObject> target;
    std::unique_ptr<QEvent> event;
  };
  QPointer<QWidget> window_;
  std::vector<kept_event> kept_;
};

}  // namespace vintorel
