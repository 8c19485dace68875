#pragma once
// The place in the window where the player component sits. The component is loaded after the
// window's first frame, so the site remembers what it was told until then and hands it over on
// attach: auto-start, the source, and the transport calls made since that source was given.

#include <functional>
#include <string>
#include <utility>
#include <vector>

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

  // Where the window keeps the name of its playlist's file. Each source goes to the component
  // with that file, so a relative line plays the clip beside the list it was read from.
  void followListFile(std::function<std::string()> listFile) { listFile_ = std::move(listFile); }

  // Connects the real component and replays what it missed: auto-start first, then the source,
  // then the transport calls in their order, so the component ends in the state the buttons show
  // (a source given while auto-start was off stays loaded and not playing).
  void attach(PlayerControl* component);
  void detach() { component_ = nullptr; }
  bool attached() const { return component_ != nullptr; }

  // What the site holds for a component that is not attached yet.
  const std::string& source() const { return source_; }
  bool autoStart() const { return autoStart_; }

  Control box;  // position and size of the player in the player area

 private:
  enum class Transport { PlayPause, Stop, Next, Previous };
  void transport(Transport call);

  void giveSource();

  PlayerControl* component_ = nullptr;
  std::function<std::string()> listFile_;
  std::string source_;
  bool autoStart_ = true;
  // Transport calls made before attach, since the last source change; a new source makes
  // earlier ones meaningless. Bounded so a long wait cannot grow it without end.
  std::vector<Transport> pending_;
};

}  // namespace tunelark
