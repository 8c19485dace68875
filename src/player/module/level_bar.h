#pragma once
// A thin horizontal bar that shows a fraction 0..1 and lets the user pick one by clicking,
// dragging or with the arrow keys: the display's position bar and its volume control. A screen
// reader reads it as a slider from 0 to 100, told of changes the user makes, not of every poll.

#include <QColor>
#include <QWidget>

namespace tunelark::module {

class LevelBar : public QWidget {
  Q_OBJECT

 public:
  explicit LevelBar(QColor fill, QWidget* parent = nullptr);

  double value() const { return value_; }
  // Shows `fraction` unless the user is dragging, whose choice wins until the release.
  void setValue(double fraction);
  // A disabled bar shows its value and ignores the mouse (nothing to seek in).
  void setInteractive(bool interactive);
  bool interactive() const { return interactive_; }
  // The user's choice of `fraction` from the keyboard or a screen reader: placed and picked.
  void pick(double fraction);

 signals:
  // Sent while the user drags, for live feedback (a volume follows at once).
  void moved(double fraction);
  // Sent when the user lets go after a click or a drag: the place to act on.
  void picked(double fraction);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void announce();
  double fractionAt(double x) const;
  void place(double fraction);

  QColor fill_;
  double value_ = 0;
  bool dragging_ = false;
  bool interactive_ = true;
};

}  // namespace tunelark::module
