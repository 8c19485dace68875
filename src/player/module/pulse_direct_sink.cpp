#include "player/module/pulse_direct_sink.h"

#include <pulse/error.h>
#include <pulse/simple.h>

namespace tunelark::module {

PulseDirectSink::PulseDirectSink(engine::AudioFormat format)
    : ThreadedSink(format, engine::Pacing::BlockingDevice) {}

PulseDirectSink::~PulseDirectSink() {
  stopThread();
  close();
}

bool PulseDirectSink::open() {
  close();
  const engine::AudioFormat f = format();
  pa_sample_spec sampleFormat{};
  sampleFormat.format = PA_SAMPLE_S16NE;
  sampleFormat.rate = static_cast<std::uint32_t>(f.sampleRate);
  sampleFormat.channels = static_cast<std::uint8_t>(f.channels);
  const auto bytesPerSecond = static_cast<std::uint32_t>(f.sampleRate * f.channels * 2);
  pa_buffer_attr attr{};
  attr.maxlength = static_cast<std::uint32_t>(-1);
  attr.tlength = bytesPerSecond * kBufferMilliseconds / 1000;
  attr.prebuf = static_cast<std::uint32_t>(-1);
  attr.minreq = static_cast<std::uint32_t>(-1);
  attr.fragsize = static_cast<std::uint32_t>(-1);
  int error = 0;
  stream_ = pa_simple_new(nullptr, "Tunelark", PA_STREAM_PLAYBACK, nullptr, "Playback",
                          &sampleFormat, nullptr, &attr, &error);
  if (!stream_) {
    fail(std::string("The sound server cannot be reached (") + pa_strerror(error) + ").");
    return false;
  }
  return true;
}

bool PulseDirectSink::consume(const std::int16_t* samples, std::size_t frames) {
  const std::size_t bytes = frames * static_cast<std::size_t>(format().channels) * 2;
  int error = 0;
  if (pa_simple_write(stream_, samples, bytes, &error) < 0) {
    fail("The sound server went away.");
    return false;
  }
  return true;
}

void PulseDirectSink::close() {
  if (!stream_) return;
  // What is still queued is dropped: stop means silence now, not in a quarter of a second.
  int error = 0;
  pa_simple_flush(stream_, &error);
  pa_simple_free(stream_);
  stream_ = nullptr;
}

}  // namespace tunelark::module
