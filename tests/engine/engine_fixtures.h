#pragma once
// What the engine's tests share: clips made by the ffmpeg command at test time, the sound ffmpeg
// itself decodes from a clip, WAV files read back, and waiting on the player with poll().

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include "player/engine/player_engine.h"

namespace tunelark::testing {

struct ToneSpec {
  std::string codec = "real_144";  // as ffmpeg's -c:a names it
  int sampleRate = 8000;
  int channels = 1;
  double seconds = 1.0;
  int frequency = 440;
  std::string title;  // written as the clip's metadata title when not empty
};

// Makes a sine-tone clip at `path` with the ffmpeg command; throws when ffmpeg fails.
void makeTone(const std::string& path, const ToneSpec& tone = {});

// The interleaved s16 bytes `ffmpeg -i path -f s16le` decodes, at the clip's own rate (or at
// `rate`, which makes ffmpeg resample as the engine would).
std::string ffmpegDecoded(const std::string& path, int channels, int rate = 0);
inline std::int64_t ffmpegDecodedFrames(const std::string& path, int channels, int rate = 0) {
  return static_cast<std::int64_t>(ffmpegDecoded(path, channels, rate).size()) / (2 * channels);
}

struct WavInfo {
  int sampleRate = 0;
  int channels = 0;
  std::int64_t headerFrames = 0;  // what the header's data size says
  std::int64_t fileFrames = 0;    // what the file actually holds after the header
  std::string data;               // the sample bytes
};
WavInfo readWav(const std::string& path);

// Calls poll() until `done` holds or `timeout` passes; true when it held.
bool pollUntil(engine::PlayerEngine& player, const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));
bool pollUntilStopped(engine::PlayerEngine& player,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10));

}  // namespace tunelark::testing

namespace tunelark::engine {
// How gtest prints a player message.
inline void PrintTo(const PlayerMessage& m, std::ostream* os) { *os << m.clip << ": " << m.detail; }
}  // namespace tunelark::engine
