#include "playlist/list_file.h"

#include "platform/atomic_file.h"
#include "playlist/list_text.h"
#include "playlist/playlist_edits.h"
#include "ui/form1.h"

namespace tunelark {

std::string listWriteTarget(Form1& form, const std::string& target) {
  if (form.failedLoadFile.empty()) return target;
  // The list on screen is no longer what that file holds: it becomes an untitled list in the
  // working list file, as after New, so Play, the caption and the next start all follow it.
  form.failedLoadFile.clear();
  form.listmode = 2;
  form.app.lastfile = form.workfile = form.app.workingListFile();
  form.Label4.caption = kUntitledUnsaved;
  return form.workfile;
}

std::string writeEntriesQuietly(const AppState& app, const std::string& path, bool skipEmpty) {
  const std::string text =
      listFileText(app.entries.data(), static_cast<std::size_t>(app.entryCount), skipEmpty);
  std::string error;
  if (writeFileAtomically(path, text, &error)) return {};
  return error.empty() ? "The playlist could not be written to " + path : error;
}

bool writeEntries(Form1& form, const std::string& path, bool skipEmpty) {
  const std::string error = writeEntriesQuietly(form.app, path, skipEmpty);
  if (!error.empty()) form.host.messageBox(error);
  return error.empty();
}

void writelist(Form1& form, const std::string& path) {
  writeEntries(form, path, true);
  rebuildRows(form.app, form.List1);
}

void endFailedLoadGuard(Form1& form) {
  if (form.failedLoadFile.empty()) return;
  if (form.workfile == form.failedLoadFile) form.workfile = form.app.workingListFile();
  form.failedLoadFile.clear();
}

}  // namespace tunelark
