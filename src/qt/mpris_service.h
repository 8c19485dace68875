#pragma once
// The window on the session bus as an MPRIS media player (org.mpris.MediaPlayer2.tunelark), so
// the desktop's media keys, sound menu and tools like playerctl drive it. Transport requests go
// through the transport buttons the window shows, exactly as a click would, except pause and
// resume, which no button does in every view (see holdPlayback); the rest reads and sets the
// hosted player. Registered after the first frame; without a session bus, or with the
// name taken by another Tunelark, it stays off the bus and says nothing.

#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include "player/media_controls.h"

namespace tunelark {
class Form1;
class PlayerComponent;
}  // namespace tunelark

namespace tunelark::qt {

class MainWindow;

inline constexpr const char* kMprisService = "org.mpris.MediaPlayer2.tunelark";
inline constexpr const char* kMprisPath = "/org/mpris/MediaPlayer2";

class MprisService : public QObject {
  Q_OBJECT

 public:
  // How often the player's state is looked at for PropertiesChanged.
  static constexpr int kPollMs = 500;

  MprisService(MainWindow& window, Form1& form);
  ~MprisService() override;
  // True when the service is on the session bus.
  bool registerOnSessionBus();

  // ---- What the two interfaces do ----
  void raise();
  void quit();
  void act(MediaAction action);
  void seekBy(qint64 offsetUs);
  void setPosition(const QString& trackId, qint64 positionUs);
  void setVolume(double volume);
  void openUri(const QString& uri);
  PlayerReport report() const;
  QVariantMap metadata(const PlayerReport& report) const;
  bool canSeek() const;

 signals:
  void seeked(qint64 positionUs);

 private:
  // Emits PropertiesChanged for what changed since the last look.
  void publishChanges();
  // Seeks `component` to `seconds` and announces where it landed.
  void seekTo(PlayerComponent& component, double seconds);

  MainWindow& window_;
  Form1& form_;
  QTimer poll_;
  bool registered_ = false;
  QVariantMap published_;  // the Player properties as last published
};

}  // namespace tunelark::qt
