// The player area: the component comes from a module loaded after start-up and receives what
// start-up told the site; a missing or broken module leaves a working window and says so.
#include "qt/player_site.h"

#include <QLabel>
#include <QTest>

#include "window_fixture.h"

namespace tunelark::qt::testing {
namespace {

QString testModule(const char* name) {
  return QStringLiteral(TUNELARK_TEST_MODULE_DIR "/lib%1.so").arg(QLatin1String(name));
}

using PlayerArea = WindowTest;

TEST_F(PlayerArea, LoadedComponentReceivesWhatStartUpToldTheSiteAndFillsTheBox) {
  window->show();
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
  // A second load keeps the first component.
  EXPECT_TRUE(window->playerSite().load(testModule("null_factory_player")).isEmpty());
  EXPECT_EQ(box->findChildren<QLabel*>(QStringLiteral("recordingDisplay")).size(), 1);
}

struct BrokenModule {
  const char* what;
  std::function<QString(const tunelark::testing::TempDir&)> path;
};

class BrokenPlayerModule : public WindowTest, public ::testing::WithParamInterface<BrokenModule> {};

TEST_P(BrokenPlayerModule, LeavesAWorkingWindowThatSaysSo) {
  window->show();
  const QString failure = window->playerSite().load(GetParam().path(dir));
  EXPECT_FALSE(failure.isEmpty());
  EXPECT_FALSE(window->playerSite().loaded());
  EXPECT_FALSE(form->RealAudio1.attached());

  auto* notice = widgetOf("RealAudio1")->findChild<QLabel*>(QStringLiteral("playerNotLoaded"));
  ASSERT_NE(notice, nullptr);
  EXPECT_TRUE(notice->isVisible());
  EXPECT_EQ(notice->text(), QStringLiteral("The player could not be loaded"));

  QWidget* hide = widgetOf("Image15");
  QTest::mouseClick(hide, Qt::LeftButton, {}, hide->rect().center());
  EXPECT_EQ(window->height(), 374);
  form->RealAudio1.setSource("file:/a.rm");
  EXPECT_EQ(form->RealAudio1.source(), "file:/a.rm");
}

INSTANTIATE_TEST_SUITE_P(
    Modules, BrokenPlayerModule,
    ::testing::Values(
        BrokenModule{"Absent",
                     [](const auto& d) { return QString::fromStdString(d.str() + "/none.so"); }},
        BrokenModule{"NotAModule",
                     [](const auto& d) {
                       return QString::fromStdString(d.write("player.so", "not a library\n"));
                     }},
        BrokenModule{"NoFactory", [](const auto&) { return testModule("no_factory_player"); }},
        BrokenModule{"FactoryFails", [](const auto&) { return testModule("null_factory_player"); }},
        BrokenModule{"UnresolvedSymbol",
                     [](const auto&) { return testModule("unresolved_player"); }}),
    [](const auto& p) { return std::string(p.param.what); });

TEST(PlayerModulePath, EnvironmentOverridesTheFileNextToTheProgram) {
  ::setenv("TUNELARK_PLAYER_MODULE", "/opt/other/player.so", 1);
  EXPECT_EQ(PlayerSite::modulePath(), QStringLiteral("/opt/other/player.so"));
  ::unsetenv("TUNELARK_PLAYER_MODULE");
  EXPECT_EQ(PlayerSite::modulePath(),
            QCoreApplication::applicationDirPath() + QStringLiteral("/libtunelark_player.so"));
}

}  // namespace
}  // namespace tunelark::qt::testing
