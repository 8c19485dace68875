#pragma once
// What the player module exports: one factory, found by name after the module is loaded.
// The window links neither FFmpeg nor Qt Multimedia; it sees the component only through this.

#include <QWidget>

#include "player/player_control.h"

namespace tunelark {

class PlayerComponent {
 public:
  virtual ~PlayerComponent() = default;
  // The six operations the window drives the player with.
  virtual PlayerControl& control() = 0;
  // The display drawn in the player area; owned by the component.
  virtual QWidget* display() = 0;
};

}  // namespace tunelark

// Creates the component with its display as a child of `parent`. Returns nullptr on failure.
extern "C" using TunelarkCreatePlayerFn = tunelark::PlayerComponent * (*)(QWidget * parent);
#define TUNELARK_PLAYER_FACTORY "tunelark_create_player"
