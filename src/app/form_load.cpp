// Placeholder start-up and shutdown until the settings code lands.
#include "ui/form1.h"

namespace tunelark {

void Form1::Form_Load() { buildtree(); }
void Form1::Form_Unload() {}
void Form1::Image21_Click() { host.endProcess(); }

}  // namespace tunelark
