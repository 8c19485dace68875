// The player as the window drives it: the six operations and seeking on the clock, titles, the
// sound device missing or lost, a silent server, the buffer between worker and sink, and random
// operations from the UI thread.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <future>
#include <limits>
#include <memory>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "engine/engine_fixtures.h"
#include "player/engine/null_sink.h"
#include "player/engine/player_engine.h"
#include "player/engine/sample_buffer.h"
#include "player/engine/wav_sink.h"
#include "support/temp_dir.h"

namespace tunelark::engine {
namespace {

using testing::TempDir;
using testing::ToneSpec;

enum class Op {
  AutoStart,
  AutoStartOff,
  Load,
  Empty,
  PlayPause,
  Stop,
  Next,
  Previous,
  Seek,
  Wait,
  Hold
};

// One operation and the status it leaves: state, clip and where in it, from `lo` to `hi` seconds.
struct Step {
  Op op;
  double arg;
  PlayState state;
  int clip;
  double lo = 0;
  double hi = 5.0;
};

constexpr auto kStop = PlayState::Stopped, kPlay = PlayState::Playing, kPause = PlayState::Paused;
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

const Step kScript[] = {
    {Op::AutoStartOff, 0, kStop, 0, 0, 0},
    {Op::Load, 0, kStop, 0, 0, 0},
    {Op::Next, 0, kStop, 1, 0, 0},  // while stopped, next and previous only choose the clip
    {Op::Next, 0, kStop, 2, 0, 0},
    {Op::Previous, 0, kStop, 1, 0, 0},
    {Op::AutoStart, 0, kPlay, 1, 0, 0.1},  // plays what was loaded
    {Op::Wait, 0.05, kPlay, 1, 0.05},
    {Op::Stop, 0, kStop, 1, 0, 0},       // back to the start of the current clip
    {Op::AutoStart, 0, kStop, 1, 0, 0},  // but not after a stop
    {Op::Load, 0, kStop, 1, 0, 0},       // the same source again changes nothing
    {Op::Empty, 0, kStop, 0, 0, 0},
    {Op::PlayPause, 0, kStop, 0, 0, 0},  // nothing to play
    {Op::Load, 0, kPlay, 0, 0, 0.1},
    {Op::Wait, 0.1, kPlay, 0, 0.1},
    {Op::PlayPause, 0, kPause, 0, 0.1},
    {Op::Hold, 0, kPause, 0, 0.1},  // a pause holds the position
    {Op::PlayPause, 0, kPlay, 0, 0.1},
    {Op::Wait, 0.2, kPlay, 0, 0.2},
    {Op::PlayPause, 0, kPause, 0, 0.2},
    {Op::Next, 0, kPause, 1, 0, 0},  // a pause survives moving to another clip
    {Op::PlayPause, 0, kPlay, 1, 0, 0.1},
    {Op::Next, 0, kPlay, 2, 0, 0.1},
    {Op::Next, 0, kPlay, 2, 0, 0.1},  // the list's edges stop next and previous
    {Op::Previous, 0, kPlay, 1, 0, 0.1},
    {Op::Previous, 0, kPlay, 0, 0, 0.1},
    {Op::Previous, 0, kPlay, 0, 0, 0.1},
    {Op::Next, 0, kPlay, 1, 0, 0.1},
    {Op::Seek, 3.5, kPlay, 1, 3.5, 4.0},
    {Op::Previous, 0, kPlay, 1, 0, 0.5},  // late in a clip, previous restarts it
    {Op::Seek, 2.5, kPlay, 1, 2.5, 3.0},
    {Op::Previous, 0, kPlay, 0, 0, 0.5},  // early, it goes back
    {Op::Seek, 2.0, kPlay, 0, 2.0, 2.5},
    {Op::Wait, 2.05, kPlay, 0, 2.05, 3.0},
    {Op::Seek, -5, kPlay, 0, 0, 0.5},
    {Op::Seek, kNan, kPlay, 0, 0, 0.5},  // junk positions change nothing or stay in bounds
    {Op::Seek, kInf, kPlay, 0, 0, 0.5},
    {Op::Seek, -kInf, kPlay, 0, 0, 0.5},
    {Op::Seek, 1e300, kPlay, 0, 0, 86400},
    {Op::Seek, -1e300, kPlay, 0, 0, 0.5},
    {Op::Stop, 0, kStop, 0, 0, 0},
    {Op::Seek, 60, kStop, 0, 4.95, 5.05},  // past the end, once counted, is the end
    {Op::Next, 0, kStop, 1, 0, 0},
    {Op::PlayPause, 0, kPlay, 1, 0, 0.1},
};

// Three five-second clips in a .ram, played on the clock.
TEST(Operations, EachOperationLeavesTheStatusItShould) {
  TempDir dir;
  for (const auto* name : {"one", "two", "three"})
    testing::makeTone(dir.str() + "/" + name + ".rm", ToneSpec{"real_144", 8000, 1, 5.0, 440, ""});
  const auto ram =
      dir.write("three.ram", "one.rm?title=One\r\ntwo.rm?title=Two\r\nthree.rm?title=Three\r\n");
  PlayerEngine player{std::make_unique<NullSink>(AudioFormat{8000, 1})};
  const auto counted = [&] { return player.status().totalSeconds.has_value(); };
  bool loaded = false;
  for (std::size_t i = 0; i < std::size(kScript); ++i) {
    const Step& step = kScript[i];
    SCOPED_TRACE("step " + std::to_string(i));
    const double before = player.status().elapsedSeconds;
    switch (step.op) {
      case Op::AutoStart:
        player.setAutoStart(true);
        break;
      case Op::AutoStartOff:
        player.setAutoStart(false);
        break;
      case Op::Load:
        player.setSource(ram), loaded = true;
        break;
      case Op::Empty:
        player.setSource(""), loaded = false;
        break;
      case Op::PlayPause:
        player.playPause();
        break;
      case Op::Stop:
        player.stop();
        break;
      case Op::Next:
        player.nextClip();
        break;
      case Op::Previous:
        player.previousClip();
        break;
      case Op::Seek:
        ASSERT_TRUE(step.arg < 60 || testing::pollUntil(player, counted));
        player.seek(step.arg);
        break;
      case Op::Wait:
        EXPECT_TRUE(
            testing::pollUntil(player, [&] { return player.status().elapsedSeconds >= step.arg; }));
        break;
      case Op::Hold:
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(player.status().elapsedSeconds, before);
        break;
    }
    const auto s = player.status();
    EXPECT_EQ(s.state, step.state);
    EXPECT_EQ(s.clipIndex, step.clip);
    EXPECT_GE(s.elapsedSeconds, step.lo);
    EXPECT_LE(s.elapsedSeconds, step.hi);
    EXPECT_EQ(s.clipCount, loaded ? 3 : 0);
    const char* const titles[] = {"One", "Two", "Three"};
    EXPECT_EQ(s.title, loaded ? titles[s.clipIndex] : "");
  }
  ASSERT_TRUE(testing::pollUntil(player, counted));
  EXPECT_NEAR(*player.status().totalSeconds, 5.0, 0.05);
}

TEST(Titles, MetadataThenParameterThenFileName) {
  TempDir dir;
  testing::makeTone(dir.str() + "/tagged.rm", ToneSpec{"real_144", 8000, 1, 1, 440, "Morning"});
  testing::makeTone(dir.str() + "/plain.rm");
  PlayerEngine player(std::make_unique<NullSink>(AudioFormat{8000, 1}));
  for (const auto& [clip, title] : {std::pair{"tagged.rm?title=Param", "Morning"},
                                    {"plain.rm?title=Param", "Param"},
                                    {"plain.rm", "plain.rm"}}) {
    player.setSource("file:" + dir.str() + "/" + clip);
    EXPECT_TRUE(testing::pollUntil(player, [&] { return player.status().title == title; }))
        << clip << " shows " << player.status().title;
  }
}

// A sound server cannot be made to vanish from an engine test, so this sink stands in for one:
// it pulls like the others and fails once it has taken `failAfter` frames of its first start.
class VanishingSink : public ThreadedSink {
 public:
  explicit VanishingSink(std::int64_t failAfter)
      : ThreadedSink(AudioFormat{8000, 1}, Pacing::AsFastAsPossible), failAfter_(failAfter) {}
  ~VanishingSink() override { stopThread(); }
  bool hasDevice() const override { return true; }
  int starts() const { return starts_; }
  std::int64_t frames() const { return frames_; }

