#include "player/engine/threaded_sink.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace tunelark::engine {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPeriod = std::chrono::milliseconds(10);
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
  {
    std::lock_guard lock(mutex_);
    paused_ = paused;
  }
  changed_.notify_all();
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
  const auto periodFrames = static_cast<std::size_t>(std::max(1, format_.sampleRate / 100));
  // Unpaced, large pulls keep the number of writes (and of wake-ups) low.
  const auto chunkFrames = pacing_ == Pacing::Clock ? periodFrames : periodFrames * 32;
  std::vector<std::int16_t> chunk(chunkFrames * channels);
  auto due = Clock::now();
  std::unique_lock lock(mutex_);
  while (!stopping_ && !failed_) {
    if (paused_) {
      changed_.wait(lock, [&] { return stopping_ || !paused_; });
      due = Clock::now();
      continue;
    }
    if (pacing_ == Pacing::Clock) {
      if (changed_.wait_until(lock, due, [&] { return stopping_ || paused_; })) continue;
      due += kPeriod;
      if (Clock::now() - due > kMaxLag) due = Clock::now();
    }
    lock.unlock();
    const auto frames = source.pull(chunk.data(), chunkFrames);
    if (frames > 0) {
      applyVolume(chunk.data(), frames * channels);
      consume(chunk.data(), frames);
    } else if (pacing_ == Pacing::AsFastAsPossible) {
      source.waitForSamples(std::chrono::milliseconds(20));
    }
    lock.lock();
  }
}

}  // namespace tunelark::engine
