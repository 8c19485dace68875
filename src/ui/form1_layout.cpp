#include "ui/form1_layout.h"

#include <algorithm>
#include <array>

namespace tunelark {

namespace {

using enum ControlId;
constexpr auto Frame = ControlKind::Frame;
constexpr auto Label = ControlKind::Label;
constexpr auto Shape = ControlKind::Shape;
constexpr unsigned kCyan = 0x00FFFF;
constexpr unsigned kGreen = 0x00FF00;

constexpr LayoutRow frame(ControlId id, int left, int top, int width, int height) {
  return {id, std::nullopt, left, top, width, height, true, {}, {}, Frame, 0, {}};
}

// A skin picture, a button when it has a tooltip.
constexpr LayoutRow image(ControlId id, ControlId in, int left, int top, int width, int height,
                          bool shown, std::string_view picture, std::string_view tooltip,
                          ControlKind kind = ControlKind::Image) {
  return {id, in, left, top, width, height, shown, picture, tooltip, kind, 0, {}};
}

// A control without a picture, shown at start-up.
constexpr LayoutRow part(ControlId id, ControlId in, int left, int top, int width, int height,
                         ControlKind kind, unsigned color = 0, std::string_view caption = {}) {
  return {id, in, left, top, width, height, true, {}, {}, kind, color, caption};
}

constexpr std::array kLayout = {
    frame(Atasframe, 0, 0, 7380, 1305),
    frame(Realframe, 0, 1300, 7380, 2190),
    frame(Fileframe, 0, 3450, 7380, 2190),
    frame(Playlistframe, 0, 5600, 7380, 2210),

    image(Image3_4, Atasframe, 0, 840, 7335, 480, true, "decoration", ""),
    image(Image4, Atasframe, 0, 0, 7335, 1200, true, "top_background", ""),
    part(Shape2, Atasframe, 3000, 120, 3960, 975, Shape),
    part(Line1, Atasframe, 3600, 600, 2880, 0, ControlKind::Line, kGreen),
    part(Label4, Atasframe, 3240, 240, 3615, 255, Label, kCyan),
    part(Label2, Atasframe, 3240, 720, 3735, 255, Label, kCyan),
    image(Image27, Atasframe, 360, 120, 240, 225, true, "minimise", "Minimise"),
    image(Image29, Atasframe, 360, 360, 240, 210, true, "preferences", "Preferences"),
    image(Image30, Atasframe, 360, 600, 210, 240, true, "help", "Help"),
    image(Image34, Atasframe, 320, 860, 255, 255, true, "about", "About Tunelark"),
    image(Image21, Atasframe, 960, 360, 675, 225, true, "exit", "Exit Tunelark"),
    image(Image18, Atasframe, 960, 600, 675, 225, true, "hide_player", "Hide the player"),
    image(Image16, Atasframe, 960, 600, 675, 225, false, "show_player", "Show the player"),
    image(Image20, Atasframe, 1680, 360, 675, 225, true, "hide_browser", "Hide the browser"),
    image(Image19, Atasframe, 1680, 360, 675, 225, false, "show_browser", "Show the browser"),
    image(Image15, Atasframe, 1680, 600, 675, 225, true, "hide_playlist", "Hide the playlist"),
    image(Image14, Atasframe, 1680, 600, 675, 225, false, "show_playlist", "Show the playlist"),
    image(panelplayup, Atasframe, 960, 840, 675, 225, false, "pause", "Stop"),
    image(panelplaydown, Atasframe, 960, 840, 675, 225, false, "play", "Play or resume"),
    image(panelstopup, Atasframe, 1680, 840, 675, 225, false, "stop_inactive", "Play or resume"),
    image(panelstopdown, Atasframe, 1680, 840, 675, 225, false, "stop", "Stop"),
    image(panelprev, Atasframe, 2400, 240, 480, 480, false, "prev", "Previous clip"),
    image(panelnext, Atasframe, 2400, 600, 480, 480, false, "next", "Next clip"),

    image(Image3_3, Realframe, 0, 1680, 7335, 480, true, "decoration", ""),
    image(Image1, Realframe, 0, 0, 7365, 2070, true, "player_background", ""),
    part(Shape1, Realframe, 1680, 120, 5295, 1815, Shape),
    part(RealAudio1, Realframe, 1800, 240, 5055, 1575, ControlKind::Player),
    image(Picture1, Realframe, 1920, 360, 975, 280, true, "logo", "Tunelark on the web",
          ControlKind::PictureBox),
    image(Image9, Realframe, 720, 1080, 675, 225, true, "play", "Play the playlist"),
    image(Image7, Realframe, 720, 1080, 675, 225, false, "pause", "Pause"),
    image(Image8, Realframe, 720, 1320, 675, 225, true, "stop", "Stop"),
    image(Image6, Realframe, 720, 1320, 675, 225, false, "stop_inactive",
          "Stopped: nothing to stop"),
    image(Image12, Realframe, 600, 600, 480, 480, true, "prev", "Previous clip"),
    image(Image13, Realframe, 1080, 600, 480, 480, true, "next", "Next clip"),

    image(Image3_2, Fileframe, 0, 1680, 7335, 480, true, "decoration", ""),
    image(Image17, Fileframe, 0, 0, 7365, 2070, true, "browser_background", ""),
    part(Shape3, Fileframe, 480, 360, 3015, 1575, Shape),
    part(tvwControl, Fileframe, 600, 480, 2775, 1335, ControlKind::TreeView),
    part(Label5, Fileframe, 3720, 120, 3255, 255, Label, kGreen,
         "RealMedia Files (*.ra, *.rm, *.ram)"),
    part(File1, Fileframe, 3720, 360, 3255, 1200, ControlKind::FileListBox, kCyan),
    image(Image33, Fileframe, 3840, 1680, 1425, 225, true, "file_types", "Choose file types"),
    image(Image5, Fileframe, 5400, 1680, 1425, 225, true, "add",
          "Add the selected clips to the playlist"),

    image(Image3_1, Playlistframe, 0, 1680, 7335, 480, true, "decoration", ""),
    image(Image2, Playlistframe, 0, 0, 7365, 2070, true, "playlist_background", ""),
    part(List1, Playlistframe, 2400, 120, 4575, 1785, ControlKind::ListBox, kCyan),
    image(Image10, Playlistframe, 480, 480, 675, 225, true, "open", "Open a playlist"),
    image(Image11, Playlistframe, 480, 480, 675, 225, false, "open_pressed", "Open a playlist"),
    image(Image31, Playlistframe, 1320, 360, 945, 225, true, "up", "Move the selected clips up"),
    image(Image32, Playlistframe, 1320, 600, 945, 225, true, "down",
          "Move the selected clips down"),
    image(Image26, Playlistframe, 360, 1080, 945, 225, true, "new", "New playlist"),
    image(Image28, Playlistframe, 1320, 1080, 945, 225, true, "save", "Save the playlist"),
    image(Image22, Playlistframe, 360, 1320, 945, 225, true, "remove", "Remove the selected clips"),
    image(Image23, Playlistframe, 1320, 1320, 945, 225, true, "sort_az",
          "Sort the playlist A to Z"),
    image(Image24, Playlistframe, 360, 1560, 945, 225, true, "shuffle", "Shuffle the playlist"),
    image(Image25, Playlistframe, 1320, 1560, 945, 225, true, "sort_za",
          "Sort the playlist Z to A"),
};

// Every control has exactly one row, a control lies in a frame that comes before it, and every
// image has a picture.
constexpr bool eachControlOnceInAFrame() {
  std::array<int, kControlCount> rows{};
  std::array<bool, kControlCount> frameSeen{};
  for (const LayoutRow& row : kLayout) {
    const auto at = static_cast<std::size_t>(row.control);
    ++rows[at];
    if ((row.kind == ControlKind::Image || row.kind == ControlKind::PictureBox) &&
        row.picture.empty())
      return false;
    if (row.kind == Frame) {
      if (row.frame) return false;
      frameSeen[at] = true;
    } else if (!row.frame || !frameSeen[static_cast<std::size_t>(*row.frame)]) {
      return false;
    }
  }
  return std::all_of(rows.begin(), rows.end(), [](int n) { return n == 1; });
}
static_assert(eachControlOnceInAFrame(),
              "every control needs exactly one layout row, after the row of its frame, and every "
              "image a picture");

}  // namespace

std::span<const LayoutRow> form1Layout() { return kLayout; }

std::optional<ControlId> frameOf(ControlId id) {
  for (const LayoutRow& row : kLayout)
    if (row.control == id) return row.frame;
  return std::nullopt;
}

}  // namespace tunelark
