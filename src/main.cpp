// Tunelark: the model comes up first (Form_Load), then the window; the player module is loaded
// only after the first frame is on screen, so its libraries never delay the window.
#include <time.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSessionManager>
#include <QTimer>
#include <cstdio>

#include "app/app_state.h"
#include "qt/app_icon.h"
#include "qt/main_window.h"
#include "qt/player_site.h"
#include "qt/qt_desktop.h"
#include "qt/qt_file_dialogs.h"
#include "qt/signal_watch.h"
#include "ui/form1.h"

namespace {

// Monotonic nanoseconds, comparable with the clock a benchmark reads before it starts us.
long long monotonicNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

// Saves a picture of the window as window.png in `dir`, whole or not at all, so a test that
// waits for the file never reads half of it.
void saveGrab(QWidget& window, const QString& dir) {
  const QString target = QDir(dir).filePath(QStringLiteral("window.png"));
  const QString partial = target + QStringLiteral(".part");
  if (window.grab().save(partial, "PNG")) {
    QFile::remove(target);
    QFile::rename(partial, target);
  } else {
    QFile::remove(partial);
    std::fprintf(stderr, "tunelark: could not save a picture of the window in %s\n",
                 qPrintable(dir));
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tunelark"));
  // Ties the window to the installed .desktop file (its icon and name in docks and switchers).
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Tunelark"));
  // Closing the window ends the run through our own path, after Form_Unload.
  QApplication::setQuitOnLastWindowClosed(false);

  tunelark::AppState state;
  tunelark::qt::QtDesktopHost host;
  tunelark::qt::QtFileDialogs dialogs;
  tunelark::Form1 form(state, host, dialogs);
  form.Form_Load();

  tunelark::qt::MainWindow window(form);
  dialogs.attach(&window, [&window] { window.sync(); });
  window.sync();  // Form_Load's effects, before anything is shown
  window.centreOnScreen();

  const bool bench = qEnvironmentVariableIsSet("TUNELARK_BENCH_FIRST_FRAME");
  window.setOnFirstFrame([&window, bench] {
    if (bench) {
      std::printf("first-frame %lld\n", monotonicNs());
      std::fflush(stdout);
    }
    // The window finishes its own touches first (cursors, theme icons); the player's libraries
    // come on the next turn of the event loop.
    QTimer::singleShot(0, &window, [&window, bench] {
      // The window manager needs the icon only once the window is there.
      window.setWindowIcon(tunelark::qt::appIcon(window.skin()));
      const QString path = tunelark::qt::PlayerSite::modulePath();
      const QString failure = window.playerSite().load(path);
      if (!failure.isEmpty())
        std::fprintf(stderr, "tunelark: the player module could not be loaded: %s\n",
                     qPrintable(failure));
      if (bench) {
        std::printf("player-ready %lld\n", monotonicNs());
        std::fflush(stdout);
      }
    });
  });
  window.setOnClosed([] { QCoreApplication::quit(); });

  // Every orderly end runs Form_Unload once: the window manager's close, a session logout,
  // SIGTERM, or a quit from anywhere else.
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                   [&window](QSessionManager&) { window.close(); });
  QObject::connect(&app, &QCoreApplication::aboutToQuit, &window,
                   [&window] { window.unloadOnce(); });
  tunelark::qt::SignalWatch signalWatch;
  signalWatch.watch(SIGTERM, [&window] { window.close(); });
  signalWatch.watch(SIGINT, [&window] { window.close(); });
  const QString grabDir = qEnvironmentVariable("TUNELARK_SCREENSHOT_DIR");
  if (!grabDir.isEmpty())
    signalWatch.watch(SIGUSR1, [&window, grabDir] { saveGrab(window, grabDir); });

  window.show();
  return QApplication::exec();
}
