#include "playlist/list_file.h"

#include "platform/atomic_file.h"
#include "playlist/list_text.h"
#include "playlist/playlist_edits.h"
#include "ui/form1.h"

namespace tunelark {

std::string listWriteTarget(Form1& form, const std::string& target) {
  if (form.partlyReadFile.empty() || target != form.partlyReadFile) return target;
  form.workfile = form.app.workingListFile();
  return form.workfile;
}

bool writeEntries(Form1& form, const std::string& path, bool skipEmpty) {
  const std::string text = listFileText(form.app.entries.data(),
                                        static_cast<std::size_t>(form.app.entryCount), skipEmpty);
  std::string error;
  if (writeFileAtomically(path, text, &error)) return true;
  form.host.messageBox(error);
  return false;
}

void writelist(Form1& form, const std::string& path) {
  writeEntries(form, path, true);
  rebuildRows(form.app, form.List1);
}

void endPartlyReadGuard(Form1& form) {
  if (form.partlyReadFile.empty()) return;
  if (form.workfile == form.partlyReadFile) form.workfile = form.app.workingListFile();
  form.partlyReadFile.clear();
}

}  // namespace tunelark
