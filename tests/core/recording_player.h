#pragma once
// A stand-in for the player component that records every operation it receives, in order, so
// tests can see exactly what the window asked of the player.

#include <string>
#include <vector>

#include "player/player_control.h"

namespace tunelark::testing {

class RecordingPlayer : public PlayerControl {
 public:
  void setSource(const std::string& s) override { calls.push_back("source:" + s); }
  void setAutoStart(bool on) override { calls.push_back(on ? "auto:1" : "auto:0"); }
  void playPause() override { calls.push_back("playpause"); }
  void stop() override { calls.push_back("stop"); }
  void nextClip() override { calls.push_back("next"); }
  void previousClip() override { calls.push_back("prev"); }

  std::vector<std::string> calls;
};

}  // namespace tunelark::testing
