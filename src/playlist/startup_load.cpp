#include "playlist/startup_load.h"

#include "ui/form1.h"

namespace tunelark {

void startUntitled(Form1& form) {
  form.workfile = form.app.workingListFile();
  form.Label4.caption = "PlayList File : Untitled.ram";
  form.app.lastfile = form.workfile;
  form.listmode = 2;
}

void startupLoad(Form1& form) {
  // Reading the remembered playlist back needs the .ram reader, which does not exist yet; until
  // it does, every run starts untitled whatever `lastfile` holds.
  startUntitled(form);
}

}  // namespace tunelark
