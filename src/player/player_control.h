#pragma once
// The operations the window drives the hosted player with: the six transport and source calls,
// and where the lines it is given come from. No property is read and no event is handled.

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
  // The list file (a .ram) the playlist is read from or written to. A relative line given as
  // the source names a clip beside that file, as it does when the whole file is played.
  virtual void setListFile(const std::string& /*path*/) {}
};

}  // namespace tunelark
