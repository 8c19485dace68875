#include "player/module/sound_output.h"

#include "player/module/pulse_direct_sink.h"
#include "player/module/qt_audio_sink.h"

namespace tunelark::module {

SoundOutput::SoundOutput(engine::AudioFormat format) : format_(format) {
  const QAudioDevice device = QtAudioSink::defaultOutput();
  if (!device.isNull()) qt_ = std::make_unique<QtAudioSink>(device, format_);
}

SoundOutput::~SoundOutput() { stop(); }

bool SoundOutput::start(engine::SampleSource& source) {
  stop();
  refusal_.clear();
  if (qt_) {
    choose(qt_.get());  // with the volume, before it starts
    if (qt_->start(source)) return true;
    refusal_ = qt_->error();
    choose(nullptr);
  }
  // Qt may have given up on a server that is there again: ask the server ourselves.
  if (!direct_) direct_ = std::make_unique<PulseDirectSink>(format_);
  choose(direct_.get());
  if (direct_->start(source)) return true;
  if (refusal_.empty()) refusal_ = direct_->error();
  choose(nullptr);
  return false;
}

void SoundOutput::stop() {
  if (current()) current()->stop();
  choose(nullptr);
}

bool SoundOutput::hasDevice() const { return current() ? current()->hasDevice() : qt_ != nullptr; }

}  // namespace tunelark::module
