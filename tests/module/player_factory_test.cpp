// The built module as the window loads it: one exported factory and a component whose display
// sits in the given widget; and the fallback when the system lists no sound device, checked in a
// child process whose sound server address leads nowhere.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLibrary>
#include <QPointer>
#include <QProcess>
#include <QWidget>
#include <cstdlib>

#include "player/module/hosted_player.h"
#include "player/module/player_module_api.h"
#include "sound_check.h"
#include "support/temp_dir.h"

namespace tunelark::module {
namespace {

constexpr const char* kChildSwitch = "TUNELARK_MODULE_CHILD_CASE";

TEST(PlayerModule, FactoryAloneIsExportedAndDrawsInTheGivenWidget) {
  QLibrary library(TUNELARK_PLAYER_MODULE_PATH);
  ASSERT_TRUE(library.load()) << library.errorString().toStdString();
  // Mangled names of the module's own code, which must stay hidden inside it.
  EXPECT_EQ(library.resolve("_ZN8tunelark6module14makeOutputSinkEv"), nullptr);
  EXPECT_EQ(library.resolve("_ZN8tunelark6engine12PlayerEngine4pollEv"), nullptr);
  auto create = reinterpret_cast<TunelarkCreatePlayerFn>(library.resolve(TUNELARK_PLAYER_FACTORY));
  ASSERT_NE(create, nullptr);
  QWidget window;
  std::unique_ptr<PlayerComponent> component(create(&window));
  ASSERT_NE(component, nullptr);
  QPointer<QWidget> display = component->display();
  ASSERT_TRUE(display);
  EXPECT_EQ(display->parentWidget(), &window);
  EXPECT_EQ(display->size(), QSize(337, 105));
  component.reset();
  EXPECT_FALSE(display) << "the component owns its display";
}

TEST(PlayerModule, WithoutSoundDevicePlaysOnTheClockAndSaysSo) {
  testing::TempDir dir;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(kChildSwitch, "no-device");
  environment.insert("PULSE_SERVER", "unix:" + QString::fromStdString(dir.str()) + "/no-server");
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  QProcess child;
  child.setProcessEnvironment(environment);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(),
              {"--gtest_also_run_disabled_tests",
               "--gtest_filter=ChildProcess.DISABLED_PlaysWithoutSoundDevice"});
  if (!child.waitForFinished(60000)) child.kill();
  const std::string output = child.readAll().toStdString();
  EXPECT_EQ(child.exitCode(), 0) << output;
  EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

// The child's half of the test above, disabled in a normal run.
TEST(ChildProcess, DISABLED_PlaysWithoutSoundDevice) {
  const char* which = std::getenv(kChildSwitch);
  ASSERT_TRUE(which && std::string(which) == "no-device") << "runs only as a child process";
  testing::TempDir dir;
  const std::string clip = testing::makeTone(dir.str() + "/tone.rm", 440, 5);
  QWidget window;
  HostedPlayer player(makeOutputSink(), &window);
  player.control().setAutoStart(true);
  player.control().setSource("file:" + clip);
  testing::pumpEvents(1500);
  const DisplayText& text = player.playerDisplay()->text();
  EXPECT_EQ(player.engine().status().state, engine::PlayState::Playing);
  EXPECT_NE(text.state.find("no sound device"), std::string::npos) << text.state;
  EXPECT_GT(player.engine().status().elapsedSeconds, 0.5) << "on the clock, the position moves";
}

}  // namespace
}  // namespace tunelark::module
