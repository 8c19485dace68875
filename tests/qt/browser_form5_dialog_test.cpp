// The file-type dialog on screen: opened by Image33 over a disabled window, boxes and OK wired
// to the model, the close box applying nothing.
#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include "browser/form5.h"
#include "qt/form5_dialog.h"
#include "window_fixture.h"

namespace tunelark::qt::testing {
namespace {

using FileTypeDialog = WindowTest;

TEST_F(FileTypeDialog, OpensWithAllOnOverADisabledWindowAndOnlyOkAppliesTheBoxes) {
  for (const char* name : {"a.ra", "b.rm", "c.ram"}) dir.write(std::string("c/") + name, "x");
  ASSERT_TRUE(form->File1.setPath(dir.str() + "/c"));
  const auto open = [this] {
    window->click("Image33");
    auto* dialog = window->findChild<Form5Dialog*>(QStringLiteral("Form5"));
    EXPECT_TRUE(dialog && dialog->isVisible());
    EXPECT_FALSE(window->face()->isEnabled());
    for (const char* name : {"ram", "ra", "rm"})
      EXPECT_EQ(dialog->box(name)->checkState(), Qt::Checked) << name;
    return dialog;
  };
  // Lets deferred deletes run, as the event loop would; the window is then given back.
  const auto expectClosed = [this] {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->form5, nullptr);
    EXPECT_EQ(window->findChild<Form5Dialog*>(QStringLiteral("Form5")), nullptr);
    EXPECT_TRUE(window->face()->isEnabled());
  };

  Form5Dialog* dialog = open();
  ASSERT_NE(dialog, nullptr);
  QTest::mouseClick(dialog->box("ram"), Qt::LeftButton);
  QTest::mouseClick(dialog->box("ra"), Qt::LeftButton);
  dialog->close();
  expectClosed();
  EXPECT_EQ(form->File1.Pattern(), "*.rm;*.ra;*.ram");
  EXPECT_EQ(form->Label5.caption, "RealMedia Files (*.ra, *.rm, *.ram)");

  dialog = open();
  ASSERT_NE(dialog, nullptr);
  QTest::mouseClick(dialog->box("rm"), Qt::LeftButton);
  ASSERT_EQ(form->form5->rm.Value, 0);
  QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
  expectClosed();
  EXPECT_EQ(form->File1.ListCount(), 2);
  EXPECT_EQ(widgetOf("Label5")->property("text").toString(),
            QStringLiteral("RealMedia Files (*.ra, *.ram)"));
}

}  // namespace
}  // namespace tunelark::qt::testing
