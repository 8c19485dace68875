// The window as an MPRIS player, driven by a client on the session bus of scripts/test-env:
// the transport goes through the buttons the window shows, the state and track follow the
// player, Raise and Quit act as the tray menu's "Show Playlist" and the exit button.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QTest>
#include <QUrl>

#include "desktop_fixture.h"
#include "e2e/running_program.h"
#include "qt/mpris_service.h"
#include "qt/player_site.h"
#include "support/tones.h"

namespace tunelark::desktop_testing {
namespace {

const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");

// Counts the PlaybackStatus values announced by PropertiesChanged.
class Announcements : public QObject {
  Q_OBJECT
 public slots:
  void changed(const QString&, const QVariantMap& values, const QStringList&) {
    if (values.contains(QStringLiteral("PlaybackStatus")))
      statuses << values.value(QStringLiteral("PlaybackStatus")).toString();
  }

 public:
  QStringList statuses;
};

class Mpris : public DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    ASSERT_TRUE(client.isConnected())
        << "no session bus: the MPRIS tests need the one scripts/test-env starts";
    ASSERT_EQ(window->playerSite().load(TUNELARK_PLAYER_MODULE), QString());
    ASSERT_TRUE((new qt::MprisService(*window, *form))->registerOnSessionBus());
  }
  void TearDown() override {
    DesktopTest::TearDown();
    QDBusConnection::disconnectFromBus(client.name());
  }

  QDBusMessage call(const QString& interface, const QString& method,
                    const QVariantList& args = {}) {
    auto message = QDBusMessage::createMethodCall(QLatin1String(qt::kMprisService),
                                                  QLatin1String(qt::kMprisPath), interface, method);
    message.setArguments(args);
    // Asynchronous: the service answers from this very thread's event loop.
    QDBusPendingCall pending = client.asyncCall(message, 5000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pending.isFinished(); }, 6000))
        << method.toStdString();
    EXPECT_NE(pending.reply().type(), QDBusMessage::ErrorMessage)
        << pending.reply().errorMessage().toStdString();
    return pending.reply();
  }
  QVariant get(const QString& name, const QString& interface = kPlayer) {
    const auto reply = call(QStringLiteral("org.freedesktop.DBus.Properties"),
                            QStringLiteral("Get"), {interface, name});
    return reply.arguments().value(0).value<QDBusVariant>().variant();
  }
  bool statusIs(const char* status) { return get(QStringLiteral("PlaybackStatus")) == status; }

  QDBusConnection client =
      QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("mpris-client"));
};

TEST_F(Mpris, TransportGoesThroughTheShownButtonsAndTheStateFollows) {
  const std::string clip = tunelark::testing::makeTone(dir.str() + "/tone.rm", 20);
  window->takeFiles({dir.write("list.ram", "file:" + clip + "\r\n")});
  Announcements heard;
  ASSERT_TRUE(client.connect(QLatin1String(qt::kMprisService), QLatin1String(qt::kMprisPath),
                             QStringLiteral("org.freedesktop.DBus.Properties"),
                             QStringLiteral("PropertiesChanged"), &heard,
                             SLOT(changed(QString, QVariantMap, QStringList))));
  const auto streams = [] { return e2e::capture("pactl list short sink-inputs").value_or(""); };
  ASSERT_EQ(streams(), "");

  call(kPlayer, QStringLiteral("PlayPause"));
  EXPECT_EQ(form->playstate, 1);
  EXPECT_TRUE(window->findChild<QWidget*>(QStringLiteral("Image7"))->isVisible())
      << "the pause button shows, as after a click on play";
  EXPECT_FALSE(window->findChild<QWidget*>(QStringLiteral("Image9"))->isVisible());
  EXPECT_TRUE(e2e::waitFor([&] { return !streams().empty(); })) << "no sound reached the server";
  EXPECT_TRUE(QTest::qWaitFor([&] { return statusIs("Playing"); }, 5000));
  const auto metadata = qdbus_cast<QVariantMap>(get(QStringLiteral("Metadata")));
  EXPECT_EQ(metadata.value(QStringLiteral("xesam:url")),
            QUrl::fromLocalFile(QString::fromStdString(clip)).toString());
  EXPECT_FALSE(metadata.value(QStringLiteral("xesam:title")).toString().isEmpty());
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        return qdbus_cast<QVariantMap>(get(QStringLiteral("Metadata")))
                   .value(QStringLiteral("mpris:length"))
                   .toLongLong() > 19000000;
      },
      5000));

  // In the compact strip too, whose pause place stops: a pause keeps the position, a play
  // resumes from it.
  window->click(ControlId::Image18);
  EXPECT_TRUE(QTest::qWaitFor([&] { return get(QStringLiteral("Position")).toLongLong() > 0; }));
  call(kPlayer, QStringLiteral("Pause"));
  EXPECT_EQ(form->playstate, 0);
  EXPECT_TRUE(statusIs("Paused"));
  EXPECT_TRUE(window->findChild<QWidget*>(QStringLiteral("panelplaydown"))->isVisible());
  const qlonglong pausedAt = get(QStringLiteral("Position")).toLongLong();
  call(kPlayer, QStringLiteral("PlayPause"));
  EXPECT_EQ(form->playstate, 1);
  EXPECT_TRUE(statusIs("Playing"));
  EXPECT_GE(get(QStringLiteral("Position")).toLongLong(), pausedAt);
  call(kPlayer, QStringLiteral("Stop"));
  EXPECT_TRUE(statusIs("Stopped"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return heard.statuses.size() >= 4; }, 3000));
  EXPECT_EQ(heard.statuses, (QStringList{"Playing", "Paused", "Playing", "Stopped"}));

  // OpenUri plays what it opens or adds, as Play of the list or a double-click on the entry.
  for (const std::string& opened : {dir.write("other.ram", "file:" + clip + "\r\n"), clip}) {
    call(kPlayer, QStringLiteral("OpenUri"),
         {QUrl::fromLocalFile(QString::fromStdString(opened)).toString()});
    EXPECT_TRUE(statusIs("Playing")) << opened;
    EXPECT_EQ(form->playstate, 1);
    EXPECT_TRUE(window->findChild<QWidget*>(QStringLiteral("panelplayup"))->isVisible());
    call(kPlayer, QStringLiteral("Stop"));
  }

  call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"),
       {kPlayer, QStringLiteral("Volume"), QVariant::fromValue(QDBusVariant(0.25))});
  EXPECT_EQ(get(QStringLiteral("Volume")).toDouble(), 0.25);
}

TEST_F(Mpris, IdentifiesItselfAndRaiseBringsATrayOnlyWindowBack) {
  storePresentation("2");
  window->click(ControlId::Image27);
  ASSERT_FALSE(window->isVisible());
  EXPECT_EQ(get(QStringLiteral("Identity"), QStringLiteral("org.mpris.MediaPlayer2")), "Tunelark");
  call(QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Raise"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }, 3000));
  EXPECT_EQ(form->WindowState, ShowState::Normal);
  EXPECT_FALSE(window->windowState() & Qt::WindowMinimized);
}

TEST_F(Mpris, QuitStoresTheSettingsAndEnds) {
  const std::string list = dir.write("list.ram", "file:/x.ra\r\n");
  window->takeFiles({list});
  call(QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Quit"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return host.ended; }, 3000));
  const std::string stored = tunelark::testing::readFile(dir.str() + "/tunelark.ini");
  EXPECT_NE(stored.find("file=" + list), std::string::npos) << stored;
}

}  // namespace
}  // namespace tunelark::desktop_testing

#include "mpris_test.moc"
