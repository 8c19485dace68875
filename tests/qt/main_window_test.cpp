// The window on screen follows the model: size, placement of every control, visibility, the
// frameless flag, buttons that say what they do, and clicks that reach the handlers.
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

// Every control's widget sits at twips / 15 in its own frame and is shown exactly when the
// model says so.
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

TEST_F(WindowLayout, StartsFramelessAt490By518) {
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(window->size(), QSize(490, 518));
  EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "the user cannot resize it";
  EXPECT_TRUE(window->windowTitle().isEmpty());
}

TEST_F(WindowLayout, LogoLiesOverThePlayerDisplay) {
  const QObjectList& stack = widgetOf("Realframe")->children();
  EXPECT_GT(stack.indexOf(widgetOf("Picture1")), stack.indexOf(widgetOf("RealAudio1")));
  EXPECT_TRUE(widgetOf("RealAudio1")->geometry().contains(widgetOf("Picture1")->geometry()));
}

struct ViewCase {
  const char* method;
  void (Form1::*view)();
  int heightPx;
};

class SomeViews : public WindowTest, public ::testing::WithParamInterface<ViewCase> {};

TEST_P(SomeViews, EveryWidgetSitsAtTwipsOverFifteenAndFollowsTheView) {
  window->move(40, 30);
  (form.get()->*GetParam().view)();
  window->sync();
  expectWidgetsMatchModel(*form, *window);
  EXPECT_EQ(window->height(), GetParam().heightPx);
  EXPECT_EQ(window->width(), 490) << "widths never change";
  EXPECT_EQ(window->pos(), QPoint(40, 30)) << "the top-left corner stays put";
  // A spot check in pixels, so a wrong conversion cannot hide behind pxRect.
  EXPECT_EQ(widgetOf("List1")->geometry(), QRect(160, 8, 305, 119));
}

// The layouts themselves are checked on the model; two views show that the sync is generic.
INSTANTIATE_TEST_SUITE_P(Views, SomeViews,
                         ::testing::Values(ViewCase{"Realplaylist", &Form1::Realplaylist, 376},
                                           ViewCase{"panel", &Form1::panel, 88}),
                         [](const auto& p) { return std::string(p.param.method); });

TEST_F(WindowLayout, PicturesOfTheFirstFrameAreReadyBeforeAnyPaint) {
  ASSERT_FALSE(window->isVisible());
  // Ready means built into the program or rendered ahead while the window was being made:
  // asking for every shown picture renders nothing more.
  const int ready = window->skin().cachedCount();
  int shown = 0;
  for (Control* c : form->controls()) {
    if (c->kind != ControlKind::Image || !c->visible || c->picture.empty()) continue;
    const QImage image = window->skin().picture(QString::fromStdString(c->picture),
                                                pxRect(*c).size(), window->devicePixelRatioF());
    EXPECT_FALSE(image.isNull()) << c->name;
    ++shown;
  }
  EXPECT_GT(shown, 20);
  EXPECT_EQ(window->skin().cachedCount(), ready);
}

TEST_F(WindowLayout, LabelsShowTheirCaptionInTheirColour) {
  auto* title = qobject_cast<QLabel*>(widgetOf("Label2"));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->text(), QStringLiteral("Tunelark 2.01"));
  EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(0, 255, 255));

  form->Label4.caption = "PlayList File : mix.ram";
  window->sync();
  EXPECT_EQ(qobject_cast<QLabel*>(widgetOf("Label4"))->text(),
            QStringLiteral("PlayList File : mix.ram"));
}

TEST_F(WindowLayout, FaceIsDisabledWhileTheModelIsDisabled) {
  form->Enabled = false;
  window->sync();
  EXPECT_FALSE(window->face()->isEnabled());
  EXPECT_TRUE(window->isEnabled()) << "dialogs owned by the window must stay usable";
  form->Enabled = true;
  window->sync();
  EXPECT_TRUE(window->face()->isEnabled());
}

