// The six show/hide toggles of the top strip. Each pair of images lies on one spot, so a click
// sets its area's flag, swaps the pair and lets the flags pick the layout. The player toggles
// also move the transport between the player area and the compact panel, in the look that
// matches playstate.
#include "ui/form1.h"

namespace tunelark {

void Form1::Image14_Click() {
  listshown = 1;
  Image14.visible = false;
  Image15.visible = true;
  chooseView();
}

void Form1::Image15_Click() {
  listshown = 0;
  Image15.visible = false;
  Image14.visible = true;
  chooseView();
}

void Form1::Image16_Click() {
  playershown = 1;
  Image16.visible = false;
  Image18.visible = true;
  for (Control* c :
       {&panelplaydown, &panelstopdown, &panelplayup, &panelstopup, &panelprev, &panelnext})
    c->visible = false;
  if (playstate == 1)
    applyPlayingLook();
  else
    applyStoppedLook();
  chooseView();
}

void Form1::Image18_Click() {
  playershown = 0;
  Image18.visible = false;
  Image16.visible = true;
  if (playstate == 1)
    applyPanelPlayingLook();
  else
    applyPanelStoppedLook();
  panelprev.visible = true;
  panelnext.visible = true;
  chooseView();
}

void Form1::Image19_Click() {
  browsershown = 1;
  Image19.visible = false;
  Image20.visible = true;
  chooseView();
}

void Form1::Image20_Click() {
  browsershown = 0;
  Image20.visible = false;
  Image19.visible = true;
  chooseView();
}

}  // namespace tunelark
