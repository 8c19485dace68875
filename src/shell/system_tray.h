#pragma once
// SystemTrayBas: the main window's tray icon, added and deleted through the shell with one
// record (traydata) that is kept between calls.

#include <string>

#include "platform/notify_icon.h"

namespace tunelark {

class Form1;

class SystemTrayBas {
 public:
  explicit SystemTrayBas(Form1& form) : form_(form) {}
  SystemTrayBas(const SystemTrayBas&) = delete;
  SystemTrayBas& operator=(const SystemTrayBas&) = delete;

  // Fills every field of traydata, reading the window's handle and icon anew, and asks the
  // shell to add the icon with `tip` as its tip. What the shell answers is not looked at.
  void addtray(const std::string& tip);
  // Asks the shell to delete the icon of the record as last filled; before the first addtray
  // the record is all zero and the shell refuses. The answer is not looked at.
  void deletetray();

  NotifyIconData traydata;

  // Whether the user has been told that the desktop has no tray; they are told once a run.
  bool trayMissingTold = false;

 private:
  Form1& form_;
};

}  // namespace tunelark
