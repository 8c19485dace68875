// The real file dialogs answered as a user would, and the clip list's drag gesture.
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTimer>
#include <functional>

#include "qt/qt_file_dialogs.h"
#include "window_fixture.h"

namespace tunelark::qt::testing {
namespace {

// Answers the next file dialog that opens: `inspect` sees it, then `name` is typed into its
// name field and accepted, or the dialog is cancelled when `name` is empty.
void answerNextDialog(std::function<void(QFileDialog&)> inspect, QString name) {
  QTimer::singleShot(0, [inspect = std::move(inspect), name] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    inspect(*dialog);
    if (name.isEmpty()) {
      dialog->reject();
      return;
    }
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    field->setText(name);
    QTest::keyClick(field, Qt::Key_Return);
  });
}

class FileDialogsOnScreen : public WindowTest {};

TEST_F(FileDialogsOnScreen, ShowTheWindowsSettingsAndReturnTheChoice) {
  QtFileDialogs dialogs;
  int synced = 0;
  dialogs.attach(window.get(), [&synced] { ++synced; });
  const std::string folder = dir.str() + "/lists";
  dir.write("lists/old.ram", "");

  CommonDialog record;
  record.DialogTitle = "Save As";
  record.Filter = "Tunelark (*.ram)|*.ram|RealMedia Files (*.ra,*.rm)|*.ra;*.rm";
  record.FilterIndex = 2;
  record.InitDir = folder;
  record.FileName = "Untitled";
  answerNextDialog(
      [&](QFileDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Save As"));
        auto* combo = d.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->count(), 2);
        EXPECT_EQ((QStringList{combo->itemText(0), combo->itemText(1)}),
                  (QStringList{QStringLiteral("Tunelark (*.ram)"),
                               QStringLiteral("RealMedia Files (*.ra,*.rm)")}));
        EXPECT_TRUE(d.selectedNameFilter().startsWith(QStringLiteral("RealMedia Files")));
        EXPECT_EQ(d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(),
                  QStringLiteral("Untitled"));
        EXPECT_EQ(d.directory().absolutePath(), QString::fromStdString(folder));
      },
      QStringLiteral("mylist"));
  ASSERT_TRUE(dialogs.ShowSave(record));
  EXPECT_EQ(synced, 1);
  EXPECT_EQ(record.FileName, folder + "/mylist") << "no extension is added";
  // Overwriting is not asked about, and cancel leaves the record as it was.
  answerNextDialog([](QFileDialog&) {}, QStringLiteral("old.ram"));
  ASSERT_TRUE(dialogs.ShowSave(record));
  EXPECT_EQ(record.FileName, folder + "/old.ram");
  answerNextDialog([](QFileDialog&) {}, QString());
  EXPECT_FALSE(dialogs.ShowOpen(record));
  EXPECT_EQ(record.FileName, folder + "/old.ram");
}

TEST_F(FileDialogsOnScreen, APressOnAnUnselectedClipSelectsByDraggingInsteadOfDraggingIt) {
  for (const char* name : {"a.ra", "b.ra", "c.ra", "d.ra"})
    dir.write(std::string("c/") + name, "x");
  ASSERT_TRUE(form->File1.setPath(dir.str() + "/c"));
  window->sync();
  window->show();
  auto* view = qobject_cast<QListView*>(widgetOf("File1"));
  ASSERT_NE(view, nullptr);
  const auto centre = [view](int row) {
    return view->visualRect(view->model()->index(row, 0)).center();
  };
  QTest::mousePress(view->viewport(), Qt::LeftButton, {}, centre(0));
  EXPECT_FALSE(view->dragEnabled());
  QMouseEvent move(QEvent::MouseMove, centre(2), view->viewport()->mapToGlobal(centre(2)),
                   Qt::NoButton, Qt::LeftButton, {});
  QCoreApplication::sendEvent(view->viewport(), &move);
  QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, centre(2));
  EXPECT_EQ(form->File1.selectedRows(), (std::vector<int>{0, 1, 2}));

  QTest::mousePress(view->viewport(), Qt::LeftButton, {}, centre(1));
  EXPECT_TRUE(view->dragEnabled()) << "a press on a selected clip may start a drag";
  QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, centre(1));
}

}  // namespace
}  // namespace tunelark::qt::testing
