// The sinks. What every sink promises the engine, checked on each alike: it pulls once started,
// also after a decoder that is late at first; a pause holds it still and a resume goes on; after
// stop it never touches the source again; and it starts again. On the test environment's
// PulseAudio null sink, what the sinks that reach a server pull is heard there, at the server's
// pace, and not at all at zero volume. Then the sound server lost in mid-play, or never there.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QWidget>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "player/engine/null_sink.h"
#include "player/engine/wav_sink.h"
#include "player/module/display_text.h"
#include "player/module/hosted_player.h"
#include "player/module/pulse_direct_sink.h"
#include "player/module/qt_audio_sink.h"
#include "player/module/sound_output.h"
#include "sound_check.h"
#include "support/temp_dir.h"

namespace tunelark::module {
namespace {

using testing::pumpEvents;
using testing::SineSource;
using MakeSink = std::function<std::unique_ptr<engine::AudioSink>(const testing::TempDir&)>;

TEST(Sinks, EachPullsPausesStopsForGoodAndStartsAgain) {
  const std::string reason = testing::soundUnavailableReason();
  const std::tuple<const char*, bool, MakeSink> sinks[] = {
      {"Null", false, [](const auto&) { return std::make_unique<engine::NullSink>(); }},
      {"Wav", false,
       [](const auto& dir) {
         return std::make_unique<engine::WavSink>(dir.str() + "/out.wav",
                                                  engine::AudioFormat{8000, 1});
       }},
      {"Qt", true,
       [](const auto&) { return std::make_unique<QtAudioSink>(QtAudioSink::defaultOutput()); }},
      {"PulseDirect", true, [](const auto&) {
         return std::make_unique<PulseDirectSink>(engine::AudioFormat{44100, 2});
       }}};
  for (const auto& [name, server, make] : sinks) {
    SCOPED_TRACE(name);
    if (server && !reason.empty()) {
      std::cout << name << " left out: " << reason << std::endl;
      continue;
    }
    testing::TempDir dir;
    const auto sink = make(dir);
    std::optional<testing::MonitorRecording> recording;
    if (server) {
      ASSERT_TRUE(recording.emplace().started()) << "parec hears nothing";
    }
    SineSource source(sink->format(), 440, /*silentPulls=*/5);
    ASSERT_TRUE(sink->start(source)) << sink->error();
    pumpEvents(server ? 1500 : 3000, [&] { return !server && source.frames() > 0; });
    EXPECT_GT(source.frames(), 0u) << "nothing was pulled";
    if (server) {  // an unpaced sink would have taken minutes of sound
      EXPECT_LT(static_cast<double>(source.frames()) / sink->format().sampleRate, 2.5);
      testing::expectHeardTone(recording->finish(), 440);
    }

    sink->setPaused(true);
    pumpEvents(150);  // a pull under way may finish
    const auto paused = source.frames();
    pumpEvents(400);
    EXPECT_EQ(source.frames(), paused) << "pulled while paused";
    sink->setPaused(false);
    pumpEvents(3000, [&] { return source.frames() > paused; });
    EXPECT_GT(source.frames(), paused) << "did not resume";

    const auto before = std::chrono::steady_clock::now();
    sink->stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500));
    const int pulls = source.pulls();
    pumpEvents(300);
    EXPECT_EQ(source.pulls(), pulls) << "touched the source after stop";

    sink->setVolume(0);
    if (server) {
      ASSERT_TRUE(recording.emplace().started());
    }
    SineSource next(sink->format(), 660);
    ASSERT_TRUE(sink->start(next)) << sink->error();
    pumpEvents(server ? 800 : 3000, [&] { return !server && next.frames() > 0; });
    sink->stop();
    EXPECT_GT(next.frames(), 0u) << "a second start pulled nothing";
    if (server) {
      EXPECT_LT(testing::rms(recording->finish()), 50) << "sounded at zero volume";
    }
    EXPECT_FALSE(sink->failed()) << sink->error();
  }
}

