#include "tray_host.h"

#include <xcb/xcb.h>

#include <QProcess>
#include <QSystemTrayIcon>
#include <QTest>
#include <cstdlib>

namespace tunelark::desktop_testing {

namespace {

// The owner of screen 0's tray selection, or 0 when there is none. With `kill`, the owner's
// connection to the display is cut, as when it crashes.
xcb_window_t trayOwner(bool kill = false) {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  xcb_window_t owner = 0;
  auto* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 19, "_NET_SYSTEM_TRAY_S0"), nullptr);
  if (atom) {
    auto* reply = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr);
    if (reply) owner = reply->owner;
    std::free(reply);
  }
  std::free(atom);
  if (owner && kill) xcb_kill_client(c, owner);
  xcb_flush(c);
  xcb_disconnect(c);
  return owner;
}

}  // namespace

bool trayHostRunning() { return trayOwner() != 0; }

bool stopTrayHost() {
  // A host still starting up takes the tray a moment later; it is stopped as soon as it has.
  // Qt learns of it from its own connection to the display, a little later still.
  return QTest::qWaitFor(
      [] { return trayOwner(true) == 0 && !QSystemTrayIcon::isSystemTrayAvailable(); }, 5000);
}

bool startTrayHost() {
  // As scripts/test-env starts it.
  QProcess trayer;
  trayer.setProgram(QStringLiteral("trayer"));
  trayer.setArguments({"--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width",
                       "64", "--heighttype", "pixel", "--height", "24"});
  trayer.setStandardOutputFile(QProcess::nullDevice());
  trayer.setStandardErrorFile(QProcess::nullDevice());
  trayer.startDetached();
  return QTest::qWaitFor(
      [] { return trayHostRunning() && QSystemTrayIcon::isSystemTrayAvailable(); }, 5000);
}

}  // namespace tunelark::desktop_testing
