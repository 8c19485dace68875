#pragma once
// Sound straight to the PulseAudio server through libpulse's simple API, for when Qt
// Multimedia's backend has given up on the server. Qt 6.4 tries a lost server again once,
// three seconds after the loss, and never after that when the server's socket is gone; a
// server that comes back later would stay silent for Qt until the program restarts, while a
// connection of our own reaches it at once.
//
// start() opens the stream on the caller's thread; the sink's thread writes to it; stop()
// closes it once that thread has ended, and a pause or resume uses it while that thread is held,
// so the stream is never used by two threads at once.
//
// The simple API has no way to halt a stream, and what the server has queued would play on for a
// quarter of a second after a pause. A pause drops it instead, and the resume writes it again
// from a copy of what was written last, so nothing is lost and nothing is heard twice.

#include <cstdint>
#include <string>
#include <vector>

#include "player/engine/threaded_sink.h"

struct pa_simple;

namespace tunelark::module {

class PulseDirectSink : public engine::ThreadedSink {
 public:
  // Sound queued in the server: the same as the Qt sink keeps.
  static constexpr int kBufferMilliseconds = 250;

  explicit PulseDirectSink(engine::AudioFormat format);
  ~PulseDirectSink() override;
  bool hasDevice() const override { return true; }

 protected:
  bool open() override;
  bool consume(const std::int16_t* samples, std::size_t frames) override;
  void close() override;
  void hold(bool paused) override;

 private:
  void remember(const std::int16_t* samples, std::size_t frames);

  pa_simple* stream_ = nullptr;
  std::vector<std::int16_t> written_;  // a ring of the frames written last, kBufferMilliseconds*2
  std::uint64_t writtenFrames_ = 0;    // frames written since the stream opened
  std::size_t unheard_ = 0;            // frames dropped by the pause, to be written again
};

}  // namespace tunelark::module
