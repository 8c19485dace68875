// The eight view layouts of the main window and the choice among them by the three view flags.
// Each layout packs the shown areas under the top strip. The heights differ by a few twips
// between layouts with the same number of areas (5610, 5625, 5640; 3465, 3480): each layout
// keeps its own value, because that is the window size users of each view know.
#include <optional>

#include "ui/form1.h"

namespace tunelark {

namespace {

// What one layout does to a lower frame: shows or hides it, and moves it only when it has a top.
struct FramePlacement {
  bool visible;
  std::optional<int> top;  // empty: the layout leaves this frame's top where it is
};

struct ViewLayout {
  FramePlacement player;
  FramePlacement browser;
  FramePlacement playlist;
  int height;
};

constexpr int kUnderStrip = 1300;  // first place under the top strip
constexpr int kSecond = 3450;      // under one lower area
constexpr int kThird = 5600;       // under two lower areas

constexpr ViewLayout kNormal{{true, kUnderStrip}, {true, kSecond}, {true, kThird}, 7770};
constexpr ViewLayout kRealfile{{true, kUnderStrip}, {true, kSecond}, {false, {}}, 5610};
constexpr ViewLayout kRealplaylist{{true, {}}, {false, {}}, {true, kSecond}, 5640};
constexpr ViewLayout kFileplaylist{{false, {}}, {true, kUnderStrip}, {true, kSecond}, 5625};
constexpr ViewLayout kRealonly{{true, {}}, {false, {}}, {false, {}}, 3465};
constexpr ViewLayout kFileonly{{false, {}}, {true, kUnderStrip}, {false, {}}, 3480};
constexpr ViewLayout kPlaylistonly{{false, {}}, {false, {}}, {true, kUnderStrip}, 3480};
constexpr ViewLayout kPanel{{false, {}}, {false, {}}, {false, {}}, 1320};

// Visibility first, then tops, then the height. A layout never touches a frame's width: the
// frames stay 30 twips wider than the window so its right edge cuts them cleanly.
void apply(Form1& w, const ViewLayout& layout) {
  w.Realframe.visible = layout.player.visible;
  w.Fileframe.visible = layout.browser.visible;
  w.Playlistframe.visible = layout.playlist.visible;
  if (layout.player.top) w.Realframe.top = *layout.player.top;
  if (layout.browser.top) w.Fileframe.top = *layout.browser.top;
  if (layout.playlist.top) w.Playlistframe.top = *layout.playlist.top;
  w.Height = layout.height;
}

}  // namespace

void Form1::normal() { apply(*this, kNormal); }
void Form1::Realfile() { apply(*this, kRealfile); }
void Form1::Realplaylist() { apply(*this, kRealplaylist); }
void Form1::Fileplaylist() { apply(*this, kFileplaylist); }
void Form1::Realonly() { apply(*this, kRealonly); }
void Form1::fileonly() { apply(*this, kFileonly); }
void Form1::playlistonly() { apply(*this, kPlaylistonly); }
void Form1::panel() { apply(*this, kPanel); }

void Form1::chooseView() {
  // Any non-zero flag counts as shown, so a stray value still yields one of the eight layouts.
  const bool p = playershown != 0;
  const bool b = browsershown != 0;
  const bool l = listshown != 0;
  if (p && b && l) return normal();
  if (p && b) return Realfile();
  if (p && l) return Realplaylist();
  if (b && l) return Fileplaylist();
  if (p) return Realonly();
  if (b) return fileonly();
  if (l) return playlistonly();
  panel();
}

}  // namespace tunelark