// A start that finds no device fails with a reason, touches nothing, and is no lost device.
TEST(Sinks, WithoutADeviceOrAServerStartFailsAndSaysWhy) {
  testing::TempDir dir;
  const char* saved = std::getenv("PULSE_SERVER");
  ::setenv("PULSE_SERVER", ("unix:" + dir.str() + "/no-server").c_str(), 1);
  const std::tuple<const char*, bool, std::unique_ptr<engine::AudioSink>> sinks[] = {
      {"Qt", false, std::make_unique<QtAudioSink>(QAudioDevice())},
      {"PulseDirect", true, std::make_unique<PulseDirectSink>(engine::AudioFormat{44100, 2})}};
  for (const auto& [name, hasDevice, sink] : sinks) {
    SCOPED_TRACE(name);
    SineSource source(sink->format(), 440);
    EXPECT_EQ(sink->hasDevice(), hasDevice);
    EXPECT_FALSE(sink->start(source));
    EXPECT_FALSE(sink->error().empty());
    EXPECT_EQ(source.pulls(), 0);
  }
  EXPECT_FALSE(std::get<2>(sinks[0])->failed()) << "a start that never happened is no lost device";
  EXPECT_NE(std::get<2>(sinks[1])->error().find("sound server cannot be reached"),
            std::string::npos);
  if (saved) ::setenv("PULSE_SERVER", saved, 1);
}

TEST(Sinks, TheOutputPrefersQtWhileQtHasTheServer) {
  const std::string reason = testing::soundUnavailableReason();
  if (!reason.empty()) GTEST_SKIP() << reason;
  ASSERT_TRUE(QtAudioSink::outputAvailable()) << "the test sound server lists no output";
  SoundOutput output;
  SineSource source(output.format(), 440);
  EXPECT_EQ(output.route(), SoundOutput::Route::None);
  ASSERT_TRUE(output.start(source)) << output.error();
  EXPECT_EQ(output.route(), SoundOutput::Route::Qt);
  output.stop();
  EXPECT_EQ(output.route(), SoundOutput::Route::None);
}

constexpr const char* kChildSwitch = "TUNELARK_MODULE_CHILD_CASE";

// Runs pactl against the server at `address`; its output, or "" when it failed.
QByteArray pactl(const QString& address, const QStringList& args) {
  QProcess pactl;
  QProcessEnvironment client = QProcessEnvironment::systemEnvironment();
  client.insert("PULSE_SERVER", address);
  pactl.setProcessEnvironment(client);
  pactl.start("pactl", args);
  if (!pactl.waitForFinished(5000) || pactl.exitCode() != 0) return {};
  return pactl.readAllStandardOutput().trimmed();
}

// A PulseAudio server with one null sink on a private socket, started and killed at will.
class PrivateSoundServer {
 public:
  explicit PrivateSoundServer(const std::string& runtimeDir)
      : runtime_(QString::fromStdString(runtimeDir)) {
    QFile::setPermissions(runtime_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir().mkpath(runtime_ + "/home");
  }
  ~PrivateSoundServer() { kill(); }
  QString address() const { return "unix:" + runtime_ + "/pulse/native"; }

  bool start() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", runtime_);
    environment.insert("HOME", runtime_ + "/home");
    environment.remove("PULSE_SERVER");
    server_.setProcessEnvironment(environment);
    server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server_.setStandardOutputFile(QProcess::nullDevice());
    server_.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                                 "--load=module-native-protocol-unix",
                                 "--load=module-null-sink sink_name=lost_and_found",
                                 "--load=module-always-sink", "--log-level=0"});
    if (!server_.waitForStarted(5000)) return false;
    for (int i = 0; i < 100; ++i, pumpEvents(100))
      if (!pactl(address(), {"info"}).isEmpty()) return true;
    return false;
  }
  // Gone at once, as a crashed server is: no goodbye to its clients.
  void kill() {
    if (server_.state() == QProcess::NotRunning) return;
    server_.kill();
    server_.waitForFinished(5000);
  }

 private:
  QString runtime_;
  QProcess server_;
};

// How long the server stays away; negative: it is never there. Qt 6.4's backend tries once more
// three seconds after a loss and then gives up; a server back after that is reached by the
// module's own stream.
struct Outage {
  const char* name;
  int milliseconds;
};

class SoundServerLoss : public ::testing::TestWithParam<Outage> {};

