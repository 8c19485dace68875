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

// One object of the tree, as a screen reader meets it.
struct Node {
  QString service, path, role, name;
  bool showing = false;
  QStringList actions;  // their names, then their keys
  double value = -1;    // sliders only
};

class ScreenReader {
 public:
  // Says a screen reader runs, as one does at its start: programs started from then on put
  // their windows on the accessibility bus. Unsaid at the end.
  ScreenReader() : session_(QDBusConnection::sessionBus()) {
    setRunning(true);
    const QString address = call(session_, kBus, kBusPath, "org.a11y.Bus", "GetAddress")
                                .arguments()
                                .value(0)
                                .toString();
    bus_ = QDBusConnection::connectToBus(address, QStringLiteral("a11y"));
  }
  ~ScreenReader() {
    setRunning(false);
    QDBusConnection::disconnectFromBus(QStringLiteral("a11y"));
  }

  // Every object of the application named `app`, depth first; none while it is not there.
  std::vector<Node> read(const QString& app) {
    std::vector<Node> nodes;
    for (const auto& [service, path] : children("org.a11y.atspi.Registry", kRoot))
      if (property(service, path, "Name").toString() == app) walk(service, path, nodes);
    return nodes;
  }
  void press(const Node& node) {
    call(bus_, node.service, node.path, "org.a11y.atspi.Action", "DoAction", {0});
  }

 private:
  static constexpr const char* kBus = "org.a11y.Bus";
  static constexpr const char* kBusPath = "/org/a11y/bus";
  static constexpr const char* kRoot = "/org/a11y/atspi/accessible/root";
  static constexpr const char* kAccessible = "org.a11y.atspi.Accessible";
  static constexpr int kShowing = 25;  // ATSPI_STATE_SHOWING

  static QDBusMessage call(const QDBusConnection& bus, const QString& service, const QString& path,
                           const QString& iface, const QString& method,
                           const QVariantList& args = {}) {
    QDBusMessage m = QDBusMessage::createMethodCall(service, path, iface, method);
    m.setArguments(args);
    return bus.call(m, QDBus::Block, 5000);
  }
  void setRunning(bool on) {
    call(session_, kBus, kBusPath, "org.freedesktop.DBus.Properties", "Set",
         {QStringLiteral("org.a11y.Status"), QStringLiteral("ScreenReaderEnabled"),
          QVariant::fromValue(QDBusVariant(on))});
  }
  QVariant property(const QString& service, const QString& path, const char* name,
                    const char* iface = kAccessible) {
    const QDBusMessage reply = call(bus_, service, path, "org.freedesktop.DBus.Properties", "Get",
                                    {QString(iface), QString(name)});
    return reply.arguments().value(0).value<QDBusVariant>().variant();
  }
  std::vector<std::pair<QString, QString>> children(const QString& service, const QString& path) {
    std::vector<std::pair<QString, QString>> refs;
    const QDBusMessage reply = call(bus_, service, path, kAccessible, "GetChildren");
    if (reply.type() != QDBusMessage::ReplyMessage) return refs;
    const auto arg = reply.arguments().value(0).value<QDBusArgument>();
    arg.beginArray();
    while (!arg.atEnd()) {
      QString child;
      QDBusObjectPath childPath;
      arg.beginStructure();
      arg >> child >> childPath;
      arg.endStructure();
      refs.emplace_back(child, childPath.path());
    }
    arg.endArray();
    return refs;
  }
  void walk(const QString& service, const QString& path, std::vector<Node>& nodes) {
    Node n{service, path,
           call(bus_, service, path, kAccessible, "GetRoleName").arguments().value(0).toString(),
           property(service, path, "Name").toString()};
    const auto states = qdbus_cast<QList<uint>>(
        call(bus_, service, path, kAccessible, "GetState").arguments().value(0));
    n.showing = states.size() == 2 && (states[0] >> kShowing & 1u);
    if (n.role == "push button") {
      const QDBusMessage reply = call(bus_, service, path, "org.a11y.atspi.Action", "GetActions");
      const auto arg = reply.arguments().value(0).value<QDBusArgument>();
      arg.beginArray();
      while (!arg.atEnd()) {
        QString name, description, key;
        arg.beginStructure();
        arg >> name >> description >> key;
        arg.endStructure();
        n.actions << name << key;
      }
      arg.endArray();
    } else if (n.role == "slider") {
      n.value = property(service, path, "CurrentValue", "org.a11y.atspi.Value").toDouble();
    }
    nodes.push_back(n);
    for (const auto& [s, p] : children(service, path)) walk(s, p, nodes);
  }

