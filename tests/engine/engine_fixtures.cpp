#include "engine/engine_fixtures.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "support/temp_dir.h"

namespace tunelark::testing {
namespace {

// The tests' paths and titles hold no quote.
std::string quoted(const std::string& text) { return "'" + text + "'"; }

std::uint32_t le32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

}  // namespace

void makeTone(const std::string& path, const ToneSpec& tone) {
  std::string command =
      "ffmpeg -nostdin -v error -y -f lavfi -i sine=frequency=" + std::to_string(tone.frequency) +
      ":duration=" + std::to_string(tone.seconds) + " -ar " + std::to_string(tone.sampleRate) +
      " -ac " + std::to_string(tone.channels) + " -c:a " + tone.codec;
  if (!tone.title.empty()) command += " -metadata title=" + quoted(tone.title);
  command.append(" ").append(quoted(path));
  if (std::system(command.c_str()) != 0) throw std::runtime_error("ffmpeg failed: " + command);
}

std::string ffmpegDecoded(const std::string& path, int channels, int rate) {
  std::string command =
      "ffmpeg -nostdin -v error -i " + quoted(path) + " -ac " + std::to_string(channels);
  if (rate > 0) command += " -ar " + std::to_string(rate);
  command += " -f s16le - 2>/dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) throw std::runtime_error("cannot run ffmpeg");
  std::string bytes;
  char chunk[65536];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) bytes.append(chunk, n);
  if (::pclose(pipe) != 0) throw std::runtime_error("ffmpeg failed: " + command);
  return bytes;
}

WavInfo readWav(const std::string& path) {
  const auto bytes = readFile(path);
  WavInfo info;
  if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(36, 4, "data") != 0) {
    throw std::runtime_error("not a WAV file: " + path);
  }
  info.channels = static_cast<int>(le32(bytes, 22) & 0xffff);
  info.sampleRate = static_cast<int>(le32(bytes, 24));
  const auto frameBytes = static_cast<std::int64_t>(info.channels) * 2;
  info.headerFrames = le32(bytes, 40) / frameBytes;
  info.fileFrames = static_cast<std::int64_t>(bytes.size() - 44) / frameBytes;
  info.data = bytes.substr(44);
  return info;
}

bool pollUntil(engine::PlayerEngine& player, const std::function<bool()>& done,
               std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    player.poll();
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

bool pollUntilStopped(engine::PlayerEngine& player, std::chrono::milliseconds timeout) {
  return pollUntil(
      player, [&] { return player.status().state == engine::PlayState::Stopped; }, timeout);
}

}  // namespace tunelark::testing
