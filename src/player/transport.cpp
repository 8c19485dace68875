// Placeholder transport handlers until playback control lands.
#include "ui/form1.h"

namespace tunelark {

void Form1::Image9_Click() {}
void Form1::Image7_Click() {}
void Form1::Image8_Click() {}
void Form1::Image12_Click() {}
void Form1::Image13_Click() {}
void Form1::panelplaydown_Click() {}
void Form1::panelplayup_Click() {}
void Form1::panelstopdown_Click() {}
void Form1::panelstopup_Click() {}
void Form1::panelprev_Click() {}
void Form1::panelnext_Click() {}
void Form1::List1_DblClick() {}
void Form1::applyPlayingLook() {}
void Form1::applyStoppedLook() {}
void Form1::applyPanelPlayingLook() {}
void Form1::applyPanelStoppedLook() {}

}  // namespace tunelark
