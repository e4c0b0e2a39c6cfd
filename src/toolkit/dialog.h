// `dialog`: a modal or modeless dialog built from a template, whose events
// arrive as the virtual on_... operations.
#pragma once
#include <QBrush>
#include <QRect>
#include <cstdint>

#include "toolkit/control.h"
#include "toolkit/dialog_template.h"

namespace vintorel {

// Ids of the standard buttons.
constexpr int id_ok = 1;
constexpr int id_cancel = 2;

class dialog : public overlap {
 public:
  ~dialog() override;

  // Builds the dialog from the template with `parent` as owner and runs
  // on_init. Modal: runs until end() and returns its value (on_destroy has
  // run and the widgets are gone by then); a dialog ended during on_init is
  // never shown. Modeless: shows the dialog and returns 1; it lives until
  // destroy(). -1 when a dialog of this object is already running.
  int run(const dialog_template& t, QWidget* parent, bool modeless);
  // Ends a modal dialog with this result (a modeless one is only hidden).
  void end(int result);
  // Destroys a modeless dialog: on_destroy, then the widgets.
  void destroy() override;

  // The control with this id, or null.
  QWidget* item(int id) const;

  // Command messages to this dialog (see window::post_command).
  void post_command(int id, std::intptr_t parameter = 0);
  void send_command(int id, std::intptr_t parameter = 0);

  // ---- operations, in their order ----
  virtual void on_init() {}
  virtual void on_destroy() {}
  // Buttons and check boxes (parameter: the control's widget), Escape and the
  // close button (Cancel, parameter 0) and posted or sent commands.
  virtual void on_command(int id, std::intptr_t parameter) { (void)id, (void)parameter; }
  virtual bool on_moving(QRect& rectangle) {  // no Qt event reaches it
    (void)rectangle;
    return false;
  }
  virtual void on_activate(bool active, bool minimized) { (void)active, (void)minimized; }
  virtual bool on_measure_item(int& item_height) {
    (void)item_height;
    return false;
  }
  virtual void on_timer(int timer_id) { (void)timer_id; }
  // The background of the dialog, asked once when it is built; no brush keeps
  // the style's.
  virtual QBrush on_dialog_colour() { return QBrush(); }

  void deliver_timer(int timer_id) override { on_timer(timer_id); }

 private:
  void tear_down();

  bool modeless_ = false;
  bool ended_ = false;
  int result_ = 0;
};

}  // namespace vintorel
