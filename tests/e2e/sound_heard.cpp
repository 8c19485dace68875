#include "sound_heard.h"

#include <signal.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <span>

#include "running_program.h"
#include "support/temp_dir.h"
#include "support/tone_power.h"

namespace tunelark::e2e {

SinkRecording::SinkRecording(std::string file) : file_(std::move(file)) {
  const char* sink = std::getenv("TUNELARK_TEST_SINK");
  if (!sink) return;
  // A short latency: with its default parec holds seconds of sound before writing any.
  const auto pid = capture("parec --latency-msec=50 -d " + std::string(sink) +
                           ".monitor --format=s16le --rate=" + std::to_string(kRate) +
                           " --channels=1 >" + file_ + " 2>/dev/null & echo $!");
  if (!pid) return;
  pid_ = std::atoi(pid->c_str());
  // The null sink's monitor delivers silence while nothing plays: sound means it is recording.
  started_ = pid_ > 0 && waitFor([&] {
               std::error_code ec;
               return std::filesystem::file_size(file_, ec) > 0 && !ec;
             });
}

SinkRecording::~SinkRecording() {
  if (pid_ > 0) ::kill(pid_, SIGTERM);
}

std::vector<std::int16_t> SinkRecording::samples() const {
  const std::string bytes = tunelark::testing::readFile(file_);
  std::vector<std::int16_t> out(bytes.size() / 2);
  std::memcpy(out.data(), bytes.data(), out.size() * 2);
  return out;
}

std::vector<int> tonesHeard(const std::vector<std::int16_t>& samples,
                            const std::vector<int>& candidates, double seconds) {
  constexpr std::size_t kQuarter = SinkRecording::kRate / 4;
  // A sine of amplitude A gives a filter power of (A * N / 2)^2 over N samples: at least
  // amplitude 1000, well above any codec noise and far below the clips' level.
  constexpr double kClear = (1000.0 * kQuarter / 2) * (1000.0 * kQuarter / 2);
  std::span<const std::int16_t> heard(samples);
  const auto wanted = static_cast<std::size_t>(seconds * SinkRecording::kRate);
  if (seconds > 0 && heard.size() > wanted) heard = heard.last(wanted);
  std::vector<int> tones;
  for (std::size_t at = 0; at + kQuarter <= heard.size(); at += kQuarter) {
    int loudest = 0;
    double most = kClear;
    for (const int hertz : candidates) {
      const double power =
          tunelark::testing::tonePower(heard.subspan(at, kQuarter), hertz, SinkRecording::kRate);
      if (power > most) {
        most = power;
        loudest = hertz;
      }
    }
    if (loudest != 0 && (tones.empty() || tones.back() != loudest)) tones.push_back(loudest);
  }
  return tones;
}

}  // namespace tunelark::e2e
