#pragma once
// The common machinery of the sinks that run a thread of their own (null, WAV, a direct sound
// server stream): the pulling thread, pausing, volume, and either pacing on the clock as a
// sound card would, pulling as fast as the decoder delivers, or writing short pieces to an
// output that blocks until it has room, as a sound server stream does.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "player/engine/audio_sink.h"

namespace tunelark::engine {

enum class Pacing { Clock, AsFastAsPossible, BlockingDevice };

class ThreadedSink : public AudioSink {
 public:
  ~ThreadedSink() override;

  AudioFormat format() const override { return format_; }
  bool start(SampleSource& source) override;
  void stop() override;
  void setPaused(bool paused) override;
  void setVolume(double volume) override;
  bool failed() const override;
  std::string error() const override;

 protected:
  ThreadedSink(AudioFormat format, Pacing pacing);
  // Called by start() before the thread runs; false (after fail()) when the output cannot open.
  virtual bool open() { return true; }
  // Called on the sink's thread with frames already scaled by the volume; false after fail().
  virtual bool consume(const std::int16_t* samples, std::size_t frames) = 0;
  // Called by stop() after the thread has ended.
  virtual void close() {}
  // Called by setPaused() while the thread is held between pulls: an output that queues sound
  // of its own silences it here, and gives it back on resume.
  virtual void hold(bool /*paused*/) {}
  void fail(std::string why);
  // Subclasses that own resources call this first in their destructor, so the thread never
  // runs into a half-destroyed object.
  void stopThread();

 private:
  void run(SampleSource& source);
  void applyVolume(std::int16_t* samples, std::size_t count) const;

  const AudioFormat format_;
  const Pacing pacing_;
  std::thread thread_;  // owned by the thread that calls start() and stop()
  std::atomic<double> volume_{1.0};

  // Guarded by mutex_: the control flags the sink thread waits on, and the failure report.
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool stopping_ = false;
  bool paused_ = false;
  bool pulling_ = false;  // the thread is pulling or consuming, outside the lock
  bool failed_ = false;
  std::string error_;
};

}  // namespace tunelark::engine