TEST_F(WindowLayout, VisibilityFollowsTheModelOnlyAfterTheFirstShow) {
  form->Visible = true;
  window->sync();
  EXPECT_FALSE(window->isVisible()) << "a sync before start-up's show keeps it off screen";
  window->show();
  form->Visible = false;
  window->sync();
  EXPECT_FALSE(window->isVisible());
  form->Visible = true;
  window->sync();
  EXPECT_TRUE(window->isVisible());
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
    if (handlerFor(c->name)) {
      EXPECT_FALSE(c->tooltip.empty()) << "a button needs a tooltip";
    }
    if (c->tooltip.empty()) continue;  // backgrounds and decoration
    QWidget* w = widgetOf(c->name);
    EXPECT_EQ(w->toolTip(), QString::fromStdString(c->tooltip));
    EXPECT_EQ(w->accessibleName(), QString::fromStdString(c->tooltip));
    // The logo is a link and shows the links' up arrow.
    EXPECT_EQ(w->cursor().shape(),
              c->name == "Picture1" ? Qt::UpArrowCursor : Qt::PointingHandCursor);
    ++buttons;
  }
  EXPECT_GE(buttons, 19) << "at least every control with a click handler";
}

TEST_F(WindowButtons, ClicksOnTheTogglesRunTheirHandlersAndResizeInPlace) {
  window->show();
  const QPoint topLeft = window->pos();
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

TEST_F(WindowButtons, AReleaseOutsideTheButtonOrARightClickIsNoClick) {
  window->show();
  QWidget* button = widgetOf("Image15");
  QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
  QTest::mouseRelease(button, Qt::LeftButton, {}, button->rect().bottomRight() + QPoint(5, 5));
  QTest::mouseClick(button, Qt::RightButton, {}, button->rect().center());
  EXPECT_EQ(form->listshown, 1);
  EXPECT_EQ(window->height(), 518);
}

TEST_F(WindowButtons, ClickOnAPictureWithoutHandlerChangesNothing) {
  window->show();
  QWidget* background = widgetOf("Image4");
  QTest::mouseClick(background, Qt::LeftButton, {}, QPoint(5, 5));
  expectWidgetsMatchModel(*form, *window);
  EXPECT_FALSE(host.ended);
}

TEST_F(WindowButtons, ExitEndsTheRunWithoutUnload) {
  window->show();
  QWidget* exit = widgetOf("Image21");
  QTest::mouseClick(exit, Qt::LeftButton, {}, exit->rect().center());
  EXPECT_TRUE(host.ended);
  EXPECT_FALSE(window->unloaded());
}

TEST_F(WindowButtons, PlayClickReachesTheTransport) {
  window->show();
  QWidget* play = widgetOf("Image9");
  QTest::mouseClick(play, Qt::LeftButton, {}, play->rect().center());
  EXPECT_EQ(form->playstate, 1);
  EXPECT_TRUE(widgetOf("Image9")->isHidden());
  EXPECT_FALSE(widgetOf("Image7")->isHidden());
}

using WindowClosing = WindowTest;

TEST_F(WindowClosing, CloseRunsUnloadOnce) {
  int closed = 0;
  window->setOnClosed([&closed] { ++closed; });
  window->show();
  const std::filesystem::path settings = app.settingsPath;
  ASSERT_FALSE(std::filesystem::exists(settings));
  window->close();
  EXPECT_TRUE(window->unloaded());
  EXPECT_TRUE(std::filesystem::exists(settings));
  EXPECT_NE(tunelark::testing::readFile(settings.string()).find(app.workingListFile()),
            std::string::npos);

  // A later quit or a second close must not write again.
  std::filesystem::remove(settings);
  window->unloadOnce();
  window->close();
  EXPECT_FALSE(std::filesystem::exists(settings));
  QCoreApplication::processEvents();
  EXPECT_GE(closed, 1);
}

}  // namespace
}  // namespace tunelark::qt::testing
