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
      jobs_(
          [this](const Request& request, std::uint64_t generation) { count(request, generation); },
          [] {
            // Counting is a convenience: it gives way to the decoding that is heard, and to
            // the UI.
            ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 10);
          }) {}

LengthCounter::~LengthCounter() = default;

void LengthCounter::measure(std::shared_ptr<const std::vector<Clip>> clips, std::uint64_t list,
                            int from) {
  jobs_.post(Request{std::move(clips), list, from});
}

void LengthCounter::cancel() { jobs_.cancel(); }

void LengthCounter::count(const Request& request, std::uint64_t generation) {
  const auto stale = [this, generation] { return jobs_.stale(generation); };
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
