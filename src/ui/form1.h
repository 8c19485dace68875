#pragma once
// The main window as a model: every control as plain data, the window-level members, and the
// handlers. The Qt front end draws this model and delivers user input to the handlers; each
// handler's body lives in the folder of the subsystem that owns it.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "browser/file_list_box.h"
#include "browser/tree_view.h"
#include "platform/file_dialogs.h"
#include "platform/host_services.h"
#include "player/control_site.h"
#include "ui/control.h"
#include "ui/control_id.h"
#include "ui/list_box.h"
// ---- Desktop integration ----
#include "platform/popup_menu.h"
#include "shell/form4.h"
#include "shell/system_tray.h"
#include "ui/form2.h"
#include "ui/options_menu.h"
#include "ui/window_state.h"

namespace tunelark {

class Form5;

// A clip file by its folder and its name, as the playlist line and row are made from them.
struct ClipFile {
  std::string folder;
  std::string name;
};

class Form1 {
 public:
  // Without dialogs every Open and Save As is answered as cancelled.
  Form1(AppState& app, HostServices& host);
  Form1(AppState& app, HostServices& host, FileDialogs& dialogs);
  ~Form1();
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // ---- The window itself (twips) ----
  int Width = 7350;
  int Height = 7770;
  bool Enabled = true;  // false while a dialog is loaded
  bool Visible = true;

  // ---- Controls: one member per entry of the list (ui/control_id.h) ----
#define TUNELARK_CONTROL_MEMBER(type, name) type name;
#define TUNELARK_ELEMENT_MEMBER(array, index)
  TUNELARK_FORM1_CONTROLS(TUNELARK_CONTROL_MEMBER, TUNELARK_ELEMENT_MEMBER)
#undef TUNELARK_CONTROL_MEMBER
#undef TUNELARK_ELEMENT_MEMBER
  std::map<int, Control> Image3;  // decorative strips along each frame's bottom, indexes 1..4

  // The control `id` names; for a list, the tree or the player, its box.
  Control& control(ControlId id);
  const Control& control(ControlId id) const;
  // True when the control is shown and so is the frame it lies in.
  bool isShown(ControlId id) const;

  // Every drawable control, frames first, each frame's controls in drawing order (back to front).
  std::vector<Control*> controls();

  // ---- Window-level members ----
  int playershown = 1;  // view flags: 1 shown, 0 hidden
  int browsershown = 1;
  int listshown = 1;
  std::int16_t playstate = 0;  // 1 playing, 0 not playing (follows the buttons)
  int listmode = 2;            // 1 named playlist file, 2 untitled
  std::string workfile;        // the file removal and moving rewrite
  std::int32_t selCount = 0;   // selected rows the last add, remove or move read

  // The file-type dialog while it is loaded.
  std::unique_ptr<Form5> form5;

  CommonDialog CommonDialog1;  // the Open and Save As dialogs' shared record
  // The list file a load stopped on: missing, unreadable, not a playlist, or read only in part.
  // What it holds past the failure is still only on disk, so it is never written; the first
  // edit moves the list on screen to the working list file, which becomes the current playlist.
  std::string failedLoadFile;
  std::mt19937_64 random;  // the shuffle's draws, seeded from the clock

  // ---- View methods ----
  void normal();
  void Realfile();
  void Realplaylist();
  void Fileplaylist();
  void Realonly();
  void fileonly();
  void playlistonly();
  void panel();
  // Calls the view method that the three flags choose.
  void chooseView();

  // ---- Start-up and shutdown ----
  void Form_Load();
  void Form_Unload();
  void Image21_Click();  // exit

  // ---- View toggles ----
  void Image14_Click();
  void Image15_Click();
  void Image16_Click();
  void Image18_Click();
  void Image19_Click();
  void Image20_Click();

  // ---- Transport ----
  void Image9_Click();   // play
  void Image7_Click();   // pause
  void Image8_Click();   // stop
  void Image12_Click();  // previous clip
  void Image13_Click();  // next clip
  void panelplaydown_Click();
  void panelplayup_Click();
  void panelstopdown_Click();
  void panelstopup_Click();
  void panelprev_Click();
  void panelnext_Click();
  void List1_DblClick();
  void applyPlayingLook();  // player area buttons
  void applyStoppedLook();
  void applyPanelPlayingLook();  // compact panel buttons
  void applyPanelStoppedLook();

  // ---- Browser ----
  void buildtree();
  void tvwControl_Click();
  void Image33_Click();  // file types

  // ---- Playlist (bodies in playlist/) ----
  void Image5_Click();    // add the clips selected in File1
  void List1_DragDrop();  // File1's current clip dropped onto the playlist
  void addmenu();
  // Appends `clips` in order as the add button appends its selection: up to 80 entries (then
  // "Sorry ... Only 80 songs for one list"), paths with a line break refused, the file rewritten.
  void addClipFiles(const std::vector<ClipFile>& clips);
  void Notselected();    // "Clip Not Selected" when the last edit found no selected row
  void Image22_Click();  // remove
  void Image31_Click();  // move up
  void Image32_Click();  // move down
  void Image23_Click();  // sort ascending
  void Image25_Click();  // sort descending
  void Image24_Click();  // shuffle
  void mnusort();
  void mnureverse();
  void mnurandom();
  void Image26_Click();  // new
  void Image10_Click();  // open
  void openlist();
  // Open's work after its dialog: loads `path` as the current playlist, with its caption and the
  // player's source. When it is missing, no ordinary file, too large or not a playlist at all
  // (a clip), nothing changes and the reason comes back in words; "" when it was taken.
  std::string openListFile(const std::string& path);
  void Image28_Click();  // save
  // The chosen path, or "" when the user cancelled.
  std::string savedialog(const std::string& defaultName);
  // True when the playlist is in the file; a failure has been shown to the user.
  bool savelist(const std::string& path);

  // Called after any of the window's dialogs is unloaded, however it closed: the window is
  // enabled again once none is left.
  void dialogUnloaded();

  // ---- Desktop integration: presentation, tray icon, dialogs, popup menu ----
  ShowState WindowState = ShowState::Normal;  // beside Visible; a hidden window keeps it
  std::uint32_t hWnd = 0;                     // the window's handle once it is on screen
  std::uint32_t Icon = 0;                     // handle of the window's own icon
  Menu mnuoption = optionsMenu();             // "&Options": the tray icon's popup menu
  SystemTrayBas SystemTray{*this};            // the tray icon and its record
  std::unique_ptr<Form2> form2;               // the About box while it is loaded
  std::unique_ptr<Form4> form4;               // Preferences while it is loaded
  void Image27_Click();                       // minimise, as the stored presentation says
  void Image29_Click();                       // Preferences
  void Image30_Click();                       // help
  void Image34_Click();                       // About
  void Picture1_Click();                      // logo: the web site
  // X and Y in pixels, as the window message carries them.
  void Form_MouseDown(int Button, int Shift, int X, int Y);
  void mnuopt_Click(int Index);
  // The tray host has gone away, and every tray icon with it.
  void trayHostLost();
  // The tray's menu can open the About box over Preferences; the window stays disabled until
  // the last dialog has closed.
  bool anyDialogLoaded() const { return form2 || form4 || form5; }

  AppState& app;
  HostServices& host;
  FileDialogs& dialogs;

 private:
  void layoutControls();
};

}  // namespace tunelark
