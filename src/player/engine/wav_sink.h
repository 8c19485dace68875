#pragma once
// A sink that writes what it pulls into a WAV file (16-bit PCM), either on the clock or as fast
// as the decoder delivers. Used by tests and benchmarks to see exactly what would have sounded.
// Every start() begins the file afresh; stop() completes its header.

#include <atomic>
#include <cstdint>
#include <string>

#include "player/engine/threaded_sink.h"

namespace tunelark::engine {

class WavSink : public ThreadedSink {
 public:
  WavSink(std::string path, AudioFormat format, Pacing pacing = Pacing::AsFastAsPossible);
  ~WavSink() override;
  bool hasDevice() const override { return true; }

  // Frames written since the last start(); safe to read from any thread.
  std::int64_t framesWritten() const { return frames_; }

 protected:
  bool open() override;
  bool consume(const std::int16_t* samples, std::size_t frames) override;
  void close() override;

 private:
  bool writeHeader(std::uint32_t dataBytes);

  const std::string path_;
  int fd_ = -1;  // opened by start(), written by the sink thread, closed by stop()
  std::atomic<std::int64_t> frames_{0};
};

}  // namespace tunelark::engine
