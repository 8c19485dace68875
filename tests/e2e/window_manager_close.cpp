#include "window_manager_close.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace tunelark::e2e {

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
  if (!reply) return XCB_ATOM_NONE;
  const xcb_atom_t a = reply->atom;
  std::free(reply);
  return a;
}

}  // namespace

bool askWindowToClose(const std::string& windowId) {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) {
    xcb_disconnect(c);
    return false;
  }
  xcb_client_message_event_t event;
  std::memset(&event, 0, sizeof event);
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = static_cast<xcb_window_t>(std::strtoul(windowId.c_str(), nullptr, 10));
  event.type = atom(c, "WM_PROTOCOLS");
  event.data.data32[0] = atom(c, "WM_DELETE_WINDOW");
  event.data.data32[1] = XCB_CURRENT_TIME;
  xcb_send_event(c, 0, event.window, XCB_EVENT_MASK_NO_EVENT,
                 reinterpret_cast<const char*>(&event));
  // A round trip: when its reply is here, the server has handled the event before it, and
  // closing our connection cannot drop it.
  xcb_get_input_focus_reply_t* focus =
      xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
  const bool sent = focus != nullptr;
  std::free(focus);
  xcb_disconnect(c);
  return sent;
}

}  // namespace tunelark::e2e
