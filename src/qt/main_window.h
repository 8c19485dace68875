#pragma once
// The main window on screen: a frameless, fixed-size widget that draws Form1 with one child
// widget per control, delivers user input to Form1's handlers and brings every widget back in
// line with the model after each handler.

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "qt/model_view.h"
#include "qt/skin_pictures.h"
#include "ui/control_id.h"

namespace tunelark {
class Form1;
}

namespace tunelark::qt {

class PlayerSite;

class MainWindow : public QWidget {
 public:
  explicit MainWindow(Form1& form);
  ~MainWindow() override;

  // Brings every widget in line with the model: window size, frames, controls, list rows,
  // the enabled state, and the file-type dialog.
  void sync();
  // Runs the click handler of `control`, if it has one, then syncs.
  void click(ControlId control);
  // Places the window at the centre of the primary screen's available area.
  void centreOnScreen();

  // Runs Form_Unload unless it already ran; every orderly end of the run comes through here.
  void unloadOnce();
  bool unloaded() const { return unloaded_; }

  // Called once, after the window's first frame has been painted and flushed, before the
  // window's own after-frame touches (button cursors and names, desktop theme icons).
  void setOnFirstFrame(std::function<void()> callback) { onFirstFrame_ = std::move(callback); }
  // Called after the window has been closed (and Form_Unload has run).
  void setOnClosed(std::function<void()> callback) { onClosed_ = std::move(callback); }

  PlayerSite& playerSite() { return *player_; }
  // The widget that holds every frame; disabled while a dialog of the window is loaded.
  QWidget* face() { return face_; }
  SkinPictures& skin() { return skin_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Tab and Shift+Tab walk the shown controls in reading order: the top strip, the player,
  // the browser, the playlist; hidden areas are left out.
  bool focusNextPrevChild(bool next) override;

 private:
  void renderFirstFrameAhead();
  void buildViews();
  // The focus ring, and the keys of the key table.
  void setUpKeyboard();
  void afterHandler();

  Form1& form_;
  SkinPictures skin_;
  QWidget* face_;
  std::map<ControlId, QWidget*> frames_;
  std::vector<std::unique_ptr<ModelView>> views_;
  PlayerSite* player_ = nullptr;  // owned by views_
  bool unloaded_ = false;
  bool firstFramePending_ = true;
  std::function<void()> onFirstFrame_;
  std::function<void()> onClosed_;

  // ---- Desktop integration (main_window_desktop.cpp) ----
 public:
  // Files from outside (the command line, a later start), taken as given files (see
  // playlist/given_files.h) once no dialog of the window is open.
  void takeFiles(const std::vector<std::string>& files);
  // Shows the window in its normal state as the tray menu's "&Show Playlist" does, and raises it.
  void bringToFront();

 protected:
  // Messages from the shell (the tray icon's callback, the tray host leaving), and the
  // window's handle and icon as the tray record reads them.
  bool event(QEvent* event) override;
  // The window manager minimising or restoring the window.
  void changeEvent(QEvent* event) override;

 private:
  void setUpDesktop();
  // Runs a handler of the model, then syncs.
  void runModel(const std::function<void()>& handler);
  void syncWindowState();
  void syncDesktop();
  void finishLinks();
};

}  // namespace tunelark::qt
