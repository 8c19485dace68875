#include "qt/desktop_dialogs.h"

#include "qt/form2_dialog.h"
#include "qt/form4_dialog.h"
#include "ui/form1.h"

namespace tunelark::qt {

namespace {

template <typename Dialog, typename Make>
Dialog* follow(bool loaded, QWidget* parent, const char* name, Make make) {
  auto* dialog = parent->findChild<Dialog*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
  if (loaded && !dialog) {
    dialog = make();
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
  } else if (!loaded && dialog) {
    // Renamed first so a sync before the deferred delete does not find it again.
    dialog->setObjectName(QString());
    dialog->hide();
    dialog->deleteLater();
    dialog = nullptr;
  }
  return dialog;
}

}  // namespace

void syncDesktopDialogs(Form1& form, QWidget* parent, SkinPictures& skin, AfterHandler after) {
  if (!parent) return;
  Form4Dialog* preferences = follow<Form4Dialog>(
      form.form4 != nullptr, parent, "Form4", [&] { return new Form4Dialog(form, parent, after); });
  if (preferences) preferences->sync();
  Form2Dialog* about = follow<Form2Dialog>(form.form2 != nullptr, parent, "Form2", [&] {
    return new Form2Dialog(form, parent, skin, after);
  });
  if (about && form.form2->toFront) {
    form.form2->toFront = false;
    about->raise();
    about->activateWindow();
  }
}

}  // namespace tunelark::qt
