#pragma once
// The thread the Qt audio device lives on. It wakes every 100 ms while playing, tops the
// device's buffer up from the feed, and lets Qt handle what is pending for the device (its own
// timer, a lost server) in the same wake-up. Qt's PulseAudio backend would otherwise wake the
// UI thread 50 times a second for its 20 ms timer alone, which costs more than decoding.
// The UI thread drives it through the blocking calls below; everything else is the thread's.

#include <QAudioDevice>
#include <QAudioFormat>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "player/engine/audio_sink.h"

class QAudioSink;
class QIODevice;

namespace tunelark::module {

class SampleFeed;

class DeviceThread : public QThread {
 public:
  // Queued sound: enough to ride out a busy moment, short enough that pause is heard at once.
  static constexpr int kBufferMilliseconds = 250;
  // Time between top-ups: the buffer never runs below 150 ms.
  static constexpr int kFeedMilliseconds = 100;

  DeviceThread(const QAudioDevice& device, const QAudioFormat& format);
  ~DeviceThread() override;

  // Opens the device and starts feeding it from `source`; false (and error() says why) when it
  // cannot be opened.
  bool startFeeding(engine::SampleSource& source);
  // After it returns, the source is not touched again.
  void stopFeeding();
  void setPaused(bool paused);
  void setVolume(double volume);

  bool lost() const { return lost_.load(); }
  std::string error() const;

 protected:
  void run() override;

 private:
  // Runs `task` on this thread and waits until it has run.
  void call(const std::function<void()>& task);
  // Closes the device and ends the thread; returns once it has ended.
  void finish();
  // The process's exit handler that closes the device, registered once the device has opened.
  struct ExitLink;
  static void finishAtExit(int status, void* link);
  void setError(const std::string& why);

  // ---- Used on this thread only ----
  bool open(engine::SampleSource& source);
  void close();
  void topUp();
  void onStateChanged();
  QAudioDevice device_;
  QAudioFormat format_;
  std::unique_ptr<QAudioSink> sink_;
  std::unique_ptr<SampleFeed> feed_;
  QIODevice* output_ = nullptr;  // owned by sink_
  std::vector<char> chunk_;      // what one top-up writes
  bool paused_ = false;
  double volume_ = 1.0;
  bool closeNow_ = false;  // the device reported its loss; closed once its signal has returned

  // ---- Shared with the UI thread ----
  std::mutex mutex_;  // guards tasks_ and quit_; wake_ signals a change of either
  std::condition_variable wake_;
  std::deque<std::function<void()>> tasks_;
  bool quit_ = false;

  // Made by the first successful startFeeding(), on the thread that drives this one; owned by
  // the exit handler.
  ExitLink* exitLink_ = nullptr;

  std::atomic<bool> lost_{false};  // the device went away while feeding
  mutable std::mutex errorMutex_;  // guards error_
  std::string error_;
};

}  // namespace tunelark::module
