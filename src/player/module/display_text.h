#pragma once
// The words and figures the player display shows for one snapshot of the engine's status, kept
// apart from the drawing so they can be checked without a screen.

#include <optional>
#include <string>

#include "player/engine/player_engine.h"

namespace tunelark::module {

struct DisplayText {
  std::string title;    // the clip's title, or "No clip" when there is no source
  std::string clip;     // "Clip i of n"; "" without a source
  std::string time;     // "elapsed / total", the total "--:--" while unknown
  std::string state;    // "Stopped", "Playing", "Paused", with "no sound device" when on the clock
  std::string message;  // the last problem, naming the clip; "" when there is none
  bool error = false;   // the message is a problem to show as such
};

// "m:ss", or "h:mm:ss" from an hour on; "--:--" for an unknown time. Negative or non-finite
// values (which a broken clip may produce) count as unknown rather than as 0:00.
std::string formatTime(std::optional<double> seconds);

DisplayText describe(const engine::PlayerStatus& status);

// The words for one of the player's messages; "" for none.
std::string messageText(const engine::PlayerMessage& message);

// Where the position bar stands, 0..1; 0 while the total is unknown or zero.
double progressOf(const engine::PlayerStatus& status);

}  // namespace tunelark::module
