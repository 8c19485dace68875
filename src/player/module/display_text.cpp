#include "player/module/display_text.h"

#include <cmath>
#include <cstdio>

namespace tunelark::module {

std::string formatTime(std::optional<double> seconds) {
  if (!seconds || !std::isfinite(*seconds) || *seconds < 0) return "--:--";
  // Whole seconds elapsed: a clip at 59.9 s has not yet reached 1:00.
  const auto total = static_cast<long long>(std::floor(*seconds));
  const long long hours = total / 3600;
  const long long minutes = (total / 60) % 60;
  const long long secs = total % 60;
  char text[32];
  if (hours > 0)
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", hours, minutes, secs);
  else
    std::snprintf(text, sizeof text, "%lld:%02lld", minutes, secs);
  return text;
}

std::string messageText(const engine::PlayerMessage& message) {
  using engine::PlayerEvent;
  const std::string quoted = "\"" + message.clip + "\"";
  switch (message.what) {
    case PlayerEvent::None:
      return {};
    case PlayerEvent::ClipSkipped:
      return "Skipped " + quoted + ": " + message.detail;
    case PlayerEvent::ClipEndedEarly:
      return quoted + " ended early: " + message.detail;
    case PlayerEvent::ListShortened:
      return message.detail;
    case PlayerEvent::NoDevice:
      return message.detail.empty() ? "No sound device: playing silently"
                                    : "No sound device (" + message.detail + "): playing silently";
    case PlayerEvent::DeviceFailed:
      return "Playback stopped: " +
             (message.detail.empty() ? std::string("the sound device failed") : message.detail);
  }
  return {};
}

DisplayText describe(const engine::PlayerStatus& status) {
  DisplayText text;
  const bool hasSource = status.clipCount > 0;
  text.title = hasSource ? status.title : "No clip";
  if (hasSource && text.title.empty()) text.title = "Untitled clip";
  if (hasSource)
    text.clip =
        "Clip " + std::to_string(status.clipIndex + 1) + " of " + std::to_string(status.clipCount);
  text.time = formatTime(status.elapsedSeconds) + " / " + formatTime(status.totalSeconds);
  switch (status.state) {
    case engine::PlayState::Playing:
      text.state = "Playing";
      break;
    case engine::PlayState::Paused:
      text.state = "Paused";
      break;
    case engine::PlayState::Stopped:
      text.state = "Stopped";
      break;
  }
  if (status.noDevice) text.state += " - no sound device";
  text.message = messageText(status.message);
  text.error = !text.message.empty();
  return text;
}

double progressOf(const engine::PlayerStatus& status) {
  const auto& total = status.totalSeconds;
  if (!total || !std::isfinite(*total) || *total <= 0 || !std::isfinite(status.elapsedSeconds))
    return 0;
  const double fraction = status.elapsedSeconds / *total;
  return fraction < 0 ? 0 : (fraction > 1 ? 1 : fraction);
}

}  // namespace tunelark::module