 protected:
  bool open() override {
    ++starts_;
    frames_ = 0;
    return true;
  }
  bool consume(const std::int16_t*, std::size_t frames) override {
    frames_ += static_cast<std::int64_t>(frames);
    if (starts_ == 1 && frames_ >= failAfter_) {
      fail("the sound server went away");
      return false;
    }
    return true;
  }

 private:
  const std::int64_t failAfter_;
  std::atomic<int> starts_{0};
  std::atomic<std::int64_t> frames_{0};
};

// Without a device the player goes on the clock and says so, unless the null sink was chosen; a
// device lost while playing stops it with the device's message, and play tries the device again.
TEST(Sinks, NoDeviceFallsBackToTheClockAndALostDeviceStopsPlayback) {
  TempDir dir;
  const auto clip = dir.str() + "/tone.rm";
  testing::makeTone(clip, ToneSpec{"real_144", 8000, 1, 2.0, 440, ""});
  for (const bool chosen : {false, true}) {
    SCOPED_TRACE(chosen ? "null sink" : "no device");
    PlayerEngine player(
        chosen ? std::unique_ptr<AudioSink>(std::make_unique<NullSink>())
               : std::make_unique<WavSink>(dir.str() + "/no/such/out.wav", AudioFormat{8000, 1}));
    player.setSource(clip);
    EXPECT_EQ(player.status().state, PlayState::Playing);
    EXPECT_TRUE(player.status().noDevice);
    EXPECT_EQ(player.status().message.what, chosen ? PlayerEvent::None : PlayerEvent::NoDevice);
    EXPECT_TRUE(testing::pollUntil(player, [&] { return player.status().elapsedSeconds > 0.1; }));
    player.stop();
    EXPECT_FALSE(player.status().noDevice);
  }
  auto owned = std::make_unique<VanishingSink>(4000);
  auto* sink = owned.get();
  PlayerEngine player(std::move(owned));
  player.setSource(clip);
  ASSERT_TRUE(testing::pollUntilStopped(player));
  EXPECT_EQ(player.status().message,
            (PlayerMessage{PlayerEvent::DeviceFailed, "", "the sound server went away"}));
  EXPECT_EQ(sink->starts(), 1);
  player.playPause();
  EXPECT_EQ(player.status().state, PlayState::Playing);
  EXPECT_FALSE(player.status().noDevice);
  EXPECT_EQ(player.status().message, PlayerMessage{});
  ASSERT_TRUE(testing::pollUntilStopped(player));
  EXPECT_EQ(sink->starts(), 2);
  EXPECT_EQ(sink->frames(), testing::ffmpegDecodedFrames(clip, 1));
}

// A local server that accepts connections and never answers.
class SilentServer {
 public:
  SilentServer() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof addr;
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), size) != 0 ||
        ::listen(fd_, 8) != 0 || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &size)) {
      throw std::runtime_error("cannot listen");
    }
    port_ = ntohs(addr.sin_port);
  }
  ~SilentServer() { ::close(fd_); }
  std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/a.rm"; }
  bool contacted() const {  // a connection waits to be accepted
    pollfd waiting{fd_, POLLIN, 0};
    return ::poll(&waiting, 1, 0) == 1;
  }

 private:
  int fd_ = -1;
  int port_ = 0;
};

