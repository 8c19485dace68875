// The built module as the window loads it: found by file, one exported factory, a component
// whose display sits in the given widget; and the fallback when the system lists no sound
// device, checked in a child process whose sound server address leads nowhere.

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

TEST(PlayerModule, FactoryLoadsAndReturnsAComponentDrawnInTheGivenWidget) {
  QLibrary library(TUNELARK_PLAYER_MODULE_PATH);
  ASSERT_TRUE(library.load()) << library.errorString().toStdString();
  auto create = reinterpret_cast<TunelarkCreatePlayerFn>(library.resolve(TUNELARK_PLAYER_FACTORY));
  ASSERT_NE(create, nullptr);
  QWidget window;
  std::unique_ptr<PlayerComponent> component(create(&window));
  ASSERT_NE(component, nullptr);
  QPointer<QWidget> display = component->display();
  ASSERT_TRUE(display);
  EXPECT_EQ(display->parentWidget(), &window);
  EXPECT_EQ(display->size(), QSize(337, 105));
  component->control().setAutoStart(false);
  component->control().setSource("");
  component.reset();
  EXPECT_FALSE(display) << "the component owns its display";
}

TEST(PlayerModule, ExportsNothingButTheFactory) {
  QLibrary library(TUNELARK_PLAYER_MODULE_PATH);
  ASSERT_TRUE(library.load()) << library.errorString().toStdString();
  EXPECT_NE(library.resolve(TUNELARK_PLAYER_FACTORY), nullptr);
  // Mangled names of the module's own code, which must stay hidden inside it.
  EXPECT_EQ(library.resolve("_ZN8tunelark6module14makeOutputSinkEv"), nullptr);
  EXPECT_EQ(library.resolve("_ZN8tunelark6engine12PlayerEngine4pollEv"), nullptr);
}

// Runs one test of this binary in a child process with `environment` added; returns its output.
int runChild(const QString& test, const QProcessEnvironment& environment, QString* output) {
  QProcess child;
  child.setProcessEnvironment(environment);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(),
              {"--gtest_also_run_disabled_tests", "--gtest_filter=" + test});
  if (!child.waitForFinished(60000)) {
    child.kill();
    child.waitForFinished();
    return -1;
  }
  *output = QString::fromLocal8Bit(child.readAll());
  return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
}

constexpr const char* kChildSwitch = "TUNELARK_MODULE_CHILD_CASE";

TEST(PlayerModule, WithoutSoundDevicePlaysOnTheClockAndSaysSo) {
  testing::TempDir dir;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(kChildSwitch, "no-device");
  environment.insert("PULSE_SERVER", "unix:" + QString::fromStdString(dir.str()) + "/no-server");
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  QString output;
  const int code = runChild("ChildProcess.DISABLED_PlaysWithoutSoundDevice", environment, &output);
  EXPECT_EQ(code, 0) << output.toStdString();
  EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

// The child's half of the test above, disabled in a normal run: it needs a process whose sound
// server address leads nowhere.
TEST(ChildProcess, DISABLED_PlaysWithoutSoundDevice) {
  const char* which = std::getenv(kChildSwitch);
  ASSERT_TRUE(which && std::string(which) == "no-device") << "runs only as a child process";
  testing::TempDir dir;
  const std::string clip = dir.str() + "/tone.rm";
  ASSERT_TRUE(testing::runFfmpeg({"-f", "lavfi", "-i", "sine=frequency=440:duration=5", "-ar",
                                  "8000", "-ac", "1", "-c:a", "real_144", clip}));
  QWidget window;
  HostedPlayer player(makeOutputSink(), &window);
  player.control().setAutoStart(true);
  player.control().setSource("file:" + clip);
  testing::pumpEvents(1500);
  const DisplayText& text = player.playerDisplay()->text();
  EXPECT_EQ(player.engine().status().state, engine::PlayState::Playing);
  EXPECT_NE(text.state.find("no sound device"), std::string::npos) << text.state;
  // On the clock, the position still moves.
  EXPECT_GT(player.engine().status().elapsedSeconds, 0.5);
}

}  // namespace
}  // namespace tunelark::module
