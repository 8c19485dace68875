// The main window's side of the file-type dialog, and the drop of clips onto the playlist.
#include "browser/form5.h"
#include "ui/form1.h"

namespace tunelark {

void Form1::Image33_Click() {
  // The main window is disabled while the dialog is loaded, so a second open cannot come
  // from a click; keep the loaded dialog rather than replacing it.
  if (!form5) form5 = std::make_unique<Form5>(*this);
}

void Form1::form5Unloaded() { Enabled = true; }

// What a drop adds to the playlist belongs to the playlist code; the drop itself arrives here.
void Form1::List1_DragDrop() {}

}  // namespace tunelark
