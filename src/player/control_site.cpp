#include "player/control_site.h"

namespace tunelark {

void ControlSite::setSource(const std::string& source) {
  source_ = source;
  if (component_) component_->setSource(source);
}

void ControlSite::setAutoStart(bool autoStart) {
  autoStart_ = autoStart;
  if (component_) component_->setAutoStart(autoStart);
}

void ControlSite::playPause() {
  if (component_) component_->playPause();
}

void ControlSite::stop() {
  if (component_) component_->stop();
}

void ControlSite::nextClip() {
  if (component_) component_->nextClip();
}

void ControlSite::previousClip() {
  if (component_) component_->previousClip();
}

void ControlSite::attach(PlayerControl* component) {
  component_ = component;
  if (!component_) return;
  component_->setAutoStart(autoStart_);
  if (!source_.empty()) component_->setSource(source_);
}

}  // namespace tunelark
