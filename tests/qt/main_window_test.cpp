// The window on screen follows the model and delivers clicks to the handlers.
#include <QLabel>
#include <QTest>
#include <filesystem>
#include <tuple>

#include "qt/twips.h"
#include "window_fixture.h"

namespace tunelark::qt::testing {
namespace {

using MainWindowTest = WindowTest;

// Every widget sits at twips / 15 in its own frame and is shown exactly when the model says so.
void expectWidgetsMatchModel(Form1& form, MainWindow& window) {
  for (Control* c : form.controls()) {
    SCOPED_TRACE(c->name);
    auto* w = window.findChild<QWidget*>(QString::fromStdString(c->name));
    ASSERT_NE(w, nullptr);
    QRect expected = pxRect(*c);
    if (c->kind == ControlKind::Line) expected.setHeight(1);
    EXPECT_EQ(w->geometry(), expected);
    EXPECT_EQ(w->isHidden(), !c->visible);
    if (c->kind != ControlKind::Frame) {
      EXPECT_EQ(w->parentWidget(), window.findChild<QWidget*>(QString::fromStdString(c->frame)));
    }
  }
  EXPECT_EQ(window.size(), QSize(px(form.Width), px(form.Height)));
}

// Every shown picture was built in (nothing rendered at run time) before the first paint.
TEST_F(MainWindowTest, StartsFramelessFixedWithTheLogoOverThePlayerAndItsPicturesReady) {
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(window->size(), QSize(490, 518));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  const QObjectList& stack = widgetOf("Realframe")->children();
  EXPECT_GT(stack.indexOf(widgetOf("Picture1")), stack.indexOf(widgetOf("RealAudio1")));
  EXPECT_EQ(widgetOf("List1")->geometry(), QRect(160, 8, 305, 119));
  ASSERT_EQ(window->devicePixelRatioF(), 1.0);
  int shown = 0;
  for (Control* c : form->controls()) {
    if (c->kind != ControlKind::Image || !c->visible || c->picture.empty()) continue;
    const QSize size = pxRect(*c).size();
    EXPECT_EQ(window->skin().picture(QString::fromStdString(c->picture), size, 1.0).size(), size)
        << c->name;
    ++shown;
  }
  EXPECT_GT(shown, 20);
  EXPECT_EQ(window->skin().cachedCount(), 0);
  EXPECT_EQ(window->skin().picture(QStringLiteral("play"), QSize(45, 15), 2.0).size(),
            QSize(90, 30))
      << "other ratios are rendered";
}

TEST_F(MainWindowTest, LabelsEnablingAndVisibilityFollowTheModel) {
  EXPECT_EQ(widgetOf("Label2")->palette().color(QPalette::WindowText), QColor(0, 255, 255));
  form->Label4.caption = "PlayList File : mix.ram";
  form->Enabled = false;
  form->Visible = true;
  window->sync();
  EXPECT_EQ(qobject_cast<QLabel*>(widgetOf("Label4"))->text(),
            QStringLiteral("PlayList File : mix.ram"));
  EXPECT_FALSE(window->face()->isEnabled());
  EXPECT_TRUE(window->isEnabled()) << "dialogs owned by the window must stay usable";
  EXPECT_FALSE(window->isVisible()) << "a sync before start-up's show keeps it off screen";
  window->show();
  form->Visible = false;
  window->sync();
  EXPECT_FALSE(window->isVisible());
  form->Visible = true;
  form->Enabled = true;
  window->sync();
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->face()->isEnabled());
}

// Tooltips, names and pointers are set after the first frame.
TEST_F(MainWindowTest, EveryButtonSaysWhatItDoesAfterTheFirstFrame) {
  bool firstFrame = false;
  window->setOnFirstFrame([&firstFrame] { firstFrame = true; });
  window->show();
  ASSERT_TRUE(QTest::qWaitFor([&firstFrame] { return firstFrame; }, 5000));
  int buttons = 0;
  for (Control* c : form->controls()) {
    if (c->tooltip.empty()) continue;
    SCOPED_TRACE(c->name);
    QWidget* w = widgetOf(c->name);
    EXPECT_EQ(w->toolTip(), QString::fromStdString(c->tooltip));
    EXPECT_EQ(w->accessibleName(), QString::fromStdString(c->tooltip));
    EXPECT_EQ(w->cursor().shape(),
              c->name == "Picture1" ? Qt::UpArrowCursor : Qt::PointingHandCursor);
    ++buttons;
  }
  EXPECT_GE(buttons, 19);
}

TEST_F(MainWindowTest, ClicksOnTheTogglesRunTheirHandlersAndResizeInPlace) {
  window->move(40, 30);
  window->show();
  const QPoint topLeft = window->pos();
  // A release outside the button or a right click is no click.
  QWidget* first = widgetOf("Image15");
  QTest::mousePress(first, Qt::LeftButton, {}, first->rect().center());
  QTest::mouseRelease(first, Qt::LeftButton, {}, first->rect().bottomRight() + QPoint(5, 5));
  QTest::mouseClick(first, Qt::RightButton, {}, first->rect().center());
  EXPECT_EQ(window->height(), 518);
  for (const auto& [toggle, shown, height] : {std::tuple{"Image15", "Image14", 374},
                                              {"Image20", "Image19", 231},
                                              {"Image18", "Image16", 88}}) {
    SCOPED_TRACE(toggle);
    QWidget* button = widgetOf(toggle);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    EXPECT_EQ(window->height(), height);
    EXPECT_TRUE(button->isHidden());
    EXPECT_FALSE(widgetOf(shown)->isHidden());
    EXPECT_EQ(window->pos(), topLeft);
    expectWidgetsMatchModel(*form, *window);
  }
}

// Exit ends the run without Form_Unload; a close runs it, once.
TEST_F(MainWindowTest, ExitEndsTheRunAndCloseRunsUnloadOnce) {
  int closed = 0;
  window->setOnClosed([&closed] { ++closed; });
  window->show();
  QWidget* exit = widgetOf("Image21");
  QTest::mouseClick(exit, Qt::LeftButton, {}, exit->rect().center());
  EXPECT_TRUE(host.ended);
  EXPECT_FALSE(window->unloaded());
  const std::filesystem::path settings = app.settingsPath;
  window->close();
  EXPECT_TRUE(window->unloaded());
  EXPECT_NE(tunelark::testing::readFile(settings.string()).find(app.workingListFile()),
            std::string::npos);
  std::filesystem::remove(settings);
  window->unloadOnce();
  window->close();
  EXPECT_FALSE(std::filesystem::exists(settings)) << "a later quit or close writes again";
  QCoreApplication::processEvents();
  EXPECT_GE(closed, 1);
}

}  // namespace
}  // namespace tunelark::qt::testing
