// Whole user journeys through the real program: real clicks and typing, checked by the window's
// size and pictures, the files it writes and what the sound server hears.
#include <QImage>
#include <algorithm>
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
  // Pixels of text drawn on the black of the caption box or of a list.
  static int litPixels(const QImage& image) {
    int lit = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) lit += qGray(image.pixel(x, y)) > 96;
    return lit;
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

TEST_F(Journey, FirstStartShowsAnEmptyUntitledListAndStoresTheWorkingFileOnExit) {
  start();
  const auto g = program->geometry();
  ASSERT_TRUE(g.has_value());
  EXPECT_EQ(g->width, 490);
  EXPECT_EQ(g->height, 518) << "the normal view";
  // Centred on Xvfb's 1280 x 1024 screen from scripts/test-env.
  EXPECT_EQ(std::pair(g->x, g->y), std::pair((1280 - 490) / 2, (1024 - 518) / 2));
  const QImage first = picture("first-start");
  EXPECT_GT(litPixels(part(first, kCaption)), 100) << "the caption is drawn";
  EXPECT_EQ(litPixels(part(first, kPlaylistRows)), 0) << "the list is empty";
  program->click(kExitButton.x, kExitButton.y);
  EXPECT_EQ(program->waitForExit(), 0);
  EXPECT_NE(readFile(program->settingsPath()).find("file=" + program->windir() + "/temp.ram"),
            std::string::npos)
      << readFile(program->settingsPath());
}

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

TEST_F(Journey, RestartBringsTheSavedListBackAndTrayExitStoresNothing) {
  folder.write("clips/a.rm", "x");
  folder.write("clips/b.rm", "x");
  const std::string clips = folder.str() + "/clips";
  const std::string kept = folder.str() + "/kept.ram";
  const std::string other = folder.write("other.ram", "file:" + clips + "/b.rm\r\n");
  start({}, clips);
  const QImage untitled = part(picture("untitled"), kCaption);
  addClips(kClipRow1);
  EXPECT_EQ(saveAs(kept), "file:" + clips + "/a.rm\r\nfile:" + clips + "/b.rm\r\n");
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

}  // namespace
}  // namespace tunelark::e2e
