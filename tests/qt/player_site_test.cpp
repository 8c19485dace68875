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

// A module that is absent, no library, without a factory, whose factory fails, or that needs a
// symbol nobody defines.
struct BrokenModule {
  const char* what;
  const char* module;    // a stand-in module; none: player.so in the test's folder
  const char* contents;  // of that player.so; none: there is no such file
};

class BrokenPlayerModule : public WindowTest, public ::testing::WithParamInterface<BrokenModule> {};

TEST_P(BrokenPlayerModule, LeavesAWorkingWindowThatSaysSo) {
  const BrokenModule& m = GetParam();
  window->show();
  QString path = QString::fromStdString(dir.str() + "/player.so");
  if (m.module) path = testModule(m.module);
  if (m.contents) dir.write("player.so", m.contents);
  EXPECT_FALSE(window->playerSite().load(path).isEmpty());
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
    ::testing::Values(BrokenModule{"Absent", nullptr, nullptr},
                      BrokenModule{"NotAModule", nullptr, "not a library\n"},
                      BrokenModule{"NoFactory", "no_factory_player", nullptr},
                      BrokenModule{"FactoryFails", "null_factory_player", nullptr},
                      BrokenModule{"UnresolvedSymbol", "unresolved_player", nullptr}),
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
