#pragma once
// The engine's sound output through Qt Multimedia: a QAudioSink on the default output device,
// topped up from a SampleFeed by a timer of our own a few times per buffer length. (Qt's pull
// mode would feed 20 ms at a time, 50 times a second, which costs more CPU than decoding.)
// Lives on the UI thread: every member is touched from that thread only, except the failure
// flag and text, which the engine may read from elsewhere.

#include <QAudioDevice>
#include <QAudioFormat>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "player/engine/audio_sink.h"

class QAudioSink;

namespace tunelark::module {

class SampleFeed;

class QtAudioSink : public QObject, public engine::AudioSink {
  Q_OBJECT

 public:
  // About 200 ms of sound queued at the server: enough to ride out a busy UI thread, short
  // enough that pause and stop are heard at once.
  static constexpr int kBufferMilliseconds = 250;
  // How often the buffer is topped up: it never runs below 150 ms, and costs 10 wake-ups a second.
  static constexpr int kFeedMilliseconds = 100;

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
  // Fills the device's free buffer space from the feed.
  void topUp();
  void setError(const std::string& why);

  QAudioDevice device_;
  engine::AudioFormat format_;
  QAudioFormat qtFormat_;
  double volume_ = 1.0;
  bool paused_ = false;
  std::unique_ptr<QAudioSink> sink_;
  std::unique_ptr<SampleFeed> feed_;
  QIODevice* output_ = nullptr;  // owned by sink_
  QTimer feedTimer_;
  std::vector<char> chunk_;  // what one top-up writes

  std::atomic<bool> failed_{false};  // written on the UI thread, read by the engine anywhere
  mutable std::mutex errorMutex_;    // guards error_
  std::string error_;
};

}  // namespace tunelark::module
