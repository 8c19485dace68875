#include "qt/mpris_service.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QGuiApplication>
#include <QUrl>
#include <algorithm>
#include <cmath>

#include "player/module/player_module_api.h"
#include "playlist/given_files.h"
#include "qt/delivery.h"
#include "qt/main_window.h"
#include "qt/player_site.h"
#include "ui/form1.h"

namespace tunelark::qt {

namespace {

constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";

class RootAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
  Q_PROPERTY(bool CanQuit READ yes)
  Q_PROPERTY(bool CanRaise READ yes)
  Q_PROPERTY(bool CanSetFullscreen READ no)
  Q_PROPERTY(bool Fullscreen READ no)
  Q_PROPERTY(bool HasTrackList READ no)
  Q_PROPERTY(QString Identity READ identity)
  Q_PROPERTY(QString DesktopEntry READ desktopEntry)
  Q_PROPERTY(QStringList SupportedUriSchemes READ uriSchemes)
  Q_PROPERTY(QStringList SupportedMimeTypes READ mimeTypes)

 public:
  explicit RootAdaptor(MprisService* service) : QDBusAbstractAdaptor(service), s_(service) {}
  bool yes() const { return true; }
  bool no() const { return false; }
  QString identity() const { return QStringLiteral("Tunelark"); }
  QString desktopEntry() const { return QGuiApplication::desktopFileName(); }
  QStringList uriSchemes() const { return {QStringLiteral("file")}; }
  QStringList mimeTypes() const {
    return {QStringLiteral("audio/x-pn-realaudio"), QStringLiteral("audio/vnd.rn-realaudio"),
            QStringLiteral("application/vnd.rn-realmedia")};
  }

 public slots:
  void Raise() { s_->raise(); }
  void Quit() { s_->quit(); }

 private:
  MprisService* s_;
};

class PlayerAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
  Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
  Q_PROPERTY(double Rate READ one WRITE setRate)
  Q_PROPERTY(double MinimumRate READ one)
  Q_PROPERTY(double MaximumRate READ one)
  Q_PROPERTY(QVariantMap Metadata READ metadata)
  Q_PROPERTY(double Volume READ volume WRITE setVolume)
  Q_PROPERTY(qlonglong Position READ position)
  Q_PROPERTY(bool CanGoNext READ yes)
  Q_PROPERTY(bool CanGoPrevious READ yes)
  Q_PROPERTY(bool CanPlay READ yes)
  Q_PROPERTY(bool CanPause READ yes)
  Q_PROPERTY(bool CanSeek READ canSeek)
  Q_PROPERTY(bool CanControl READ yes)

 public:
  explicit PlayerAdaptor(MprisService* service) : QDBusAbstractAdaptor(service), s_(service) {
    connect(service, &MprisService::seeked, this, &PlayerAdaptor::Seeked);
  }
  QString playbackStatus() const {
    return QString::fromLatin1(tunelark::playbackStatus(s_->report()));
  }
  double one() const { return 1.0; }
  void setRate(double) {}  // only the normal rate
  QVariantMap metadata() const { return s_->metadata(s_->report()); }
  double volume() const { return s_->report().volume; }
  void setVolume(double volume) { s_->setVolume(volume); }
  qlonglong position() const { return microseconds(s_->report().elapsedSeconds); }
  bool yes() const { return true; }
  bool canSeek() const { return s_->canSeek(); }

 public slots:
  void PlayPause() { s_->act(MediaAction::PlayPause); }
  void Play() { s_->act(MediaAction::Play); }
  void Pause() { s_->act(MediaAction::Pause); }
  void Stop() { s_->act(MediaAction::Stop); }
  void Next() { s_->act(MediaAction::Next); }
  void Previous() { s_->act(MediaAction::Previous); }
  void Seek(qlonglong offset) { s_->seekBy(offset); }
  void SetPosition(const QDBusObjectPath& track, qlonglong position) {
    s_->setPosition(track.path(), position);
  }
  void OpenUri(const QString& uri) { s_->openUri(uri); }

 signals:
  void Seeked(qlonglong position);

 private:
  MprisService* s_;
};

}  // namespace

MprisService::MprisService(MainWindow& window, Form1& form)
    : QObject(&window), window_(window), form_(form) {
  new RootAdaptor(this);
  new PlayerAdaptor(this);
  poll_.setTimerType(Qt::CoarseTimer);
  connect(&poll_, &QTimer::timeout, this, &MprisService::publishChanges);
}

MprisService::~MprisService() {
  if (!registered_) return;
  QDBusConnection bus = QDBusConnection::sessionBus();
  bus.unregisterObject(QLatin1String(kMprisPath));
  bus.unregisterService(QLatin1String(kMprisService));
}

bool MprisService::registerOnSessionBus() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  if (!bus.registerObject(QLatin1String(kMprisPath), this, QDBusConnection::ExportAdaptors))
    return false;
  if (!bus.registerService(QLatin1String(kMprisService))) {
    bus.unregisterObject(QLatin1String(kMprisPath));
    return false;
  }
  registered_ = true;
  publishChanges();
  poll_.start(kPollMs);
  return true;
}

PlayerReport MprisService::report() const {
  PlayerComponent* component = window_.playerSite().component();
  return component ? component->report() : PlayerReport{};
}

