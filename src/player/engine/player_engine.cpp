#include "player/engine/player_engine.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/path_parts.h"
#include "platform/regular_file.h"
#include "player/engine/file_stamp.h"
#include "player/engine/length_counter.h"
#include "player/engine/list_change.h"
#include "player/engine/null_sink.h"
#include "player/engine/playback_worker.h"
#include "player/engine/sample_buffer.h"
#include "player/engine/source_resolver.h"

namespace tunelark::engine {
namespace {

// Previous within this much of a clip's start goes to the clip before; later, it restarts.
constexpr double kRestartThresholdSeconds = 3.0;

std::size_t bufferFrames(AudioFormat format, std::chrono::milliseconds length) {
  return static_cast<std::size_t>(std::max<std::int64_t>(
      1, static_cast<std::int64_t>(format.sampleRate) * length.count() / 1000));
}

AudioFormat saneFormat(AudioFormat format) {
  format.sampleRate = std::clamp(format.sampleRate, 1000, 384000);
  format.channels = std::clamp(format.channels, 1, 8);
  return format;
}

}  // namespace

// Everything here belongs to the UI thread, except what PlaybackWorker and SampleBuffer guard
// themselves (they are the only things the decoding and sink threads touch).
struct PlayerEngine::Impl {
  Impl(std::unique_ptr<AudioSink> realSink, EngineOptions opts)
      : options(opts),
        sink(std::move(realSink)),
        format(saneFormat(sink->format())),
        buffer(format, bufferFrames(format, options.bufferLength)),
        worker(buffer, format, options.networkTimeout),
        counter(
            format, [this](std::uint64_t list, int at) { return worker.lengthKnown(list, at); },
            [this](std::uint64_t list, int at, std::int64_t frames) {
              worker.reportLength(list, at, frames);
            }) {}

  ~Impl() { stopSink(); }

  int clipCount() const { return clips ? static_cast<int>(clips->size()) : 0; }
  int currentClip() const { return state == PlayState::Stopped ? clip : buffer.position().clip; }
  std::int64_t currentFrames() const {
    return state == PlayState::Stopped ? startFrames : buffer.position().frames;
  }

  bool startSink() {
    noDevice = false;
    // Set before the start as well: a sink that starts at full volume and is turned down a moment
    // later is heard for that moment.
    sink->setVolume(volume);
    if (sink->start(buffer)) {
      active = sink.get();
      noDevice = !sink->hasDevice();
      // The device is back: what was said about losing it no longer holds.
      const auto said = worker.message().what;
      if (said == PlayerEvent::NoDevice || said == PlayerEvent::DeviceFailed) worker.setMessage({});
    } else {
      // No sound device: keep the list going on the clock so position and clip changes still
      // happen, and say so. The next play tries the device again.
      const auto why = sink->error();
      if (!fallback) fallback = std::make_unique<NullSink>(format);
      if (!fallback->start(buffer)) return false;
      active = fallback.get();
      noDevice = true;
      worker.setMessage({PlayerEvent::NoDevice, {}, why});
    }
    active->setVolume(volume);
    active->setPaused(false);
    return true;
  }

  void stopSink() {
    if (active) active->stop();
    active = nullptr;
  }

  void play() {
    if (clipCount() == 0) return;
    pendingStart = false;
    if (!startSink()) return;
    state = PlayState::Playing;
    worker.play(clips, clip, startFrames);
    measureFrom(clip);
  }

  // Has the length of clip `at` (and a few after it) counted ahead of playback.
  void measureFrom(int at) {
    measuredFrom = at;
    if (clipCount() > 0) counter.measure(clips, worker.list(), at);
  }

  // Stops everything and leaves the position at `frames` into clip `at`.
  void halt(int at, std::int64_t frames) {
    stopSink();
    worker.cancel(at);
    state = PlayState::Stopped;
    clip = at;
    startFrames = frames;
  }

  // Reads the source into a clip list; `shortened` says what was left out.
  std::shared_ptr<const ClipList> resolve(std::string& shortened) const {
    ResolveLimits limits;
    limits.maxClips = static_cast<std::size_t>(std::max(1, options.maxClips));
    auto resolved = resolveSource(source, limits, baseFolder);
    shortened = std::move(resolved.message);
    return std::make_shared<const ClipList>(std::move(resolved.clips));
  }

  // A new list: what was learnt about the old one's clips is forgotten, what was left out of
  // the new one is said.
  void takeList(std::shared_ptr<const ClipList> list, const std::string& shortened) {
    worker.newList();
    measuredFrom = -1;
    orphanAt = -1;
    clips = listed = std::move(list);
    if (!shortened.empty()) worker.setMessage({PlayerEvent::ListShortened, {}, shortened});
  }

  bool listRewritten() const { return !listPath.empty() && stampOf(listPath) != listStamp; }

