#pragma once
// Where decoded sound goes. The engine decodes into a bounded buffer; a sink drains it at its
// own pace by pulling. Implementations: a null sink that runs on the clock (no sound device),
// a WAV sink that writes what it pulls (tests), and the Qt Multimedia sink in the module.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>

namespace tunelark::engine {

// Interleaved signed 16-bit samples at this rate and channel count.
struct AudioFormat {
  int sampleRate = 44100;
  int channels = 2;
  bool operator==(const AudioFormat&) const = default;
};

// What a sink pulls from. pull() never blocks: it returns at once with what the buffer holds
// (fewer frames than asked, even 0, when the decoder is behind or the list has ended).
class SampleSource {
 public:
  virtual ~SampleSource() = default;
  virtual std::size_t pull(std::int16_t* out, std::size_t frames) = 0;
  // For sinks with a thread of their own: waits until frames may be available or `timeout`
  // has passed, so an empty buffer costs no spinning. True when frames are available.
  virtual bool waitForSamples(std::chrono::milliseconds timeout) {
    std::this_thread::sleep_for(timeout);
    return false;
  }
};

class AudioSink {
 public:
  virtual ~AudioSink() = default;
  // The format the sink wants; the engine resamples every clip to it.
  virtual AudioFormat format() const = 0;
  // Starts pulling from `source`. Returns false (and error() says why) when no device could be
  // opened. Called from the thread that owns the player.
  virtual bool start(SampleSource& source) = 0;
  // Stops pulling; after it returns, `source` is not touched again.
  virtual void stop() = 0;
  virtual void setPaused(bool paused) = 0;
  // Linear gain 0..1 applied by the sink.
  virtual void setVolume(double volume) = 0;
  // True once the device has gone away while started; error() says what happened.
  virtual bool failed() const = 0;
  virtual std::string error() const = 0;
  // False for a sink that sounds on no device (the null sink): the display says so.
  virtual bool hasDevice() const = 0;
};

}  // namespace tunelark::engine
