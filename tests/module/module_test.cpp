// The player module: its sinks, the sound server lost in mid-play or never there, the built
// module loaded as the window does, the component hosted on the test environment's PulseAudio
// null sink with the sound module loaded at the first play, and the display widget with what it
// says. Clips are made by the ffmpeg command; what reached the server is recorded from its
// monitor with parec.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLibrary>
#include <QMouseEvent>
#include <QPointer>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <limits>
#include <memory>
#include <numbers>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "player/engine/null_sink.h"
#include "player/engine/wav_sink.h"
#include "player/module/display_text.h"
#include "player/module/hosted_player.h"
#include "player/module/lazy_sound.h"
#include "player/module/level_bar.h"
#include "player/module/player_display.h"
#include "player/module/player_module_api.h"
#include "player/module/pulse_direct_sink.h"
#include "player/module/qt_audio_sink.h"
#include "player/module/sound_output.h"
#include "support/environment.h"
#include "support/temp_dir.h"
#include "support/tones.h"

namespace tunelark::testing {
namespace {

// Runs the Qt event loop for `ms` milliseconds, or until `done` returns true.
void pumpEvents(int ms, const std::function<bool()>& done = {}) {
  done ? (void)QTest::qWaitFor(done, ms) : QTest::qWait(ms);
}

std::string testSink() {
  return std::getenv("TUNELARK_TEST_SINK") ? std::getenv("TUNELARK_TEST_SINK") : "";
}

// Why sound tests cannot run here ("" when they can): no display, no sound server, no sink.
std::string soundUnavailableReason() {
  if (!std::getenv("DISPLAY")) return "no X display (run under scripts/test-env)";
  if (!std::getenv("PULSE_SERVER") || testSink().empty())
    return "no PulseAudio test sink (run under scripts/test-env)";
  return "";
}

// Whether a recording holds the tone `hertz` and no other near it.
bool heardOnly(const SinkRecording& recording, int hertz) {
  return tonesHeard(recording.samples(), {hertz - 110, hertz, hertz + 110}) == std::vector{hertz};
}

// Nothing for the first `silentPulls` pulls (a decoder that is late), then a sine; counts what
// it handed out.
class SineSource : public engine::SampleSource {
 public:
  SineSource(engine::AudioFormat format, double hertz, int silentPulls = 0)
      : format_(format), hertz_(hertz), silentPulls_(silentPulls) {}

  std::size_t pull(std::int16_t* out, std::size_t frames) override {
    ++pulls_;
    if (silentPulls_ > 0) {
      --silentPulls_;
      return 0;
    }
    for (std::size_t i = 0; i < frames; ++i) {
      const double t = static_cast<double>(phase_++) / format_.sampleRate;
      const auto value =
          static_cast<std::int16_t>(12000 * std::sin(2 * std::numbers::pi * hertz_ * t));
      for (int c = 0; c < format_.channels; ++c) *out++ = value;
    }
    frames_ += frames;
    return frames;
  }
  int pulls() const { return pulls_; }
  std::uint64_t frames() const { return frames_; }

 private:
  engine::AudioFormat format_;
  double hertz_;
  int silentPulls_;
  std::atomic<int> pulls_{0};
  std::atomic<std::uint64_t> frames_{0};
  std::uint64_t phase_ = 0;
};

}  // namespace
}  // namespace tunelark::testing

