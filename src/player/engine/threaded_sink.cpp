#include "player/engine/threaded_sink.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace tunelark::engine {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPeriod = std::chrono::milliseconds(20);
// After a stall longer than this the clock starts afresh instead of racing to catch up.
constexpr auto kMaxLag = std::chrono::milliseconds(200);

}  // namespace

ThreadedSink::ThreadedSink(AudioFormat format, Pacing pacing) : format_(format), pacing_(pacing) {}

ThreadedSink::~ThreadedSink() { stopThread(); }

bool ThreadedSink::start(SampleSource& source) {
  if (thread_.joinable()) return true;
  {
    std::lock_guard lock(mutex_);
    stopping_ = false;
    failed_ = false;
    error_.clear();
  }
  if (!open()) return false;
  thread_ = std::thread([this, &source] { run(source); });
  return true;
}

void ThreadedSink::stopThread() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void ThreadedSink::stop() {
  const bool wasRunning = thread_.joinable();
  stopThread();
  if (wasRunning) close();
}

void ThreadedSink::setPaused(bool paused) {
  std::unique_lock lock(mutex_);
  if (paused == paused_) return;
  paused_ = paused;
  changed_.notify_all();
  // A pull already under way finishes first: once paused, the position holds still.
  if (paused) changed_.wait(lock, [&] { return !pulling_; });
  // The thread cannot pass the lock held here, so the output is ours alone for this call.
  if (thread_.joinable()) hold(paused);
}

void ThreadedSink::setVolume(double volume) { volume_ = std::clamp(volume, 0.0, 1.0); }

bool ThreadedSink::failed() const {
  std::lock_guard lock(mutex_);
  return failed_;
}

std::string ThreadedSink::error() const {
  std::lock_guard lock(mutex_);
  return error_;
}

void ThreadedSink::fail(std::string why) {
  std::lock_guard lock(mutex_);
  failed_ = true;
  error_ = std::move(why);
}

void ThreadedSink::applyVolume(std::int16_t* samples, std::size_t count) const {
  const double gain = volume_;
  if (gain >= 1.0) return;
  for (std::size_t i = 0; i < count; ++i) {
    samples[i] = static_cast<std::int16_t>(std::lround(samples[i] * gain));
  }
}

void ThreadedSink::run(SampleSource& source) {
  const auto channels = static_cast<std::size_t>(std::max(1, format_.channels));
  const std::int64_t rate = std::max(1, format_.sampleRate);
  // On the clock, a pull takes what the time since the last one is worth, at most two ticks;
  // unpaced, large pulls keep the number of writes (and of wake-ups) low; a blocking device
  // gets short pieces, so a pause or stop never waits long for a write to return.
  const auto window =
      pacing_ == Pacing::AsFastAsPossible ? std::chrono::milliseconds(320) : 2 * kPeriod;
  const auto chunkFrames = static_cast<std::size_t>(rate * window.count() / 1000 + 1);
  std::vector<std::int16_t> chunk(chunkFrames * channels);
  // The clock: frames a sound card would have played since `origin`, and how many it has.
  auto origin = Clock::now();
  auto due = origin;
  std::int64_t played = 0;
  std::unique_lock lock(mutex_);
  while (!stopping_ && !failed_) {
    if (paused_) {
      changed_.wait(lock, [&] { return stopping_ || !paused_; });
      origin = due = Clock::now();
      played = 0;
      continue;
    }
    std::size_t wanted = chunkFrames;
    if (pacing_ == Pacing::Clock) {
      if (changed_.wait_until(lock, due, [&] { return stopping_ || paused_; })) continue;
      const auto now = Clock::now();
      due = now - due > kMaxLag ? now + kPeriod : due + kPeriod;
      const auto owed =
          std::chrono::duration_cast<std::chrono::microseconds>(now - origin).count() * rate /
          1000000;
      // After a stall the card does not race to catch up: what was missed is gone.
      played = std::max(played, owed - static_cast<std::int64_t>(chunkFrames));
      wanted = static_cast<std::size_t>(owed - played);
      // A card plays silence when nothing is there, so the clock moves on either way.
      played = owed;
    }
    pulling_ = true;
    lock.unlock();
    const auto frames = wanted > 0 ? source.pull(chunk.data(), wanted) : 0;
    if (frames > 0) {
      applyVolume(chunk.data(), frames * channels);
      consume(chunk.data(), frames);
    } else if (pacing_ != Pacing::Clock) {
      source.waitForSamples(std::chrono::milliseconds(20));
    }
    lock.lock();
    pulling_ = false;
    if (paused_) changed_.notify_all();
  }
}

}  // namespace tunelark::engine
