#include "player/engine/sample_buffer.h"

#include <algorithm>
#include <cstring>

namespace tunelark::engine {

SampleBuffer::SampleBuffer(AudioFormat format, std::size_t capacityFrames)
    : channels_(static_cast<std::size_t>(std::max(1, format.channels))),
      capacity_(std::max<std::size_t>(1, capacityFrames)),
      ring_(capacity_ * channels_) {}

std::uint64_t SampleBuffer::reset(int clip, std::int64_t frames) {
  std::uint64_t epoch;
  {
    std::lock_guard lock(mutex_);
    epoch = ++epoch_;
    readCount_ = writeCount_ = 0;
    marks_.clear();
    position_ = PlayPosition{clip, frames, false};
    finished_ = false;
  }
  spaceFreed_.notify_all();
  return epoch;
}

void SampleBuffer::close() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
  }
  spaceFreed_.notify_all();
  framesWritten_.notify_all();
}

PlayPosition SampleBuffer::position() const {
  std::lock_guard lock(mutex_);
  return position_;
}

bool SampleBuffer::beginClip(std::uint64_t epoch, int clip, std::int64_t frames) {
  std::lock_guard lock(mutex_);
  if (epoch != epoch_ || closed_) return false;
  marks_.push_back(ClipMark{writeCount_, clip, frames});
  // When the sink has already pulled everything, the listener is at the new clip now.
  applyMarksLocked();
  return true;
}

bool SampleBuffer::write(std::uint64_t epoch, const std::int16_t* samples, std::size_t frames) {
  std::unique_lock lock(mutex_);
  while (frames > 0) {
    // Waiting for a quarter of the buffer rather than for any room at all keeps the two
    // threads from waking each other for every few frames.
    const auto wanted = std::min(frames, refillFrames());
    if (freeLocked() < wanted) {
      writerWaiting_ = true;
      spaceFreed_.wait(lock, [&] { return epoch != epoch_ || closed_ || freeLocked() >= wanted; });
      writerWaiting_ = false;
    }
    if (epoch != epoch_ || closed_) return false;
    const auto at = static_cast<std::size_t>(writeCount_ % capacity_);
    const auto count = std::min({frames, freeLocked(), capacity_ - at});
    std::memcpy(&ring_[at * channels_], samples, count * channels_ * sizeof(std::int16_t));
    writeCount_ += count;
    samples += count * channels_;
    frames -= count;
    if (readerWaiting_ && writeCount_ - readCount_ >= refillFrames()) {
      framesWritten_.notify_all();
    }
  }
  return true;
}

void SampleBuffer::finish(std::uint64_t epoch) {
  {
    std::lock_guard lock(mutex_);
    if (epoch != epoch_) return;
    finished_ = true;
    applyMarksLocked();
    if (readCount_ == writeCount_) position_.drained = true;
  }
  framesWritten_.notify_all();
}

void SampleBuffer::applyMarksLocked() {
  while (!marks_.empty() && marks_.front().at <= readCount_) {
    position_.clip = marks_.front().clip;
    position_.frames = marks_.front().frames;
    marks_.pop_front();
  }
}

std::size_t SampleBuffer::pull(std::int16_t* out, std::size_t frames) {
  std::size_t done = 0;
  bool wakeWriter = false;
  {
    std::lock_guard lock(mutex_);
    applyMarksLocked();
    while (done < frames && readCount_ < writeCount_) {
      auto limit = writeCount_;
      if (!marks_.empty()) limit = std::min(limit, marks_.front().at);
      const auto at = static_cast<std::size_t>(readCount_ % capacity_);
      const auto count =
          std::min({frames - done, static_cast<std::size_t>(limit - readCount_), capacity_ - at});
      std::memcpy(out + done * channels_, &ring_[at * channels_],
                  count * channels_ * sizeof(std::int16_t));
      readCount_ += count;
      position_.frames += static_cast<std::int64_t>(count);
      done += count;
      applyMarksLocked();
    }
    if (finished_ && readCount_ == writeCount_) position_.drained = true;
    wakeWriter = writerWaiting_ && freeLocked() >= refillFrames();
  }
  if (wakeWriter) spaceFreed_.notify_all();
  return done;
}

bool SampleBuffer::waitForSamples(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  // Like the writer, the reader is woken for a quarter of the buffer, not for every piece; the
  // end of the list and the timeout let it take a smaller rest.
  readerWaiting_ = true;
  framesWritten_.wait_for(lock, timeout, [&] {
    return closed_ || (finished_ && readCount_ < writeCount_) ||
           writeCount_ - readCount_ >= refillFrames();
  });
  readerWaiting_ = false;
  return readCount_ < writeCount_;
}

}  // namespace tunelark::engine
