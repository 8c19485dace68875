#pragma once
// A sound output that hands the running calls to another output it chose (the sound module's,
// Qt's or PulseAudio's). A volume set while none is chosen is kept and given to each output as
// it is chosen, so a muted player is never heard for a moment at the start. Until an output is
// chosen, error() gives the reason there is none.

#include <string>

#include "player/engine/audio_sink.h"

namespace tunelark::module {

class ForwardingSink : public engine::AudioSink {
 public:
  void setPaused(bool paused) override {
    if (current_) current_->setPaused(paused);
  }
  void setVolume(double volume) override {
    volume_ = volume;
    if (current_) current_->setVolume(volume);
  }
  bool failed() const override { return current_ && current_->failed(); }
  std::string error() const override { return current_ ? current_->error() : refusal_; }

 protected:
  // Makes `output` the one calls go to (nullptr: none), with the kept volume.
  void choose(engine::AudioSink* output) {
    current_ = output;
    if (current_) current_->setVolume(volume_);
  }
  engine::AudioSink* current() const { return current_; }

  std::string refusal_;  // why there is no output

 private:
  engine::AudioSink* current_ = nullptr;
  double volume_ = 1.0;
};

}  // namespace tunelark::module
