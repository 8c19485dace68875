// Tunelark: the model comes up first (Form_Load), then the window; the player module is loaded
// only after the first frame is on screen, so its libraries never delay the window. A start
// while a window of the same settings folder runs hands its files to that window and ends.
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSessionManager>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/app_state.h"
#include "app/command_line.h"
#include "app/last_playlist_setting.h"
#include "platform/instance_socket.h"
#include "platform/windows_dir.h"
#include "playlist/given_files.h"
#include "qt/app_icon.h"
#include "qt/instance_server.h"
#include "qt/main_window.h"
#include "qt/mpris_service.h"
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

// The files of the command line, absolute against our own folder.
std::vector<std::string> givenFiles() {
  QStringList args = QCoreApplication::arguments();  // without the toolkit's own options
  args.removeFirst();
  std::vector<std::string> raw;
  for (const QString& arg : args) raw.push_back(QFile::encodeName(arg).toStdString());
  const tunelark::CommandLine line = tunelark::readCommandLine(raw);
  for (const auto& option : line.unknown)
    std::fprintf(stderr, "tunelark: unknown option %s ignored (see --help)\n", option.c_str());
  const std::string cwd = QFile::encodeName(QDir::currentPath()).toStdString();
  std::vector<std::string> files;
  for (const auto& file : line.files) files.push_back(tunelark::absoluteGiven(file, cwd));
  return files;
}

// The toolkit ends the process with exit() when the X server goes away, as at a log-off that
// takes the display before the window is closed; no unload handler runs on that way out. The
// last playlist is stored then all the same (quietly: there is no one left to beep to).
struct StoreAtExit {
  const tunelark::qt::MainWindow* window = nullptr;  // cleared when main returns normally
  const tunelark::AppState* state = nullptr;
};

void storeAtExit(int, void* arg) {
  const std::unique_ptr<StoreAtExit> link(static_cast<StoreAtExit*>(arg));
  if (link->window && !link->window->unloaded())
    tunelark::storeLastPlaylist(link->state->settingsPath, link->state->lastfile);
}

}  // namespace

int main(int argc, char** argv) {
  // --help and --version need no display: answered before the toolkit starts.
  if (const auto text = tunelark::informationRequested({argv + (argc > 0), argv + argc})) {
    std::fputs(text->c_str(), stdout);
    return 0;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tunelark"));
  // Ties the window to the installed .desktop file (its icon and name in docks and switchers).
  QGuiApplication::setDesktopFileName(QStringLiteral(TUNELARK_APP_ID));
  const std::vector<std::string> files = givenFiles();

  // One window per settings folder: a later start hands its files over and ends.
  const std::string socketPath =
      tunelark::instanceSocketPath(tunelark::getwindowsdir(), ::getenv("XDG_RUNTIME_DIR"));
  tunelark::InstanceClaim claim;
  if (!socketPath.empty()) claim = tunelark::claimOrHandOff(socketPath, files);
  if (claim.handedOff) return 0;
  if (!claim.failure.empty()) std::fprintf(stderr, "tunelark: %s\n", claim.failure.c_str());
  // Closing the window ends the run through our own path, after Form_Unload.
  QApplication::setQuitOnLastWindowClosed(false);

  tunelark::AppState state;
  tunelark::qt::QtDesktopHost host;
  tunelark::qt::QtFileDialogs dialogs;
  tunelark::Form1 form(state, host, dialogs);
  form.Form_Load();

  tunelark::qt::MainWindow window(form);
  dialogs.attach(&window, [&window] { window.sync(); });
  host.beforeMessage([&window] { window.sync(); });
  window.sync();  // Form_Load's effects, before anything is shown
  window.centreOnScreen();

  const bool bench = qEnvironmentVariableIsSet("TUNELARK_BENCH_FIRST_FRAME");
  std::unique_ptr<tunelark::qt::InstanceServer> instances;
  if (claim.listenFd >= 0)
    instances = std::make_unique<tunelark::qt::InstanceServer>(
        claim.listenFd, socketPath, [&window](const std::vector<std::string>& handed) {
          window.bringToFront();
          window.takeFiles(handed);
        });

  window.setOnFirstFrame([&window, &form, bench, &files] {
    if (bench) {
      std::printf("first-frame %lld\n", monotonicNs());
      std::fflush(stdout);
    }
    // The window finishes its own touches first (cursors, theme icons); the player's libraries
    // come on the next turn of the event loop.
    QTimer::singleShot(0, &window, [&window, &form, bench, &files] {
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
      // The desktop's media controls; the bus is no concern of the first frame either.
      auto* mpris = new tunelark::qt::MprisService(window, form);
      if (!mpris->registerOnSessionBus()) delete mpris;
      if (!files.empty()) window.takeFiles(files);
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

  auto owned = std::make_unique<StoreAtExit>(StoreAtExit{&window, &state});
  StoreAtExit* atExit = ::on_exit(storeAtExit, owned.get()) == 0 ? owned.release() : nullptr;
  window.show();
  const int status = QApplication::exec();
  // The window and the state end with main, before the exit handlers run.
  if (atExit) atExit->window = nullptr;
  return status;
}
