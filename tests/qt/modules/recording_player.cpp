// A player component whose display shows every operation it was given, in order.
#include <QLabel>

#include "player/module/player_module_api.h"

class Recording : public tunelark::PlayerComponent, public tunelark::PlayerControl {
 public:
  explicit Recording(QWidget* parent) : display_(new QLabel(parent)) {
    display_->setObjectName(QStringLiteral("recordingDisplay"));
  }
  ~Recording() override { delete display_; }
  tunelark::PlayerControl& control() override { return *this; }
  QWidget* display() override { return display_; }
  void setSource(const std::string& s) override { add("source=" + s); }
  void setAutoStart(bool on) override { add(on ? "autostart=1" : "autostart=0"); }
  void playPause() override { add("playpause"); }
  void stop() override { add("stop"); }
  void nextClip() override { add("next"); }
  void previousClip() override { add("previous"); }

 private:
  void add(const std::string& call) {
    const QString text = display_->text();
    display_->setText((text.isEmpty() ? text : text + ';') + QString::fromStdString(call));
  }
  QLabel* display_;
};

extern "C" __attribute__((visibility("default"))) tunelark::PlayerComponent* tunelark_create_player(
    QWidget* parent) {
  return new Recording(parent);
}
