#include "player/engine/playback_worker.h"

#include <algorithm>
#include <functional>

#include "player/engine/clip_decoder.h"

namespace tunelark::engine {

PlaybackWorker::PlaybackWorker(SampleBuffer& buffer, AudioFormat format,
                               std::chrono::milliseconds networkTimeout)
    : buffer_(buffer),
      format_(format),
      networkTimeout_(networkTimeout),
      jobs_([this](const Job& job, std::uint64_t generation) { decodeJob(job, generation); }) {}

PlaybackWorker::~PlaybackWorker() {
  jobs_.requestQuit();
  buffer_.close();  // a write waiting for room returns at once; jobs_ then joins the thread
}

void PlaybackWorker::play(std::shared_ptr<const ClipList> clips, int clip, std::int64_t frames) {
  // The buffer's new epoch comes first, so the thread cannot start writing the new job into
  // the old epoch, and a write still waiting for the old job returns at once.
  const auto epoch = buffer_.reset(clip, frames);
  jobs_.post(Job{std::move(clips), clip, frames, epoch, list()});
}

void PlaybackWorker::cancel(int clip) {
  buffer_.reset(clip, 0);
  jobs_.cancel();
}

void PlaybackWorker::newList() {
  std::lock_guard lock(mutex_);
  ++list_;
  reports_.clear();
  message_ = {};
}

ClipReport PlaybackWorker::report(int clip) const {
  std::lock_guard lock(mutex_);
  const auto it = reports_.find(clip);
  return it == reports_.end() ? ClipReport{} : it->second;
}

std::uint64_t PlaybackWorker::list() const {
  std::lock_guard lock(mutex_);
  return list_;
}

bool PlaybackWorker::lengthKnown(std::uint64_t list, int clip) const {
  std::lock_guard lock(mutex_);
  if (list != list_) return true;  // nobody asks about an old list any more
  const auto it = reports_.find(clip);
  return it != reports_.end() && it->second.length().has_value();
}

void PlaybackWorker::reportLength(std::uint64_t list, int clip, std::int64_t frames) {
  std::lock_guard lock(mutex_);
  if (list == list_) reports_[clip].counted = frames;
}

PlayerMessage PlaybackWorker::message() const {
  std::lock_guard lock(mutex_);
  return message_;
}

void PlaybackWorker::setMessage(PlayerMessage message) {
  std::lock_guard lock(mutex_);
  message_ = std::move(message);
}

void PlaybackWorker::decodeJob(const Job& job, std::uint64_t generation) {
  const int count = static_cast<int>(job.clips->size());
  for (int index = std::max(0, job.clip); index < count; ++index) {
    if (!decodeClip(job, index, generation)) return;
  }
  buffer_.finish(job.epoch);
}

bool PlaybackWorker::decodeClip(const Job& job, int index, std::uint64_t generation) {
  const auto stale = [this, generation] { return jobs_.stale(generation); };
  const Clip& clip = (*job.clips)[static_cast<std::size_t>(index)];
  std::string why;
  auto decoder = ClipDecoder::open(clip, format_, DecoderLimits{networkTimeout_, stale}, why);
  if (stale()) return false;
  if (!decoder) {
    skip(job, index, why);
    return true;
  }
  const auto title = decoder->metadataTitle();
  reportFor(job, index, [&](ClipReport& r) { r.title = title; });
  // Where to start in the clip: counting decoded frames is exact even when the file's
  // timestamps are all zero, which is what files made here carry. A seek reopens the clip, so
  // no decoder or resampler state from before the seek is heard after it.
  const std::int64_t start = index == job.clip ? job.frames : 0;
  if (!buffer_.beginClip(job.epoch, index, start)) return false;
  const auto channels = static_cast<std::size_t>(format_.channels);
  std::vector<std::int16_t> chunk;
  std::int64_t decoded = 0;
  // Far into a clip, whole packets are passed over undecoded; the last stretch before the
  // target is decoded and counted, which also lets the decoder settle before it is heard.
  const std::int64_t settle = format_.sampleRate;
  if (start > settle) decoded = decoder->skipPackets(start - settle);
  while (decoder->decode(chunk)) {
    const auto frames = static_cast<std::int64_t>(chunk.size() / channels);
    const auto from = std::clamp<std::int64_t>(start - decoded, 0, frames);
    decoded += frames;
    if (from == frames) {
      if (stale()) return false;
      continue;
    }
    if (!buffer_.write(job.epoch, chunk.data() + static_cast<std::size_t>(from) * channels,
                       static_cast<std::size_t>(frames - from))) {
      return false;
    }
  }
  if (stale()) return false;
  if (decoded == 0) {
    skip(job, index, decoder->error().empty() ? "holds no sound" : decoder->error());
    return true;
  }
  if (!decoder->error().empty()) {
    PlayerMessage ended{PlayerEvent::ClipEndedEarly, clip.displayName(), decoder->error()};
    std::lock_guard lock(mutex_);
    if (job.list == list_) message_ = std::move(ended);
  }
  reportFor(job, index, [&](ClipReport& r) { r.frames = decoded; });
  return true;
}

void PlaybackWorker::skip(const Job& job, int index, const std::string& why) {
  const Clip& clip = (*job.clips)[static_cast<std::size_t>(index)];
  reportFor(job, index, [](ClipReport& r) { r.skipped = true; });
  std::lock_guard lock(mutex_);
  if (job.list == list_) message_ = {PlayerEvent::ClipSkipped, clip.displayName(), why};
}

void PlaybackWorker::reportFor(const Job& job, int index,
                               const std::function<void(ClipReport&)>& change) {
  std::lock_guard lock(mutex_);
  if (job.list == list_) change(reports_[index]);
}

}  // namespace tunelark::engine
