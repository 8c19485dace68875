#pragma once
// The player: resolves a source into a list of clips, decodes them with FFmpeg on a worker
// thread into a bounded buffer that the sink drains, and moves from clip to clip without a gap.
// All public calls are made from one thread (the UI thread); status() is a consistent snapshot.
//
// What the transport does at the edges of the list:
// - stop() keeps the current clip and returns to its start; playPause() then plays it again.
// - When the last clip ends, playback stops and the position returns to the first clip.
// - nextClip() on the last clip does nothing: a stray click never cuts the music off.
// - previousClip() more than 3 seconds into a clip restarts that clip; earlier, it moves to the
//   previous clip, and on the first clip it restarts the first clip.
// - previousClip() passes over the clips before that are known not to play (missing files,
//   refused lines, clips skipped before), so going back is never turned round by a bad clip.
// - While stopped, nextClip() and previousClip() only choose the clip that play will start.
// - A source is loaded afresh each time it is given, the same one too: with auto-start on it
//   plays from its first clip whatever the player was doing.
// - Except for a list file that was rewritten since it was read (an edit of the playlist):
//   given again, or noticed by poll(), the new order is followed without a break. The clip
//   playing goes on and what comes next is the new file's; a clip that was removed plays to its
//   end, then the entry that followed it. A stopped player stays stopped.
//
// When the sink cannot start (no sound device), that play runs silently on the clock and the
// status says so; when it fails while playing, poll() stops playback with the sink's error.
// Every later play tries the sink again.

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "player/engine/audio_sink.h"
#include "player/engine/player_message.h"
#include "player/player_control.h"

namespace tunelark::engine {

enum class PlayState { Stopped, Playing, Paused };

struct PlayerStatus {
  PlayState state = PlayState::Stopped;
  std::string title;          // metadata title, else the "title" parameter, else the file name
  std::string location;       // the current clip's path or URL, as the source gives it
  bool localFile = false;     // the location is a path on this machine
  int clipIndex = 0;          // 0-based index of the current clip
  int clipCount = 0;          // clips in the current source (0: no source)
  double elapsedSeconds = 0;  // counted from decoded samples handed to the sink
  // Unknown until counted: a local clip is counted in the background once it is current (or
  // about to be), a network clip when it has been played to its end.
  std::optional<double> totalSeconds;
  bool noDevice = false;    // playing on the clock, no sound device
  PlayerMessage message;    // the last problem, e.g. a skipped clip and why
  bool unplayable = false;  // the current clip cannot be played (refused, pnm://, missing, ...)
};

// Limits that tests and hosts may tighten; the defaults suit a desktop player.
struct EngineOptions {
  // How long a network source may take to open or stall while reading before it is skipped.
  std::chrono::milliseconds networkTimeout{10000};
  // Clips taken from one source; the rest of a huge .ram is left out and the display says so.
  int maxClips = 10000;
  // Decoded sound held ahead of the sink.
  std::chrono::milliseconds bufferLength{750};
};

class PlayerEngine : public PlayerControl {
 public:
  explicit PlayerEngine(std::unique_ptr<AudioSink> sink, EngineOptions options = {});
  ~PlayerEngine() override;
  PlayerEngine(const PlayerEngine&) = delete;
  PlayerEngine& operator=(const PlayerEngine&) = delete;

  void setSource(const std::string& source) override;
  void setAutoStart(bool autoStart) override;
  void playPause() override;
  void stop() override;
  void nextClip() override;
  void previousClip() override;
  void setListFile(const std::string& path) override;

  // Moves within the current clip (seconds from its start). While stopped it sets where play
  // will start.
  void seek(double seconds);
  void setVolume(double volume);
  PlayerStatus status() const;
  // Handles what the worker and the sink reported (end of the list, a lost device) and a list
  // file rewritten under the player; the host calls it regularly from the UI thread, e.g. from
  // the display's timer.
  void poll();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tunelark::engine
