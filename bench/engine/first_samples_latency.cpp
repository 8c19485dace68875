// Latency from play to the first samples handed to the sink, for a local clip: the Play
// button's sequence (source "", then the clip, with auto-start on), timed until the sink's
// thread receives its first frames. Prints the median and spread of N runs.
//
//   bench_engine_latency [runs]

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "engine/bench_clips.h"
#include "player/engine/player_engine.h"
#include "player/engine/threaded_sink.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace tunelark;

// Pulls as a sound card callback would (without the clock) and notes when sound first came.
class FirstSamplesSink : public engine::ThreadedSink {
 public:
  FirstSamplesSink()
      : ThreadedSink(engine::AudioFormat{44100, 2}, engine::Pacing::AsFastAsPossible) {}
  ~FirstSamplesSink() override { stopThread(); }
  bool hasDevice() const override { return true; }
  bool arrived() const { return arrived_; }
  Clock::time_point when() const { return when_; }

 protected:
  bool consume(const std::int16_t*, std::size_t frames) override {
    if (frames > 0 && !arrived_) {
      when_ = Clock::now();
      arrived_ = true;
    }
    return true;
  }

 private:
  std::atomic<bool> arrived_{false};
  Clock::time_point when_;  // written before arrived_ is set, read after it is seen
};

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
  bench::ScratchFolder scratch;
  struct Clip {
    const char* label;
    std::string path;
  };
  std::vector<Clip> clips = {{"RealAudio 1.0 .rm", scratch.path("ra.rm")},
                             {"AC-3 .rm", scratch.path("ac3.rm")}};
  bench::run("ffmpeg -nostdin -v error -f lavfi -i sine=duration=30 -ar 8000 -ac 1 -c:a real_144 " +
             clips[0].path);
  bench::run("ffmpeg -nostdin -v error -f lavfi -i sine=duration=30 -ar 44100 -ac 2 -c:a ac3 " +
             clips[1].path);
  for (const auto& clip : clips) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
      auto owned = std::make_unique<FirstSamplesSink>();
      auto* sink = owned.get();
      engine::PlayerEngine player(std::move(owned));
      const auto begin = Clock::now();
      player.setSource("");
      player.setSource("file:" + clip.path);
      while (!sink->arrived()) std::this_thread::sleep_for(std::chrono::microseconds(100));
      ms.push_back(std::chrono::duration<double, std::milli>(sink->when() - begin).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf(
        "%-18s play to first samples: median %.2f ms, min %.2f, max %.2f over %d runs "
        "(target median < 30 ms)\n",
        clip.label, bench::median(ms), ms.front(), ms.back(), runs);
  }
  return 0;
}
