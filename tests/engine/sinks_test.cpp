// What the player does when its sink cannot start or fails while playing, and when it waits on a
// server that never answers.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "engine/engine_fixtures.h"
#include "player/engine/null_sink.h"
#include "player/engine/player_engine.h"
#include "player/engine/wav_sink.h"
#include "support/temp_dir.h"

namespace tunelark::engine {
namespace {

using testing::TempDir;
using testing::ToneSpec;

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

TEST(SinkFallback, NoDeviceFallsBackToTheClockAndSaysSoUnlessTheNullSinkWasChosen) {
  TempDir dir;
  const auto clip = dir.str() + "/tone.rm";
  testing::makeTone(clip, ToneSpec{"real_144", 8000, 1, 3.0, 440, ""});
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
}

TEST(SinkFailure, LostDeviceStopsWithItsMessageAndPlayTriesTheDeviceAgain) {
  TempDir dir;
  const auto clip = dir.str() + "/tone.rm";
  testing::makeTone(clip, ToneSpec{"real_144", 8000, 1, 2.0, 440, ""});
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

}  // namespace
}  // namespace tunelark::engine
