#pragma once
// What the tests need to hear what reached the sound server: clips made by the ffmpeg command,
// a recording of the test sink's monitor made by parec, and the loudest frequency in it; and a
// steady sine standing in for the engine's buffer in sink tests.

#include <QProcess>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "player/engine/audio_sink.h"

namespace tunelark::testing {

// Makes a sine clip in RealAudio 1.0 at `path` with ffmpeg and returns the path.
std::string makeTone(const std::string& path, int hertz, int seconds);

// Why sound tests cannot run here ("" when they can): no display, no sound server, no sink.
std::string soundUnavailableReason();

// Records the test sink ($TUNELARK_TEST_SINK)'s monitor as 8000 Hz mono s16 while it lives.
class MonitorRecording {
 public:
  static constexpr int kRate = 8000;
  MonitorRecording();  // returns once parec delivers sound, if it does: see started()
  ~MonitorRecording();
  bool started() const;
  std::vector<std::int16_t> finish();  // stops and returns every sample heard

 private:
  std::unique_ptr<QProcess> parec_;
  bool ready_ = false;
};

// Runs the Qt event loop for `ms` milliseconds, or until `done` returns true.
void pumpEvents(int ms, const std::function<bool()>& done = {});

double rms(const std::vector<std::int16_t>& samples);
// Checks that a recording holds half a second of a clear tone within 5 Hz of `hertz`.
void expectHeardTone(const std::vector<std::int16_t>& heard, int hertz);

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

}  // namespace tunelark::testing