// A network clip is not fetched just to count it; a silent server is given up when the deadline
// passes, and a stop while waiting returns at once.
TEST(NetworkDeadline, ASilentServerIsGivenUpAtTheDeadlineOrAtAStop) {
  SilentServer server;
  EngineOptions options;
  options.networkTimeout = std::chrono::milliseconds(300);
  {
    PlayerEngine player(std::make_unique<NullSink>(AudioFormat{8000, 1}), options);
    player.setAutoStart(false);
    player.setSource(server.url());
    testing::pollUntil(
        player, [] { return false; }, std::chrono::milliseconds(300));
    EXPECT_FALSE(server.contacted());
  }
  {
    PlayerEngine player(std::make_unique<WavSink>("/dev/null", AudioFormat{8000, 1}), options);
    player.setSource(server.url());
    ASSERT_TRUE(testing::pollUntilStopped(player, std::chrono::seconds(5)));
    EXPECT_NE(player.status().message.detail.find("did not answer in time"), std::string::npos);
  }
  options.networkTimeout = std::chrono::seconds(60);
  const auto begin = std::chrono::steady_clock::now();
  {
    PlayerEngine player(std::make_unique<WavSink>("/dev/null", AudioFormat{8000, 1}), options);
    player.setSource(server.url());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    player.stop();
    player.setSource("");
  }  // the destructor joins the worker, which was waiting on the server
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(30));
}

