// A player component that shows, in its display, every operation it was given: the tests read
// the display's text to see what reached the component and in which order.
#include <QLabel>

#include "player/module/player_module_api.h"

namespace {

class RecordingControl : public tunelark::PlayerControl {
 public:
  explicit RecordingControl(QLabel* log) : log_(log) {}
  void setSource(const std::string& s) override { add("source=" + s); }
  void setAutoStart(bool on) override { add(on ? "autostart=1" : "autostart=0"); }
  void playPause() override { add("playpause"); }
  void stop() override { add("stop"); }
  void nextClip() override { add("next"); }
  void previousClip() override { add("previous"); }

 private:
  void add(const std::string& call) {
    QString text = log_->text();
    if (!text.isEmpty()) text += QLatin1Char(';');
    log_->setText(text + QString::fromStdString(call));
  }
  QLabel* log_;
};

class RecordingComponent : public tunelark::PlayerComponent {
 public:
  explicit RecordingComponent(QWidget* parent) : display_(new QLabel(parent)), control_(display_) {
    display_->setObjectName(QStringLiteral("recordingDisplay"));
  }
  ~RecordingComponent() override { delete display_; }
  tunelark::PlayerControl& control() override { return control_; }
  QWidget* display() override { return display_; }

 private:
  QLabel* display_;
  RecordingControl control_;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) tunelark::PlayerComponent* tunelark_create_player(
    QWidget* parent) {
  return new RecordingComponent(parent);
}
