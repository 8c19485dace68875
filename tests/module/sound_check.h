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

// Runs `ffmpeg -v error -y` with `args`; true when it succeeded.
bool runFfmpeg(const std::vector<std::string>& args);

// The sink the test environment made, from $TUNELARK_TEST_SINK; "" outside it.
std::string testSink();
// Why sound tests cannot run here ("" when they can): no display, no sound server, no sink.
std::string soundUnavailableReason();

// Records the test sink's monitor as 8000 Hz mono s16 while it lives.
class MonitorRecording {
 public:
  static constexpr int kRate = 8000;
  // Returns once parec delivers sound (started() says whether it does).
  MonitorRecording();
  ~MonitorRecording();
  bool started() const;
  // Stops recording and returns every sample heard.
  std::vector<std::int16_t> finish();

 private:
  std::unique_ptr<QProcess> parec_;
  bool ready_ = false;  // parec delivers sound
};

// Runs the Qt event loop for `ms` milliseconds, or until `done` returns true.
void pumpEvents(int ms, const std::function<bool()>& done = {});

// The frequency (whole hertz, from `low` to `high`) with the most energy in `samples`.
int strongestFrequency(const std::vector<std::int16_t>& samples, int rate, int low, int high);
double rms(const std::vector<std::int16_t>& samples);
// Checks (as test expectations) that a monitor recording holds at least half a second of a
// clear tone within 5 Hz of `hertz`.
void expectHeardTone(const std::vector<std::int16_t>& heard, int hertz);

}  // namespace tunelark::testing
