// The playing and stopped looks of the two transports. Each transport button is a pair of
// images on one spot; a look picks which image of each pair shows.
#include "ui/form1.h"

namespace tunelark {

void Form1::applyPlayingLook() {
  Image9.visible = false;  // play gives way to pause
  Image7.visible = true;
  Image6.visible = false;  // stop becomes active
  Image8.visible = true;
}

void Form1::applyStoppedLook() {
  Image7.visible = false;
  Image9.visible = true;
  Image6.visible = true;
  Image8.visible = false;
}

void Form1::applyPanelPlayingLook() {
  panelplaydown.visible = false;
  panelplayup.visible = true;
  panelstopdown.visible = true;
  panelstopup.visible = false;
}

void Form1::applyPanelStoppedLook() {
  panelplaydown.visible = true;
  panelplayup.visible = false;
  panelstopdown.visible = false;
  panelstopup.visible = true;
}

}  // namespace tunelark
