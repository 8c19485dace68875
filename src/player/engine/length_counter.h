#pragma once
// Finds out how long clips are before playback reaches their end, so the display can show a
// total and the position bar can be used from the start. RealMedia headers often carry no
// usable length, so the clip is decoded (without resampling) on a thread of its own and its
// samples counted; the exact count the player makes when it reaches the end replaces it.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "player/engine/audio_sink.h"
#include "player/engine/clip.h"
#include "player/engine/latest_job_thread.h"

namespace tunelark::engine {

class LengthCounter {
 public:
  // Asked before a clip is counted: true when its length is already known.
  using Known = std::function<bool(std::uint64_t list, int clip)>;
  // Called on the counting thread with a clip's length in frames at the sink's rate.
  using Found = std::function<void(std::uint64_t list, int clip, std::int64_t frames)>;

  LengthCounter(AudioFormat format, Known known, Found found);
  ~LengthCounter();
  LengthCounter(const LengthCounter&) = delete;
  LengthCounter& operator=(const LengthCounter&) = delete;

  // Counts clip `from` and the few after it that are local files, dropping earlier requests.
  void measure(std::shared_ptr<const std::vector<Clip>> clips, std::uint64_t list, int from);
  void cancel();

  // Clips counted ahead of the one asked for.
  static constexpr int kLookAhead = 2;

 private:
  struct Request {
    std::shared_ptr<const std::vector<Clip>> clips;
    std::uint64_t list = 0;
    int from = 0;
  };
  void count(const Request& request, std::uint64_t generation);

  const AudioFormat format_;
  const Known known_;
  const Found found_;

  LatestJobThread<Request> jobs_;  // last: its thread starts once everything above exists
};

}  // namespace tunelark::engine
