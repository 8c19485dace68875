// The window's dialogs on screen: the file-type dialog over a disabled window, its boxes and OK
// wired to the model and its close box applying nothing; the real file dialogs answered as a
// user would.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "browser/form5.h"
#include "qt/form5_dialog.h"
#include "qt/qt_file_dialogs.h"
#include "window_fixture.h"

namespace tunelark::qt::testing {
namespace {

using Dialogs = WindowTest;

// Closed by its close box or Escape, the dialog applies nothing; reopened, it shows all on
// again. OK by a click or by Enter applies the boxes.
TEST_F(Dialogs, FileTypesOpenAllOnOverADisabledWindowAndOnlyOkAppliesTheBoxes) {
  for (const char* name : {"a.ra", "b.rm", "c.ram"}) dir.write(std::string("c/") + name, "x");
  ASSERT_TRUE(form->File1.setPath(dir.str() + "/c"));
  for (const auto& [ok, key] : {std::pair{false, Qt::Key_unknown},
                                {false, Qt::Key_Escape},
                                {true, Qt::Key_unknown},
                                {true, Qt::Key_Return}}) {
    SCOPED_TRACE(std::to_string(ok) + " " + std::to_string(key));
    window->click(ControlId::Image33);
    auto* dialog = window->findChild<Form5Dialog*>(QStringLiteral("Form5"));
    ASSERT_TRUE(dialog && dialog->isVisible());
    EXPECT_FALSE(window->face()->isEnabled());
    for (const char* name : {"ram", "ra", "rm"})
      EXPECT_EQ(dialog->box(name)->checkState(), Qt::Checked) << name;
    QTest::mouseClick(dialog->box("rm"), Qt::LeftButton);
    ASSERT_EQ(form->form5->rm.Value, 0);
    if (key != Qt::Key_unknown)
      QTest::keyClick(dialog->box("ra"), key);
    else if (ok)
      QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Command1")),
                        Qt::LeftButton);
    else
      dialog->close();
    // Deferred deletes run, as the event loop would; the window is then given back.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->form5, nullptr);
    EXPECT_EQ(window->findChild<Form5Dialog*>(QStringLiteral("Form5")), nullptr);
    EXPECT_TRUE(window->face()->isEnabled());
    EXPECT_EQ(form->File1.ListCount(), ok ? 2 : 3);
    EXPECT_EQ(widgetOf("Label5")->property("text").toString(),
              ok ? QStringLiteral("RealMedia Files (*.ra, *.ram)")
                 : QStringLiteral("RealMedia Files (*.ra, *.rm, *.ram)"));
  }
}

// Answers the next file dialog: what it shows (title, filters, the chosen one, name, folder)
// goes to `shown`, then `name` is typed and accepted, or it is cancelled when `name` is empty.
void answerNextFileDialog(QString name, QStringList* shown = nullptr) {
  QTimer::singleShot(0, [name, shown] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    if (shown) {
      *shown << dialog->windowTitle();
      for (int i = 0; i < types->count(); ++i) *shown << types->itemText(i);
      *shown << types->currentText() << field->text() << dialog->directory().absolutePath();
    }
    if (name.isEmpty()) return dialog->reject();
    field->setText(name);
    QTest::keyClick(field, Qt::Key_Return);
  });
}

// Overwriting is not asked about, no extension is added, and cancel leaves the record as it was.
TEST_F(Dialogs, FileDialogsShowTheRecordsSettingsAndReturnTheChoice) {
  QtFileDialogs dialogs;
  int synced = 0;
  dialogs.attach(window.get(), [&synced] { ++synced; });
  const std::string folder = dir.str() + "/lists";
  dir.write("lists/old.ram", "");
  CommonDialog record{.DialogTitle = "Save As",
                      .Filter = "Tunelark (*.ram)|*.ram|RealMedia Files (*.ra,*.rm)|*.ra;*.rm",
                      .FilterIndex = 2,
                      .InitDir = folder,
                      .FileName = "Untitled"};
  QStringList shown;
  answerNextFileDialog(QStringLiteral("mylist"), &shown);
  ASSERT_TRUE(dialogs.ShowSave(record));
  EXPECT_EQ(shown, (QStringList{"Save As", "Tunelark (*.ram)", "RealMedia Files (*.ra,*.rm)",
                                "RealMedia Files (*.ra,*.rm)", "Untitled",
                                QString::fromStdString(folder)}));
  EXPECT_EQ(synced, 1);
  EXPECT_EQ(record.FileName, folder + "/mylist");
  answerNextFileDialog(QStringLiteral("old.ram"));
  ASSERT_TRUE(dialogs.ShowSave(record));
  EXPECT_EQ(record.FileName, folder + "/old.ram");
  answerNextFileDialog(QString());
  EXPECT_FALSE(dialogs.ShowOpen(record));
  EXPECT_EQ(record.FileName, folder + "/old.ram");
}

}  // namespace
}  // namespace tunelark::qt::testing
