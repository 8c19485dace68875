#pragma once
// What the player module exports: one factory, found by name after the module is loaded.
// The window links neither FFmpeg nor Qt Multimedia; it sees the component only through this.

#include <QWidget>

#include "player/player_control.h"
#include "player/player_report.h"

namespace tunelark {

class PlayerComponent {
 public:
  virtual ~PlayerComponent() = default;
  // The six operations the window drives the player with.
  virtual PlayerControl& control() = 0;
  // The display drawn in the player area; owned by the component.
  virtual QWidget* display() = 0;
  // ---- For the desktop's media controls; a component without them reports nothing ----
  virtual PlayerReport report() { return {}; }
  // Seconds from the current clip's start.
  virtual void seek(double /*seconds*/) {}
  // Linear gain 0..1; the display's volume control follows.
  virtual void setVolume(double /*volume*/) {}
};

}  // namespace tunelark

// Creates the component with its display as a child of `parent`. Returns nullptr on failure.
extern "C" using TunelarkCreatePlayerFn = tunelark::PlayerComponent * (*)(QWidget * parent);
#define TUNELARK_PLAYER_FACTORY "tunelark_create_player"
