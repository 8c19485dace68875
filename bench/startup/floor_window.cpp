// The floor for start-up cost: a bare frameless Qt 6 window holding a list widget with a few
// rows, reporting its first painted frame the same way tunelark does. The rows matter: any real
// window draws text, and the first text drawn pays for loading the font configuration.
#include <time.h>

#include <QApplication>
#include <QListWidget>
#include <QTimer>
#include <cstdio>

namespace {

long long monotonicNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

class FirstPaint : public QObject {
 public:
  explicit FirstPaint(QWidget* window) : window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!done_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == window_) {
      done_ = true;
      QTimer::singleShot(0, [] {
        std::printf("first-frame %lld\n", monotonicNs());
        std::fflush(stdout);
      });
    }
    return false;
  }

 private:
  QWidget* window_;
  bool done_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QListWidget list;
  list.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  list.setFixedSize(490, 518);
  for (int i = 1; i <= 8; ++i) list.addItem(QStringLiteral("%1. clip%1.rm").arg(i));
  FirstPaint watch(&list);
  app.installEventFilter(&watch);
  list.show();
  return QApplication::exec();
}