// The buffer between worker and sink: positions follow what was pulled, clip marks move the
// position to the next clip exactly at the join, and a reset drops what an old epoch wrote.
std::vector<std::int16_t> ramp(std::size_t samples, std::int16_t from = 0) {
  std::vector<std::int16_t> v(samples);
  std::iota(v.begin(), v.end(), from);
  return v;
}

TEST(SampleBuffer, PositionCountsPulledFramesAndMovesToTheNextClipExactlyAtTheJoin) {
  SampleBuffer buffer(AudioFormat{8000, 2}, 64);
  const auto epoch = buffer.reset(2, 50);
  ASSERT_TRUE(buffer.beginClip(epoch, 2, 50));
  const auto first = ramp(10 * 2), second = ramp(6 * 2, 100);
  ASSERT_TRUE(buffer.write(epoch, first.data(), 10));
  ASSERT_TRUE(buffer.beginClip(epoch, 3, 0));
  ASSERT_TRUE(buffer.write(epoch, second.data(), 6));
  std::vector<std::int16_t> out(2 * 16);
  ASSERT_EQ(buffer.pull(out.data(), 4), 4u);
  EXPECT_EQ(buffer.position().clip, 2);
  EXPECT_EQ(buffer.position().frames, 54);
  // One pull spanning the join hands over both clips' frames with nothing between.
  ASSERT_EQ(buffer.pull(out.data() + 8, 8), 8u);
  EXPECT_EQ(std::vector<std::int16_t>(out.begin(), out.begin() + 20), first);
  EXPECT_EQ(out[20], 100);
  EXPECT_EQ(buffer.position().clip, 3);
  EXPECT_EQ(buffer.position().frames, 2);
  buffer.finish(epoch);  // drained only once the end is marked and everything pulled
  EXPECT_FALSE(buffer.position().drained);
  ASSERT_EQ(buffer.pull(out.data(), 16), 4u);
  EXPECT_TRUE(buffer.position().drained);
}

