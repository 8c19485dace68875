#pragma once
// What the hosted player tells about itself beyond the window's six operations, for the
// desktop's media controls (MPRIS): a snapshot of its state, the current clip and the volume.

#include <optional>
#include <string>

namespace tunelark {

struct PlayerReport {
  enum class State { Stopped, Playing, Paused };
  State state = State::Stopped;
  int clipIndex = 0;  // 0-based; meaningless while clipCount is 0
  int clipCount = 0;  // clips of the current source, 0 without one
  std::string title;
  std::string location;  // the clip's path or URL, as written in the source
  bool localFile = false;
  double elapsedSeconds = 0;
  std::optional<double> totalSeconds;  // once counted
  double volume = 1.0;                 // linear gain 0..1
};

}  // namespace tunelark
