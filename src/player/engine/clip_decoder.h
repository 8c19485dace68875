#pragma once
// One clip opened with FFmpeg: demuxed, decoded and resampled to the sink's format. What it may
// open is limited: local files are read through our own descriptor (regular files only) and
// URLs through the allowed network protocols; the container must be an audio format we know.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "player/engine/audio_sink.h"
#include "player/engine/clip.h"
#include "player/engine/ffmpeg_components.h"

namespace tunelark::engine {

struct DecoderLimits {
  // How long a network clip may take to open, or to deliver the next packet.
  std::chrono::milliseconds networkTimeout{10000};
  // Asked often while FFmpeg waits or reads; true abandons the clip at once.
  std::function<bool()> cancelled;
};

class ClipDecoder {
 public:
  // The decoder, or nullptr with `error` saying why the clip cannot be played.
  static std::unique_ptr<ClipDecoder> open(const Clip& clip, AudioFormat format,
                                           DecoderLimits limits, std::string& error);
  ~ClipDecoder();
  ClipDecoder(const ClipDecoder&) = delete;
  ClipDecoder& operator=(const ClipDecoder&) = delete;

  // Replaces `out` with the next piece of sound (interleaved frames). False at the clip's end,
  // once decoder and resampler are drained, or when reading failed (error() says so).
  bool decode(std::vector<std::int16_t>& out);
  // Decodes the rest of the clip only to count it, without converting: the frames it would
  // give at the sink's rate. nullopt when it could not be read to its end.
  std::optional<std::int64_t> countRemaining();
  // Passes over whole packets worth up to `frames` (at the sink's rate) without decoding them,
  // where packets say how much they hold; returns how many frames were passed over.
  std::int64_t skipPackets(std::int64_t frames);
  // A cheaper count from the packets alone, without decoding, for codecs whose packets say
  // how many samples they hold. nullopt when they do not; the decoder is used up either way.
  std::optional<std::int64_t> countByPackets();
  // The clip's own title from its metadata, "" when it has none.
  std::string metadataTitle() const;
  std::string error() const { return error_; }

 private:
  struct Ffmpeg;
  ClipDecoder(AudioFormat format, DecoderLimits limits);
  bool openInput(const Clip& clip, std::string& error);
  bool openCodec(std::string& error);
  bool convert(std::vector<std::int16_t>& out, bool drainResampler);
  // The next decoded frame, left in the decoder's frame; false once the input is done.
  bool nextFrame();
  static int interrupted(void* self);

  const AudioFormat format_;
  DecoderLimits limits_;
  std::unique_ptr<Ffmpeg> ff_;
  std::chrono::steady_clock::time_point deadline_;
  bool network_ = false;
  bool inputEnded_ = false;  // the demuxer has nothing more; the decoder is being flushed
  bool inputDone_ = false;   // no frame will come any more
  bool reachedEnd_ = false;  // ...because the decoder was drained, not because of an error
  bool finished_ = false;
  int badPackets_ = 0;
  std::string error_;
};

}  // namespace tunelark::engine