namespace tunelark::module {
namespace {

using testing::pumpEvents;
using testing::SineSource;

using MakeSink = std::function<std::unique_ptr<engine::AudioSink>(const testing::TempDir&)>;

// The sinks. What every sink promises the engine, checked on each alike: it pulls once started,
// also after a decoder that is late at first; a pause holds it still and a resume goes on; after
// stop it never touches the source again; and it starts again. On the test environment's
// PulseAudio null sink, what the sinks that reach a server pull is heard there, at the server's
// pace, and not at all at zero volume.
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
      {"PulseDirect", true,
       [](const auto&) {
         return std::make_unique<PulseDirectSink>(engine::AudioFormat{44100, 2});
       }},
      // The outputs the player really uses: they must keep a volume set while stopped.
      {"SoundOutput", true, [](const auto&) { return std::make_unique<SoundOutput>(); }},
      {"LazySound", true, [](const auto&) { return std::make_unique<LazySound>(); }}};
  for (const auto& [name, server, make] : sinks) {
    SCOPED_TRACE(name);
    if (server && !reason.empty()) {  // inside the test environment the server must be there
      if (::tunelark::testing::insideTestEnvironment())
        ADD_FAILURE() << name << " left out: " << reason;
      std::cout << name << " left out: " << reason << std::endl;
      continue;
    }
    testing::TempDir dir;
    const auto sink = make(dir);
    std::optional<testing::SinkRecording> recording;
    if (server) {
      ASSERT_TRUE(recording.emplace(dir.str() + "/heard.raw").started()) << "parec hears nothing";
    }
    SineSource source(sink->format(), 440, /*silentPulls=*/5);
    ASSERT_TRUE(sink->start(source)) << sink->error();
    pumpEvents(server ? 1500 : 3000, [&] { return !server && source.frames() > 0; });
    EXPECT_GT(source.frames(), 0u) << "nothing was pulled";
    if (server) {  // an unpaced sink would have taken minutes of sound
      EXPECT_LT(static_cast<double>(source.frames()) / sink->format().sampleRate, 2.5);
      EXPECT_TRUE(testing::heardOnly(*recording, 440)) << "the sound server heard no tone";
    }

    // Pause and stop are silent at the server at once: what it heard after each is measured
    // from what the monitor had recorded when the call returned.
    std::size_t recorded = 0;
    const auto heardUntilNow = [&] { recorded = server ? recording->samples().size() : 0; };
    const auto heardSince = [&](const char* call) {
      if (!server) return;
      const double seconds = testing::soundAfter(recording->samples(), recorded);
      std::cout << name << ": sound at the server " << std::lround(seconds * 1000) << " ms after "
                << call << std::endl;
      EXPECT_LT(seconds, 0.05) << "heard after " << call;
    };
    sink->setPaused(true);
    heardUntilNow();
    pumpEvents(150);  // a pull under way may finish
    const auto paused = source.frames();
    pumpEvents(400);
    EXPECT_EQ(source.frames(), paused) << "pulled while paused";
    heardSince("pause");
    sink->setPaused(false);
    pumpEvents(3000, [&] { return source.frames() > paused; });
    EXPECT_GT(source.frames(), paused) << "did not resume";
    if (server)  // the stop below is measured against sound
      pumpEvents(3000, [&] { return testing::soundAfter(recording->samples(), recorded) > 0.5; });

    const auto before = std::chrono::steady_clock::now();
    sink->stop();
    heardUntilNow();
    // A stop that waits on the device at all would take seconds; the margin holds under the
    // sanitizers on two busy cores.
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    const int pulls = source.pulls();
    pumpEvents(300);
    EXPECT_EQ(source.pulls(), pulls) << "touched the source after stop";
    heardSince("stop");

    sink->setVolume(0);
    if (server) {
      ASSERT_TRUE(recording.emplace(dir.str() + "/muted.raw").started());
    }
    SineSource next(sink->format(), 660);
    ASSERT_TRUE(sink->start(next)) << sink->error();
    pumpEvents(server ? 800 : 3000, [&] { return !server && next.frames() > 0; });
    sink->stop();
    EXPECT_GT(next.frames(), 0u) << "a second start pulled nothing";
    if (server) {
      EXPECT_TRUE(testing::tonesHeard(recording->samples(), {660}).empty())
          << "sounded at zero volume";
    }
    EXPECT_FALSE(sink->failed()) << sink->error();
  }
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
// The parent runs and kills a PulseAudio server of its own; the child (this binary, one disabled
// test) plays into it and prints each stage it reaches.
TEST(SoundServerLoss, StopsWithAMessageAndPlaysAgainWhenTheServerIsBack) {
  for (const int outage : {-1, 0, 6000}) {
    SCOPED_TRACE("outage " + std::to_string(outage) + " ms");
    [outage] {
      testing::TempDir runtime;
      PrivateSoundServer server(runtime.str());
      const bool never = outage < 0;
      ASSERT_TRUE(never || server.start()) << "pulseaudio could not be started";
      QProcess child;
      QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
      environment.insert(kChildSwitch, never ? "no-server" : "server-loss");
      environment.insert("PULSE_SERVER", server.address());
      environment.insert("QT_QPA_PLATFORM", "offscreen");
      environment.remove("GTEST_OUTPUT");  // the child's one case is this test's, not a report's
      child.setProcessEnvironment(environment);
      child.setProcessChannelMode(QProcess::MergedChannels);
      QByteArray said;
      QObject::connect(&child, &QProcess::readyRead, [&] { said += child.readAll(); });
      child.start(QCoreApplication::applicationFilePath(),
                  {"--gtest_also_run_disabled_tests",
                   "--gtest_filter=ChildProcess.DISABLED_PlaysThroughLossOfTheSoundServer"});
      const auto waitFor = [&](const char* stage, int ms) {
        pumpEvents(ms,
                   [&] { return said.contains(stage) || child.state() == QProcess::NotRunning; });
        return said.contains(stage);
      };
      if (!never) {
        ASSERT_TRUE(waitFor("@@playing@@", 30000)) << said.toStdString();
        server.kill();
        ASSERT_TRUE(waitFor("@@stopped@@", 15000)) << said.toStdString();
        pumpEvents(outage);
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
    }();
  }
}

// The child's half of the test above, disabled in a normal run. With no server at all it plays
// on the clock and says so.
TEST(ChildProcess, DISABLED_PlaysThroughLossOfTheSoundServer) {
  const std::string which = std::getenv(kChildSwitch) ? std::getenv(kChildSwitch) : "";
  ASSERT_TRUE(which == "server-loss" || which == "no-server") << "runs only as a child process";
  testing::TempDir dir;
  const std::string clip = testing::makeTone(dir.str() + "/tone.rm", 60);
  QWidget window;
  HostedPlayer player(makeOutputSink(), &window);
  const auto status = [&] { return player.engine().status(); };
  const auto playingOnDevice = [&] {
    const auto s = status();
    return s.state == engine::PlayState::Playing && !s.noDevice && s.elapsedSeconds > 0.2;
  };
  const DisplayText& text = qobject_cast<PlayerDisplay*>(player.display())->text();
  player.control().setAutoStart(true);
  player.control().setSource("file:" + clip);
  if (which == "no-server") {
    pumpEvents(10000, [&] {
      return text.state.find("no sound device") != std::string::npos &&
             status().elapsedSeconds > 0.5;
    });
    EXPECT_EQ(status().state, engine::PlayState::Playing);
    EXPECT_NE(text.state.find("no sound device"), std::string::npos) << text.state;
    EXPECT_NE(text.message.find("sound server cannot be reached"), std::string::npos)
        << text.message;
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
  EXPECT_FALSE(text.error) << "the lost server is still reported: " << text.message;
  std::cout << "@@playing again@@" << std::endl;
  pumpEvents(2000);  // while the parent looks at the server's streams
  EXPECT_EQ(status().state, engine::PlayState::Playing) << module::messageText(status().message);
  player.control().stop();
}

using engine::PlayState;

// The built module as the window loads it: one exported factory, a display in the given widget.
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

// A bar of a player's display, found by the name a screen reader reads.
LevelBar& barNamed(const QWidget& display, const char* name) {
  for (LevelBar* bar : display.findChildren<LevelBar*>())
    if (bar->accessibleName() == QLatin1String(name)) return *bar;
  throw std::runtime_error(std::string("no bar named ") + name);
}

// The component on the test sound server. The sound module is loaded at the first play; one
// that cannot be loaded leaves the player on the clock, saying why. The real one plays a clip
// that is heard there, to its end; the display shows the length, seeks on a click once it knows
// the length, shows the next clip at once, polls often only while playing, names a failing clip,
// and the host may delete the display first.
TEST(HostedPlayer, PlaysShowsAndSeeksAsTheWindowHostsIt) {
  const std::string reason = testing::soundUnavailableReason();
  if (!reason.empty()) TUNELARK_NEEDS(reason);
  testing::TempDir dir;
  const auto tone = [&](const std::string& name, int hertz, int seconds) {
    return testing::makeTone(dir.str() + "/" + name, seconds, hertz);
  };
  QWidget window;
  std::unique_ptr<HostedPlayer> player;
  const auto shown = [&]() -> const DisplayText& {
    return qobject_cast<PlayerDisplay*>(player->display())->text();
  };
  const auto status = [&] { return player->engine().status(); };
  const std::string clip = tone("tone.rm", 440, 2);
  for (const std::string& module : {dir.str() + "/libtunelark_sound.so", std::string()}) {
    SCOPED_TRACE(module);
    auto owned = std::make_unique<LazySound>(module);
    LazySound& sound = *owned;
    player = std::make_unique<HostedPlayer>(std::move(owned), &window);
    EXPECT_FALSE(sound.loaded()) << "nothing is loaded before the first play";
    testing::SinkRecording recording(dir.str() + "/heard.raw");
    ASSERT_TRUE(recording.started()) << "parec heard nothing from the test sink";
    player->control().setAutoStart(true);
    player->control().setSource("file:" + clip);
    pumpEvents(10000, [&] {
      return status().state == PlayState::Playing &&
             (module.empty() ? sound.loaded() && status().elapsedSeconds > 0.5 : status().noDevice);
    });
    EXPECT_EQ(status().state, PlayState::Playing);
    EXPECT_EQ(sound.loaded(), module.empty());
    EXPECT_EQ(status().noDevice, !module.empty());
    if (!module.empty()) {
      EXPECT_NE(status().message.detail.find("could not be loaded"), std::string::npos)
          << status().message.detail;
      continue;
    }
    EXPECT_EQ(shown().state, "Playing");
    EXPECT_TRUE(testing::heardOnly(recording, 440)) << "the sound server heard no tone";
    pumpEvents(6000, [&] { return status().state == PlayState::Stopped; });
    EXPECT_EQ(shown().state, "Stopped");
    EXPECT_EQ(shown().time.substr(0, 4), "0:00");
  }

  PlayerControl& control = player->control();
  control.setSource("file:" + tone("long.rm", 440, 20));
  pumpEvents(5000, [&] { return shown().time.find("/ --:--") == std::string::npos; });
  ASSERT_NE(shown().time.find("/ 0:20"), std::string::npos) << shown().time;
  EXPECT_EQ(shown().title, "long.rm");
  LevelBar& bar = barNamed(*player->display(), "Position");
  QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(1 + (bar.width() - 2) / 2, bar.height() / 2));
  EXPECT_NEAR(status().elapsedSeconds, 10, 1.0);
  pumpEvents(5000, [&] { return std::abs(bar.value() - 0.5) < 0.05; });
  EXPECT_NEAR(bar.value(), 0.5, 0.05);

  control.stop();
  control.setAutoStart(false);
  control.setSource(dir.write("two.ram", tone("a.rm", 440, 5) + "\n" + tone("b.rm", 550, 5)));
  EXPECT_EQ(shown().state, "Stopped") << "auto-start off loads without playing";
  EXPECT_EQ(player->findChild<QTimer*>()->interval(), HostedPlayer::kIdlePollMs);
  control.nextClip();
  EXPECT_EQ(shown().clip, "Clip 2 of 2");
  EXPECT_EQ(shown().title, "b.rm");
  control.playPause();
  EXPECT_EQ(player->findChild<QTimer*>()->interval(), HostedPlayer::kPlayingPollMs);
  control.playPause();
  EXPECT_EQ(shown().state, "Paused");
  EXPECT_EQ(player->findChild<QTimer*>()->interval(), HostedPlayer::kIdlePollMs);

  control.setAutoStart(true);
  control.setSource("file:" + dir.str() + "/missing-clip.rm");
  pumpEvents(3000, [&] { return shown().error; });
  EXPECT_NE(shown().message.find("missing-clip.rm"), std::string::npos) << shown().message;
  delete player->display();
  EXPECT_EQ(player->display(), nullptr);
  control.setSource("file:" + dir.str() + "/none.rm");
  player->refresh();
  player.reset();
}

engine::PlayerStatus clipOf(std::optional<double> total, double elapsed = 12.5) {
  engine::PlayerStatus status;
  status.state = PlayState::Playing;
  status.title = "Evening Tide";
  status.clipIndex = 2;
  status.clipCount = 3;
  status.elapsedSeconds = elapsed;
  status.totalSeconds = total;
  return status;
}

// What the display says for a status: times, "Clip i of n", the state, the problem shown.
TEST(DisplayText, TimesClipStateAndEachProblemInItsWords) {
  constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
  const std::pair<std::optional<double>, const char*> times[] = {
      {59.999, "0:59"},        {60.0, "1:00"},
      {185.4, "3:05"},         {3599.9, "59:59"},
      {3600.0, "1:00:00"},     {36061.0, "10:01:01"},
      {std::nullopt, "--:--"}, {-0.5, "--:--"},
      {kNan, "--:--"},         {std::numeric_limits<double>::infinity(), "--:--"}};
  for (const auto& [seconds, shown] : times) EXPECT_EQ(formatTime(seconds), shown);
  engine::PlayerStatus status = clipOf(std::nullopt);
  EXPECT_EQ(describe(status).title, "Evening Tide");
  EXPECT_EQ(describe(status).clip, "Clip 3 of 3");
  EXPECT_EQ(describe(status).time, "0:12 / --:--");  // an unknown total is never shown as zero
  EXPECT_FALSE(describe(status).error);
  status.totalSeconds = 0.0;
  EXPECT_EQ(describe(status).time, "0:12 / 0:00");
  status.title.clear();
  EXPECT_FALSE(describe(status).title.empty());
  EXPECT_EQ(describe(engine::PlayerStatus{}).title, "No clip");
  EXPECT_EQ(describe(engine::PlayerStatus{}).clip, "");
  const std::tuple<PlayState, bool, const char*> states[] = {
      {PlayState::Stopped, false, "Stopped"},
      {PlayState::Paused, false, "Paused"},
      {PlayState::Stopped, true, "Stopped - no sound device"},
      {PlayState::Playing, true, "Playing - no sound device"}};
  for (const auto& [state, noDevice, shown] : states) {
    status.state = state;
    status.noDevice = noDevice;
    EXPECT_EQ(describe(status).state, shown);
  }
  using engine::PlayerEvent;
  const std::pair<engine::PlayerMessage, std::string> problems[] = {
      {{PlayerEvent::ClipSkipped, "broken.rm", "not a clip"}, "Skipped \"broken.rm\": not a clip"},
      {{PlayerEvent::ClipEndedEarly, "a.rm", "damaged data"}, "\"a.rm\" ended early: damaged data"},
      {{PlayerEvent::ListShortened, "", "only the first 2 clips are played"},
       "only the first 2 clips are played"},
      {{PlayerEvent::NoDevice, "", ""}, "No sound device: playing silently"},
      {{PlayerEvent::NoDevice, "", "no server"}, "No sound device (no server): playing silently"},
      {{PlayerEvent::DeviceFailed, "", ""}, "Playback stopped: the sound device failed"},
      {{PlayerEvent::DeviceFailed, "", "server gone"}, "Playback stopped: server gone"},
  };
  for (const auto& [message, words] : problems) {
    status.message = message;
    EXPECT_TRUE(describe(status).error) << words;
    EXPECT_EQ(describe(status).message, words);
  }
  const std::tuple<double, std::optional<double>, double> progress[] = {
      {30, 120.0, 0.25}, {130, 120.0, 1}, {-3, 120.0, 0},  {30, std::nullopt, 0},
      {30, 0.0, 0},      {30, -5.0, 0},   {kNan, 120.0, 0}};
  for (const auto& [elapsed, total, fraction] : progress)
    EXPECT_DOUBLE_EQ(progressOf(clipOf(total, elapsed)), fraction) << elapsed;
}

QPoint at(const LevelBar& bar, double fraction) {
  return QPoint(1 + static_cast<int>(fraction * (bar.width() - 2)), bar.height() / 2);
}

void moveWithButton(QWidget& widget, QPoint point) {
  QMouseEvent move(QEvent::MouseMove, point, widget.mapToGlobal(point), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&widget, &move);
}

// A drag seeks once, where released, and holds against playback; nothing seeks while the total
// is unknown.
TEST(PlayerDisplay, DragSeeksOnceWhereReleasedOnlyWhenTheTotalIsKnownAndClicksSetTheVolume) {
  PlayerDisplay display;
  display.showStatus(clipOf(200.0, 50));
  LevelBar& bar = barNamed(display, "Position");
  EXPECT_DOUBLE_EQ(bar.value(), 0.25);
  QSignalSpy seeks(&display, &PlayerDisplay::seekRequested);
  QTest::mousePress(&bar, Qt::LeftButton, {}, at(bar, 0.1));
  moveWithButton(bar, at(bar, 0.5));
  display.showStatus(clipOf(200.0, 20));  // the poll goes on during the drag
  EXPECT_NEAR(bar.value(), 0.5, 0.01) << "playback moved the bar under the user's hand";
  moveWithButton(bar, at(bar, 0.8));
  EXPECT_TRUE(seeks.isEmpty()) << "seeking on every move would restart decoding each time";
  QTest::mouseRelease(&bar, Qt::LeftButton, {}, at(bar, 0.8));
  ASSERT_EQ(seeks.size(), 1);
  EXPECT_NEAR(seeks.at(0).at(0).toDouble(), 160, 1.5);
  display.showStatus(clipOf(std::nullopt));
  QTest::mouseClick(&bar, Qt::LeftButton, {}, at(bar, 0.5));
  EXPECT_EQ(seeks.size(), 1);
  EXPECT_DOUBLE_EQ(bar.value(), 0);
  // A click sets the volume within its limits.
  QSignalSpy changes(&display, &PlayerDisplay::volumeChanged);
  LevelBar& volume = barNamed(display, "Volume");
  for (const auto& [pressAt, level] : {std::pair{0.0, 0.0}, {0.5, 0.5}, {0.999, 1.0}}) {
    changes.clear();
    QTest::mouseClick(&volume, Qt::LeftButton, {},
                      QPoint(static_cast<int>(pressAt * volume.width()), volume.height() / 2));
    ASSERT_FALSE(changes.isEmpty()) << pressAt;
    EXPECT_NEAR(changes.last().at(0).toDouble(), level, 0.03);
  }
}

TEST(PlayerDisplay, LogoCornerStaysClearOfText) {
  PlayerDisplay display;
  engine::PlayerStatus status = clipOf(200.0);
  status.title = std::string(200, 'W');
  status.message = {engine::PlayerEvent::ClipSkipped, std::string(200, 'M'), "x"};
  display.showStatus(status);
  const QImage image = display.grab().toImage();
  PlayerDisplay empty;
  const QImage blank = empty.grab().toImage();
  int differing = 0;
  for (int y = 0; y < PlayerDisplay::kLogoHeight; ++y)
    for (int x = 0; x < PlayerDisplay::kLogoWidth; ++x)
      differing += image.pixel(x, y) != blank.pixel(x, y);
  EXPECT_EQ(differing, 0) << "the logo's corner is drawn on";
  int titlePixels = 0;  // the check can see text: the title row right of the corner differs
  for (int x = PlayerDisplay::kLogoWidth; x < PlayerDisplay::kWidth; ++x)
    titlePixels += image.pixel(x, 12) != blank.pixel(x, 12);
  EXPECT_GT(titlePixels, 0);
}

}  // namespace
}  // namespace tunelark::module

// A QApplication for the display widget and the sinks, which run on Qt's event loop; off
// screen outside the test environment, where the sound tests skip.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
