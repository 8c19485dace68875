// The file-type dialog on screen: opened by Image33 over a disabled window, boxes and OK wired
// to the model, the close box applying nothing.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include "browser/form5.h"
#include "qt/form5_dialog.h"
#include "support/temp_dir.h"
#include "window_fixture.h"

namespace tunelark::qt {
namespace {

using tunelark::testing::TempDir;

class FileTypeDialog : public testing::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    for (const char* name : {"a.ra", "b.rm", "c.ram"}) clips.write(name, "x");
    ASSERT_TRUE(form->File1.setPath(clips.str()));
    window->click("Image33");
    dialog = window->findChild<Form5Dialog*>(QStringLiteral("Form5"));
    ASSERT_NE(dialog, nullptr);
  }
  // Lets deferred deletes run, as the event loop would.
  static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
  Form5Dialog* openDialog() const {
    return window->findChild<Form5Dialog*>(QStringLiteral("Form5"));
  }

  TempDir clips;
  Form5Dialog* dialog = nullptr;
};

TEST_F(FileTypeDialog, OpensOverADisabledWindowAndOkAppliesTheBoxes) {
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(window->face()->isEnabled());
  for (const char* name : {"ram", "ra", "rm"})
    ASSERT_EQ(dialog->box(name)->checkState(), Qt::Checked);
  QTest::mouseClick(dialog->box("rm"), Qt::LeftButton);
  ASSERT_EQ(form->form5->rm.Value, 0);
  QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
  settle();
  EXPECT_EQ(form->form5, nullptr);
  EXPECT_EQ(openDialog(), nullptr);
  EXPECT_EQ(form->File1.ListCount(), 2);
  EXPECT_TRUE(window->face()->isEnabled());
  auto* label = window->findChild<QWidget*>(QStringLiteral("Label5"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->property("text").toString(), QStringLiteral("RealMedia Files (*.ra, *.ram)"));
}

TEST_F(FileTypeDialog, CloseBoxAppliesNothingAndReopeningShowsAllOn) {
  QTest::mouseClick(dialog->box("ram"), Qt::LeftButton);
  QTest::mouseClick(dialog->box("ra"), Qt::LeftButton);
  dialog->close();
  settle();
  EXPECT_EQ(form->form5, nullptr);
  EXPECT_EQ(openDialog(), nullptr);
  EXPECT_TRUE(window->face()->isEnabled());
  EXPECT_EQ(form->File1.Pattern(), "*.rm;*.ra;*.ram");
  EXPECT_EQ(form->Label5.caption, "RealMedia Files (*.ra, *.rm, *.ram)");

  window->click("Image33");
  Form5Dialog* again = openDialog();
  ASSERT_NE(again, nullptr);
  for (const char* name : {"ram", "ra", "rm"})
    EXPECT_EQ(again->box(name)->checkState(), Qt::Checked);
}

}  // namespace
}  // namespace tunelark::qt
