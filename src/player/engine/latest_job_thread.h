#pragma once
// A thread that works on the most recent job it was given. Posting a job or cancelling makes
// the one in progress stale: the work sees it through stale(generation) and returns early, so a
// new source, a seek or a stop never waits for old work to finish.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace tunelark::engine {

template <typename Job>
class LatestJobThread {
 public:
  // Runs on the thread, outside the lock, with the generation the job was taken at.
  using Work = std::function<void(const Job&, std::uint64_t generation)>;

  // `onStart` runs first on the new thread (e.g. to lower its priority).
  explicit LatestJobThread(Work work, std::function<void()> onStart = {})
      : work_(std::move(work)), onStart_(std::move(onStart)), thread_([this] { run(); }) {}
  ~LatestJobThread() {
    requestQuit();
    thread_.join();
  }
  LatestJobThread(const LatestJobThread&) = delete;
  LatestJobThread& operator=(const LatestJobThread&) = delete;

  void post(Job job) {
    change([&] { job_ = std::move(job); });
  }
  void cancel() {
    change([&] { job_.reset(); });
  }
  // Makes the current work stale and the thread end; the destructor waits for it.
  void requestQuit() {
    change([&] { quit_ = true; });
  }
  bool stale(std::uint64_t generation) const { return generation_ != generation; }

 private:
  template <typename F>
  void change(F f) {
    {
      std::lock_guard lock(mutex_);
      f();
      ++generation_;
    }
    wake_.notify_all();
  }

  void run() {
    if (onStart_) onStart_();
    std::uint64_t seen = 0;
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [&] { return quit_ || generation_ != seen; });
      if (quit_) return;
      seen = generation_;
      if (!job_) continue;
      const Job job = std::move(*job_);
      job_.reset();
      lock.unlock();
      work_(job, seen);
      lock.lock();
    }
  }

  const Work work_;
  const std::function<void()> onStart_;

  // Bumped under mutex_ by every post, cancel and quit; read without it by the work (and by
  // FFmpeg's interrupt callback) to notice that it has been overtaken.
  std::atomic<std::uint64_t> generation_{0};

  // Guarded by mutex_.
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Job> job_;
  bool quit_ = false;

  std::thread thread_;  // last: it starts once everything above exists
};

}  // namespace tunelark::engine