  QDBusConnection session_;
  QDBusConnection bus_{QString()};
};

const Node* find(const std::vector<Node>& nodes, const QString& role, const QString& name) {
  for (const Node& n : nodes)
    if (n.showing && n.role == role && n.name == name) return &n;
  return nullptr;
}

using ScreenReaderTest = ProgramTest;

// Every showing button is named and pressable, hidden pictures are not shown, the lists and
// the display's texts and bars read, and Play pressed through its action is heard.
TEST_F(ScreenReaderTest, ReadsEveryShowingControlAndPressesPlay) {
  const std::string clip = tunelark::testing::makeTone(folder.str() + "/tone.rm", 30);
  const std::string list = folder.write("list.ram", "file:" + clip + "\r\n");
  folder.write("windir/tunelark.ini", "[Dirlagu]\r\nfile=" + list + "\r\n");
  ScreenReader reader;
  start();
  std::vector<Node> tree;
  ASSERT_TRUE(waitFor([&] {
    tree = reader.read(QStringLiteral("Tunelark"));
    return find(tree, "label", "Clip 1 of 1") != nullptr;
  })) << tree.size()
      << " objects read; " << program->errors();
  std::set<std::string> buttons;
  std::map<std::string, std::string> lists;
  for (const Node& n : tree) {
    if (!n.showing) continue;
    SCOPED_TRACE((n.role + " " + n.name + " " + n.path).toStdString());
    if (n.role == "push button") {
      buttons.insert(n.name.toStdString());
      ASSERT_FALSE(n.actions.isEmpty());
      EXPECT_EQ(n.actions[0], "Press");
    } else if (n.role == "filler" || n.role == "unknown") {
      EXPECT_EQ(n.name, QString()) << "a name without a role";
    } else if (n.role == "list" || n.role == "tree") {
      lists[n.name.toStdString()] = n.role.toStdString();
    }
  }
  EXPECT_EQ(buttons, (std::set<std::string>{"Minimise",
                                            "Preferences",
                                            "Help",
                                            "About Tunelark",
                                            "Exit Tunelark",
                                            "Hide the player",
                                            "Hide the browser",
                                            "Hide the playlist",
                                            "Tunelark on the web",
                                            "Previous clip",
                                            "Next clip",
                                            "Play the playlist",
                                            "Stop",
                                            "Choose file types",
                                            "Add the selected clips to the playlist",
                                            "Open a playlist",
                                            "Move the selected clips up",
                                            "Move the selected clips down",
                                            "New playlist",
                                            "Save the playlist",
                                            "Remove the selected clips",
                                            "Sort the playlist A to Z",
                                            "Shuffle the playlist",
                                            "Sort the playlist Z to A"}));
  EXPECT_EQ(find(tree, "push button", "Save the playlist")->actions[1], "Ctrl+S");
  EXPECT_EQ(lists, (std::map<std::string, std::string>{
                       {"Playlist", "list"}, {"Clips", "list"}, {"Folders", "tree"}}));
  EXPECT_NE(find(tree, "list item", "1. tone.rm"), nullptr) << "the playlist's row";
  EXPECT_NE(find(tree, "label", "Stopped"), nullptr);
  ASSERT_NE(find(tree, "slider", "Volume"), nullptr);
  EXPECT_EQ(find(tree, "slider", "Volume")->value, 100);

  SinkRecording sink(folder.str() + "/heard.raw");
  ASSERT_TRUE(sink.started()) << "parec records nothing";
  reader.press(*find(tree, "push button", "Play the playlist"));
  EXPECT_TRUE(waitFor([&] { return tonesHeard(sink.samples(), {440}, 1) == std::vector{440}; }))
      << program->errors();
  EXPECT_TRUE(waitFor([&] {
    tree = reader.read(QStringLiteral("Tunelark"));
    return find(tree, "push button", "Pause") && !find(tree, "push button", "Play the playlist") &&
           find(tree, "label", "Playing");
  })) << "the pair reads as the button the user sees";
}

}  // namespace
}  // namespace tunelark::e2e
