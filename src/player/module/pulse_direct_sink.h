#pragma once
// Sound straight to the PulseAudio server through libpulse's simple API, for when Qt
// Multimedia's backend has given up on the server. Qt 6.4 tries a lost server again once,
// three seconds after the loss, and never after that when the server's socket is gone; a
// server that comes back later would stay silent for Qt until the program restarts, while a
// connection of our own reaches it at once.
//
// start() opens the stream on the caller's thread; the sink's thread writes to it; stop()
// closes it once that thread has ended, so the stream is never used by two threads at once.

#include <string>

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

 private:
  pa_simple* stream_ = nullptr;
};

}  // namespace tunelark::module
