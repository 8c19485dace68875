#include "qt/form5_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <algorithm>

#include "browser/form5.h"
#include "qt/delivery.h"
#include "qt/model_dialog.h"
#include "qt/skin_style.h"
#include "qt/twips.h"
#include "ui/form1.h"

namespace tunelark::qt {

namespace {

Qt::CheckState stateOf(int value) {
  if (value == 1) return Qt::Checked;
  if (value == 2) return Qt::PartiallyChecked;
  return Qt::Unchecked;
}

}  // namespace

Form5Dialog::Form5Dialog(Form1& form, QWidget* parent, AfterHandler after)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      form_(form),
      after_(std::move(after)) {
  const Form5& model = *form_.form5;
  setObjectName(QStringLiteral("Form5"));
  setWindowTitle(QString::fromStdString(model.Caption));
  setFixedSize(px(model.Width), px(model.Height));
  setAttribute(Qt::WA_DeleteOnClose, false);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, modelColour(model.BackColor));
  pal.setColor(QPalette::WindowText, modelColour(model.ForeColor));
  pal.setColor(QPalette::Text, Qt::black);
  setPalette(pal);
  setAutoFillBackground(true);
  // The layout's boxes are sized for a small dialog font; a larger one would clip "*.rm".
  setFont(skinFont());

  auto* frame = new QGroupBox(QString::fromStdString(model.Frame1.caption), this);
  frame->setObjectName(QStringLiteral("Frame1"));
  frame->setGeometry(pxRect(model.Frame1));
  makeBox(frame, model.ram, &Form5::ram);
  makeBox(frame, model.ra, &Form5::ra);
  makeBox(frame, model.rm, &Form5::rm);

  auto* ok = new QPushButton(QString::fromStdString(model.Command1.caption), this);
  ok->setObjectName(QStringLiteral("Command1"));
  ok->setGeometry(pxRect(model.Command1));
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, this, [this] {
    if (!form_.form5) return;
    Form5& dialog = *form_.form5;
    deliver(
        form_.host, [&dialog] { dialog.Command1_Click(); }, after_);
  });

  // Over the main window, where the eye already is.
  if (parent) {
    const QRect owner = parent->window()->frameGeometry();
    move(owner.center() - QPoint(width() / 2, height() / 2));
  }
}

QCheckBox* Form5Dialog::makeBox(QWidget* frame, const CheckBox& model, CheckBox Form5::*member) {
  auto* box = new QCheckBox(QString::fromStdString(model.box.caption), frame);
  box->setObjectName(QString::fromStdString(model.box.name));
  // A caption wider than the design's box would be cut off; the frame has room to spare.
  QRect r = pxRect(model.box);
  r.setWidth(std::max(r.width(), box->sizeHint().width()));
  box->setGeometry(r);
  box->setCheckState(stateOf(model.Value));
  QObject::connect(box, &QCheckBox::stateChanged, this, [this, member](int state) {
    if (!form_.form5) return;
    ((*form_.form5).*member).Value = state == Qt::Checked            ? 1
                                     : state == Qt::PartiallyChecked ? 2
                                                                     : 0;
  });
  return box;
}

QCheckBox* Form5Dialog::box(const char* name) const {
  return findChild<QCheckBox*>(QString::fromLatin1(name));
}

void Form5Dialog::sync() {
  if (!form_.form5) return;
  const Form5& model = *form_.form5;
  for (const CheckBox* c : {&model.ram, &model.ra, &model.rm}) {
    QCheckBox* shown = box(c->box.name.c_str());
    if (shown && shown->checkState() != stateOf(c->Value)) {
      QSignalBlocker quiet(shown);
      shown->setCheckState(stateOf(c->Value));
    }
  }
}

void Form5Dialog::keyPressEvent(QKeyEvent* event) {
  if (!dialogKey(this, event)) QWidget::keyPressEvent(event);
}

void Form5Dialog::closeEvent(QCloseEvent* event) {
  // The close box applies nothing; unloading gives the main window back.
  event->accept();
  if (form_.form5) {
    unloadForm5(form_);
    if (after_) after_();
  }
}

}  // namespace tunelark::qt
