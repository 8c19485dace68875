#pragma once
// The six operations the window drives the hosted player with. Nothing else is asked of the
// player: no property is read and no event is handled.

#include <string>

namespace tunelark {

class PlayerControl {
 public:
  virtual ~PlayerControl() = default;
  // What to play: one playlist line ("file:" and a path, or a URL) or the path of a .ram
  // playlist file. "" clears it. With auto-start off a new source is loaded, not played.
  virtual void setSource(const std::string& source) = 0;
  virtual void setAutoStart(bool autoStart) = 0;
  // Starts or resumes when stopped or paused; pauses when playing.
  virtual void playPause() = 0;
  virtual void stop() = 0;
  virtual void nextClip() = 0;
  virtual void previousClip() = 0;
};

}  // namespace tunelark
