// Placeholder view methods until the layouts land.
#include "ui/form1.h"

namespace tunelark {

void Form1::normal() {}
void Form1::Realfile() {}
void Form1::Realplaylist() {}
void Form1::Fileplaylist() {}
void Form1::Realonly() {}
void Form1::fileonly() {}
void Form1::playlistonly() {}
void Form1::panel() {}
void Form1::chooseView() {}
void Form1::Image14_Click() {}
void Form1::Image15_Click() {}
void Form1::Image16_Click() {}
void Form1::Image18_Click() {}
void Form1::Image19_Click() {}
void Form1::Image20_Click() {}

}  // namespace tunelark
