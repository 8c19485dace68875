#pragma once
// The ring around the control of a window that has the keyboard focus, drawn over it in the
// skin's colours: the style's own focus marks are thin and dark, lost on the black skin, and a
// picture button has none. It shows once the keyboard has moved the focus and goes at a mouse
// press, so a mouse user never sees it.

#include <QPointer>
#include <QWidget>

namespace tunelark::qt {

class FocusRing : public QWidget {
 public:
  // Follows the focus among the widgets of `window`, the window itself left out.
  explicit FocusRing(QWidget* window);
  ~FocusRing() override;

  // The ring's width in logical pixels: two, so four device pixels at a scale of 2.
  static constexpr int kWidth = 2;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void follow(QWidget* target);
  void place();

  QWidget* window_;
  QPointer<QWidget> target_;
  bool keyboard_ = false;
};

}  // namespace tunelark::qt
