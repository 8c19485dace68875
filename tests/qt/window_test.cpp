// The window on screen follows the model and delivers clicks to the handlers; its player area
// holds a module's component or says why there is none. The host services it runs on: message
// box and busy pointer. Signals arriving as calls are the end-to-end tests' (SIGTERM, SIGUSR1).
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "qt/player_site.h"
#include "qt/qt_host.h"
#include "qt/twips.h"
#include "ui/form1_layout.h"
#include "ui/key_table.h"
#include "window_fixture.h"

namespace tunelark::qt::testing {
namespace {

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

// Frameless and fixed, the player's picture above its display, and shown only by start-up.
TEST_F(WindowTest, StartsFramelessFixedAndOffScreenUntilShown) {
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  const QObjectList& stack = widgetOf("Realframe")->children();
  EXPECT_GT(stack.indexOf(widgetOf("Picture1")), stack.indexOf(widgetOf("RealAudio1")));
  form->Visible = true;
  window->sync();
  EXPECT_FALSE(window->isVisible()) << "a sync before start-up's show keeps it off screen";
}

// After the first frame every button says what it does: tooltip with its key, and pointer. (What
// a screen reader reads of them is the screen-reader end-to-end test's.)
TEST_F(WindowTest, ButtonsSayWhatTheyDoAndTheTogglesResizeInPlace) {
  bool firstFrame = false;
  window->setOnFirstFrame([&firstFrame] { firstFrame = true; });
  window->move(40, 30);
  window->show();
  ASSERT_TRUE(QTest::qWaitFor([&firstFrame] { return firstFrame; }, 5000));
  int buttons = 0;
  for (const LayoutRow& row : form1Layout()) {
    const Control* c = &form->control(row.control);
    if (c->tooltip.empty()) continue;
    QWidget* w = widgetOf(c->name);
    EXPECT_EQ(w->toolTip(), QString::fromStdString(tooltipWithKey(row.control, c->tooltip)))
        << c->name;
    EXPECT_EQ(w->cursor().shape(),
              c->name == "Picture1" ? Qt::UpArrowCursor : Qt::PointingHandCursor)
        << c->name;
    ++buttons;
  }
  EXPECT_GE(buttons, 19);
  EXPECT_EQ(widgetOf("Image22")->toolTip(), QStringLiteral("Remove the selected clips (Delete)"));
  const QPoint topLeft = window->pos();
  // A release outside the button or a right click is no click.
  QWidget* first = widgetOf("Image15");
  QTest::mousePress(first, Qt::LeftButton, {}, first->rect().center());
  QTest::mouseRelease(first, Qt::LeftButton, {}, first->rect().bottomRight() + QPoint(5, 5));
  QTest::mouseClick(first, Qt::RightButton, {}, first->rect().center());
  EXPECT_EQ(window->height(), 518);
  for (const auto& [toggle, height] :
       {std::pair{"Image15", 374}, {"Image20", 231}, {"Image18", 88}}) {
    SCOPED_TRACE(toggle);
    QWidget* button = widgetOf(toggle);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    EXPECT_EQ(window->height(), height);
    EXPECT_EQ(window->pos(), topLeft);
    expectWidgetsMatchModel(*form, *window);
  }
}

// The names of the controls Tab reaches from where the focus is, `count` of them.
std::string tabWalk(MainWindow& window, int count) {
  std::string walked;
  for (int i = 0; i < count; ++i) {
    QTest::keyClick(&window, Qt::Key_Tab);
    walked += window.focusWidget()->objectName().toStdString() + " ";
  }
  return walked;
}

// Tab walks the shown controls in reading order, area by area and column by column, and leaves
// hidden areas out. Space or Enter on a two-state button presses it once and the focus goes to
// its pair.
TEST_F(WindowTest, TabWalksInReadingOrderAndAPressedPairKeepsTheFocus) {
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  EXPECT_EQ(window->focusWidget(), widgetOf("tvwControl"));
  EXPECT_EQ(tabWalk(*window, 28),
            "File1 Image33 Image5 Image10 Image26 Image22 Image24 Image31 Image32 Image28 Image23 "
            "Image25 List1 Image27 Image29 Image30 Image34 Image21 Image18 Image20 Image15 Image12 "
            "Image13 Image9 Image8 Picture1 tvwControl File1 ");
  widgetOf("Image9")->setFocus(Qt::TabFocusReason);
  for (const auto& [pressed, pair, playstate] :
       {std::tuple{"Image9", "Image7", 1}, {"Image7", "Image9", 0}}) {
    QTest::keyClick(widgetOf(pressed), Qt::Key_Space);
    EXPECT_EQ(window->focusWidget(), widgetOf(pair)) << pressed;
    EXPECT_EQ(form->playstate, playstate) << pressed;
  }
  widgetOf("Image18")->setFocus(Qt::TabFocusReason);
  QTest::keyClick(widgetOf("Image18"), Qt::Key_Enter);
  EXPECT_EQ(window->focusWidget(), widgetOf("Image16"));
  EXPECT_EQ(tabWalk(*window, 7),
            "panelplaydown Image20 Image15 panelstopup panelprev panelnext tvwControl ");
}

QString testModule(const char* name) {
  return QStringLiteral(TUNELARK_TEST_MODULE_DIR "/lib%1.so").arg(QLatin1String(name));
}

// A module that is absent, no library, without a factory, whose factory fails, or that needs a
// symbol nobody defines leaves a working window that says so. A good one, in a new window, gets
// what start-up told the site and fills the box; a second load keeps it.
TEST_F(WindowTest, PlayerAreaHoldsTheModulesComponentOrSaysWhyThereIsNone) {
  const auto newWindow = [this] {
    window.reset();
    window = std::make_unique<MainWindow>(*form);
    window->show();
  };
  for (const QString& path : {QString::fromStdString(dir.str() + "/none.so"),
                              QString::fromStdString(dir.write("junk.so", "not a library\n")),
                              testModule("no_factory_player"), testModule("null_factory_player"),
                              testModule("unresolved_player")}) {
    SCOPED_TRACE(path.toStdString());
    newWindow();
    EXPECT_FALSE(window->playerSite().load(path).isEmpty());
    EXPECT_FALSE(form->RealAudio1.attached());
    auto* notice = widgetOf("RealAudio1")->findChild<QLabel*>(QStringLiteral("playerNotLoaded"));
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->text(), QStringLiteral("The player could not be loaded"));
    window->click(ControlId::Image15);
    EXPECT_EQ(window->height(), 374);
    window->click(ControlId::Image14);
  }
  newWindow();
  form->RealAudio1.setSource("/music/list.ram");  // as a start-up load of a playlist would
  const QString failure = window->playerSite().load(testModule("recording_player"));
  ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
  EXPECT_TRUE(form->RealAudio1.attached());
  QWidget* box = widgetOf("RealAudio1");
  auto* display = box->findChild<QLabel*>(QStringLiteral("recordingDisplay"));
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(display->text(), QStringLiteral("autostart=0;source=/music/list.ram"));
  form->RealAudio1.playPause();
  EXPECT_TRUE(display->text().endsWith(QStringLiteral(";playpause")));
  EXPECT_EQ(box->findChild<QLabel*>(QStringLiteral("playerNotLoaded")), nullptr);
  QCoreApplication::processEvents();
  EXPECT_EQ(display->geometry(), box->rect());
  EXPECT_TRUE(window->playerSite().load(testModule("null_factory_player")).isEmpty());
  EXPECT_EQ(box->findChildren<QLabel*>(QStringLiteral("recordingDisplay")).size(), 1);
}

// Every warning's box is titled Tunelark, with an exclamation and OK only, shown after the window
// is brought in line. Two busy calls push one pointer, and a host going away clears its pointer.
TEST(QtHost, MessageBoxAndBusyPointer) {
  QtHost host;
  QStringList seen;
  host.beforeMessage([&seen] { seen << "synced"; });
  // The box is modal: read and close it from inside its own event loop.
  QTimer::singleShot(0, [&seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen << box->windowTitle() << box->text() << QString::number(box->icon())
         << QString::number(box->buttons().size());
    box->button(QMessageBox::Ok)->click();
  });
  QTimer::singleShot(5000, [] {
    if (QWidget* w = QApplication::activeModalWidget()) w->close();  // never hang the suite
  });
  host.messageBox("Clip Not Selected");
  EXPECT_EQ(seen, (QStringList{"synced", "Tunelark", "Clip Not Selected",
                               QString::number(QMessageBox::Warning), "1"}));
  {
    QtHost busy;
    busy.setBusy(true);
    busy.setBusy(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    busy.setBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    busy.setBusy(true);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace tunelark::qt::testing
