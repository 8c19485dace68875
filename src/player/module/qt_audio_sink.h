#pragma once
// The engine's sound output through Qt Multimedia: a QAudioSink in pull mode on the default
// output device, fed by a SampleFeed. Lives on the UI thread, which is where Qt's PulseAudio
// backend runs its feeding timer, so every member is touched from that thread only, except the
// failure flag and text, which the engine may read from elsewhere.

#include <QAudioDevice>
#include <QAudioFormat>
#include <QObject>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "player/engine/audio_sink.h"

class QAudioSink;

namespace tunelark::module {

class SampleFeed;

class QtAudioSink : public QObject, public engine::AudioSink {
  Q_OBJECT

 public:
  // About 200 ms of sound queued at the server: enough to ride out a busy UI thread, short
  // enough that pause and stop are heard at once.
  static constexpr int kBufferMilliseconds = 200;

  // Uses `device`; a null device (none listed) makes start() fail with a reason.
  explicit QtAudioSink(const QAudioDevice& device, QObject* parent = nullptr);
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
  bool failed() const override { return failed_.load(); }
  std::string error() const override;
  bool hasDevice() const override { return !device_.isNull(); }

  // Frames of decoded sound handed to the device since start() (silence padding excluded).
  std::uint64_t framesDelivered() const;

 private:
  void onStateChanged();
  void setError(const std::string& why);

  QAudioDevice device_;
  engine::AudioFormat format_;
  QAudioFormat qtFormat_;
  double volume_ = 1.0;
  bool paused_ = false;
  std::unique_ptr<QAudioSink> sink_;
  std::unique_ptr<SampleFeed> feed_;

  std::atomic<bool> failed_{false};  // written on the UI thread, read by the engine anywhere
  mutable std::mutex errorMutex_;    // guards error_
  std::string error_;
};

}  // namespace tunelark::module
