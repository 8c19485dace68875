#pragma once
// What the tests need to hear what reached the sound server: clips made by the ffmpeg command,
// a recording of the test sink's monitor made by parec, and the loudest frequency in it.

#include <QProcess>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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

}  // namespace tunelark::testing
