// Finding and activating the window of an outside file manager by its class
// (the "filer class" setting). On X11 the top-level windows are those of the
// window manager's client list (the root's children when there is no window
// manager); a window matches when its WM_CLASS instance or class name equals
// the name. Other window systems offer no such search: nothing is found.
#include "app/window_filer.h"

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <vector>

#ifdef VINTOREL_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace vintorel {

#ifdef VINTOREL_HAVE_XCB

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
  xcb_atom_t a = r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  std::free(r);
  return a;
}

std::vector<xcb_window_t> top_level_windows(xcb_connection_t* c, xcb_window_t root, xcb_atom_t client_list) {
  std::vector<xcb_window_t> windows;
  if (client_list != XCB_ATOM_NONE) {
    xcb_get_property_reply_t* r = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, client_list, XCB_ATOM_WINDOW, 0, 1 << 16), nullptr);
    if (r && r->format == 32) {
      auto* ids = static_cast<xcb_window_t*>(xcb_get_property_value(r));
      windows.assign(ids, ids + xcb_get_property_value_length(r) / 4);
    }
    std::free(r);
  }
  if (windows.empty()) {
    // No window manager keeps a list: the root's children are the top level.
    xcb_query_tree_reply_t* r = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
    if (r) {
      xcb_window_t* children = xcb_query_tree_children(r);
      windows.assign(children, children + xcb_query_tree_children_length(r));
    }
    std::free(r);
  }
  return windows;
}

std::string class_of(xcb_connection_t* c, xcb_window_t window) {
  std::string value;
  xcb_get_property_reply_t* r = xcb_get_property_reply(
      c, xcb_get_property(c, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256), nullptr);
  if (r && r->format == 8)
    value.assign(static_cast<const char*>(xcb_get_property_value(r)),
                 static_cast<std::size_t>(xcb_get_property_value_length(r)));
  std::free(r);
  return value;
}

void activate(xcb_connection_t* c, xcb_window_t root, xcb_window_t window, xcb_atom_t active_window) {
  // Mapping restores a minimised window; the window manager is asked to make
  // it the active one, and without one it is raised and given the focus.
  xcb_map_window(c, window);
  if (active_window != XCB_ATOM_NONE) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = active_window;
    event.data.data32[0] = 1;  // from an application
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
  }
  const std::uint32_t above = XCB_STACK_MODE_ABOVE;
  xcb_configure_window(c, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
  xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
  xcb_flush(c);
}

}  // namespace

bool activate_filer_window(std::string_view class_list) {
  std::vector<std::string> names = filer_class_names(class_list);
  if (names.empty()) return false;
  auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  xcb_connection_t* c = x11 ? x11->connection() : nullptr;
  if (!c) return false;
  xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  xcb_atom_t client_list = atom(c, "_NET_CLIENT_LIST");
  xcb_atom_t active_window = atom(c, "_NET_ACTIVE_WINDOW");
  std::vector<xcb_window_t> windows = top_level_windows(c, root, client_list);
  std::vector<std::string> classes;
  for (xcb_window_t w : windows) classes.push_back(class_of(c, w));
  for (const std::string& name : names) {
    for (std::size_t i = 0; i < windows.size(); ++i) {
      if (!class_property_matches(classes[i], name)) continue;
      activate(c, root, windows[i], active_window);
      return true;
    }
  }
  return false;
}

#else

bool activate_filer_window(std::string_view) { return false; }

#endif

}  // namespace vintorel
