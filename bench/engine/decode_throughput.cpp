// Decode throughput: how long the engine takes to decode a 5-minute AC-3 .rm through the WAV
// sink without the clock, against `ffmpeg -v error -i CLIP -f null -` on the same clip. Prints
// the median of several runs of each and the ratio (ffmpeg's time / the engine's; 1.0 means
// as fast as ffmpeg).
//
//   bench_engine_throughput [runs] [clip]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/bench_clips.h"
#include "player/engine/player_engine.h"
#include "player/engine/wav_sink.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace tunelark;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double ffmpegSeconds(const std::string& clip) {
  const auto begin = Clock::now();
  bench::run("ffmpeg -nostdin -v error -i '" + clip + "' -f null -");
  return seconds(Clock::now() - begin);
}

double engineSeconds(const std::string& clip, const std::string& out, std::int64_t& frames) {
  engine::WavSink* sink = nullptr;
  const auto begin = Clock::now();
  {
    auto owned = std::make_unique<engine::WavSink>(out, engine::AudioFormat{44100, 2});
    sink = owned.get();
    engine::PlayerEngine player(std::move(owned));
    player.setSource("file:" + clip);
    while (player.status().state != engine::PlayState::Stopped) {
      player.poll();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    frames = sink->framesWritten();
  }
  return seconds(Clock::now() - begin);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  bench::ScratchFolder scratch;
  std::string clip = argc > 2 ? argv[2] : scratch.path("five-minutes.rm");
  if (argc <= 2) {
    bench::run(
        "ffmpeg -nostdin -v error -f lavfi -i sine=frequency=440:duration=300 -ar 44100 "
        "-ac 2 -c:a ac3 '" +
        clip + "'");
  }
  std::vector<double> ffmpeg, toFile, toNull;
  std::int64_t frames = 0;
  std::int64_t nullFrames = 0;
  for (int i = 0; i < runs; ++i) {
    ffmpeg.push_back(ffmpegSeconds(clip));
    toFile.push_back(engineSeconds(clip, scratch.path("out.wav"), frames));
    // The same with the WAV data going to /dev/null: what decoding costs without the disk.
    toNull.push_back(engineSeconds(clip, "/dev/null", nullFrames));
  }
  const double f = bench::median(ffmpeg);
  const double e = bench::median(toFile);
  const double n = bench::median(toNull);
  std::printf("clip: %s\n", clip.c_str());
  std::printf("frames written by the engine: %lld (%.1f s of sound)\n",
              static_cast<long long>(frames), static_cast<double>(frames) / 44100.0);
  std::printf("ffmpeg -f null:          median %.3f s over %d runs\n", f, runs);
  std::printf("engine to a WAV file:    median %.3f s, ratio %.2f\n", e, f / e);
  std::printf("engine to WAV /dev/null: median %.3f s, ratio %.2f\n", n, f / n);
  std::printf("ratio = ffmpeg time / engine time (target >= 0.9)\n");
  return 0;
}
