#include "qt/form2_dialog.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "qt/skin_pictures.h"
#include "qt/skin_style.h"
#include "qt/twips.h"
#include "ui/form1.h"

namespace tunelark::qt {

Form2Dialog::Form2Dialog(Form1& form, QWidget* parent, SkinPictures& skin, AfterHandler after)
    : ModelDialog(
          form.host, parent, "Form2", form.form2->Caption, form.form2->Width, form.form2->Height,
          form.form2->BackColor, form.form2->Label1.color, [&form] { unloadForm2(form); },
          std::move(after)),
      form_(form) {
  const Form2& model = *form_.form2;
  auto* frame = new QGroupBox(this);
  frame->setObjectName(QStringLiteral("Frame1"));
  frame->setGeometry(pxRect(model.Frame1));
  QPalette pal = frame->palette();
  pal.setColor(QPalette::WindowText, modelColour(model.Frame1.color));
  frame->setPalette(pal);

  for (const Control* c : model.controls()) {
    QWidget* holder = c->frame.empty() ? static_cast<QWidget*>(this) : frame;
    if (c->kind == ControlKind::Image) {
      auto* image = new QLabel(holder);
      image->setObjectName(QString::fromStdString(c->name));
      image->setGeometry(pxRect(*c));
      image->setPixmap(skin.pixmap(QString::fromStdString(c->picture),
                                   QSize(std::min(image->width(), image->height()),
                                         std::min(image->width(), image->height())),
                                   devicePixelRatioF()));
    } else if (c->kind == ControlKind::Label && c != &model.Command1) {
      makeLabel(*c, holder);
    }
  }
  // The links take a click; the up arrow over them says so, as on the main window's logo.
  // Tab reaches them too, and Space or Enter opens the focused one.
  for (const Control* link : {&model.url, &model.email}) {
    auto* label = findChild<QLabel*>(QString::fromStdString(link->name));
    label->setCursor(Qt::UpArrowCursor);
    label->setFocusPolicy(Qt::TabFocus);
    label->setStyleSheet(QStringLiteral("QLabel:focus { border: 1px solid #ffc820; }"));
    label->installEventFilter(this);
  }

  auto* ok = new QPushButton(QString::fromStdString(model.Command1.caption), this);
  ok->setObjectName(QStringLiteral("Command1"));
  ok->setGeometry(pxRect(model.Command1));
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, this, [this] {
    run([this] {
      if (form_.form2) form_.form2->Command1_Click();
    });
  });
}

bool Form2Dialog::event(QEvent* event) {
  // The links are opened on behalf of this window; its handle exists once it is on screen.
  if (event->type() == QEvent::WinIdChange && form_.form2)
    form_.form2->hWnd = static_cast<std::uint32_t>(internalWinId());
  return ModelDialog::event(event);
}

bool Form2Dialog::eventFilter(QObject* watched, QEvent* event) {
  const bool clicked = event->type() == QEvent::MouseButtonRelease &&
                       static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
  const int key = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event)->key() : 0;
  const bool pressed = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
  if ((clicked || pressed) && form_.form2) {
    const bool web = watched->objectName() == QLatin1String("url");
    run([this, web] {
      if (!form_.form2) return;
      if (web)
        form_.form2->url_Click();
      else
        form_.form2->email_Click();
    });
    return true;
  }
  return ModelDialog::eventFilter(watched, event);
}

}  // namespace tunelark::qt
