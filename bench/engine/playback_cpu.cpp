// CPU time and memory of the engine alone while it plays a 5-minute AC-3 .rm on the clock (the
// null sink stands in for the sound card), and how long a seek near the clip's end takes to
// bring sound back. Prints CPU seconds per 20 s of playback, peak resident memory, and the
// median seek latency.
//
//   bench_engine_cpu [seconds of playback]

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "engine/bench_clips.h"
#include "player/engine/null_sink.h"
#include "player/engine/player_engine.h"
#include "player/engine/threaded_sink.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace tunelark;

double cpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long peakResidentKib() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Counts the frames it has been handed, pulling as fast as they come.
class CountingSink : public engine::ThreadedSink {
 public:
  CountingSink() : ThreadedSink(engine::AudioFormat{44100, 2}, engine::Pacing::AsFastAsPossible) {}
  ~CountingSink() override { stopThread(); }
  bool hasDevice() const override { return true; }
  std::int64_t frames() const { return frames_; }

 protected:
  bool consume(const std::int16_t*, std::size_t frames) override {
    frames_ += static_cast<std::int64_t>(frames);
    return true;
  }

 private:
  std::atomic<std::int64_t> frames_{0};
};

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  bench::ScratchFolder scratch;
  const auto clip = scratch.path("five-minutes.rm");
  bench::run(
      "ffmpeg -nostdin -v error -f lavfi -i sine=frequency=440:duration=300 -ar 44100 "
      "-ac 2 -c:a ac3 " +
      clip);

  {
    // Loaded, not played: all the work is counting the clip's length ahead.
    engine::PlayerEngine player(std::make_unique<engine::NullSink>(engine::AudioFormat{44100, 2}));
    player.setAutoStart(false);
    const double before = cpuSeconds();
    const auto begin = Clock::now();
    player.setSource("file:" + clip);
    while (!player.status().totalSeconds) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::printf("counting the clip's length ahead: %.3f CPU s, %.1f ms, total %.2f s\n",
                cpuSeconds() - before,
                std::chrono::duration<double, std::milli>(Clock::now() - begin).count(),
                *player.status().totalSeconds);
  }
  {
    engine::PlayerEngine player(std::make_unique<engine::NullSink>(engine::AudioFormat{44100, 2}));
    const double before = cpuSeconds();
    player.setSource("file:" + clip);
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    while (Clock::now() < end) {
      player.poll();  // as the display's timer would, 10 times a second
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const double used = cpuSeconds() - before;
    std::printf("playing on the clock: %.3f CPU s over %d s, %.3f CPU s per 20 s; played %.1f s\n",
                used, seconds, used * 20.0 / seconds, player.status().elapsedSeconds);
  }
  std::printf("peak resident memory of this process: %.1f MiB\n", peakResidentKib() / 1024.0);

  std::vector<double> ms;
  for (int i = 0; i < 9; ++i) {
    auto owned = std::make_unique<CountingSink>();
    auto* sink = owned.get();
    engine::PlayerEngine player(std::move(owned));
    player.setSource("file:" + clip);
    while (sink->frames() == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
    const auto begin = Clock::now();
    player.seek(290);
    const auto start = player.status().elapsedSeconds;
    while (player.status().elapsedSeconds <= start) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
  }
  std::printf("seek to 4:50 in the 5-minute clip until sound goes on: median %.1f ms\n",
              bench::median(ms));
  return 0;
}
