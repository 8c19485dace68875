#pragma once
// The player's face in the window's player area: the clip's title, "Clip i of n", elapsed and
// total time, the state and the last problem, a position bar to seek with and a volume control.
// It draws what it is given and reports what the user asks for; the engine holds the state.
// A screen reader reads each text as a label, and the two bars as sliders.

#include <QWidget>
#include <array>

#include "player/engine/player_engine.h"
#include "player/module/display_text.h"

namespace tunelark::module {

class LevelBar;
class SpokenText;

class PlayerDisplay : public QWidget {
  Q_OBJECT

 public:
  // The size of the player in the player area: 5055 x 1575 twips.
  static constexpr int kWidth = 337;
  static constexpr int kHeight = 105;
  // The window lays its logo over this corner, so nothing is drawn under it.
  static constexpr int kLogoWidth = 76;
  static constexpr int kLogoHeight = 28;

  explicit PlayerDisplay(QWidget* parent = nullptr);

  void showStatus(const engine::PlayerStatus& status);
  // What is shown now, as text.
  const DisplayText& text() const { return text_; }
  void setVolume(double volume);

 signals:
  // Seconds from the current clip's start.
  void seekRequested(double seconds);
  // Linear gain 0..1.
  void volumeChanged(double volume);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  DisplayText text_;
  std::optional<double> total_;
  LevelBar* position_;
  LevelBar* volume_;
  // The title, "Clip i of n", state, time and problem, for a screen reader.
  std::array<SpokenText*, 5> spoken_{};
};

}  // namespace tunelark::module
