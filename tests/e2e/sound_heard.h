#pragma once
// What reached the sound server: the test sink's monitor recorded by parec into a file, and the
// tones heard in it, in order.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tunelark::e2e {

class SinkRecording {
 public:
  static constexpr int kRate = 8000;  // mono, 16-bit
  // Starts parec on $TUNELARK_TEST_SINK's monitor, writing to `file`, and waits until it records.
  explicit SinkRecording(std::string file);
  ~SinkRecording();
  SinkRecording(const SinkRecording&) = delete;
  SinkRecording& operator=(const SinkRecording&) = delete;

  bool started() const { return started_; }
  // Everything recorded so far.
  std::vector<std::int16_t> samples() const;

 private:
  std::string file_;
  pid_t pid_ = -1;
  bool started_ = false;
};

// For each quarter second of `samples` that holds a clear tone, whichever of `candidates` it is;
// a tone heard in several quarters in a row counts once. The last `seconds` only, when given.
std::vector<int> tonesHeard(const std::vector<std::int16_t>& samples,
                            const std::vector<int>& candidates, double seconds = 0);

}  // namespace tunelark::e2e
