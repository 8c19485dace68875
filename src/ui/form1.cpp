// The main window's controls as designed: frame, place and size in twips, start-up visibility,
// kind, colour, caption, skin picture and tooltip of each.
#include "ui/form1.h"

#include <chrono>
#include <utility>

#include "browser/form5.h"

namespace tunelark {

namespace {

constexpr unsigned kCyan = 0x00FFFF;
constexpr unsigned kGreen = 0x00FF00;

Control make(std::string name, ControlKind kind, std::string frame, int left, int top, int width,
             int height, bool visible = true, std::string picture = {}, std::string tooltip = {}) {
  Control c = makeControl(std::move(name), kind, std::move(frame), left, top, width, height);
  c.visible = visible;
  c.picture = std::move(picture);
  c.tooltip = std::move(tooltip);
  return c;
}

Control image(std::string name, std::string frame, int left, int top, int width, int height,
              bool visible, std::string picture, std::string tooltip) {
  return make(std::move(name), ControlKind::Image, std::move(frame), left, top, width, height,
              visible, std::move(picture), std::move(tooltip));
}

// Stateless, so one shared instance serves every window without dialogs.
FileDialogs& noFileDialogs() {
  static NoFileDialogs none;
  return none;
}

// The clock and the system's entropy together: two runs started in the same instant still
// shuffle differently.
std::uint64_t clockSeed() {
  const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  std::random_device entropy;
  return static_cast<std::uint64_t>(now) ^ (std::uint64_t{entropy()} << 32 | entropy());
}

}  // namespace

Form1::Form1(AppState& appState, HostServices& hostServices)
    : Form1(appState, hostServices, noFileDialogs()) {}

Form1::Form1(AppState& appState, HostServices& hostServices, FileDialogs& fileDialogs)
    : RealAudio1(make("RealAudio1", ControlKind::Player, "Realframe", 1800, 240, 5055, 1575)),
      random(clockSeed()),
      app(appState),
      host(hostServices),
      dialogs(fileDialogs) {
  layoutControls();
  // The same file Play gives the player: its lines are relative to it.
  RealAudio1.followListFile([this] { return !app.lastfile.empty() ? app.lastfile : workfile; });
}

Form1::~Form1() = default;

void Form1::layoutControls() {
  const auto K = ControlKind::Frame;
  Atasframe = make("Atasframe", K, "", 0, 0, 7380, 1305);
  Realframe = make("Realframe", K, "", 0, 1300, 7380, 2190);
  Fileframe = make("Fileframe", K, "", 0, 3450, 7380, 2190);
  Playlistframe = make("Playlistframe", K, "", 0, 5600, 7380, 2210);

  const std::string top = "Atasframe";
  Image4 = image("Image4", top, 0, 0, 7335, 1200, true, "top_background", "");
  Image3[4] = image("Image3(4)", top, 0, 840, 7335, 480, true, "decoration", "");
  Image3[3] = image("Image3(3)", "Realframe", 0, 1680, 7335, 480, true, "decoration", "");
  Image3[2] = image("Image3(2)", "Fileframe", 0, 1680, 7335, 480, true, "decoration", "");
  Image3[1] = image("Image3(1)", "Playlistframe", 0, 1680, 7335, 480, true, "decoration", "");
  Label4 = make("Label4", ControlKind::Label, top, 3240, 240, 3615, 255);
  Label4.color = kCyan;
  Label2 = make("Label2", ControlKind::Label, top, 3240, 720, 3735, 255);
  Label2.color = kCyan;
  Shape2 = make("Shape2", ControlKind::Shape, top, 3000, 120, 3960, 975);
  Line1 = make("Line1", ControlKind::Line, top, 3600, 600, 2880, 0);
  Line1.color = kGreen;
  Image27 = image("Image27", top, 360, 120, 240, 225, true, "minimise", "Minimise");
  Image29 = image("Image29", top, 360, 360, 240, 210, true, "preferences", "Preferences");
  Image30 = image("Image30", top, 360, 600, 210, 240, true, "help", "Help");
  Image34 = image("Image34", top, 320, 860, 255, 255, true, "about", "About Tunelark");
  Image21 = image("Image21", top, 960, 360, 675, 225, true, "exit", "Exit Tunelark");
  Image18 = image("Image18", top, 960, 600, 675, 225, true, "hide_player", "Hide the player");
  Image16 = image("Image16", top, 960, 600, 675, 225, false, "show_player", "Show the player");
  Image20 = image("Image20", top, 1680, 360, 675, 225, true, "hide_browser", "Hide the browser");
  Image19 = image("Image19", top, 1680, 360, 675, 225, false, "show_browser", "Show the browser");
  Image15 = image("Image15", top, 1680, 600, 675, 225, true, "hide_playlist", "Hide the playlist");
  Image14 = image("Image14", top, 1680, 600, 675, 225, false, "show_playlist", "Show the playlist");
  panelplayup = image("panelplayup", top, 960, 840, 675, 225, false, "pause", "Stop");
  panelplaydown = image("panelplaydown", top, 960, 840, 675, 225, false, "play", "Play or resume");
  panelstopup =
      image("panelstopup", top, 1680, 840, 675, 225, false, "stop_inactive", "Play or resume");
  panelstopdown = image("panelstopdown", top, 1680, 840, 675, 225, false, "stop", "Stop");
  panelprev = image("panelprev", top, 2400, 240, 480, 480, false, "prev", "Previous clip");
  panelnext = image("panelnext", top, 2400, 600, 480, 480, false, "next", "Next clip");

  const std::string real = "Realframe";
  Image1 = image("Image1", real, 0, 0, 7365, 2070, true, "player_background", "");
  Shape1 = make("Shape1", ControlKind::Shape, real, 1680, 120, 5295, 1815);
  Picture1 = make("Picture1", ControlKind::PictureBox, real, 1920, 360, 975, 280, true, "logo",
                  "Tunelark on the web");
  Image9 = image("Image9", real, 720, 1080, 675, 225, true, "play", "Play the playlist");
  Image7 = image("Image7", real, 720, 1080, 675, 225, false, "pause", "Pause");
  Image8 = image("Image8", real, 720, 1320, 675, 225, true, "stop", "Stop");
  Image6 = image("Image6", real, 720, 1320, 675, 225, false, "stop_inactive",
                 "Stopped: nothing to stop");
  Image12 = image("Image12", real, 600, 600, 480, 480, true, "prev", "Previous clip");
  Image13 = image("Image13", real, 1080, 600, 480, 480, true, "next", "Next clip");

  const std::string file = "Fileframe";
  Image17 = image("Image17", file, 0, 0, 7365, 2070, true, "browser_background", "");
  tvwControl.box = make("tvwControl", ControlKind::TreeView, file, 600, 480, 2775, 1335);
  Shape3 = make("Shape3", ControlKind::Shape, file, 480, 360, 3015, 1575);
  Label5 = make("Label5", ControlKind::Label, file, 3720, 120, 3255, 255);
  Label5.caption = "RealMedia Files (*.ra, *.rm, *.ram)";
  Label5.color = kGreen;
  File1.box = make("File1", ControlKind::FileListBox, file, 3720, 360, 3255, 1200);
  File1.box.color = kCyan;
  Image33 = image("Image33", file, 3840, 1680, 1425, 225, true, "file_types", "Choose file types");
  Image5 = image("Image5", file, 5400, 1680, 1425, 225, true, "add",
                 "Add the selected clips to the playlist");

  const std::string list = "Playlistframe";
  Image2 = image("Image2", list, 0, 0, 7365, 2070, true, "playlist_background", "");
  List1.box = make("List1", ControlKind::ListBox, list, 2400, 120, 4575, 1785);
  List1.box.color = kCyan;
  Image10 = image("Image10", list, 480, 480, 675, 225, true, "open", "Open a playlist");
  Image11 = image("Image11", list, 480, 480, 675, 225, false, "open_pressed", "Open a playlist");
  Image31 = image("Image31", list, 1320, 360, 945, 225, true, "up", "Move the selected clips up");
  Image32 =
      image("Image32", list, 1320, 600, 945, 225, true, "down", "Move the selected clips down");
  Image26 = image("Image26", list, 360, 1080, 945, 225, true, "new", "New playlist");
  Image28 = image("Image28", list, 1320, 1080, 945, 225, true, "save", "Save the playlist");
  Image22 =
      image("Image22", list, 360, 1320, 945, 225, true, "remove", "Remove the selected clips");
  Image23 =
      image("Image23", list, 1320, 1320, 945, 225, true, "sort_az", "Sort the playlist A to Z");
  Image24 = image("Image24", list, 360, 1560, 945, 225, true, "shuffle", "Shuffle the playlist");
  Image25 =
      image("Image25", list, 1320, 1560, 945, 225, true, "sort_za", "Sort the playlist Z to A");
}

std::vector<Control*> Form1::controls() {
  // Back to front within each frame: the decoration strip, then the background, then the rest.
  return {&Atasframe,      &Realframe, &Fileframe, &Playlistframe, &Image3[4],     &Image4,
          &Shape2,         &Line1,     &Label4,    &Label2,        &Image27,       &Image29,
          &Image30,        &Image34,   &Image21,   &Image18,       &Image16,       &Image20,
          &Image19,        &Image15,   &Image14,   &panelplayup,   &panelplaydown, &panelstopup,
          &panelstopdown,  &panelprev, &panelnext, &Image3[3],     &Image1,        &Shape1,
          &RealAudio1.box, &Picture1,  &Image9,    &Image7,        &Image8,        &Image6,
          &Image12,        &Image13,   &Image3[2], &Image17,       &Shape3,        &tvwControl.box,
          &Label5,         &File1.box, &Image33,   &Image5,        &Image3[1],     &Image2,
          &List1.box,      &Image10,   &Image11,   &Image31,       &Image32,       &Image26,
          &Image28,        &Image22,   &Image23,   &Image24,       &Image25};
}

Control* Form1::findControl(const std::string& name) {
  for (Control* c : controls())
    if (c->name == name) return c;
  return nullptr;
}

}  // namespace tunelark
