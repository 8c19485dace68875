#pragma once
// The sound output the module plays on. Each start tries Qt Multimedia's sink on the default
// output first; when Qt has no working server (it lists no output, or its sink cannot open),
// a stream of our own straight to the PulseAudio server. When neither works, start() fails and
// the engine plays silently on the clock, saying so.
//
// Used from the thread that owns the engine; failed() and error() read only what start() and
// stop() set on that same thread, and ask the active sink, which guards its own state.

#include <memory>
#include <string>

#include "player/module/forwarding_sink.h"

namespace tunelark::module {

class QtAudioSink;
class PulseDirectSink;

class SoundOutput : public ForwardingSink {
 public:
  // Plays `format` (the engine resamples every clip to it) on Qt's default output.
  explicit SoundOutput(engine::AudioFormat format = {});
  ~SoundOutput() override;

  engine::AudioFormat format() const override { return format_; }
  bool start(engine::SampleSource& source) override;
  void stop() override;
  bool hasDevice() const override;

 private:
  engine::AudioFormat format_;
  std::unique_ptr<QtAudioSink> qt_;
  std::unique_ptr<PulseDirectSink> direct_;
};

}  // namespace tunelark::module
