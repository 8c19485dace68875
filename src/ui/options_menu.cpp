// The tray icon's popup menu: how the main window recognises the icon's right press, and what
// each item does.
#include "ui/options_menu.h"

#include "platform/notify_icon.h"
#include "ui/form1.h"
#include "ui/form2.h"

namespace tunelark {

Menu optionsMenu() {
  Menu menu;
  menu.Caption = "&Options";
  for (const char* caption : {"&About Tunelark", "-", "&Show Playlist", "-", "&Play", "&Stop",
                              "Pre&v Clip", "&Next Clip", "-", "E&xit"})
    menu.items.push_back(MenuItem{caption, true});
  return menu;
}

void Form1::Form_MouseDown(int Button, int /*Shift*/, int X, int /*Y*/) {
  // Every mouse action on the tray icon arrives as a right press on the window whose x is the
  // icon's own mouse message. Only the icon's right press opens the menu. A real press on the
  // window cannot match: the window is 490 pixels wide and x counts pixels, so the comparison
  // holds at any screen scale.
  if (Button != kRightButton || X != static_cast<int>(WM_RBUTTONDOWN)) return;
  mnuoption.items[kMnuShowPlaylist].Enabled = !Visible;
  // A hidden window offers About in bold; a visible one names the separator as the default,
  // which leaves no item bold.
  const int defaultItem = Visible ? 1 : kMnuAbout;
  PopupMenus* menus = host.popupMenus();
  if (!menus) return;
  const int chosen = menus->PopupMenu(mnuoption, defaultItem);
  if (chosen >= 0) mnuopt_Click(chosen);
}

void Form1::mnuopt_Click(int Index) {
  switch (Index) {
    case kMnuAbout:
      Image34_Click();
      break;
    case kMnuShowPlaylist:
      Visible = true;
      WindowState = ShowState::Normal;
      break;
    // The player is called directly: the play state and the button looks are left as they are.
    case kMnuPlay:
      RealAudio1.playPause();
      break;
    case kMnuStop:
      RealAudio1.stop();
      break;
    case kMnuPrevClip:
      RealAudio1.previousClip();
      break;
    case kMnuNextClip:
      RealAudio1.nextClip();
      break;
    case kMnuExit:
      // Nothing is stored: the next run restores what the last stored run left.
      host.endProcess();
      break;
    default:  // separators
      break;
  }
}

}  // namespace tunelark
