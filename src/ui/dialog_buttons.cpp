// The top strip's buttons that open a dialog or a message.
#include "shell/form4.h"
#include "ui/form1.h"
#include "ui/form2.h"

namespace tunelark {

// The main window is disabled while a dialog is loaded, so a second open cannot come from a
// click; a loaded dialog is kept rather than replaced (the tray's menu can still ask for About).
void Form1::Image29_Click() {
  if (!form4) form4 = std::make_unique<Form4>(*this);
}

void Form1::Image30_Click() { host.messageBox("Help Not Available Yet.."); }

void Form1::Image34_Click() {
  if (form2)
    form2->toFront = true;  // asked for again from the tray: it may be behind other windows
  else
    form2 = std::make_unique<Form2>(*this);
}

}  // namespace tunelark
