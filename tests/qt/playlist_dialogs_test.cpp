// The real file dialogs answered as a user would.
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
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

using FileDialogsOnScreen = WindowTest;

// Overwriting is not asked about, and cancel leaves the record as it was.
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
  answerNextDialog([](QFileDialog&) {}, QStringLiteral("old.ram"));
  ASSERT_TRUE(dialogs.ShowSave(record));
  EXPECT_EQ(record.FileName, folder + "/old.ram");
  answerNextDialog([](QFileDialog&) {}, QString());
  EXPECT_FALSE(dialogs.ShowOpen(record));
  EXPECT_EQ(record.FileName, folder + "/old.ram");
}

}  // namespace
}  // namespace tunelark::qt::testing
