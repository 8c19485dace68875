#include "playlist/startup_load.h"

#include "playlist/list_reading.h"
#include "playlist/playlist_line.h"
#include "ui/form1.h"

namespace tunelark {

namespace {

// The start-up load has no size limit of its own; this keeps a remembered path that names a
// huge file from exhausting memory. Such a file still loads its first 80 entries.
constexpr std::size_t kStartupReadLimit = 16u << 20;

}  // namespace

void startUntitled(Form1& form) {
  form.workfile = form.app.workingListFile();
  form.Label4.caption = "PlayList File : Untitled.ram";
  form.app.lastfile = form.workfile;
  form.listmode = 2;
}

void startupLoad(Form1& form) {
  AppState& app = form.app;
  if (fileNameOf(app.settingsPath).empty() || app.lastfile.empty()) {
    startUntitled(form);
    return;
  }
  form.workfile = app.lastfile;
  form.listmode = 1;
  const ListLoad load = loadListFile(form, app.lastfile, kStartupReadLimit, false, false);
  if (load.complete()) {
    form.Label4.caption = "PlayList File : " + fileNameOf(app.lastfile);
    form.RealAudio1.setSource(app.lastfile);
    return;
  }
  // Missing, unreadable, cut at the limit or no playlist at all: `lastfile` keeps the path, so
  // a drive mounted later loads at the next start. The file itself is never written; the first
  // edit makes the working list the current playlist instead.
  form.listmode = 2;
  form.failedLoadFile = app.lastfile;
}

}  // namespace tunelark
