#include "player/module/qt_audio_sink.h"

#include <QAudioSink>
#include <QMediaDevices>
#include <algorithm>

#include "player/module/sample_feed.h"

namespace tunelark::module {

namespace {

// The engine resamples to whatever we ask, so take the device's own rate and channel count
// (no resampling in the sound server) but keep to what our s16 interleaved path can carry.
engine::AudioFormat formatFor(const QAudioDevice& device) {
  engine::AudioFormat format;
  if (device.isNull()) return format;
  const QAudioFormat preferred = device.preferredFormat();
  if (preferred.sampleRate() >= 8000 && preferred.sampleRate() <= 192000)
    format.sampleRate = preferred.sampleRate();
  if (preferred.channelCount() >= 1) format.channels = std::min(preferred.channelCount(), 2);
  return format;
}

std::string describe(QAudio::Error error) {
  switch (error) {
    case QAudio::OpenError:
      return "The sound device could not be opened.";
    case QAudio::IOError:
      return "The sound device stopped taking sound.";
    case QAudio::FatalError:
      return "The sound server went away.";
    default:
      return "The sound device failed.";
  }
}

}  // namespace

QtAudioSink::QtAudioSink(const QAudioDevice& device, QObject* parent)
    : QObject(parent), device_(device), format_(formatFor(device)) {
  feedTimer_.setInterval(kFeedMilliseconds);
  // Coarse: it may fire together with the device's own timer, saving a wake-up.
  feedTimer_.setTimerType(Qt::CoarseTimer);
  connect(&feedTimer_, &QTimer::timeout, this, &QtAudioSink::topUp);
  qtFormat_.setSampleRate(format_.sampleRate);
  qtFormat_.setChannelCount(format_.channels);
  qtFormat_.setSampleFormat(QAudioFormat::Int16);
}

QtAudioSink::~QtAudioSink() { stop(); }

bool QtAudioSink::outputAvailable() { return !QMediaDevices::audioOutputs().isEmpty(); }

QAudioDevice QtAudioSink::defaultOutput() {
  if (!outputAvailable()) return {};
  return QMediaDevices::defaultAudioOutput();
}

bool QtAudioSink::start(engine::SampleSource& source) {
  stop();
  failed_ = false;
  {
    std::lock_guard lock(errorMutex_);
    error_.clear();
  }
  if (device_.isNull()) {
    setError("No sound device.");
    return false;
  }
  if (!device_.isFormatSupported(qtFormat_)) {
    setError("The sound device cannot play 16-bit sound at " + std::to_string(format_.sampleRate) +
             " Hz.");
    return false;
  }
  feed_ = std::make_unique<SampleFeed>(source, format_.channels);
  feed_->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
  sink_ = std::make_unique<QAudioSink>(device_, qtFormat_);
  sink_->setBufferSize(qtFormat_.bytesForDuration(kBufferMilliseconds * 1000));
  sink_->setVolume(volume_);
  output_ = sink_->start();
  if (!output_ || sink_->state() == QAudio::StoppedState || sink_->error() != QAudio::NoError) {
    const std::string why = describe(sink_->error());
    output_ = nullptr;
    sink_.reset();
    feed_.reset();
    setError(why);
    return false;
  }
  // Connected only after a successful start, so the failures above are reported by the return
  // value alone and not a second time through failed().
  connect(sink_.get(), &QAudioSink::stateChanged, this, &QtAudioSink::onStateChanged);
  if (paused_) {
    sink_->suspend();
  } else {
    topUp();
    feedTimer_.start();
  }
  return true;
}

void QtAudioSink::stop() {
  feedTimer_.stop();
  if (!sink_) return;
  // Disconnect first: the device reports its own stop as a state change, which is no failure.
  sink_->disconnect(this);
  sink_->stop();
  output_ = nullptr;
  sink_.reset();
  feed_.reset();
}

void QtAudioSink::setPaused(bool paused) {
  paused_ = paused;
  if (!sink_) return;
  if (paused) {
    feedTimer_.stop();
    sink_->suspend();
  } else {
    sink_->resume();
    topUp();
    feedTimer_.start();
  }
}

void QtAudioSink::topUp() {
  if (!sink_ || !output_ || paused_) return;
  const qint64 frameBytes = qtFormat_.bytesPerFrame();
  qint64 room = sink_->bytesFree();
  room -= room % frameBytes;
  if (room <= 0) return;
  if (chunk_.size() < static_cast<std::size_t>(room)) chunk_.resize(static_cast<std::size_t>(room));
  const qint64 got = feed_->read(chunk_.data(), room);
  if (got > 0) output_->write(chunk_.data(), got);
}

void QtAudioSink::setVolume(double volume) {
  volume_ = std::clamp(volume, 0.0, 1.0);
  if (sink_) sink_->setVolume(volume_);
}

std::string QtAudioSink::error() const {
  std::lock_guard lock(errorMutex_);
  return error_;
}

std::uint64_t QtAudioSink::framesDelivered() const { return feed_ ? feed_->framesDelivered() : 0; }

void QtAudioSink::onStateChanged() {
  if (!sink_) return;
  // Stopped while we still hold the device means it was taken from us: the server died or the
  // device vanished. Close it here; the engine sees failed() on its next poll and stops.
  const QAudio::Error error = sink_->error();
  if (sink_->state() != QAudio::StoppedState && error != QAudio::FatalError &&
      error != QAudio::IOError)
    return;
  setError(describe(error));
  failed_ = true;
  // We are inside the device's own signal, so it must not be destroyed here. The feed goes with
  // it; a stopped device no longer reads, so the engine's source is not touched again.
  feedTimer_.stop();
  output_ = nullptr;
  QAudioSink* lost = sink_.release();
  lost->disconnect(this);
  feed_.release()->setParent(lost);
  lost->stop();
  lost->deleteLater();
}

void QtAudioSink::setError(const std::string& why) {
  std::lock_guard lock(errorMutex_);
  error_ = why;
}

}  // namespace tunelark::module
