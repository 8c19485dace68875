#include "qt/qt_host.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

namespace tunelark::qt {

QtHost::~QtHost() { setBusy(false); }

void QtHost::beep() { QApplication::beep(); }

void QtHost::messageBox(const std::string& text) {
  if (beforeMessage_) beforeMessage_();
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Tunelark"), QString::fromStdString(text),
                  QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

void QtHost::processPendingEvents() { QCoreApplication::processEvents(); }

void QtHost::setBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void QtHost::endProcess() {
  // The handler has already written what must survive; stdout is flushed only so that a
  // benchmark or test reading our output sees every line we printed before the end.
  std::fflush(stdout);
  std::_Exit(0);
}

}  // namespace tunelark::qt
