#pragma once
// What the player has to tell about its last problem, as values: what happened and the clip it
// concerns. Only the display turns this into words; nothing reads words back.

#include <string>

namespace tunelark::engine {

enum class PlayerEvent {
  None,
  ClipSkipped,     // `clip` could not be played and was passed over; `detail` says why
  ClipEndedEarly,  // `clip` broke off part-way; `detail` says how
  ListShortened,   // the source was not taken whole; `detail` says what was left out
  NoDevice,        // no sound device: playing silently on the clock; `detail` may say why
  DeviceFailed,    // the sound device failed while playing and playback stopped
};

struct PlayerMessage {
  PlayerEvent what = PlayerEvent::None;
  std::string clip;    // the clip's display name, "" when the message is about no one clip
  std::string detail;  // the cause in the words of the part that met it; may be ""

  bool operator==(const PlayerMessage&) const = default;
};

}  // namespace tunelark::engine
