#pragma once
// Reads which image of each transport pair a window shows, as "play/stop", "pause/stop",
// "play/inactive" and so on, so tests can state a look in one word pair.

#include <string>

#include "ui/form1.h"

namespace tunelark::testing {

inline std::string pairLook(const Control& play, const Control& pause, const Control& stop,
                            const Control& inactiveStop) {
  return std::string(play.visible ? "play" : "") + (pause.visible ? "pause" : "") + "/" +
         (stop.visible ? "stop" : "") + (inactiveStop.visible ? "inactive" : "");
}

inline std::string playerLook(const Form1& w) {
  return pairLook(w.Image9, w.Image7, w.Image8, w.Image6);
}

inline std::string panelLook(const Form1& w) {
  return pairLook(w.panelplaydown, w.panelplayup, w.panelstopdown, w.panelstopup);
}

}  // namespace tunelark::testing
