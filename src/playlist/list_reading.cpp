#include "playlist/list_reading.h"

#include "playlist/list_text.h"
#include "playlist/playlist_edits.h"
#include "playlist/playlist_line.h"
#include "ui/form1.h"

namespace tunelark {

ListLoad loadListFile(Form1& form, const std::string& path, std::size_t maxBytes, bool refuseLarger,
                      bool skipSingleSpace) {
  RegularFileRead read = readRegularFile(path, maxBytes);
  ListLoad load{read.status, read.cut};
  using Status = RegularFileRead::Status;
  if (read.status == Status::Missing || read.status == Status::NotRegular) return load;
  if (read.cut && refuseLarger) return load;
  load.notAList = !isPlaylistText(read.bytes);
  if (load.notAList) return load;
  // Text cut short (by a read error or the size limit) ends in a piece of a line; only the
  // lines read whole are entries.
  std::string_view text = read.bytes;
  if (read.status == Status::Failed || read.cut) text = text.substr(0, text.find_last_of('\r') + 1);

  clearEntries(form.app);
  form.List1.Clear();
  for (auto& line : readListLines(text, kMaxEntries, skipSingleSpace).lines) {
    form.List1.AddItem(rowFromLine(form.app.entryCount, line));
    appendEntry(form.app, std::move(line));
  }
  return load;
}

}  // namespace tunelark
