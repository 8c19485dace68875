// Removing, moving, sorting and shuffling the playlist. Remove and the moves rewrite workfile;
// the sorts and the shuffle rewrite the current playlist file and hand it to the player again.
#include "playlist/list_file.h"
#include "playlist/playlist_edits.h"
#include "ui/form1.h"

namespace tunelark {

namespace {

void afterMove(Form1& form) {
  rebuildRows(form.app, form.List1);
  writeEntries(form, listWriteTarget(form, form.workfile), true);
}

// The whole-list edits always work on the current playlist file. Handed the file it is playing
// again after the rewrite, the player keeps the clip that plays and goes on in the new order.
void reorderWhole(Form1& form, void (*reorder)(Form1&)) {
  form.workfile = listWriteTarget(form, form.app.lastfile);
  reorder(form);
  writelist(form, form.workfile);
  form.RealAudio1.setSource(form.workfile);
}

}  // namespace

void Form1::Image22_Click() {
  selCount = List1.selCount();
  Notselected();
  if (selCount == 0) return;
  const auto rows = List1.selectedRows();
  removeEntries(app, selectedEntryRows(app, List1));
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) List1.RemoveItem(*it);
  afterMove(*this);
}

void Form1::Image31_Click() {
  selCount = List1.selCount();
  if (selCount == 0) return;
  moveEntriesUp(app, List1, selectedEntryRows(app, List1));
  afterMove(*this);
}

void Form1::Image32_Click() {
  selCount = List1.selCount();
  if (selCount == 0) return;
  moveEntriesDown(app, List1, selectedEntryRows(app, List1));
  afterMove(*this);
}

void Form1::Image23_Click() { mnusort(); }
void Form1::Image25_Click() { mnureverse(); }
void Form1::Image24_Click() { mnurandom(); }

void Form1::mnusort() {
  reorderWhole(*this, [](Form1& form) { sortEntries(form.app, false); });
}

void Form1::mnureverse() {
  reorderWhole(*this, [](Form1& form) { sortEntries(form.app, true); });
}

void Form1::mnurandom() {
  reorderWhole(*this, [](Form1& form) { shuffleEntries(form.app, form.random); });
}

}  // namespace tunelark