// The parent runs and kills a PulseAudio server of its own; the child (this binary, one disabled
// test) plays into it and prints each stage it reaches.
TEST_P(SoundServerLoss, StopsWithAMessageAndPlaysAgainWhenTheServerIsBack) {
  testing::TempDir runtime;
  PrivateSoundServer server(runtime.str());
  const bool never = GetParam().milliseconds < 0;
  ASSERT_TRUE(never || server.start()) << "pulseaudio could not be started";
  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(kChildSwitch, never ? "no-server" : "server-loss");
  environment.insert("PULSE_SERVER", server.address());
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  child.setProcessEnvironment(environment);
  child.setProcessChannelMode(QProcess::MergedChannels);
  QByteArray said;
  QObject::connect(&child, &QProcess::readyRead, [&] { said += child.readAll(); });
  child.start(QCoreApplication::applicationFilePath(),
              {"--gtest_also_run_disabled_tests",
               "--gtest_filter=ChildProcess.DISABLED_PlaysThroughLossOfTheSoundServer"});
  const auto waitFor = [&](const char* stage, int ms) {
    pumpEvents(ms, [&] { return said.contains(stage) || child.state() == QProcess::NotRunning; });
    return said.contains(stage);
  };
  if (!never) {
    ASSERT_TRUE(waitFor("@@playing@@", 30000)) << said.toStdString();
    server.kill();
    ASSERT_TRUE(waitFor("@@stopped@@", 15000)) << said.toStdString();
    pumpEvents(GetParam().milliseconds);
    ASSERT_TRUE(server.start());
    ASSERT_TRUE(waitFor("@@playing again@@", 30000)) << said.toStdString();
    EXPECT_FALSE(pactl(server.address(), {"list", "short", "sink-inputs"}).isEmpty())
        << "the sound does not go to the server that came back";
  }
  pumpEvents(30000, [&] { return child.state() == QProcess::NotRunning; });
  said += child.readAll();
  EXPECT_EQ(child.state(), QProcess::NotRunning);
  EXPECT_EQ(child.exitCode(), 0) << said.toStdString();
  EXPECT_TRUE(said.contains("[  PASSED  ] 1 test")) << said.toStdString();
  child.kill();
  child.waitForFinished();
}

INSTANTIATE_TEST_SUITE_P(Outages, SoundServerLoss,
                         ::testing::Values(Outage{"NeverThere", -1}, Outage{"BackAtOnce", 0},
                                           Outage{"BackAfterQtGaveUp", 6000}),
                         [](const auto& p) { return std::string(p.param.name); });

// The child's half of the test above, disabled in a normal run. With no server at all it plays
// on the clock and says so.
TEST(ChildProcess, DISABLED_PlaysThroughLossOfTheSoundServer) {
  const std::string which = std::getenv(kChildSwitch) ? std::getenv(kChildSwitch) : "";
  ASSERT_TRUE(which == "server-loss" || which == "no-server") << "runs only as a child process";
  testing::TempDir dir;
  const std::string clip = testing::makeTone(dir.str() + "/tone.rm", 440, 60);
  QWidget window;
  HostedPlayer player(makeOutputSink(), &window);
  const auto status = [&] { return player.engine().status(); };
  const auto playingOnDevice = [&] {
    const auto s = status();
    return s.state == engine::PlayState::Playing && !s.noDevice && s.elapsedSeconds > 0.2;
  };
  const DisplayText& text = player.playerDisplay()->text();
  player.control().setAutoStart(true);
  player.control().setSource("file:" + clip);
  if (which == "no-server") {
    pumpEvents(1500);
    EXPECT_EQ(status().state, engine::PlayState::Playing);
    EXPECT_NE(text.state.find("no sound device"), std::string::npos) << text.state;
    EXPECT_GT(status().elapsedSeconds, 0.5) << "on the clock, the position moves";
    return;
  }
  pumpEvents(10000, playingOnDevice);
  ASSERT_TRUE(playingOnDevice()) << module::messageText(status().message);
  std::cout << "@@playing@@" << std::endl;

  pumpEvents(10000, [&] { return status().state == engine::PlayState::Stopped; });
  ASSERT_EQ(status().state, engine::PlayState::Stopped);
  EXPECT_TRUE(text.error);
  EXPECT_NE(text.message.find("sound server"), std::string::npos) << text.message;
  std::cout << "@@stopped@@" << std::endl;

  // Play as a user would, until the sound goes to the device again; the null sink takes sound
  // in bursts, so a play that reached the server is given time.
  for (int attempt = 0; attempt < 20 && !playingOnDevice(); ++attempt) {
    const auto s = status();
    if (s.state != engine::PlayState::Playing || s.noDevice) {
      if (s.state != engine::PlayState::Stopped) player.control().stop();
      player.control().playPause();
    }
    pumpEvents(1000, playingOnDevice);
  }
  ASSERT_TRUE(playingOnDevice()) << module::messageText(status().message);
  std::cout << "@@playing again@@" << std::endl;
  pumpEvents(2000);  // while the parent looks at the server's streams
  EXPECT_EQ(status().state, engine::PlayState::Playing) << module::messageText(status().message);
  player.control().stop();
}

}  // namespace
}  // namespace tunelark::module
