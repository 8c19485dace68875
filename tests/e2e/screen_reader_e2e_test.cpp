// The running window read as a screen reader reads it: over AT-SPI, from this process, on the
// accessibility bus that scripts/test-env starts. What it reads it can press, and the press
// plays what the sound server hears.
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <set>

#include "e2e_fixture.h"
#include "support/tones.h"

namespace tunelark::e2e {
namespace {

using tunelark::testing::SinkRecording;
using tunelark::testing::tonesHeard;

// One object as a screen reader meets it: its role, name, whether it shows, the names and keys
// of its actions (push buttons), its value (sliders).
struct Node {
  QString service, path, role, name;
  bool showing = false;
  QStringList actions;
  double value = -1;
};
// The showing objects by role and name.
using Shown = std::map<std::pair<QString, QString>, Node>;

class ScreenReader {
 public:
  // Says a screen reader runs, as one does at its start: programs started from then on put
  // their windows on the accessibility bus. Unsaid at the end.
  ScreenReader() {
    setRunning(true);
    const QDBusMessage reply =
        call(session_, "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress");
    bus_ = QDBusConnection::connectToBus(reply.arguments().value(0).toString(), "a11y");
  }
  ~ScreenReader() {
    setRunning(false);
    QDBusConnection::disconnectFromBus("a11y");
  }

  // The showing objects of the application named `app`.
  Shown read(const QString& app) {
    Shown shown;
    for (const QStringList& ref :
         children("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root"))
      if (property(ref[0], ref[1], "Name").toString() == app) walk(ref[0], ref[1], shown);
    return shown;
  }
  void press(const Node& node) {
    call(bus_, node.service, node.path, "org.a11y.atspi.Action", "DoAction", {0});
  }

 private:
  static QDBusMessage call(const QDBusConnection& bus, const QString& service, const QString& path,
                           const QString& iface, const QString& method,
                           const QVariantList& args = {}) {
    QDBusMessage m = QDBusMessage::createMethodCall(service, path, iface, method);
    m.setArguments(args);
    return bus.call(m, QDBus::Block, 5000);
  }
  void setRunning(bool on) {
    call(session_, "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
         {"org.a11y.Status", "ScreenReaderEnabled", QVariant::fromValue(QDBusVariant(on))});
  }
  QVariant property(const QString& service, const QString& path, const char* name,
                    const char* iface = "org.a11y.atspi.Accessible") {
    const QDBusMessage r =
        call(bus_, service, path, "org.freedesktop.DBus.Properties", "Get", {iface, name});
    return r.arguments().value(0).value<QDBusVariant>().variant();
  }
  // An array of structures whose fields are read as `Fields`, each as a string.
  template <typename... Fields>
  static std::vector<QStringList> structures(const QDBusMessage& reply) {
    std::vector<QStringList> out;
    const auto arg = reply.arguments().value(0).value<QDBusArgument>();
    arg.beginArray();
    while (!arg.atEnd()) {
      std::tuple<Fields...> fields;
      arg.beginStructure();
      std::apply([&](auto&... f) { (arg >> ... >> f); }, fields);
      arg.endStructure();
      out.push_back(std::apply([](const auto&... f) { return QStringList{text(f)...}; }, fields));
    }
    arg.endArray();
    return out;
  }
  static QString text(const QString& s) { return s; }
  static QString text(const QDBusObjectPath& p) { return p.path(); }
  std::vector<QStringList> children(const QString& service, const QString& path) {
    return structures<QString, QDBusObjectPath>(
        call(bus_, service, path, "org.a11y.atspi.Accessible", "GetChildren"));
  }
  void walk(const QString& service, const QString& path, Shown& shown) {
    const auto ask = [&](const char* method) {
      return call(bus_, service, path, "org.a11y.atspi.Accessible", method).arguments().value(0);
    };
    Node n{service,
           path,
           ask("GetRoleName").toString(),
           property(service, path, "Name").toString(),
           false,
           {},
           -1};
    const auto states = qdbus_cast<QList<uint>>(ask("GetState"));
    n.showing = states.size() == 2 && (states[0] >> 25 & 1u);  // ATSPI_STATE_SHOWING
    if (n.role == "push button")
      for (const QStringList& action : structures<QString, QString, QString>(
               call(bus_, service, path, "org.a11y.atspi.Action", "GetActions")))
        n.actions << action[0] << action[2];
    if (n.role == "slider")
      n.value = property(service, path, "CurrentValue", "org.a11y.atspi.Value").toDouble();
    if (n.showing) shown[{n.role, n.name}] = n;
    for (const QStringList& ref : children(service, path)) walk(ref[0], ref[1], shown);
  }

