#include "qt/qt_tray_display.h"

#include <QApplication>
#include <QStyle>
#include <QWidget>
#include <cstring>
#include <set>

#include "qt/window_message.h"

namespace tunelark::qt {

namespace {

constexpr int kHostWatchMs = 500;

QWidget* windowWithHandle(std::uint32_t hWnd) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->internalWinId() != 0 && static_cast<std::uint32_t>(w->internalWinId()) == hWnd) return w;
  return nullptr;
}

void post(std::uint32_t hWnd, std::uint32_t message, std::uint32_t lParam) {
  if (QWidget* target = windowWithHandle(hWnd))
    QCoreApplication::postEvent(target, new WindowMessageEvent(message, lParam));
}

}  // namespace

QtTrayDisplay::QtTrayDisplay() {
  hostWatch_.setInterval(kHostWatchMs);
  connect(&hostWatch_, &QTimer::timeout, this, [this] { watchTrayHost(); });
}

QtTrayDisplay::~QtTrayDisplay() = default;

bool QtTrayDisplay::available() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

std::uint32_t QtTrayDisplay::mouseMessageFor(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Context:
      return WM_RBUTTONDOWN;
    case QSystemTrayIcon::Trigger:
      return WM_LBUTTONDOWN;
    case QSystemTrayIcon::DoubleClick:
      return WM_LBUTTONDBLCLK;
    case QSystemTrayIcon::MiddleClick:
      return WM_MBUTTONDOWN;
    case QSystemTrayIcon::Unknown:
      break;
  }
  return WM_MOUSEMOVE;
}

bool QtTrayDisplay::show(const NotifyIconData& data) {
  QWidget* window = windowWithHandle(data.hWnd);
  if (!window) return false;
  auto icon = std::make_unique<QSystemTrayIcon>(this);
  QIcon picture = window->windowIcon();
  // A tray icon without a picture would not be shown at all.
  if (picture.isNull()) picture = window->style()->standardIcon(QStyle::SP_MediaPlay);
  icon->setIcon(picture);
  const std::size_t tipLength = strnlen(data.szTip.data(), data.szTip.size());
  icon->setToolTip(QString::fromLocal8Bit(data.szTip.data(), static_cast<qsizetype>(tipLength)));
  const std::uint32_t hWnd = data.hWnd;
  const std::uint32_t callback = data.uCallbackMessage;
  connect(icon.get(), &QSystemTrayIcon::activated, this,
          [hWnd, callback](QSystemTrayIcon::ActivationReason reason) {
            post(hWnd, callback, mouseMessageFor(reason));
          });
  icon->show();
  icons_[{data.hWnd, data.uID}] = std::move(icon);
  hostSeen_ = available();
  hostWatch_.start();
  return true;
}

void QtTrayDisplay::remove(std::uint32_t hWnd, std::uint32_t uID) {
  icons_.erase({hWnd, uID});
  if (icons_.empty()) hostWatch_.stop();
}

void QtTrayDisplay::watchTrayHost() {
  const bool present = available();
  if (hostSeen_ && !present) {
    std::set<std::uint32_t> windows;
    for (const auto& [key, icon] : icons_) windows.insert(key.first);
    for (std::uint32_t hWnd : windows) post(hWnd, kTrayHostLost, 0);
  }
  hostSeen_ = present;
}

}  // namespace tunelark::qt
