// The window on screen follows the model and delivers clicks to the handlers.
#include <QLabel>
#include <QTest>
#include <filesystem>
#include <tuple>

#include "qt/twips.h"
#include "ui/handler_table.h"
#include "window_fixture.h"

namespace tunelark::qt::testing {
namespace {

using WindowLayout = WindowTest;

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

TEST_F(WindowLayout, StartsFramelessFixedAt490By518WithTheLogoOverThePlayer) {
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(window->size(), QSize(490, 518));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  const QObjectList& stack = widgetOf("Realframe")->children();
  EXPECT_GT(stack.indexOf(widgetOf("Picture1")), stack.indexOf(widgetOf("RealAudio1")));
  EXPECT_EQ(widgetOf("List1")->geometry(), QRect(160, 8, 305, 119));
}

// Every shown picture was ready (built in or rendered ahead) before the first paint.
TEST_F(WindowLayout, PicturesOfTheFirstFrameAreReadyBeforeAnyPaint) {
  const int ready = window->skin().cachedCount();
  int shown = 0;
  for (Control* c : form->controls()) {
    if (c->kind != ControlKind::Image || !c->visible || c->picture.empty()) continue;
    EXPECT_FALSE(window->skin()
                     .picture(QString::fromStdString(c->picture), pxRect(*c).size(),
                              window->devicePixelRatioF())
                     .isNull())
        << c->name;
    ++shown;
  }
  EXPECT_GT(shown, 20);
  EXPECT_EQ(window->skin().cachedCount(), ready);
}

TEST_F(WindowLayout, LabelsEnablingAndVisibilityFollowTheModel) {
  auto* title = qobject_cast<QLabel*>(widgetOf("Label2"));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(0, 255, 255));
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

using WindowButtons = WindowTest;

TEST_F(WindowButtons, EveryButtonSaysWhatItDoes) {
  bool firstFrame = false;
  window->setOnFirstFrame([&firstFrame] { firstFrame = true; });
  window->show();
  ASSERT_TRUE(QTest::qWaitFor([&firstFrame] { return firstFrame; }, 5000));
  int buttons = 0;
  for (Control* c : form->controls()) {
    if (c->kind != ControlKind::Image && c->kind != ControlKind::PictureBox) continue;
    SCOPED_TRACE(c->name);
    EXPECT_TRUE(!handlerFor(c->name) || !c->tooltip.empty()) << "a button needs a tooltip";
    if (c->tooltip.empty()) continue;
    QWidget* w = widgetOf(c->name);
    EXPECT_EQ(w->toolTip(), QString::fromStdString(c->tooltip));
    EXPECT_EQ(w->accessibleName(), QString::fromStdString(c->tooltip));
    EXPECT_EQ(w->cursor().shape(),
              c->name == "Picture1" ? Qt::UpArrowCursor : Qt::PointingHandCursor);
    ++buttons;
  }
  EXPECT_GE(buttons, 19);
}

TEST_F(WindowButtons, ClicksOnTheTogglesRunTheirHandlersAndResizeInPlace) {
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

TEST_F(WindowButtons, ExitEndsTheRunWithoutUnload) {
  window->show();
  QWidget* exit = widgetOf("Image21");
  QTest::mouseClick(exit, Qt::LeftButton, {}, exit->rect().center());
  EXPECT_TRUE(host.ended);
  EXPECT_FALSE(window->unloaded());
}

TEST_F(WindowLayout, CloseRunsUnloadOnce) {
  int closed = 0;
  window->setOnClosed([&closed] { ++closed; });
  window->show();
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
