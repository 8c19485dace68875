#pragma once
// The sink used when there is no sound device: it pulls on the clock, as a sound card would,
// so position and clip changes go on at the normal pace, and sounds nowhere.

#include "player/engine/threaded_sink.h"

namespace tunelark::engine {

class NullSink : public ThreadedSink {
 public:
  explicit NullSink(AudioFormat format = {}, Pacing pacing = Pacing::Clock)
      : ThreadedSink(format, pacing) {}
  ~NullSink() override { stopThread(); }
  bool hasDevice() const override { return false; }

 protected:
  bool consume(const std::int16_t*, std::size_t) override { return true; }
};

}  // namespace tunelark::engine
