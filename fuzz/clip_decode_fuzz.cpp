// Fuzz target: a clip file as the player opens and decodes it, with the same whitelists and
// limits as when playing, into nothing. The bytes are a file in memory, reached by its path
// as any local clip is. Every input must end in sound or a refusal, never a crash or a hang.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "player/engine/clip_decoder.h"
#include "player/engine/source_line.h"

extern "C" {
#include <libavutil/log.h>
}

namespace {

// FFmpeg's complaints about broken input are the rule here; printed, they would cost more than
// the decoding itself and bury libFuzzer's own reports.
[[maybe_unused]] const bool kFfmpegQuiet = [] {
  av_log_set_level(AV_LOG_QUIET);
  return true;
}();

// One memory file for the whole run, rewritten for each input.
int memoryFile() {
  static const int fd = memfd_create("clip.rm", 0);
  return fd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tunelark::engine;
  const int fd = memoryFile();
  if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
    return 0;
  const Clip clip = parseSourceLine("file:/proc/self/fd/" + std::to_string(fd));
  std::string error;
  DecoderLimits limits;
  limits.networkTimeout = std::chrono::milliseconds(1000);
  auto decoder = ClipDecoder::open(clip, AudioFormat{44100, 2}, limits, error);
  if (!decoder) {
    if (error.empty()) __builtin_trap();  // a refusal always says why
    return 0;
  }
  decoder->metadataTitle();
  std::vector<std::int16_t> out;
  // Bounded: a tiny input can describe a very long clip.
  for (int piece = 0; piece < 256 && decoder->decode(out); ++piece) {
    if (out.size() % 2 != 0) __builtin_trap();  // whole stereo frames only
  }
  return 0;
}
