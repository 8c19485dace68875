// The main window's side of the desktop: messages from the shell (the tray icon's callback, the
// tray host leaving), the window state beside visibility, the window's handle and icon for the
// tray record, right presses, and the dialogs Preferences and About.
#include <QApplication>
#include <QEvent>
#include <QTimer>

#include "platform/notify_icon.h"
#include "playlist/given_files.h"
#include "qt/delivery.h"
#include "qt/desktop_dialogs.h"
#include "qt/main_window.h"
#include "qt/object_names.h"
#include "qt/right_press_guard.h"
#include "qt/window_message.h"
#include "ui/form1.h"
#include "ui/options_menu.h"

namespace tunelark::qt {

void MainWindow::setUpDesktop() {
  new RightPressGuard(this, [this](int shift, int x, int y) {
    runModel([this, shift, x, y] { form_.Form_MouseDown(kRightButton, shift, x, y); });
  });
}

void MainWindow::runModel(const std::function<void()>& handler) {
  deliver(form_.host, handler, [this] { sync(); });
}

void MainWindow::takeFiles(const std::vector<std::string>& files) {
  // A dialog waits in its own event loop with the model in the middle of a handler: the files
  // wait for it to close.
  if (!form_.Enabled || QApplication::activeModalWidget()) {
    QTimer::singleShot(200, this, [this, files] { takeFiles(files); });
    return;
  }
  runModel([this, &files] { takeGivenFiles(form_, files); });
}

void MainWindow::bringToFront() {
  runModel([this] { form_.mnuopt_Click(kMnuShowPlaylist); });
  raise();
  activateWindow();
}

void MainWindow::syncWindowState() {
  // Set before visibility, so a window shown minimised is mapped iconic from the start.
  const bool minimised = form_.WindowState == ShowState::Minimised;
  if (windowState().testFlag(Qt::WindowMinimized) != minimised)
    setWindowState(minimised ? (windowState() | Qt::WindowMinimized)
                             : (windowState() & ~Qt::WindowMinimized));
}

void MainWindow::syncDesktop() {
  syncDesktopDialogs(form_, this, skin_, [this] { afterHandler(); });
}

void MainWindow::finishLinks() {
  // The logo is a link: the up arrow, not the pointing hand of the buttons.
  if (auto* logo = findChild<QWidget*>(objectNameOf(ControlId::Picture1)))
    logo->setCursor(Qt::UpArrowCursor);
}

bool MainWindow::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::WinIdChange:
      form_.hWnd = static_cast<std::uint32_t>(internalWinId());
      break;
    case QEvent::WindowIconChange:
      form_.Icon = static_cast<std::uint32_t>(windowIcon().cacheKey());
      break;
    default:
      if (event->type() == WindowMessageEvent::eventType()) {
        const auto* message = static_cast<WindowMessageEvent*>(event);
        if (message->message() == WM_RBUTTONDOWN) {
          const int x = static_cast<int>(message->lParam() & 0xFFFF);
          const int y = static_cast<int>(message->lParam() >> 16);
          runModel([this, x, y] { form_.Form_MouseDown(kRightButton, 0, x, y); });
        } else if (message->message() == kTrayHostLost) {
          runModel([this] { form_.trayHostLost(); });
        }
        return true;
      }
      break;
  }
  return QWidget::event(event);
}

void MainWindow::changeEvent(QEvent* event) {
  // The window manager may minimise or restore the window (its taskbar button); the model
  // follows without applying any presentation.
  if (event->type() == QEvent::WindowStateChange)
    form_.WindowState =
        windowState().testFlag(Qt::WindowMinimized) ? ShowState::Minimised : ShowState::Normal;
  QWidget::changeEvent(event);
}

}  // namespace tunelark::qt
