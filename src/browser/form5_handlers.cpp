// The main window's side of the file-type dialog.
#include "browser/form5.h"
#include "ui/form1.h"

namespace tunelark {

void Form1::Image33_Click() {
  // The main window is disabled while the dialog is loaded, so a second open cannot come
  // from a click; keep the loaded dialog rather than replacing it.
  if (!form5) form5 = std::make_unique<Form5>(*this);
}

void Form1::dialogUnloaded() { Enabled = !anyDialogLoaded(); }

}  // namespace tunelark
