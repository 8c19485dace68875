#pragma once
// The engine's sound output through Qt Multimedia: a QAudioSink on the default output device,
// kept on a thread of its own (DeviceThread) and topped up from the engine's buffer there.
// Its calls come from the thread that owns the engine; failed() and error() may come from any.

#include <QAudioDevice>
#include <QAudioFormat>
#include <memory>
#include <string>

#include "player/engine/audio_sink.h"

namespace tunelark::module {

class DeviceThread;

class QtAudioSink : public engine::AudioSink {
 public:
  // Uses `device` in the format it prefers; a null device (none listed) makes start() fail
  // with a reason.
  explicit QtAudioSink(const QAudioDevice& device);
  // Uses `device` in `format`.
  QtAudioSink(const QAudioDevice& device, engine::AudioFormat format);
  // The format the sink would choose for `device`.
  static engine::AudioFormat formatFor(const QAudioDevice& device);
  ~QtAudioSink() override;

  // True when the system lists an output device to play on.
  static bool outputAvailable();
  // The default output, or a null device when none is listed.
  static QAudioDevice defaultOutput();

  engine::AudioFormat format() const override { return format_; }
  bool start(engine::SampleSource& source) override;
  void stop() override;
  void setPaused(bool paused) override;
  void setVolume(double volume) override;
  bool failed() const override;
  std::string error() const override;
  bool hasDevice() const override { return !device_.isNull(); }

 private:
  QAudioDevice device_;
  engine::AudioFormat format_;
  QAudioFormat qtFormat_;
  std::string refusal_;                   // why the last start() failed before reaching the device
  std::unique_ptr<DeviceThread> thread_;  // only while a device exists
};

}  // namespace tunelark::module
