// Whole user journeys through the real program: real clicks and typing, checked by the window's
// size and pictures, the files it writes and what the sound server hears.
#include <QImage>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>

#include "e2e_fixture.h"
#include "support/tones.h"

namespace tunelark::e2e {
namespace {

using tunelark::testing::makeTone;
using tunelark::testing::readFile;
using tunelark::testing::SinkRecording;
using tunelark::testing::tonesHeard;

// More places of the window (normal view) and of the Preferences dialog, in pixels.
inline constexpr Spot kClipRow2{260, 286};
inline constexpr Spot kTreeSlash{100, 288};     // the tree's second row: the root folder "/"
inline constexpr Spot kTreeSlashOpen{61, 288};  // its expand arrow
inline constexpr Spot kPlay{70, 166};           // Image9, and Image7 (pause) once it plays
inline constexpr Spot kStop{70, 182};           // Image8
inline constexpr Spot kNext{88, 142};           // Image13
inline constexpr Spot kOpen{54, 412};           // Image10
inline constexpr Spot kSaveAs{119, 452};        // Image28
inline constexpr Spot kPreferences{32, 31};     // Image29
inline constexpr Spot kPanelPlay{86, 63};       // panelplaydown, in the compact strip
inline constexpr Spot kPanelStop{134, 63};      // panelstopdown, once it plays
inline constexpr Spot kTrayOnly{64, 56};        // Form4's "System Tray Only"
inline constexpr Spot kTaskbarAndTray{64, 72};  // Form4's "Both Taskbar and System Tray"
inline constexpr Spot kPreferencesOk{68, 116};  // Form4's Command2

struct Area {
  int x, y, width, height;
};
inline constexpr Area kCaption{216, 16, 241, 17};         // Label4: the playlist file's name
inline constexpr Area kPlaylistRows{160, 381, 305, 119};  // List1
inline constexpr Area kPlayPlace{48, 159, 45, 15};        // Image9 / Image7

class Journey : public ProgramTest {
 protected:
  // A picture of the window, kept among the artifacts as journeys/NAME.png.
  QImage picture(const std::string& name) {
    const std::string path = std::string(TUNELARK_ARTIFACT_DIR) + "/journeys/" + name + ".png";
    EXPECT_TRUE(program->screenshot(path)) << program->errors();
    return QImage(QString::fromStdString(path));
  }
  static QImage part(const QImage& picture, Area a) {
    return picture.copy(a.x, a.y, a.width, a.height);
  }
  // Waits for the window to take `height`, keeping its width and the top-left corner of `start`.
  bool waitForHeight(int height, const WindowGeometry& start) {
    return waitFor([&] {
      const auto g = program->geometry();
      return g && g->height == height && g->width == 490 && g->x == start.x && g->y == start.y;
    });
  }
  // Chooses the clip list's rows from the first to `last` by click and shift-click; adds them.
  void addClips(const Spot& last) {
    program->click(kClipRow0.x, kClipRow0.y);
    program->shiftClick(last.x, last.y);
    program->click(kAddButton.x, kAddButton.y);
  }
  // Saves the playlist through the Save As dialog under `path`; its text, once it is there.
  std::string saveAs(const std::string& path) {
    program->click(kSaveAs.x, kSaveAs.y);
    EXPECT_TRUE(program->typeInto("Save As", path)) << "no Save As dialog";
    EXPECT_TRUE(waitFor([&] { return !readFile(path).empty(); })) << program->errors();
    return readFile(path);
  }
  void choosePresentation(const Spot& option) {
    program->click(kPreferences.x, kPreferences.y);
    const std::string dialog = program->waitForOther("Preferences");
    ASSERT_FALSE(dialog.empty()) << "no Preferences dialog";
    program->click(option.x, option.y, 1, dialog);
    program->click(kPreferencesOk.x, kPreferencesOk.y, 1, dialog);
  }
  // Right press on the tray icon; once its menu is open, presses `keys` there.
  void useTrayMenu(const std::string& keys) {
    const auto small = [](const WindowGeometry& g) { return g.width <= 64 && g.height <= 64; };
    const std::string icon = program->waitForOther("", small);
    ASSERT_FALSE(icon.empty()) << "no tray icon";
    program->click(11, 11, 3, icon);
    const std::string menu =
        program->waitForOther("", [&](const WindowGeometry& g) { return !small(g); });
    ASSERT_FALSE(menu.empty()) << "the right press opened no menu";
    pressKeys(keys);
  }
};

TEST_F(Journey, BrowsedClipsAddedSortedSavedAndPlayedInTheSavedOrder) {
  const std::string clips = folder.str() + "/clips";
  std::filesystem::create_directories(clips);
  const std::vector<int> tones{440, 660, 880};
  for (const int hertz : tones) makeTone(clips + "/tone" + std::to_string(hertz) + ".rm", 2, hertz);
  start({}, clips);
  addClips(kClipRow2);
  program->click(kSortDescending.x, kSortDescending.y);
  const std::string line = "file:" + clips + "/tone";
  const std::string saved = folder.str() + "/journey.ram";
  EXPECT_EQ(saveAs(saved), line + "880.rm\r\n" + line + "660.rm\r\n" + line + "440.rm\r\n");

  SinkRecording sink(folder.str() + "/heard.raw");
  ASSERT_TRUE(sink.started()) << "parec records nothing";
  program->click(kPlay.x, kPlay.y);
  std::vector<int> heard;
  EXPECT_TRUE(waitFor(
      [&] {
        heard = tonesHeard(sink.samples(), tones);
        return heard.size() >= 3;
      },
      std::chrono::seconds(60)))
      << program->errors();
  heard.resize(3);
  EXPECT_EQ(heard, (std::vector<int>{880, 660, 440}));
  // The root folder, opened in the tree, pushes this machine's other mounts out of the README's
  // picture.
  program->click(kTreeSlash.x, kTreeSlash.y);
  program->click(kTreeSlashOpen.x, kTreeSlashOpen.y);
  picture("screenshot-normal");
}

TEST_F(Journey, CompactStripPlaysAndStopsAndTheAreasComeBack) {
  const std::string clip = makeTone(folder.str() + "/tone.rm", 30);
  const std::string list = folder.write("list.ram", "file:" + clip + "\r\n");
  folder.write("windir/tunelark.ini", "[Dirlagu]\r\nfile=" + list + "\r\n");
  start();
  const auto origin = program->geometry();
  ASSERT_TRUE(origin.has_value());
  for (const auto& [toggle, height] :
       {std::pair{kPlaylistToggle, 374}, {kBrowserToggle, 231}, {kPlayerToggle, 88}}) {
    program->click(toggle.x, toggle.y);
    ASSERT_TRUE(waitForHeight(height, *origin)) << height;
  }
  SinkRecording sink(folder.str() + "/heard.raw");
  ASSERT_TRUE(sink.started()) << "parec records nothing";
  program->click(kPanelPlay.x, kPanelPlay.y);
  EXPECT_TRUE(waitFor([&] { return tonesHeard(sink.samples(), {440}, 1) == std::vector{440}; }))
      << program->errors();
  picture("screenshot-compact");
  program->click(kPanelStop.x, kPanelStop.y);
  EXPECT_TRUE(waitFor([&] { return tonesHeard(sink.samples(), {440}, 1).empty(); }))
      << "still playing after stop";
  for (const auto& [toggle, height] :
       {std::pair{kPlayerToggle, 231}, {kBrowserToggle, 374}, {kPlaylistToggle, 518}}) {
    program->click(toggle.x, toggle.y);
    EXPECT_TRUE(waitForHeight(height, *origin)) << height;
  }
}

// Without the mouse. Tab goes from the folder tree, where the keyboard starts, to the clip list;
// Ctrl+A and Enter add every clip. Twelve more (the browser's two buttons, the playlist's nine)
// reach the playlist, where Space selects the first row, Enter plays it, Alt+Down moves it down
// and Delete removes it.
// Two on, past the first skin button, Space presses Preferences and Escape closes it; Ctrl+S
// then saves.
TEST_F(Journey, KeyboardAloneAddsPlaysRemovesAndPressesTheSkinsButtons) {
  const std::string clips = folder.str() + "/clips";
  std::filesystem::create_directories(clips);
  for (const int hertz : {440, 660})
    makeTone(clips + "/tone" + std::to_string(hertz) + ".rm", 20, hertz);
  start({}, clips);
  const std::string working = program->windir() + "/temp.ram";
  const std::string line = "file:" + clips + "/tone";
  capture("xdotool windowfocus --sync " + program->window());
  pressKeys("Tab ctrl+a Return");
  EXPECT_TRUE(waitFor([&] {
    return readFile(working) == line + "440.rm\r\n" + line + "660.rm\r\n";
  })) << readFile(working);
  SinkRecording sink(folder.str() + "/heard.raw");
  ASSERT_TRUE(sink.started()) << "parec records nothing";
  pressKeys("Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab space Return");
  EXPECT_TRUE(waitFor([&] {
    return tonesHeard(sink.samples(), {440, 660}, 1) == std::vector{440};
  })) << program->errors();
  pressKeys("alt+Down");
  EXPECT_TRUE(
      waitFor([&] { return readFile(working) == line + "660.rm\r\n" + line + "440.rm\r\n"; }));
  pressKeys("Delete");
  EXPECT_TRUE(waitFor([&] { return readFile(working) == line + "660.rm\r\n"; }))
      << readFile(working);
  pressKeys("Tab Tab space");
  ASSERT_FALSE(program->waitForOther("Preferences").empty()) << "Space pressed no Preferences";
  pressKeys("Escape");
  EXPECT_TRUE(waitFor([&] {
    return capture("xdotool search --onlyvisible --name '^Preferences$'").value_or("").empty();
  })) << "Escape left Preferences open";
  const std::string saved = folder.str() + "/keys.ram";
  // Xvfb has no window manager to give the keyboard back to the window.
  capture("xdotool windowfocus --sync " + program->window());
  pressKeys("ctrl+s");
  EXPECT_TRUE(program->typeInto("Save As", saved)) << "Ctrl+S opened no Save As";
  EXPECT_TRUE(waitFor([&] { return readFile(saved) == line + "660.rm\r\n"; }));
}

// The ring on the file-type button, two Tabs from the tree, at screen scales 1, 1.5 and 2: a band
// in its amber all round the button, 2 logical pixels wide (a ring that did not scale would
// cover half as many pixels at 2). The window keeps its logical size,
// its pictures drawn at device resolution. The pictures at 1 and 2 are the README's.
TEST_F(Journey, FocusRingShowsOnASkinButtonAtEveryScale) {
  for (const double scale : {1.0, 1.5, 2.0}) {
    SCOPED_TRACE(scale);
    start({{"QT_SCALE_FACTOR", QString::number(scale).toStdString()}});
    const auto device = [scale](int logical) { return static_cast<int>(logical * scale); };
    const auto g = program->geometry();
    EXPECT_TRUE(g && g->width == device(490) && g->height == device(518));
    capture("xdotool windowfocus --sync " + program->window());
    pressKeys("Tab Tab");
    int amber = 0;
    EXPECT_TRUE(waitFor([&] {
      const QImage shot = picture("focus-ring-scale" + QString::number(scale).toStdString());
      const QImage ring = part(shot, {device(256), device(342), device(95), device(15)});
      amber = 0;
      for (int y = 0; y < ring.height(); ++y)
        for (int x = 0; x < ring.width(); ++x) amber += ring.pixel(x, y) == qRgb(0xff, 0xc8, 0x20);
      // The band's area, 2 px all round 95 x 15 at 1, counted where device pixels are whole;
      // the pen's corners may leave a few out.
      return shot.size() == QSize(device(490), device(518)) &&
             (scale != std::floor(scale) ||
              std::abs(amber - 424 * scale * scale) < 8 * scale * scale);
    })) << amber;
  }
}

// A list made elsewhere names its clips relative to itself, and the program runs in another
// folder. Play and a double-click find the same clip; a double-click plays its entry from the
// start whatever the player was doing; the list that plays follows a sort at once.
TEST_F(Journey, DoubleClickPlaysTheEntryFromItsStartAndPlayFollowsTheListShown) {
  const std::string clips = folder.str() + "/clips";
  std::filesystem::create_directories(clips);
  // b.rm opens with a second of 990 Hz: hearing it again means the clip started again.
  makeTone(clips + "/b.rm", {"real_144", 8000, 1, 20, 660, "", 990});
  makeTone(clips + "/c.rm", 20, 880);
  makeTone(clips + "/a.rm", 20, 440);
  const std::string list = folder.write("clips/list.ram", "b.rm\r\nfile:c.rm\r\na.rm\r\n");
  folder.write("windir/tunelark.ini", "[Dirlagu]\r\nfile=" + list + "\r\n");
  start();
  SinkRecording sink(folder.str() + "/heard.raw");
  ASSERT_TRUE(sink.started()) << "parec records nothing";
  std::size_t mark = 0;
  // Does what `act` does and waits until what was heard since ends with `tones`.
  const auto hearsAfter = [&](const std::function<void()>& act, const std::vector<int>& tones) {
    mark = sink.samples().size();
    act();
    std::vector<int> heard;
    const bool ok = waitFor(
        [&] {
          const auto all = sink.samples();
          heard = tonesHeard({all.begin() + static_cast<std::ptrdiff_t>(mark), all.end()},
                             {440, 660, 880, 990});
          return heard.size() >= tones.size() &&
                 std::equal(tones.begin(), tones.end(), heard.end() - std::ssize(tones));
        },
        std::chrono::seconds(20));
    std::string said;
    for (const int hertz : heard) said += std::to_string(hertz) + " ";
    EXPECT_TRUE(ok) << "heard " << said << program->errors();
  };
  const auto play = [&] { program->click(kPlay.x, kPlay.y); };
  const auto doubleClickRow0 = [&] { program->doubleClick(kPlaylistRow0.x, kPlaylistRow0.y); };
  hearsAfter(play, {990, 660});
  const QImage playingLook = part(picture("relative-playing"), kPlayPlace);
  hearsAfter(doubleClickRow0, {990, 660});
  program->click(kStop.x, kStop.y);
  EXPECT_TRUE(waitFor([&] { return tonesHeard(sink.samples(), {660}, 0.5).empty(); }));
  hearsAfter(doubleClickRow0, {990, 660});  // the same entry again
  program->click(kPlay.x, kPlay.y);         // the pause button, now
  EXPECT_TRUE(waitFor([&] { return tonesHeard(sink.samples(), {660}, 0.5).empty(); }));
  hearsAfter(doubleClickRow0, {990, 660});
  EXPECT_TRUE(waitFor([&] {
    return part(picture("paused-then-double-click"), kPlayPlace) == playingLook;
  })) << "the buttons do not show the playing look";

  program->click(kStop.x, kStop.y);
  hearsAfter(play, {990, 660});                          // the list, from b.rm
  program->click(kSortDescending.x, kSortDescending.y);  // c.rm, b.rm, a.rm
  hearsAfter([&] { program->click(kNext.x, kNext.y); }, {440});
}

TEST_F(Journey, TrayOnlyHidesTheWindowAndTheTrayMenuBringsItBack) {
  start();
  const auto before = program->geometry();
  ASSERT_TRUE(before.has_value());
  choosePresentation(kTrayOnly);
  EXPECT_TRUE(waitFor([&] { return !program->shown(); })) << "the window left the taskbar";
  EXPECT_NE(readFile(program->settingsPath()).find("taskbar=2"), std::string::npos);
  useTrayMenu("s Return");  // "&Show Playlist": the first item under S
  EXPECT_TRUE(waitFor([&] { return program->shown(); })) << program->errors();
  const auto after = program->geometry();
  ASSERT_TRUE(after.has_value());
  EXPECT_EQ(std::tie(after->x, after->y, after->width, after->height),
            std::tie(before->x, before->y, before->width, before->height));
}

TEST_F(Journey, RestartBringsTheSavedAndEditedListBackAndTrayExitStoresNothing) {
  folder.write("clips/a.rm", "x");
  folder.write("clips/b.rm", "x");
  const std::string clips = folder.str() + "/clips";
  const std::string kept = folder.str() + "/kept.ram";
  const std::string other = folder.write("other.ram", "file:" + clips + "/b.rm\r\n");
  start({}, clips);
  const QImage untitled = part(picture("untitled"), kCaption);
  addClips(kClipRow0);
  EXPECT_EQ(saveAs(kept), "file:" + clips + "/a.rm\r\n");
  // The saved file is the playlist's own now: the next add goes to it, not to the working list.
  program->click(kClipRow1.x, kClipRow1.y);
  program->click(kAddButton.x, kAddButton.y);
  EXPECT_TRUE(waitFor([&] {
    return readFile(kept) == "file:" + clips + "/a.rm\r\nfile:" + clips + "/b.rm\r\n";
  })) << readFile(kept);
  EXPECT_EQ(readFile(program->windir() + "/temp.ram"), "file:" + clips + "/a.rm\r\n");
  QImage named;
  EXPECT_TRUE(waitFor([&] {
    named = picture("saved");
    return part(named, kCaption) != untitled;
  })) << "the caption names the saved file";
  program->click(kExitButton.x, kExitButton.y);
  ASSERT_EQ(program->waitForExit(), 0);

  start({}, clips);
  EXPECT_TRUE(waitFor([&] {
    const QImage again = picture("restarted");
    return part(again, kCaption) == part(named, kCaption) &&
           part(again, kPlaylistRows) == part(named, kPlaylistRows);
  })) << "the saved list and its caption are back";
  choosePresentation(kTaskbarAndTray);
  EXPECT_TRUE(waitFor(
      [&] { return readFile(program->settingsPath()).find("taskbar=3") != std::string::npos; }));
  const std::string stored = readFile(program->settingsPath());
  program->click(kOpen.x, kOpen.y);
  ASSERT_TRUE(program->typeInto("Open Playlist", other)) << "no Open dialog";
  EXPECT_TRUE(waitFor([&] { return part(picture("opened"), kCaption) != part(named, kCaption); }))
      << "the other playlist is open";
  useTrayMenu("x");  // "E&xit"
  EXPECT_EQ(program->waitForExit(), 0);
  EXPECT_EQ(readFile(program->settingsPath()), stored);
}

// A remembered list that is gone: what the user adds is what plays and what the next start
// shows, and the gone file is never made.
TEST_F(Journey, AGoneRememberedListGivesWayToTheClipsAdded) {
  const std::string clips = folder.str() + "/clips";
  std::filesystem::create_directories(clips);
  const std::string clip = makeTone(clips + "/tone.rm", 30);
  const std::string gone = folder.str() + "/unmounted/list.ram";
  folder.write("windir/tunelark.ini", "[Dirlagu]\r\nfile=" + gone + "\r\n");
  start({}, clips);
  const auto g = program->geometry();  // the normal view, centred on test-env's 1280 x 1024
  ASSERT_TRUE(g.has_value());
  EXPECT_EQ(std::tuple(g->x, g->y, g->width, g->height), std::tuple(395, 253, 490, 518));
  addClips(kClipRow0);
  SinkRecording sink(folder.str() + "/heard.raw");
  ASSERT_TRUE(sink.started()) << "parec records nothing";
  program->click(kPlay.x, kPlay.y);
  EXPECT_TRUE(waitFor([&] { return tonesHeard(sink.samples(), {440}, 1) == std::vector{440}; }))
      << program->errors();
  const QImage added = picture("gone-list-added");
  program->click(kExitButton.x, kExitButton.y);
  ASSERT_EQ(program->waitForExit(), 0);
  EXPECT_EQ(readFile(program->windir() + "/temp.ram"), "file:" + clip + "\r\n");
  EXPECT_FALSE(std::filesystem::exists(gone));
  start({}, clips);
  EXPECT_TRUE(waitFor([&] {
    return part(picture("gone-list-restarted"), kPlaylistRows) == part(added, kPlaylistRows);
  })) << "the added clip is shown again";
}

// What is not a playlist line never reaches a file: a clip chosen in Open is named and left
// whole through later edits, and a clip whose folder holds a line break is named, not split.
TEST_F(Journey, AClipChosenInOpenIsNamedAndNeverWrittenOver) {
  const std::string clips = folder.str() + "/clips";
  std::filesystem::create_directories(clips);
  const std::string clip = makeTone(clips + "/tone.rm");
  const std::string bytes = readFile(clip);
  start({}, clips);
  program->click(kOpen.x, kOpen.y);
  ASSERT_TRUE(program->typeInto("Open Playlist", clip)) << "no Open dialog";
  ASSERT_FALSE(program->waitForOther("Tunelark").empty()) << "the clip is not named";
  pressKeys("Return");
  addClips(kClipRow0);
  program->click(kSortDescending.x, kSortDescending.y);
  const std::string temp = program->windir() + "/temp.ram";
  EXPECT_TRUE(waitFor([&] { return readFile(temp) == "file:" + clip + "\r\n"; })) << readFile(temp);
  EXPECT_EQ(readFile(clip), bytes);
}

TEST_F(Journey, AClipInAFolderWithALineBreakIsNamedNotSplit) {
  const std::string odd = folder.str() + "/odd\rname";
  folder.write("odd\rname/a.rm", "x");
  start({}, odd);
  addClips(kClipRow0);
  ASSERT_FALSE(program->waitForOther("Tunelark").empty()) << "the clip is not named";
  pressKeys("Return");
  const std::string temp = program->windir() + "/temp.ram";
  EXPECT_TRUE(waitFor([&] { return std::filesystem::exists(temp); }));
  EXPECT_EQ(readFile(temp), "");
}

}  // namespace
}  // namespace tunelark::e2e
