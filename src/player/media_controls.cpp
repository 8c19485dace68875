#include "player/media_controls.h"

#include <cmath>
#include <vector>

#include "ui/form1.h"

namespace tunelark {

std::optional<ControlId> transportControlFor(const Form1& form, MediaAction action) {
  using enum ControlId;
  // The player area's button first, then the compact panel's for the same place.
  std::vector<ControlId> candidates;
  switch (action) {
    case MediaAction::PlayPause:
    case MediaAction::Play:
      candidates = {Image9, panelplaydown};
      break;
    case MediaAction::Pause:
      break;
    case MediaAction::Stop:
      candidates = {Image8, panelstopdown};
      break;
    case MediaAction::Next:
      candidates = {Image13, panelnext};
      break;
    case MediaAction::Previous:
      candidates = {Image12, panelprev};
      break;
  }
  for (ControlId control : candidates)
    if (form.isShown(control)) return control;
  return std::nullopt;
}

MediaStep mediaStep(MediaAction action, PlayerReport::State state) {
  using State = PlayerReport::State;
  const bool toggle = action == MediaAction::PlayPause;
  if (state == State::Playing && (toggle || action == MediaAction::Pause)) return MediaStep::Pause;
  if (state == State::Paused && (toggle || action == MediaAction::Play)) return MediaStep::Resume;
  if (action == MediaAction::Pause || (state == State::Playing && action == MediaAction::Play))
    return MediaStep::Nothing;
  return MediaStep::Click;
}

void holdPlayback(Form1& form, bool pause) {
  form.playstate = pause ? 0 : 1;
  form.RealAudio1.playPause();
  if (form.playershown == 0) {
    pause ? form.applyPanelStoppedLook() : form.applyPanelPlayingLook();
  } else if (pause) {
    form.Image7.visible = false;  // as the pause button leaves it: stop stays active
    form.Image9.visible = true;
  } else {
    form.applyPlayingLook();
  }
}

const char* playbackStatus(const PlayerReport& report) {
  switch (report.state) {
    case PlayerReport::State::Playing:
      return "Playing";
    case PlayerReport::State::Paused:
      return "Paused";
    default:
      return "Stopped";
  }
}

std::int64_t microseconds(double seconds) {
  if (!std::isfinite(seconds) || seconds < 0) return 0;
  return static_cast<std::int64_t>(std::llround(seconds * 1e6));
}

TrackValues trackValues(const PlayerReport& report) {
  TrackValues values;
  if (report.clipCount == 0) {
    values.trackId = kNoTrack;
    return values;
  }
  values.trackId = "/org/tunelark/clip/" + std::to_string(report.clipIndex);
  values.title = report.title;
  if (report.totalSeconds) values.lengthMicroseconds = microseconds(*report.totalSeconds);
  return values;
}

}  // namespace tunelark