  // The list file was rewritten: take its new order and stay where the listener is. A clip that
  // is no longer listed is kept in the list played, where the entry that followed it now
  // stands, until it has been heard.
  void followList() {
    listStamp = stampOf(listPath);
    dropOrphanWhenPassed();
    std::string shortened;
    auto fresh = resolve(shortened);
    if (*fresh == *listed) return;
    const auto before = clips;
    const int at = std::clamp(currentClip(), 0, std::max(0, clipCount() - 1));
    const auto frames = currentFrames();
    takeList(fresh, shortened);
    if (before->empty()) {  // nothing was playing: the new list waits for play
      moveTo(0, 0);
      return;
    }
    const NewPlace place = placeIn(*before, at, *fresh);
    const int count = static_cast<int>(fresh->size());
    if (place.kept) {
      moveTo(place.clip, frames);
    } else if (state == PlayState::Stopped) {
      moveTo(place.clip < count ? place.clip : 0, 0);
    } else {
      auto kept = *fresh;
      kept.insert(kept.begin() + place.clip, (*before)[static_cast<std::size_t>(at)]);
      clips = std::make_shared<const ClipList>(std::move(kept));
      orphanAt = place.clip;
      moveTo(place.clip, frames);
    }
    if (clipCount() == 0) counter.cancel();
  }

  // Once a removed clip that was kept playing has been left, the list played is the file's again.
  void dropOrphanWhenPassed() {
    if (orphanAt < 0) return;
    const int at = currentClip();
    if (at == orphanAt) return;
    const auto frames = currentFrames();
    const int index = at > orphanAt ? at - 1 : at;
    clips = listed;
    orphanAt = -1;
    worker.newList();
    measuredFrom = -1;
    if (clipCount() == 0) return;
    moveTo(std::min(index, clipCount() - 1), frames);
  }

  // A clip that cannot be played is passed over; it is known from its line, from a file that
  // is not there, or from an earlier try.
  bool knownUnplayable(int index) const {
    const Clip& c = (*clips)[static_cast<std::size_t>(index)];
    if (c.kind == ClipKind::Unplayable || worker.report(index).skipped) return true;
    return c.kind == ClipKind::LocalFile &&
           readRegularFile(c.location, 0).status != RegularFileRead::Status::Ok;
  }

  void moveTo(int index, std::int64_t frames) {
    clip = index;
    if (state == PlayState::Stopped) {
      startFrames = frames;
    } else {
      worker.play(clips, index, frames);
    }
    if (index != measuredFrom) measureFrom(index);
  }

  const EngineOptions options;
  std::unique_ptr<AudioSink> sink;
  const AudioFormat format;
  SampleBuffer buffer;
  PlaybackWorker worker;
  LengthCounter counter;  // after the worker, which its callbacks use
  std::unique_ptr<NullSink> fallback;
  AudioSink* active = nullptr;  // the sink that is pulling, if any

