#pragma once
// The place in the window where the player component sits. The component is loaded after the
// window's first frame, so the site remembers what it was told until then (auto-start and
// source; transport calls made with nothing attached change nothing) and hands it over on attach.

#include <optional>
#include <string>

#include "player/player_control.h"
#include "ui/control.h"

namespace tunelark {

class ControlSite : public PlayerControl {
 public:
  explicit ControlSite(Control siteBox) : box(std::move(siteBox)) {}

  void setSource(const std::string& source) override;
  void setAutoStart(bool autoStart) override;
  void playPause() override;
  void stop() override;
  void nextClip() override;
  void previousClip() override;

  // Connects the real component and replays the remembered auto-start and source, in that
  // order, so a source given while auto-start was off stays loaded and not playing.
  void attach(PlayerControl* component);
  void detach() { component_ = nullptr; }
  bool attached() const { return component_ != nullptr; }

  // What the site holds for a component that is not attached yet.
  const std::string& source() const { return source_; }
  bool autoStart() const { return autoStart_; }

  Control box;  // position and size of the player in the player area

 private:
  PlayerControl* component_ = nullptr;
  std::string source_;
  bool autoStart_ = true;
};

}  // namespace tunelark
