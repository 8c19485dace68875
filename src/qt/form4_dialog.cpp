#include "qt/form4_dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "qt/twips.h"
#include "ui/form1.h"

namespace tunelark::qt {

namespace {

constexpr OptionButton Form4::*kOptions[] = {&Form4::taskbar, &Form4::tray, &Form4::taskbartray};

}  // namespace

Form4Dialog::Form4Dialog(Form1& form, QWidget* parent, AfterHandler after)
    : ModelDialog(
          form.host, parent, "Form4", form.form4->Caption, form.form4->Width, form.form4->Height,
          form.form4->BackColor, form.form4->ForeColor, [&form] { unloadForm4(form); },
          std::move(after)),
      form_(form) {
  const Form4& model = *form_.form4;
  auto* frame = new QGroupBox(QString::fromStdString(model.Frame1.caption), this);
  frame->setObjectName(QStringLiteral("Frame1"));
  frame->setGeometry(pxRect(model.Frame1));
  makeLabel(model.Label1, frame);
  for (OptionButton Form4::*option : kOptions) makeOption(frame, option);

  const auto button = [this](const Control& c, void (Form4::*handler)()) {
    auto* b = new QPushButton(QString::fromStdString(c.caption), this);
    b->setObjectName(QString::fromStdString(c.name));
    b->setGeometry(pxRect(c));
    QObject::connect(b, &QPushButton::clicked, this, [this, handler] {
      run([this, handler] {
        if (form_.form4) (form_.form4.get()->*handler)();
      });
    });
    return b;
  };
  button(model.Command3, &Form4::Command3_Click);
  // OK, which Enter presses.
  button(model.Command2, &Form4::Command2_Click)->setDefault(true);

  QWidget* previous = nullptr;
  for (const std::string& name : model.tabOrder()) {
    auto* w = findChild<QWidget*>(QString::fromStdString(name));
    if (!w || w->focusPolicy() == Qt::NoFocus) continue;
    if (previous) setTabOrder(previous, w);
    previous = w;
  }
}

QRadioButton* Form4Dialog::makeOption(QWidget* frame, OptionButton Form4::*member) {
  const Control& c = ((*form_.form4).*member).box;
  auto* option = new QRadioButton(QString::fromStdString(c.caption), frame);
  option->setObjectName(QString::fromStdString(c.name));
  // A caption wider than the design's box would be cut off; the frame has room to spare.
  QRect r = pxRect(c);
  r.setWidth(std::max(r.width(), std::min(option->sizeHint().width(), frame->width() - r.x())));
  option->setGeometry(r);
  option->setChecked(((*form_.form4).*member).Value);
  QObject::connect(option, &QRadioButton::toggled, this, [this, member](bool on) {
    if (on && form_.form4) form_.form4->choose(member);
  });
  return option;
}

void Form4Dialog::sync() {
  if (!form_.form4) return;
  for (OptionButton Form4::*member : kOptions) {
    const OptionButton& model = (*form_.form4).*member;
    auto* shown = findChild<QRadioButton*>(QString::fromStdString(model.box.name));
    if (shown && shown->isChecked() != model.Value) {
      QSignalBlocker quiet(shown);
      shown->setChecked(model.Value);
    }
  }
}

}  // namespace tunelark::qt
