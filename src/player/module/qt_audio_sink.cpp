#include "player/module/qt_audio_sink.h"

#include <QMediaDevices>
#include <algorithm>

#include "player/module/device_thread.h"

namespace tunelark::module {

// The engine resamples to whatever we ask, so take the device's own rate and channel count
// (no resampling in the sound server) but keep to what our s16 interleaved path can carry.
engine::AudioFormat QtAudioSink::formatFor(const QAudioDevice& device) {
  engine::AudioFormat format;
  if (device.isNull()) return format;
  const QAudioFormat preferred = device.preferredFormat();
  if (preferred.sampleRate() >= 8000 && preferred.sampleRate() <= 192000)
    format.sampleRate = preferred.sampleRate();
  if (preferred.channelCount() >= 1) format.channels = std::min(preferred.channelCount(), 2);
  return format;
}

QtAudioSink::QtAudioSink(const QAudioDevice& device) : QtAudioSink(device, formatFor(device)) {}

QtAudioSink::QtAudioSink(const QAudioDevice& device, engine::AudioFormat format)
    : device_(device), format_(format) {
  qtFormat_.setSampleRate(format_.sampleRate);
  qtFormat_.setChannelCount(format_.channels);
  qtFormat_.setSampleFormat(QAudioFormat::Int16);
  if (!device_.isNull()) thread_ = std::make_unique<DeviceThread>(device_, qtFormat_);
}

QtAudioSink::~QtAudioSink() = default;

bool QtAudioSink::outputAvailable() { return !QMediaDevices::audioOutputs().isEmpty(); }

QAudioDevice QtAudioSink::defaultOutput() {
  if (!outputAvailable()) return {};
  return QMediaDevices::defaultAudioOutput();
}

bool QtAudioSink::start(engine::SampleSource& source) {
  refusal_.clear();
  if (!thread_) {
    refusal_ = "No sound device.";
    return false;
  }
  if (!device_.isFormatSupported(qtFormat_)) {
    refusal_ = "The sound device cannot play 16-bit sound at " +
               std::to_string(format_.sampleRate) + " Hz.";
    return false;
  }
  return thread_->startFeeding(source);
}

void QtAudioSink::stop() {
  if (thread_) thread_->stopFeeding();
}

void QtAudioSink::setPaused(bool paused) {
  if (thread_) thread_->setPaused(paused);
}

void QtAudioSink::setVolume(double volume) {
  if (thread_) thread_->setVolume(std::clamp(volume, 0.0, 1.0));
}

bool QtAudioSink::failed() const { return thread_ && thread_->lost(); }

std::string QtAudioSink::error() const {
  if (!refusal_.empty() || !thread_) return refusal_;
  return thread_->error();
}

}  // namespace tunelark::module
