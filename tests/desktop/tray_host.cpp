#include "tray_host.h"

#include <xcb/xcb.h>

#include <QProcess>
#include <QSystemTrayIcon>
#include <QTest>
#include <memory>
#include <string>

namespace tunelark::desktop_testing {

namespace {

// The owner of the tray selection of screen 0, or 0 when there is none.
xcb_window_t trayOwner() {
  std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> c(xcb_connect(nullptr, nullptr),
                                                                   xcb_disconnect);
  if (xcb_connection_has_error(c.get())) return 0;
  const std::string name = "_NET_SYSTEM_TRAY_S0";
  std::unique_ptr<xcb_intern_atom_reply_t, void (*)(void*)> atom(
      xcb_intern_atom_reply(
          c.get(), xcb_intern_atom(c.get(), 0, static_cast<uint16_t>(name.size()), name.c_str()),
          nullptr),
      free);
  if (!atom) return 0;
  std::unique_ptr<xcb_get_selection_owner_reply_t, void (*)(void*)> owner(
      xcb_get_selection_owner_reply(c.get(), xcb_get_selection_owner(c.get(), atom->atom), nullptr),
      free);
  return owner ? owner->owner : 0;
}

}  // namespace

bool trayHostRunning() { return trayOwner() != 0; }

bool stopTrayHost() {
  // A host still starting up takes the tray a moment later; it is stopped as soon as it has.
  return QTest::qWaitFor(
      [] {
        if (const xcb_window_t owner = trayOwner()) {
          xcb_connection_t* c = xcb_connect(nullptr, nullptr);
          xcb_kill_client(c, owner);
          xcb_flush(c);
          xcb_disconnect(c);
          return false;
        }
        // Qt learns of it from its own connection to the display, a little later.
        return !QSystemTrayIcon::isSystemTrayAvailable();
      },
      5000);
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
