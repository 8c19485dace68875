// The transport buttons of the player area and of the compact panel, and double-click to play.
// playstate follows the buttons, never the player: nothing here asks the player what it does.
// Every player call goes through RealAudio1, which keeps the source and auto-start given before
// the component is attached.
#include "ui/form1.h"

namespace tunelark {

// Play hands the player the playlist again rather than resuming: clearing the source first
// makes the player see a change even when the path is the same as before.
void Form1::Image9_Click() {
  playstate = 1;
  RealAudio1.setSource("");
  // After a failed load the list on screen is what plays: when nothing could be read, nothing
  // (the failed path is kept for the next start, not handed to the player).
  const bool nothingRead = !failedLoadFile.empty() && app.entryCount == 0;
  if (!nothingRead && !app.lastfile.empty())
    RealAudio1.setSource(app.lastfile);
  else if (!nothingRead && !workfile.empty())
    RealAudio1.setSource(workfile);
  RealAudio1.setAutoStart(true);
  applyPlayingLook();
}

// Pause leaves the active stop showing: a paused player can still be stopped.
void Form1::Image7_Click() {
  playstate = 0;
  RealAudio1.playPause();
  Image7.visible = false;
  Image9.visible = true;
}

void Form1::Image8_Click() {
  playstate = 0;
  RealAudio1.stop();
  applyStoppedLook();
}

void Form1::Image12_Click() { RealAudio1.previousClip(); }
void Form1::Image13_Click() { RealAudio1.nextClip(); }

// The panel swaps its images before calling the player. Its play never gives a source: it
// starts or resumes whatever the player holds. The inactive-stop and pause pictures act on the
// player without touching playstate, so the player area shows its old look when it comes back.
void Form1::panelplaydown_Click() {
  playstate = 1;
  applyPanelPlayingLook();
  RealAudio1.playPause();
}

void Form1::panelstopup_Click() {
  applyPanelPlayingLook();
  RealAudio1.playPause();
}

void Form1::panelstopdown_Click() {
  playstate = 0;
  applyPanelStoppedLook();
  RealAudio1.stop();
}

void Form1::panelplayup_Click() {
  applyPanelStoppedLook();
  RealAudio1.stop();
}

void Form1::panelprev_Click() { RealAudio1.previousClip(); }
void Form1::panelnext_Click() { RealAudio1.nextClip(); }

// Each selected row is given in turn, so the highest selected row ends up as the source. The
// list box and entries are kept parallel by the playlist code; a row without an entry behind
// it is skipped rather than read past the playlist.
void Form1::List1_DblClick() {
  for (int i = 0; i < List1.ListCount(); ++i) {
    if (!List1.Selected(i)) continue;
    if (i >= kMaxEntries || i >= app.entryCount) continue;
    RealAudio1.setSource(app.entries[static_cast<std::size_t>(i)]);
    RealAudio1.setAutoStart(true);
    playstate = 1;
    applyPlayingLook();
    // With the player area hidden the compact panel is what the user sees; it must not go on
    // offering play while the list plays.
    if (playershown == 0) applyPanelPlayingLook();
  }
}

}  // namespace tunelark
