// The browser's widgets as the main window asks for them.
#include "qt/browser_file_list.h"
#include "qt/browser_tree_view.h"
#include "qt/form5_dialog.h"
#include "qt/model_view.h"
#include "ui/form1.h"

namespace tunelark::qt {

std::unique_ptr<ModelView> makeTreeView(Form1& form, QWidget* parent, SkinPictures& skin,
                                        AfterHandler after) {
  return std::make_unique<BrowserTreeView>(form, parent, skin, std::move(after));
}

std::unique_ptr<ModelView> makeFileListView(Form1& form, QWidget* parent, AfterHandler) {
  return std::make_unique<BrowserFileListView>(form, parent);
}

void syncForm5Dialog(Form1& form, QWidget* parent, AfterHandler after) {
  if (!parent) return;
  auto* dialog =
      parent->findChild<Form5Dialog*>(QStringLiteral("Form5"), Qt::FindDirectChildrenOnly);
  if (form.form5) {
    if (!dialog) {
      dialog = new Form5Dialog(form, parent, std::move(after));
      dialog->show();
      dialog->raise();
      dialog->activateWindow();
    }
    dialog->sync();
  } else if (dialog) {
    // Renamed first so a sync before the deferred delete does not find it again.
    dialog->setObjectName(QString());
    dialog->hide();
    dialog->deleteLater();
  }
}

}  // namespace tunelark::qt
