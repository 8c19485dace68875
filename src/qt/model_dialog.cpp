#include "qt/model_dialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "qt/delivery.h"
#include "qt/skin_style.h"
#include "qt/twips.h"

namespace tunelark::qt {

ModelDialog::ModelDialog(HostServices& host, QWidget* parent, const char* objectName,
                         const std::string& caption, int widthTwips, int heightTwips,
                         unsigned backColor, unsigned foreColor, std::function<void()> unload,
                         AfterHandler after)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      host_(host),
      unload_(std::move(unload)),
      after_(std::move(after)) {
  setObjectName(QString::fromLatin1(objectName));
  setWindowTitle(QString::fromLocal8Bit(caption.c_str()));
  setFixedSize(px(widthTwips), px(heightTwips));
  QPalette pal = palette();
  pal.setColor(QPalette::Window, modelColour(backColor));
  pal.setColor(QPalette::WindowText, modelColour(foreColor));
  setPalette(pal);
  setAutoFillBackground(true);
  // The design's boxes are sized for a small dialog font.
  setFont(skinFont());
  // Over the main window, where the eye already is; a hidden one leaves it to the system.
  if (parent && parent->isVisible()) {
    const QRect owner = parent->window()->frameGeometry();
    move(owner.center() - QPoint(width() / 2, height() / 2));
  }
}

void ModelDialog::run(const std::function<void()>& handler) { deliver(host_, handler, after_); }

QLabel* ModelDialog::makeLabel(const Control& c, QWidget* parent) {
  auto* label = new QLabel(QString::fromLocal8Bit(c.caption.c_str()), parent);
  label->setObjectName(QString::fromStdString(c.name));
  label->setTextFormat(Qt::PlainText);
  QPalette pal = label->palette();
  pal.setColor(QPalette::WindowText, modelColour(c.color));
  label->setPalette(pal);
  QRect r = pxRect(c);
  r.setWidth(std::max(r.width(), std::min(label->sizeHint().width(), parent->width() - r.x())));
  label->setGeometry(r);
  return label;
}

void ModelDialog::closeEvent(QCloseEvent* event) {
  event->accept();
  if (unload_) unload_();
  if (after_) after_();
}

void ModelDialog::keyPressEvent(QKeyEvent* event) {
  if (!dialogKey(this, event)) QWidget::keyPressEvent(event);
}

bool dialogKey(QWidget* dialog, QKeyEvent* event) {
  if (event->modifiers() & ~Qt::KeypadModifier) return false;
  if (event->key() == Qt::Key_Escape) {
    dialog->close();
    return true;
  }
  if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) return false;
  // These dialogs are plain windows, where a push button takes no Enter of its own.
  auto* button = qobject_cast<QPushButton*>(dialog->focusWidget());
  if (!button) {
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
      if (b->isDefault()) button = b;
  }
  if (!button) return false;
  button->click();
  return true;
}

}  // namespace tunelark::qt
