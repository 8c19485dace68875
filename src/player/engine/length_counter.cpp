#include "player/engine/length_counter.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "player/engine/clip_decoder.h"

namespace tunelark::engine {

LengthCounter::LengthCounter(AudioFormat format, Known known, Found found)
    : format_(format),
      known_(std::move(known)),
      found_(std::move(found)),
      thread_([this] { run(); }) {}

LengthCounter::~LengthCounter() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
    ++generation_;
  }
  wake_.notify_all();
  thread_.join();
}

void LengthCounter::measure(std::shared_ptr<const std::vector<Clip>> clips, std::uint64_t list,
                            int from) {
  {
    std::lock_guard lock(mutex_);
    request_ = Request{std::move(clips), list, from};
    ++generation_;
  }
  wake_.notify_all();
}

void LengthCounter::cancel() {
  {
    std::lock_guard lock(mutex_);
    request_.reset();
    ++generation_;
  }
  wake_.notify_all();
}

void LengthCounter::run() {
  // Counting is a convenience: it gives way to the decoding that is heard, and to the UI.
  ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 10);
  std::uint64_t seen = 0;
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] { return quit_ || generation_ != seen; });
    if (quit_) return;
    seen = generation_;
    if (!request_) continue;
    const Request request = std::move(*request_);
    request_.reset();
    lock.unlock();
    count(request, seen);
    lock.lock();
  }
}

void LengthCounter::count(const Request& request, std::uint64_t generation) {
  const auto stale = [this, generation] { return generation_ != generation; };
  const int end = std::min(static_cast<int>(request.clips->size()), request.from + 1 + kLookAhead);
  for (int index = std::max(0, request.from); index < end && !stale(); ++index) {
    const Clip& clip = (*request.clips)[static_cast<std::size_t>(index)];
    // A network clip would be fetched twice; its length comes when it has been played.
    if (clip.kind != ClipKind::LocalFile || known_(request.list, index)) continue;
    std::string why;
    auto decoder = ClipDecoder::open(clip, format_, DecoderLimits{{}, stale}, why);
    if (!decoder) continue;
    // Reading the packets costs a fraction of decoding them; decode only where it must.
    auto frames = decoder->countByPackets();
    if (!frames && !stale()) {
      decoder = ClipDecoder::open(clip, format_, DecoderLimits{{}, stale}, why);
      if (!decoder) continue;
      frames = decoder->countRemaining();
    }
    if (frames && !stale()) found_(request.list, index, *frames);
  }
}

}  // namespace tunelark::engine
