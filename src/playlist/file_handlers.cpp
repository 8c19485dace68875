// New, Open and Save: which file is the current playlist, and the caption that names it.
#include <string>

#include "platform/path_parts.h"
#include "playlist/list_file.h"
#include "playlist/list_reading.h"
#include "playlist/list_text.h"
#include "playlist/playlist_edits.h"
#include "playlist/playlist_line.h"
#include "ui/form1.h"

namespace tunelark {

namespace {

constexpr std::size_t kOpenLimit = 100000;  // bytes; a larger file is no playlist of ours
constexpr const char* kNotAList = "a clip or another binary file, not a playlist";

// What the user is told when Open or Save leaves such a file alone: `notDone` says what.
std::string notAListMessage(const char* notDone, const std::string& path) {
  return std::string("This file is ") + kNotAList + ", so it was " + notDone + ":\n" + path;
}

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
  Label4.caption = kUntitledUnsaved;
  endFailedLoadGuard(*this);
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
    // Open fails silently, but a clip chosen through the dialog's clip filter is worth a word:
    // the user meant something by it, and nothing happening would look like a fault.
    if (openListFile(CommonDialog1.FileName) == kNotAList)
      host.messageBox(notAListMessage("not opened", CommonDialog1.FileName));
  }
  Image10.visible = true;
  Image11.visible = false;
}

std::string Form1::openListFile(const std::string& path) {
  const ListLoad load = loadListFile(*this, path, kOpenLimit, true, true);
  using Status = RegularFileRead::Status;
  if (load.status == Status::Missing) return "not found";
  if (load.status == Status::NotRegular) return "not an ordinary file";
  if (load.tooLarge) return "too large for a playlist";
  if (load.notAList) return kNotAList;
  endFailedLoadGuard(*this);
  app.lastfile = path;
  workfile = path;
  if (load.complete()) {
    listmode = 1;
    RealAudio1.setSource(app.lastfile);
  } else {
    failedLoadFile = path;
  }
  Label4.caption = captionFor(app.lastfile);
  return {};
}

// A completed Save makes the saved file the playlist's own: every later edit goes to it, and
// the file the list was in before is left as it was saved.
void Form1::Image28_Click() {
  const std::string name = savedialog("Untitled");
  if (name.empty()) return;
  if (!savelist(name)) return;
  endFailedLoadGuard(*this);
  Label4.caption = captionFor(name);
  app.lastfile = workfile = name;
  listmode = 1;
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
  // Saving over a clip would destroy it: only a playlist, or a new file, is written.
  const RegularFileRead old = readRegularFile(path, kOpenLimit);
  if (old.status == RegularFileRead::Status::Ok && !isPlaylistText(old.bytes)) {
    host.messageBox(notAListMessage("not written over", path));
    return false;
  }
  host.setBusy(true);
  const std::string error = writeEntriesQuietly(app, path, false);
  host.setBusy(false);  // before the message, so the box does not show under the busy pointer
  if (!error.empty()) host.messageBox(error);
  return error.empty();
}

}  // namespace tunelark