TEST(SampleBuffer, AResetOrACloseDropsAnOldEpochAndReleasesAWaitingWriter) {
  for (const bool close : {false, true}) {
    SCOPED_TRACE(close ? "close" : "reset");
    SampleBuffer buffer(AudioFormat{8000, 1}, 8);
    const auto old = buffer.reset(0, 0);
    const auto data = ramp(32);
    auto written =
        std::async(std::launch::async, [&] { return buffer.write(old, data.data(), 32); });
    // The writer fills the 8 frames and waits; only the reset or close lets it return.
    EXPECT_TRUE(buffer.waitForSamples(std::chrono::seconds(5)));
    const auto current = close ? old : buffer.reset(1, 0);
    if (close) buffer.close();
    if (written.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
      ADD_FAILURE() << "the writer was not released";
      buffer.close();
    }
    EXPECT_FALSE(written.get());
    std::vector<std::int16_t> out(8);
    // A reset drops what the old epoch wrote; a close leaves it to be pulled.
    EXPECT_EQ(buffer.pull(out.data(), 8), close ? 8u : 0u);
    EXPECT_FALSE(buffer.beginClip(old, 0, 0));
    EXPECT_EQ(buffer.write(current, data.data(), 4), !close);
    EXPECT_EQ(buffer.pull(out.data(), 8), close ? 0u : 4u);
  }
}

// Thousands of random operations from the UI thread while the worker decodes and the sink
// pulls: nothing crashes, hangs or races (this runs under ThreadSanitizer too), and the status
// always describes a position that exists.
TEST(Stress, RandomOperationsLeaveAConsistentPlayer) {
  TempDir dir;
  testing::makeTone(dir.str() + "/a.rm", ToneSpec{"real_144", 8000, 1, 0.6, 440, ""});
  testing::makeTone(dir.str() + "/b.rm", ToneSpec{"ac3", 48000, 2, 0.4, 550, ""});
  const std::vector<std::string> sources = {
      dir.write("list.ram", "a.rm\r\nmissing.rm\r\nb.rm\r\ncache:a.rm\r\na.rm\r\n"),
      dir.write("one.ram", "b.rm\r\n"),
      "file:" + dir.str() + "/a.rm",
      "",
      "concat:" + dir.str() + "/a.rm",
      dir.str() + "/missing.ram",
  };
  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  SCOPED_TRACE("seed " + std::to_string(seed));

  const auto makeSink = [&]() -> std::unique_ptr<AudioSink> {
    const auto which = random() % 3;  // the last cannot start: the player goes on the clock
    if (which == 0) return std::make_unique<NullSink>(AudioFormat{8000, 1});
    return std::make_unique<WavSink>(dir.str() + (which == 1 ? "/out.wav" : "/none/out.wav"),
                                     AudioFormat{22050, 2});
  };
  auto player = std::make_unique<PlayerEngine>(makeSink());
  const std::vector<std::function<void()>> operations = {
      [&] { player->setSource(sources[random() % sources.size()]); },
      [&] { player->setAutoStart(random() % 2); },
      [&] { player->playPause(); },
      [&] { player->playPause(); },
      [&] { player->stop(); },
      [&] { player->nextClip(); },
      [&] { player->previousClip(); },
      [&] { player->seek(random() % 50 == 0 ? 1e9 : static_cast<double>(random() % 1000) / 1e3); },
      [&] { player->setVolume(static_cast<double>(random() % 11) / 10.0); },
      [&] {
        if (random() % 20 == 0) player = std::make_unique<PlayerEngine>(makeSink());
      },
      [&] { player->poll(); },
      [&] { player->poll(); }};
  for (int step = 0; step < 5000; ++step) {
    operations[random() % operations.size()]();
    const auto s = player->status();
    ASSERT_GE(s.clipIndex, 0) << "step " << step;
    ASSERT_TRUE(s.clipCount == 0 ? s.clipIndex == 0 : s.clipIndex < s.clipCount) << "step " << step;
    ASSERT_GE(s.elapsedSeconds, 0) << "step " << step;
    ASSERT_TRUE(s.clipCount > 0 || s.state == PlayState::Stopped) << "step " << step;
  }
  // Whatever state it was left in, a fresh source plays to its end.
  player->setSource("");
  player->setAutoStart(true);
  player->setSource(sources[1]);
  EXPECT_TRUE(testing::pollUntilStopped(*player, std::chrono::seconds(20)));
}

}  // namespace
}  // namespace tunelark::engine
