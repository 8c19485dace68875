#pragma once
// The built tunelark executable started as a user would start it, on the current X display,
// with a private settings folder; and the X tools the tests read the screen with.

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/shell.h"
#include "support/temp_dir.h"

namespace tunelark::e2e {

using tunelark::testing::capture;
using tunelark::testing::waitFor;

struct WindowGeometry {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Where the X window `id` is on the screen; nullopt when it is gone.
std::optional<WindowGeometry> geometryOf(const std::string& id);

// Presses keys, as xdotool names them ("ctrl+a", "Return"), in whatever window has the focus.
void pressKeys(const std::string& keys);

class RunningProgram {
 public:
  // Starts the program with TUNELARK_WINDIR and TUNELARK_SCREENSHOT_DIR in `folder`, plus
  // `extraEnv`, in the current folder `cwd` ("" for the test's own). Its standard error goes
  // to a file in the folder. `args` follow the program's name.
  RunningProgram(const tunelark::testing::TempDir& folder,
                 const std::map<std::string, std::string>& extraEnv = {},
                 const std::string& cwd = {}, std::vector<std::string> args = {});
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // Waits until the program's window is mapped; its X id, or "" if none appeared.
  std::string waitForWindow();
  std::optional<WindowGeometry> geometry() const { return geometryOf(window_); }
  // Whether the main window is on the screen (mapped and not hidden).
  bool shown() const;
  // Waits for a viewable window of the program, other than the main one, whose title is
  // `title` (any title when empty) and whose size `fits` (any size when empty); its X id, or ""
  // when none came. Dialogs, popup menus and the tray icon are such windows.
  std::string waitForOther(const std::string& title,
                           const std::function<bool(const WindowGeometry&)>& fits = {}) const;
  // Waits for the dialog titled `title`, gives it the keyboard, replaces what its focused field
  // holds with `text` and presses Return; false when no such dialog came.
  bool typeInto(const std::string& title, const std::string& text) const;
  // A click of `button` (1 left, 3 right) at window coordinates (logical pixels) of the main
  // window, or of the window `id`.
  void click(int x, int y, int button = 1, const std::string& id = {}) const {
    pointerAt(x, y, "click " + std::to_string(button), id);
  }
  // Left click with Shift held, extending a list's selection.
  void shiftClick(int x, int y) const { pointerAt(x, y, "keydown shift click 1 keyup shift"); }
  // Two left clicks in quick succession: a double-click.
  void doubleClick(int x, int y) const { pointerAt(x, y, "click --repeat 2 --delay 60 1"); }
  // Asks the program for a picture of its window and copies it to `target`.
  bool screenshot(const std::string& target) const;
  void signal(int signo) const;
  // Waits for the process to end; its exit status, or nullopt if it did not end in time.
  std::optional<int> waitForExit(std::chrono::milliseconds limit = std::chrono::seconds(15));

  std::string settingsPath() const { return windir_ + "/tunelark.ini"; }
  std::string windir() const { return windir_; }
  std::string errors() const;
  const std::string& window() const { return window_; }

 private:
  // Moves the pointer to (x, y) of the window `id` (the main one when empty), then does what
  // xdotool's `action` words say there.
  void pointerAt(int x, int y, const std::string& action, const std::string& id = {}) const;

  std::string windir_;
  std::string shots_;
  std::string errorLog_;
  pid_t pid_ = -1;
  bool reaped_ = false;
  std::string window_;
};

}  // namespace tunelark::e2e
