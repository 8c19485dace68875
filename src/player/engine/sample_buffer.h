#pragma once
// The bounded buffer between the decoding worker and the sink. The worker writes resampled
// frames and marks where each clip begins; the sink pulls, and the buffer keeps the play
// position (which clip, how many of its frames) from what has actually been pulled.
//
// Every reset starts a new epoch. Writes carry the epoch they were made for, so frames decoded
// for a position the listener has already left are dropped instead of played.

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "player/engine/audio_sink.h"

namespace tunelark::engine {

struct PlayPosition {
  int clip = 0;
  std::int64_t frames = 0;  // frames of that clip played, counted from its start
  bool drained = false;     // the list has ended and the sink has pulled all of it
};

class SampleBuffer : public SampleSource {
 public:
  SampleBuffer(AudioFormat format, std::size_t capacityFrames);

  // UI thread: drops what is buffered and starts a new epoch at `frames` into `clip`.
  std::uint64_t reset(int clip, std::int64_t frames);
  // Wakes a waiting writer for good; later writes fail. Used when the player goes away.
  void close();
  PlayPosition position() const;

  // Worker: the frames written from now on belong to `clip`, starting `frames` into it.
  bool beginClip(std::uint64_t epoch, int clip, std::int64_t frames);
  // Blocks until everything is written; false when the epoch has moved on or the buffer closed.
  bool write(std::uint64_t epoch, const std::int16_t* samples, std::size_t frames);
  // No more frames follow in this epoch.
  void finish(std::uint64_t epoch);

  // Sink.
  std::size_t pull(std::int16_t* out, std::size_t frames) override;
  bool waitForSamples(std::chrono::milliseconds timeout) override;

 private:
  struct ClipMark {
    std::uint64_t at;  // write count where the clip begins
    int clip;
    std::int64_t frames;
  };
  void applyMarksLocked();
  std::size_t freeLocked() const {
    return capacity_ - static_cast<std::size_t>(writeCount_ - readCount_);
  }
  std::size_t refillFrames() const { return std::max<std::size_t>(1, capacity_ / 4); }

  const std::size_t channels_;
  const std::size_t capacity_;  // in frames

  // Guarded by mutex_. readCount_ and writeCount_ count frames since the last reset; the ring
  // index is the count modulo capacity_.
  mutable std::mutex mutex_;
  std::condition_variable spaceFreed_;     // a writer waits for room
  std::condition_variable framesWritten_;  // a sink thread waits for frames
  std::vector<std::int16_t> ring_;
  std::uint64_t epoch_ = 0;
  std::uint64_t readCount_ = 0;
  std::uint64_t writeCount_ = 0;
  std::deque<ClipMark> marks_;
  PlayPosition position_;
  bool finished_ = false;
  bool closed_ = false;
  bool writerWaiting_ = false;  // only then does a pull need to wake anyone
  bool readerWaiting_ = false;  // only then does a write need to wake anyone
};

}  // namespace tunelark::engine
