#pragma once
// The desktop's media controls (MPRIS) in the window's terms: which of the transport buttons the
// window shows carries out a media action (so the buttons' looks and playstate follow as after
// a click), and the player's report as MPRIS values.

#include <cstdint>
#include <optional>
#include <string>

#include "player/player_report.h"
#include "ui/control_id.h"

namespace tunelark {

class Form1;

enum class MediaAction { PlayPause, Play, Pause, Stop, Next, Previous };

// The transport control shown now (visible, in a visible frame) whose click does `action`: the
// player area's buttons, or the compact panel's when the player area is hidden. None when no
// shown control does it (Stop while stopped, ...). Pausing and resuming are not
// clicks: see holdPlayback().
std::optional<ControlId> transportControlFor(const Form1& form, MediaAction action);

// What a media action does to a player in `state`: pause or resume it in place, or click.
enum class MediaStep { Pause, Resume, Click, Nothing };
MediaStep mediaStep(MediaAction action, PlayerReport::State state);

// Pauses, or resumes, what the player holds, keeping its position, with playstate and the looks
// of whichever transport is shown as after the pause button or the panel's play place. The
// panel has no pause of its own (its playing picture stops), and the player area's play starts
// the list over, so neither button can do this.
void holdPlayback(Form1& form, bool pause);

// "Playing", "Paused" or "Stopped".
const char* playbackStatus(const PlayerReport& report);

struct TrackValues {
  std::string trackId;  // a D-Bus object path naming the current clip, or the NoTrack path
  std::string title;
  std::optional<std::int64_t> lengthMicroseconds;
};

TrackValues trackValues(const PlayerReport& report);

// Microseconds from seconds, as MPRIS counts time.
std::int64_t microseconds(double seconds);

inline constexpr const char* kNoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

}  // namespace tunelark
