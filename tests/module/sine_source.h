#pragma once
// Stands in for the engine's buffer in sink tests: a steady sine, optionally nothing for the
// first pulls (a decoder that is late), counting what it handed out.

#include <atomic>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "player/engine/audio_sink.h"

namespace tunelark::testing {

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

}  // namespace tunelark::testing