  std::string source;
  std::string baseFolder;                  // where relative sources are looked for
  std::string listPath;                    // the list file the source names, "" for a clip
  std::optional<FileStamp> listStamp;      // that file as it was read
  std::shared_ptr<const ClipList> listed;  // the clips as the source lists them
  std::shared_ptr<const ClipList> clips;   // what is played: `listed`, or it and a removed clip
  int orphanAt = -1;                       // where in `clips` that removed clip is kept
  bool autoStart = true;
  bool pendingStart = false;  // a source loaded while auto-start was off, not yet played
  PlayState state = PlayState::Stopped;
  int measuredFrom = -1;         // the clip the counter was last asked to start from
  int clip = 0;                  // the current clip while stopped
  std::int64_t startFrames = 0;  // where play starts in it
  bool noDevice = false;
  double volume = 1.0;
};

PlayerEngine::PlayerEngine(std::unique_ptr<AudioSink> sink, EngineOptions options)
    : impl_(
          std::make_unique<Impl>(sink ? std::move(sink) : std::make_unique<NullSink>(), options)) {}

PlayerEngine::~PlayerEngine() = default;

void PlayerEngine::setSource(const std::string& source) {
  auto& d = *impl_;
  // The playlist's file handed over again after an edit rewrote it (a sort, a shuffle): the
  // listener keeps the clip that is playing and goes on in the new order.
  if (source == d.source && d.listRewritten()) {
    d.followList();
    return;
  }
  d.halt(0, 0);
  d.pendingStart = false;
  d.source = source;
  d.listPath = localPathOf(source, d.baseFolder);
  d.listStamp = stampOf(d.listPath);
  std::string shortened;
  auto list = d.resolve(shortened);
  d.takeList(std::move(list), shortened);
  if (d.clipCount() == 0) {
    d.counter.cancel();
    d.measuredFrom = -1;
    return;
  }
  d.measureFrom(0);
  if (d.autoStart) {
    d.play();
  } else {
    d.pendingStart = true;
  }
}

void PlayerEngine::setAutoStart(bool autoStart) {
  auto& d = *impl_;
  d.autoStart = autoStart;
  if (autoStart && d.pendingStart && d.state == PlayState::Stopped) d.play();
}

void PlayerEngine::playPause() {
  auto& d = *impl_;
  switch (d.state) {
    case PlayState::Playing:
      d.active->setPaused(true);
      d.state = PlayState::Paused;
      break;
    case PlayState::Paused:
      d.active->setPaused(false);
      d.state = PlayState::Playing;
      break;
    case PlayState::Stopped:
      d.play();
      break;
  }
}

void PlayerEngine::stop() {
  auto& d = *impl_;
  d.pendingStart = false;
  d.halt(d.currentClip(), 0);
}

void PlayerEngine::setListFile(const std::string& path) {
  impl_->baseFolder = path.empty() ? std::string() : folderOf(path);
}

void PlayerEngine::nextClip() {
  auto& d = *impl_;
  d.dropOrphanWhenPassed();
  const int current = d.currentClip();
  if (current + 1 < d.clipCount()) d.moveTo(current + 1, 0);
}

void PlayerEngine::previousClip() {
  auto& d = *impl_;
  if (d.clipCount() == 0) return;
  d.dropOrphanWhenPassed();
  const int current = d.currentClip();
  const double elapsed = static_cast<double>(d.currentFrames()) / d.format.sampleRate;
  int target = current;
  if (elapsed <= kRestartThresholdSeconds) {
    target = current - 1;
    while (target >= 0 && d.knownUnplayable(target)) --target;
    if (target < 0) target = current;  // nothing playable before it: restart it instead
  }
  d.moveTo(target, 0);
}

void PlayerEngine::seek(double seconds) {
  auto& d = *impl_;
  if (d.clipCount() == 0 || !std::isfinite(seconds)) return;
  const int current = d.currentClip();
  // A day is longer than any clip; the bound keeps the conversion to frames defined.
  constexpr double kLongestSeek = 86400.0;
  auto frames =
      static_cast<std::int64_t>(std::clamp(seconds, 0.0, kLongestSeek) * d.format.sampleRate);
  if (const auto total = d.worker.report(current).length()) frames = std::min(frames, *total);
  d.moveTo(current, frames);
}

void PlayerEngine::setVolume(double volume) {
  auto& d = *impl_;
  d.volume = std::isfinite(volume) ? std::clamp(volume, 0.0, 1.0) : 1.0;
  if (d.active) d.active->setVolume(d.volume);
}

void PlayerEngine::poll() {
  auto& d = *impl_;
  // An edit of the playlist rewrote its file without handing it over (a removal, a move).
  if (d.listRewritten()) d.followList();
  d.dropOrphanWhenPassed();
  if (d.state == PlayState::Stopped || !d.active) return;
  if (d.active->failed()) {
    const auto why = d.active->error();
    d.halt(d.currentClip(), 0);
    d.worker.setMessage({PlayerEvent::DeviceFailed, {}, why});
    return;
  }
  // The whole list has been heard: stop, and be ready to play it again from the top.
  const auto position = d.buffer.position();
  if (position.drained) {
    d.halt(0, 0);
    d.clips = d.listed;  // a removed clip kept to its end is over
    d.orphanAt = -1;
    return;
  }
  // Playback went on to the next clip by itself: count the ones now ahead.
  if (position.clip != d.measuredFrom) d.measureFrom(position.clip);
}

PlayerStatus PlayerEngine::status() const {
  const auto& d = *impl_;
  PlayerStatus s;
  s.state = d.state;
  s.clipCount = d.clipCount();
  s.noDevice = d.noDevice && d.state != PlayState::Stopped;
  s.message = d.worker.message();
  if (s.clipCount == 0) return s;
  if (d.state == PlayState::Stopped) {
    s.clipIndex = d.clip;
    s.elapsedSeconds = static_cast<double>(d.startFrames) / d.format.sampleRate;
  } else {
    const auto position = d.buffer.position();
    s.clipIndex = std::clamp(position.clip, 0, s.clipCount - 1);
    s.elapsedSeconds = static_cast<double>(position.frames) / d.format.sampleRate;
  }
  const auto& clip = (*d.clips)[static_cast<std::size_t>(s.clipIndex)];
  const auto report = d.worker.report(s.clipIndex);
  if (const auto length = report.length()) {
    s.totalSeconds = static_cast<double>(*length) / d.format.sampleRate;
  }
  s.title = !report.title.empty() ? report.title
            : !clip.title.empty() ? clip.title
                                  : clip.displayName();
  s.location = clip.location;
  s.localFile = clip.kind == ClipKind::LocalFile;
  s.unplayable = report.skipped || clip.kind == ClipKind::Unplayable;
  return s;
}

}  // namespace tunelark::engine
