#include "player/module/hosted_player.h"

#include <algorithm>

namespace tunelark::module {

HostedPlayer::HostedPlayer(std::unique_ptr<engine::AudioSink> sink, QWidget* parent)
    : engine_(std::make_unique<engine::PlayerEngine>(std::move(sink))),
      display_(new PlayerDisplay(parent)) {
  connect(display_, &PlayerDisplay::seekRequested, this, [this](double seconds) { seek(seconds); });
  connect(display_, &PlayerDisplay::volumeChanged, this, [this](double volume) {
    volume_ = volume;
    engine_->setVolume(volume);
  });
  timer_.setTimerType(Qt::CoarseTimer);
  connect(&timer_, &QTimer::timeout, this, &HostedPlayer::refresh);
  timer_.start(kIdlePollMs);
  refresh();
}

HostedPlayer::~HostedPlayer() {
  timer_.stop();
  // The engine goes first: it stops the sink, which must not outlive the engine's buffer.
  engine_.reset();
  delete display_.data();
}

void HostedPlayer::refresh() {
  engine_->poll();
  const engine::PlayerStatus status = engine_->status();
  if (display_) display_->showStatus(status);
  const int wanted = status.state == engine::PlayState::Playing ? kPlayingPollMs : kIdlePollMs;
  if (timer_.interval() != wanted) timer_.setInterval(wanted);
}

PlayerReport HostedPlayer::report() {
  engine_->poll();
  const engine::PlayerStatus status = engine_->status();
  PlayerReport report;
  report.state = status.state == engine::PlayState::Playing  ? PlayerReport::State::Playing
                 : status.state == engine::PlayState::Paused ? PlayerReport::State::Paused
                                                             : PlayerReport::State::Stopped;
  report.clipIndex = status.clipIndex;
  report.clipCount = status.clipCount;
  report.title = status.title;
  report.location = status.location;
  report.localFile = status.localFile;
  report.elapsedSeconds = status.elapsedSeconds;
  report.totalSeconds = status.totalSeconds;
  report.volume = volume_;
  return report;
}

void HostedPlayer::seek(double seconds) {
  engine_->seek(seconds);
  refresh();
}

void HostedPlayer::setVolume(double volume) {
  volume_ = std::clamp(volume, 0.0, 1.0);
  engine_->setVolume(volume_);
  if (display_) display_->setVolume(volume_);
}

void HostedPlayer::setSource(const std::string& source) {
  engine_->setSource(source);
  refresh();
}

void HostedPlayer::setAutoStart(bool autoStart) {
  engine_->setAutoStart(autoStart);
  refresh();
}

void HostedPlayer::playPause() {
  engine_->playPause();
  refresh();
}

void HostedPlayer::stop() {
  engine_->stop();
  refresh();
}

void HostedPlayer::nextClip() {
  engine_->nextClip();
  refresh();
}

void HostedPlayer::previousClip() {
  engine_->previousClip();
  refresh();
}

void HostedPlayer::setListFile(const std::string& path) { engine_->setListFile(path); }

}  // namespace tunelark::module
