#include "player/module/pulse_direct_sink.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>

namespace tunelark::module {

PulseDirectSink::PulseDirectSink(engine::AudioFormat format)
    : ThreadedSink(format, engine::Pacing::BlockingDevice),
      written_(static_cast<std::size_t>(format.sampleRate) * kBufferMilliseconds * 2 / 1000 *
               static_cast<std::size_t>(std::max(1, format.channels))) {}

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
  writtenFrames_ = 0;
  unheard_ = 0;
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
  remember(samples, frames);
  return true;
}

void PulseDirectSink::remember(const std::int16_t* samples, std::size_t frames) {
  const auto channels = static_cast<std::size_t>(format().channels);
  const std::size_t capacity = written_.size() / channels;
  if (capacity == 0) return;
  if (frames > capacity) {
    samples += (frames - capacity) * channels;
    writtenFrames_ += frames - capacity;
    frames = capacity;
  }
  for (std::size_t i = 0; i < frames; ++i) {
    const auto at = static_cast<std::size_t>((writtenFrames_ + i) % capacity);
    std::copy_n(samples + i * channels, channels, &written_[at * channels]);
  }
  writtenFrames_ += frames;
}

void PulseDirectSink::hold(bool paused) {
  if (!stream_) return;
  const engine::AudioFormat f = format();
  const auto channels = static_cast<std::size_t>(f.channels);
  const std::size_t capacity = written_.size() / channels;
  int error = 0;
  if (paused) {
    // What the server still holds has not been heard yet: it is dropped now and kept to be
    // written again on resume.
    const pa_usec_t queued = pa_simple_get_latency(stream_, &error);
    const auto frames = error == 0 ? queued * static_cast<pa_usec_t>(f.sampleRate) / 1000000 : 0;
    unheard_ =
        static_cast<std::size_t>(std::min<std::uint64_t>({frames, writtenFrames_, capacity / 2}));
    pa_simple_flush(stream_, &error);
    return;
  }
  if (unheard_ == 0) return;
  std::vector<std::int16_t> again(unheard_ * channels);
  for (std::size_t i = 0; i < unheard_; ++i) {
    const auto at = static_cast<std::size_t>((writtenFrames_ - unheard_ + i) % capacity);
    std::copy_n(&written_[at * channels], channels, &again[i * channels]);
  }
  unheard_ = 0;
  if (pa_simple_write(stream_, again.data(), again.size() * sizeof(std::int16_t), &error) < 0)
    fail("The sound server went away.");
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
