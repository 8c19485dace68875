#pragma once
// Sine-tone clips made by the ffmpeg command, and the tones heard on the sound server: the test
// sink's monitor recorded by parec into a file.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tunelark::testing {

struct ToneClip {
  std::string codec = "real_144";  // as ffmpeg's -c:a names it
  int sampleRate = 8000;
  int channels = 1;
  double seconds = 1.0;
  int frequency = 440;
  std::string title;  // written as the clip's metadata title when not empty
  int opening = 0;    // when not 0, the clip's first second is a tone of this frequency
};

// Makes the clip at `path` (which holds no quote) and returns the path; throws when ffmpeg fails.
std::string makeTone(const std::string& path, const ToneClip& tone);
// A RealAudio 1.0 tone at 8 kHz mono.
inline std::string makeTone(const std::string& path, double seconds = 1, int hertz = 440) {
  return makeTone(path, ToneClip{"real_144", 8000, 1, seconds, hertz, "", 0});
}

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

// Seconds of sound in `samples` from sample `from` on: up to the last one above the noise floor.
double soundAfter(const std::vector<std::int16_t>& samples, std::size_t from);

// For each quarter second of `samples` that holds a clear tone, whichever of `candidates` it is;
// a tone heard in several quarters in a row counts once. The last `seconds` only, when given.
std::vector<int> tonesHeard(const std::vector<std::int16_t>& samples,
                            const std::vector<int>& candidates, double seconds = 0);

}  // namespace tunelark::testing
