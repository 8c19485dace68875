#include "qt/qt_desktop.h"

#include <QCursor>
#include <QDesktopServices>
#include <QMenu>
#include <QUrl>
#include <vector>

namespace tunelark::qt {

void QtDesktop::ShellExecuteA(std::uint32_t, const std::string& file) {
  QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromLocal8Bit(file.c_str())));
}

int QtDesktop::PopupMenu(const Menu& menu, int defaultItem) {
  QMenu popup;
  popup.setObjectName(QStringLiteral("mnuoption"));
  popup.setTitle(QString::fromLocal8Bit(menu.Caption.c_str()));
  std::vector<QAction*> actions;
  for (const MenuItem& item : menu.items) {
    QAction* action = item.Caption == "-"
                          ? popup.addSeparator()
                          : popup.addAction(QString::fromLocal8Bit(item.Caption.c_str()));
    action->setEnabled(item.Enabled);
    actions.push_back(action);
  }
  if (defaultItem >= 0 && defaultItem < static_cast<int>(actions.size()))
    popup.setDefaultAction(actions[static_cast<std::size_t>(defaultItem)]);
  QAction* chosen = popup.exec(QCursor::pos());
  for (std::size_t i = 0; i < actions.size(); ++i)
    if (actions[i] == chosen) return static_cast<int>(i);
  return -1;
}

}  // namespace tunelark::qt
