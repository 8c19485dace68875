#include "player/module/sample_feed.h"

#include <algorithm>
#include <cstring>

namespace tunelark::module {

namespace {
// What bytesAvailable() reports on top of Qt's own buffer: more than any one read asks for.
constexpr qint64 kEndlessBytes = 1 << 20;
}  // namespace

SampleFeed::SampleFeed(engine::SampleSource& source, int channels, QObject* parent)
    : QIODevice(parent), source_(source), channels_(std::max(1, channels)) {}

qint64 SampleFeed::bytesAvailable() const { return QIODevice::bytesAvailable() + kEndlessBytes; }

qint64 SampleFeed::readData(char* data, qint64 maxSize) {
  const auto frameBytes = static_cast<qint64>(sizeof(std::int16_t)) * channels_;
  const qint64 frames = maxSize / frameBytes;
  if (frames <= 0) return 0;
  const auto samples = static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels_);
  if (scratch_.size() < samples) scratch_.resize(samples);
  std::size_t got = source_.pull(scratch_.data(), static_cast<std::size_t>(frames));
  got = std::min(got, static_cast<std::size_t>(frames));
  const std::size_t gotBytes = got * static_cast<std::size_t>(frameBytes);
  std::memcpy(data, scratch_.data(), gotBytes);
  // An underrun (decoder behind, list ended, paused source) is heard as silence rather than
  // letting the device stop its timer and wait for a readyRead that would never come.
  std::memset(data + gotBytes, 0, static_cast<std::size_t>(frames * frameBytes) - gotBytes);
  return frames * frameBytes;
}

qint64 SampleFeed::writeData(const char*, qint64) { return -1; }

}  // namespace tunelark::module
