// How long setting a 100,000-line .ram as the source takes on the UI thread: reading, parsing,
// and cutting the list to the clip limit. Prints the median of N runs.
//
//   bench_engine_resolve [runs]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <vector>

#include "engine/bench_clips.h"
#include "player/engine/null_sink.h"
#include "player/engine/player_engine.h"

int main(int argc, char** argv) {
  using namespace tunelark;
  using Clock = std::chrono::steady_clock;
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  bench::ScratchFolder scratch;
  const auto ram = scratch.path("huge.ram");
  {
    std::ofstream out(ram, std::ios::binary);
    for (int i = 0; i < 100000; ++i)
      out << "file:/music/album" << i % 97 << "/clip" << i << ".rm\r\n";
  }
  std::vector<double> ms;
  int clips = 0;
  for (int i = 0; i < runs; ++i) {
    engine::PlayerEngine player(std::make_unique<engine::NullSink>());
    player.setAutoStart(false);
    const auto begin = Clock::now();
    player.setSource(ram);
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
    clips = player.status().clipCount;
  }
  std::printf("100,000-line .ram to a list of %d clips: median %.1f ms over %d runs\n", clips,
              bench::median(ms), runs);
  return 0;
}
