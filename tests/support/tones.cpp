#include "support/tones.h"

#include <signal.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <numbers>
#include <span>
#include <stdexcept>

#include "support/shell.h"
#include "support/temp_dir.h"

namespace tunelark::testing {

std::string makeTone(const std::string& path, const ToneClip& tone) {
  const auto sine = [](int hertz, double seconds) {
    return " -f lavfi -i sine=frequency=" + std::to_string(hertz) +
           ":duration=" + std::to_string(seconds);
  };
  std::string command = "ffmpeg -nostdin -v error -y";
  if (tone.opening != 0) {
    command += sine(tone.opening, 1) + sine(tone.frequency, tone.seconds - 1) +
               " -filter_complex concat=n=2:v=0:a=1";
  } else {
    command += sine(tone.frequency, tone.seconds);
  }
  command += " -ar " + std::to_string(tone.sampleRate) + " -ac " + std::to_string(tone.channels) +
             " -c:a " + tone.codec;
  if (!tone.title.empty()) command += " -metadata title='" + tone.title + "'";
  command += " '" + path + "'";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("ffmpeg failed: " + command);
  return path;
}

SinkRecording::SinkRecording(std::string file) : file_(std::move(file)) {
  const char* sink = std::getenv("TUNELARK_TEST_SINK");
  if (!sink) return;
  // A short latency: with its default parec holds seconds of sound before writing any, and what
  // has been written at a moment is what the sink played up to a few milliseconds before it.
  const auto pid = capture("parec --latency-msec=10 -d " + std::string(sink) +
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
  const std::string bytes = readFile(file_);
  std::vector<std::int16_t> out(bytes.size() / 2);
  std::memcpy(out.data(), bytes.data(), out.size() * 2);
  return out;
}

namespace {

// How much of one frequency a stretch holds: a single Goertzel filter.
double tonePower(std::span<const std::int16_t> samples, double hertz, int rate) {
  const double coefficient = 2 * std::cos(2 * std::numbers::pi * hertz / rate);
  double s1 = 0, s2 = 0;
  for (const std::int16_t sample : samples) {
    const double s0 = sample + coefficient * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  return s1 * s1 + s2 * s2 - coefficient * s1 * s2;
}

}  // namespace

double soundAfter(const std::vector<std::int16_t>& samples, std::size_t from) {
  constexpr int kNoiseFloor = 100;  // the null sink's monitor is exactly 0 where nothing plays
  std::size_t end = from;
  for (std::size_t at = from; at < samples.size(); ++at)
    if (std::abs(samples[at]) > kNoiseFloor) end = at + 1;
  return static_cast<double>(end - from) / SinkRecording::kRate;
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
      const double power = tonePower(heard.subspan(at, kQuarter), hertz, SinkRecording::kRate);
      if (power > most) {
        most = power;
        loudest = hertz;
      }
    }
    if (loudest != 0 && (tones.empty() || tones.back() != loudest)) tones.push_back(loudest);
  }
  return tones;
}

}  // namespace tunelark::testing
