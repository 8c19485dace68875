#pragma once
// The player component the window hosts: the engine playing through the Qt sink (or on the
// clock when no sound device is listed), and the display kept up to date from the engine's
// status by a timer that ticks a few times a second while playing and rarely otherwise.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "player/engine/player_engine.h"
#include "player/module/player_display.h"
#include "player/module/player_module_api.h"

namespace tunelark::module {

class HostedPlayer : public QObject, public PlayerComponent, private PlayerControl {
 public:
  // Polling rates: often enough while playing for the position bar to move smoothly, and just
  // enough when idle to notice what the engine finishes in the background.
  static constexpr int kPlayingPollMs = 250;
  static constexpr int kIdlePollMs = 1000;

  // Plays on `sink`; see makeOutputSink() for the usual choice.
  HostedPlayer(std::unique_ptr<engine::AudioSink> sink, QWidget* parent);
  ~HostedPlayer() override;

  PlayerControl& control() override { return *this; }
  QWidget* display() override { return display_.data(); }
  PlayerReport report() override;
  void seek(double seconds) override;
  void setVolume(double volume) override;

  engine::PlayerEngine& engine() { return *engine_; }
  // Brings the display in line with the engine now, rather than at the next tick.
  void refresh();

 private:
  // Each operation goes to the engine, then the display shows its effect at once.
  void setSource(const std::string& source) override;
  void setAutoStart(bool autoStart) override;
  void playPause() override;
  void stop() override;
  void nextClip() override;
  void previousClip() override;
  void setListFile(const std::string& path) override;

  std::unique_ptr<engine::PlayerEngine> engine_;
  QPointer<PlayerDisplay> display_;  // a child of the host's widget, which may delete it first
  QTimer timer_{this};
  double volume_ = 1.0;  // the engine's, as last set
};

// The sound module's output, loaded when the player first plays: Qt Multimedia's sink on the
// default output, or a stream straight to the PulseAudio server; with neither, the engine keeps
// time without sound, so a machine without sound still steps through the list.
std::unique_ptr<engine::AudioSink> makeOutputSink();

}  // namespace tunelark::module
