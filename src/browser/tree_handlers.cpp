// Placeholder handlers until the browser lands.
#include "ui/form1.h"

namespace tunelark {

void Form1::buildtree() {}
void Form1::tvwControl_Click() {}
void Form1::Image33_Click() {}
void Form1::List1_DragDrop() {}
void Form1::form5Unloaded() { Enabled = true; }

}  // namespace tunelark
