#include "player/control_site.h"

namespace tunelark {

namespace {
constexpr std::size_t kMaxPending = 64;
}

void ControlSite::setSource(const std::string& source) {
  source_ = source;
  pending_.clear();
  if (component_) giveSource();
}

void ControlSite::giveSource() {
  component_->setListFile(listFile_ ? listFile_() : std::string());
  component_->setSource(source_);
}

void ControlSite::setAutoStart(bool autoStart) {
  autoStart_ = autoStart;
  if (component_) component_->setAutoStart(autoStart);
}

void ControlSite::playPause() { transport(Transport::PlayPause); }
void ControlSite::stop() { transport(Transport::Stop); }
void ControlSite::nextClip() { transport(Transport::Next); }
void ControlSite::previousClip() { transport(Transport::Previous); }

void ControlSite::transport(Transport call) {
  if (!component_) {
    if (pending_.size() < kMaxPending) pending_.push_back(call);
    return;
  }
  switch (call) {
    case Transport::PlayPause:
      component_->playPause();
      break;
    case Transport::Stop:
      component_->stop();
      break;
    case Transport::Next:
      component_->nextClip();
      break;
    case Transport::Previous:
      component_->previousClip();
      break;
  }
}

void ControlSite::attach(PlayerControl* component) {
  component_ = component;
  if (!component_) return;
  component_->setAutoStart(autoStart_);
  if (!source_.empty()) giveSource();
  std::vector<Transport> missed;
  missed.swap(pending_);
  for (Transport call : missed) transport(call);
}

}  // namespace tunelark
