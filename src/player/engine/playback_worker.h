#pragma once
// The decoding thread: walks the clip list from a given clip and position, decodes each clip
// into the sample buffer, skips what cannot be played, and reports per clip what it learnt
// (metadata title, counted length, why it was skipped).

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "player/engine/clip.h"
#include "player/engine/latest_job_thread.h"
#include "player/engine/player_message.h"
#include "player/engine/sample_buffer.h"

namespace tunelark::engine {

using ClipList = std::vector<Clip>;

struct ClipReport {
  std::string title;                    // from the clip's metadata
  std::optional<std::int64_t> frames;   // its whole length, once decoded to the end
  std::optional<std::int64_t> counted;  // its length as counted ahead by the LengthCounter
  bool skipped = false;

  std::optional<std::int64_t> length() const { return frames ? frames : counted; }
};

class PlaybackWorker {
 public:
  PlaybackWorker(SampleBuffer& buffer, AudioFormat format,
                 std::chrono::milliseconds networkTimeout);
  ~PlaybackWorker();
  PlaybackWorker(const PlaybackWorker&) = delete;
  PlaybackWorker& operator=(const PlaybackWorker&) = delete;

  // Empties the buffer and decodes `clips` from `frames` into clip `clip` onward.
  void play(std::shared_ptr<const ClipList> clips, int clip, std::int64_t frames);
  // Stops decoding and empties the buffer, leaving its position at the start of `clip`.
  void cancel(int clip);
  // A new list: what was reported about the old one is forgotten.
  void newList();

  ClipReport report(int clip) const;
  // The current list, for reports made from elsewhere.
  std::uint64_t list() const;
  bool lengthKnown(std::uint64_t list, int clip) const;
  void reportLength(std::uint64_t list, int clip, std::int64_t frames);
  PlayerMessage message() const;
  void setMessage(PlayerMessage message);

 private:
  struct Job {
    std::shared_ptr<const ClipList> clips;
    int clip = 0;
    std::int64_t frames = 0;
    std::uint64_t epoch = 0;
    std::uint64_t list = 0;
  };
  void decodeJob(const Job& job, std::uint64_t generation);
  bool decodeClip(const Job& job, int index, std::uint64_t generation);
  void skip(const Job& job, int index, const std::string& why);
  void reportFor(const Job& job, int index, const std::function<void(ClipReport&)>& change);

  SampleBuffer& buffer_;
  const AudioFormat format_;
  const std::chrono::milliseconds networkTimeout_;

  // Guarded by mutex_: everything reported to the UI.
  mutable std::mutex mutex_;
  std::uint64_t list_ = 0;  // the current list; reports from an older one are dropped
  std::map<int, ClipReport> reports_;
  PlayerMessage message_;

  // Last: its thread starts once everything above exists, and ends before any of it goes.
  LatestJobThread<Job> jobs_;
};

}  // namespace tunelark::engine
