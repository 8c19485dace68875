// New, Open and Save: which file is the current playlist, and the caption that names it.
#include <string>

#include "platform/path_parts.h"
#include "playlist/list_file.h"
#include "playlist/list_reading.h"
#include "playlist/playlist_edits.h"
#include "playlist/playlist_line.h"
#include "ui/form1.h"

namespace tunelark {

namespace {

constexpr std::size_t kOpenLimit = 100000;  // bytes; a larger file is no playlist of ours

std::string captionFor(const std::string& path) { return "PlayList File : " + fileNameOf(path); }

// Both dialogs open where the user last chose a file in either of them during this run.
void rememberFolder(Form1& form) {
  form.CommonDialog1.InitDir = folderOf(form.CommonDialog1.FileName);
}

}  // namespace

void Form1::Image26_Click() {
  clearEntries(app);
  List1.Clear();
  listmode = 2;
  app.lastfile = app.workingListFile();
  Label4.caption = "PlayList File : Untitled.ram (Not Save)";
  endPartlyReadGuard(*this);
}

void Form1::Image10_Click() {
  Image10.visible = false;
  Image11.visible = true;
  openlist();
  Label4.caption = captionFor(app.lastfile);
}

void Form1::openlist() {
  CommonDialog1.CancelError = true;
  CommonDialog1.DialogTitle = "Open Playlist";
  CommonDialog1.Flags = 4;
  CommonDialog1.Filter = "Tunelark (*.ram)|*.ram|RealMedia Files (*.ra,*.rm)|*.ra;*.rm";
  CommonDialog1.FilterIndex = 1;
  if (dialogs.ShowOpen(CommonDialog1)) {
    rememberFolder(*this);
    openListFile(CommonDialog1.FileName);
  }
  Image10.visible = true;
  Image11.visible = false;
}

bool Form1::openListFile(const std::string& path) {
  const ListLoad load = loadListFile(*this, path, kOpenLimit, true, true);
  using Status = RegularFileRead::Status;
  if (load.status == Status::Missing || load.status == Status::NotRegular || load.tooLarge)
    return false;
  endPartlyReadGuard(*this);
  app.lastfile = path;
  workfile = path;
  if (load.status == Status::Ok) {
    listmode = 1;
    RealAudio1.setSource(app.lastfile);
  } else {
    partlyReadFile = path;
  }
  Label4.caption = captionFor(app.lastfile);
  return true;
}

void Form1::Image28_Click() {
  const std::string name = savedialog("Untitled");
  if (name.empty()) return;
  if (!savelist(name)) return;
  Label4.caption = captionFor(name);
  app.lastfile = name;
  endPartlyReadGuard(*this);
}

std::string Form1::savedialog(const std::string& defaultName) {
  CommonDialog1.Flags = 4;
  CommonDialog1.Filter = "Tunelark (*.ram)|*.ram|RealMedia Files (*.ra)|*.ra";
  CommonDialog1.FilterIndex = 1;
  CommonDialog1.DialogTitle = "Save As";
  CommonDialog1.FileName = defaultName;
  CommonDialog1.CancelError = true;
  if (!dialogs.ShowSave(CommonDialog1)) return {};
  rememberFolder(*this);
  return CommonDialog1.FileName;
}

bool Form1::savelist(const std::string& path) {
  host.setBusy(true);
  const bool written = writeEntries(*this, path, false);
  host.setBusy(false);
  return written;
}

}  // namespace tunelark
