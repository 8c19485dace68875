// Adding clips: the add button takes every clip selected in File1, a drop on the playlist the
// one File1 names as its current file, and addClipFiles the clip files given from outside (the
// command line, another start, a file manager's drop) as the add button takes its selection.
// All append, show the new rows at once and rewrite the list's file.
#include <string>
#include <vector>

#include "playlist/list_file.h"
#include "playlist/playlist_edits.h"
#include "playlist/playlist_line.h"
#include "ui/form1.h"

namespace tunelark {

namespace {

constexpr const char* kListFull = "Sorry ... Only 80 songs for one list";

// A path holding a line break, in the clip's name or in any folder above it, would become two
// lines of the list file, and so two entries naming clips that do not exist.
bool fitsOnOneLine(const ClipFile& clip) {
  return clipLine(clip.folder, clip.name).find_first_of("\r\n") == std::string::npos;
}

void tellRefused(Form1& form, const std::vector<ClipFile>& clips) {
  if (clips.empty()) return;
  std::string text = "A clip whose path holds a line break cannot go into a playlist:";
  for (const auto& clip : clips) text += "\n" + clip.folder + "/" + clip.name;
  form.host.messageBox(text);
}

bool addClip(Form1& form, const std::string& folder, const std::string& name) {
  if (!appendEntry(form.app, clipLine(folder, name))) return false;
  form.List1.AddItem(rowText(form.app.entryCount - 1, name));
  return true;
}

// After an add the untitled list goes to the working list file, a named one to its own file;
// every entry is written, empty or not.
void rewriteAfterAdd(Form1& form) {
  std::string target = form.app.lastfile;
  if (form.listmode == 2) {
    form.workfile = form.app.workingListFile();
    target = form.workfile;
  }
  writeEntries(form, listWriteTarget(form, target), false);
}

}  // namespace

void Form1::Notselected() {
  if (selCount == 0) host.messageBox("Clip Not Selected");
}

void Form1::Image5_Click() {
  selCount = File1.selCount();
  Notselected();
  std::vector<ClipFile> clips;
  for (const int row : File1.selectedRows()) clips.push_back({File1.Path(), File1.List(row)});
  addClipFiles(clips);
}

void Form1::addClipFiles(const std::vector<ClipFile>& clips) {
  std::vector<ClipFile> refused;
  for (const auto& clip : clips) {
    if (!fitsOnOneLine(clip)) {
      refused.push_back(clip);
      continue;
    }
    if (!addClip(*this, clip.folder, clip.name)) {
      host.messageBox(kListFull);
      break;
    }
  }
  tellRefused(*this, refused);
  rewriteAfterAdd(*this);
}

void Form1::List1_DragDrop() { addmenu(); }

void Form1::addmenu() {
  const std::string name = File1.FileName();
  if (name.empty()) {
    host.messageBox("Clip Not Selected");
    return;
  }
  if (!fitsOnOneLine({File1.Path(), name})) {
    tellRefused(*this, {{File1.Path(), name}});
    return;
  }
  if (!addClip(*this, File1.Path(), name)) {
    host.messageBox(kListFull);
    return;
  }
  rewriteAfterAdd(*this);
}

}  // namespace tunelark
