#pragma once
// Right presses anywhere on the main window go to the window's own mouse-down handler and to no
// widget. Qt's item views select the row under a right press, and the tree, the clip list and
// the playlist must keep their selection: Add, Remove and the moves read it.

#include <QObject>
#include <functional>

class QWidget;

namespace tunelark::qt {

class RightPressGuard : public QObject {
 public:
  // `onPress` receives the press in window pixels, with the keyboard modifiers as the shift
  // state (1 Shift, 2 Ctrl, 4 Alt).
  RightPressGuard(QWidget* window, std::function<void(int shift, int x, int y)> onPress);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  std::function<void(int, int, int)> onPress_;
};

}  // namespace tunelark::qt