  QDBusConnection session_ = QDBusConnection::sessionBus();
  QDBusConnection bus_{QString()};
};

using ScreenReaderTest = ProgramTest;

// Every showing button is named and pressable and the hidden halves of the pairs do not show
// (no "Pause", no "Show the player"); the lists, the display's texts and its bars read; Play
// pressed through its action is heard.
TEST_F(ScreenReaderTest, ReadsEveryShowingControlAndPressesPlay) {
  const std::string clip = tunelark::testing::makeTone(folder.str() + "/tone.rm", 30);
  const std::string list = folder.write("list.ram", "file:" + clip + "\r\n");
  folder.write("windir/tunelark.ini", "[Dirlagu]\r\nfile=" + list + "\r\n");
  ScreenReader reader;
  start();
  Shown shown;
  ASSERT_TRUE(waitFor([&] {
    shown = reader.read("Tunelark");
    return shown.count({"label", "Clip 1 of 1"});
  })) << shown.size()
      << " objects read; " << program->errors();
  std::set<std::string> buttons, lists;
  for (const auto& [key, n] : shown) {
    SCOPED_TRACE((n.role + " " + n.name + " " + n.path).toStdString());
    if (n.role == "push button") {
      buttons.insert(n.name.toStdString());
      ASSERT_FALSE(n.actions.isEmpty());
      EXPECT_EQ(n.actions[0], "Press");
    } else if (n.role == "filler" || n.role == "unknown") {
      EXPECT_EQ(n.name, QString()) << "a name without a role";
    } else if (n.role == "list" || n.role == "tree") {
      lists.insert((n.role + " " + n.name).toStdString());
    }
  }
  std::string read;  // the set's order
  for (const std::string& name : buttons) read += name + "; ";
  EXPECT_EQ(read,
            "About Tunelark; Add the selected clips to the playlist; Choose file types; "
            "Exit Tunelark; Help; Hide the browser; Hide the player; Hide the playlist; Minimise; "
            "Move the selected clips down; Move the selected clips up; New playlist; Next clip; "
            "Open a playlist; Play the playlist; Preferences; Previous clip; "
            "Remove the selected clips; Save the playlist; Shuffle the playlist; "
            "Sort the playlist A to Z; Sort the playlist Z to A; Stop; Tunelark on the web; ");
  EXPECT_EQ(lists, (std::set<std::string>{"list Playlist", "list Clips", "tree Folders"}));
  EXPECT_EQ((shown[{"push button", "Save the playlist"}].actions.value(1)), "Ctrl+S");
  EXPECT_TRUE(shown.count({"list item", "1. tone.rm"})) << "the playlist's row";
  EXPECT_TRUE(shown.count({"label", "Stopped"})) << "the player's state";
  EXPECT_EQ((shown[{"slider", "Volume"}].value), 100);

  SinkRecording sink(folder.str() + "/heard.raw");
  ASSERT_TRUE(sink.started()) << "parec records nothing";
  reader.press(shown[{"push button", "Play the playlist"}]);
  EXPECT_TRUE(waitFor([&] { return tonesHeard(sink.samples(), {440}, 1) == std::vector{440}; }))
      << program->errors();
  EXPECT_TRUE(waitFor([&] {
    shown = reader.read("Tunelark");
    return shown.count({"push button", "Pause"}) && shown.count({"label", "Playing"}) &&
           !shown.count({"push button", "Play the playlist"});
  })) << "the pair reads as the button the user sees";
}

}  // namespace
}  // namespace tunelark::e2e