QVariantMap MprisService::metadata(const PlayerReport& report) const {
  const TrackValues track = trackValues(report);
  QVariantMap map;
  map.insert(QStringLiteral("mpris:trackid"),
             QVariant::fromValue(QDBusObjectPath(QString::fromStdString(track.trackId))));
  if (report.clipCount == 0) return map;
  map.insert(QStringLiteral("xesam:title"), QString::fromStdString(track.title));
  const QString location = QFile::decodeName(QByteArray::fromStdString(report.location));
  map.insert(QStringLiteral("xesam:url"),
             report.localFile ? QUrl::fromLocalFile(location).toString() : location);
  if (track.lengthMicroseconds)
    map.insert(QStringLiteral("mpris:length"), qlonglong(*track.lengthMicroseconds));
  return map;
}

bool MprisService::canSeek() const {
  const PlayerReport r = report();
  return r.clipCount > 0 && r.totalSeconds && *r.totalSeconds > 0;
}

void MprisService::raise() { window_.bringToFront(); }

void MprisService::quit() {
  // The caller has its answer before the process ends.
  QTimer::singleShot(0, &window_, [this] { window_.click(ControlId::Image21); });
}

void MprisService::act(MediaAction action) {
  const MediaStep step = mediaStep(action, report().state);
  switch (step) {
    case MediaStep::Pause:
    case MediaStep::Resume:
      deliver(
          form_.host, [this, step] { holdPlayback(form_, step == MediaStep::Pause); },
          [this] { window_.sync(); });
      break;
    case MediaStep::Click:
      if (const auto control = transportControlFor(form_, action)) window_.click(*control);
      break;
    case MediaStep::Nothing:
      break;
  }
  publishChanges();
}

void MprisService::seekBy(qint64 offsetUs) {
  const PlayerReport r = report();
  PlayerComponent* component = window_.playerSite().component();
  if (!component || r.clipCount == 0) return;
  const double target = r.elapsedSeconds + static_cast<double>(offsetUs) / 1e6;
  // Past the end goes on to the next clip, as MPRIS has Seek do.
  if (r.totalSeconds && target >= *r.totalSeconds) {
    act(MediaAction::Next);
    return;
  }
  seekTo(*component, std::max(0.0, target));
}

void MprisService::setPosition(const QString& trackId, qint64 positionUs) {
  const PlayerReport r = report();
  PlayerComponent* component = window_.playerSite().component();
  if (!component || trackId.toStdString() != trackValues(r).trackId || positionUs < 0) return;
  if (r.totalSeconds && static_cast<double>(positionUs) / 1e6 > *r.totalSeconds) return;
  seekTo(*component, static_cast<double>(positionUs) / 1e6);
}

void MprisService::seekTo(PlayerComponent& component, double seconds) {
  component.seek(seconds);
  emit seeked(microseconds(component.report().elapsedSeconds));
  publishChanges();
}

void MprisService::setVolume(double volume) {
  if (!std::isfinite(volume)) return;
  if (PlayerComponent* component = window_.playerSite().component())
    component->setVolume(std::clamp(volume, 0.0, 1.0));
  publishChanges();
}

void MprisService::openUri(const QString& uri) {
  const QUrl url(uri);
  if (!url.isLocalFile()) return;
  const std::string path = QFile::encodeName(url.toLocalFile()).toStdString();
  // Taken later, once a dialog of the window has closed: then it is only opened or added.
  const bool now = form_.Enabled && !QApplication::activeModalWidget();
  const bool wasStopped = report().state == PlayerReport::State::Stopped;
  const std::string listBefore = form_.app.lastfile;
  const int rowsBefore = form_.List1.ListCount();
  window_.takeFiles({path});
  // A stopped player plays what was opened, as the window's own ways of playing it do.
  if (!now || !wasStopped) return;
  const auto synced = [this] { window_.sync(); };
  const GivenKind kind = givenKind(path);
  if (kind == GivenKind::Clip && form_.List1.ListCount() == rowsBefore + 1) {
    // A double-click on the new entry.
    for (int i = 0; i < form_.List1.ListCount(); ++i) form_.List1.setSelected(i, i == rowsBefore);
    deliver(form_, ControlId::List1, UserEvent::DblClick, synced);
  } else if (kind == GivenKind::List && (form_.app.lastfile != listBefore || listBefore == path)) {
    // Play of the opened list; the compact panel, when it is what shows, takes the playing look.
    deliver(
        form_.host,
        [this] {
          form_.Image9_Click();
          if (form_.playershown == 0) form_.applyPanelPlayingLook();
        },
        synced);
  }
  publishChanges();
}

void MprisService::publishChanges() {
  if (!registered_) return;
  const PlayerReport r = report();
  QVariantMap now;
  now.insert(QStringLiteral("PlaybackStatus"), QString::fromLatin1(playbackStatus(r)));
  now.insert(QStringLiteral("Metadata"), metadata(r));
  now.insert(QStringLiteral("Volume"), r.volume);
  now.insert(QStringLiteral("CanSeek"), canSeek());
  QVariantMap changed;
  for (auto it = now.cbegin(); it != now.cend(); ++it)
    if (published_.value(it.key()) != it.value()) changed.insert(it.key(), it.value());
  published_ = now;
  if (changed.isEmpty()) return;
  QDBusMessage signal = QDBusMessage::createSignal(
      QLatin1String(kMprisPath), QStringLiteral("org.freedesktop.DBus.Properties"),
      QStringLiteral("PropertiesChanged"));
  signal << QLatin1String(kPlayerInterface) << changed << QStringList();
  QDBusConnection::sessionBus().send(signal);
}

}  // namespace tunelark::qt

#include "mpris_service.moc"
