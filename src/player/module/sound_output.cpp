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
  if (qt_) qt_->setVolume(volume_);
  if (qt_ && qt_->start(source)) {
    active_ = qt_.get();
    return true;
  }
  if (qt_) refusal_ = qt_->error();
  // Qt may have given up on a server that is there again: ask the server ourselves.
  if (!direct_) direct_ = std::make_unique<PulseDirectSink>(format_);
  direct_->setVolume(volume_);
  if (direct_->start(source)) {
    active_ = direct_.get();
    return true;
  }
  if (refusal_.empty()) refusal_ = direct_->error();
  return false;
}

void SoundOutput::stop() {
  if (active_) active_->stop();
  active_ = nullptr;
}

void SoundOutput::setPaused(bool paused) {
  if (active_) active_->setPaused(paused);
}

void SoundOutput::setVolume(double volume) {
  volume_ = volume;
  if (active_) active_->setVolume(volume);
}

bool SoundOutput::failed() const { return active_ && active_->failed(); }

std::string SoundOutput::error() const { return active_ ? active_->error() : refusal_; }

bool SoundOutput::hasDevice() const { return active_ ? active_->hasDevice() : qt_ != nullptr; }

}  // namespace tunelark::module
