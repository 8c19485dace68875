#include "playlist/list_reading.h"

#include "playlist/list_text.h"
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
  // Text cut short (by a read error or the size limit) ends in a piece of a line; only the
  // lines read whole are entries.
  std::string_view text = read.bytes;
  if (read.status == Status::Failed || read.cut) text = text.substr(0, text.find_last_of('\r') + 1);

  AppState& app = form.app;
  form.List1.Clear();
  for (int i = 0; i < app.entryCount; ++i) app.entries[static_cast<std::size_t>(i)].clear();
  app.entryCount = 0;
  auto lines = readListLines(text, kMaxEntries, skipSingleSpace).lines;
  for (auto& line : lines) {
    form.List1.AddItem(rowFromLine(app.entryCount, line));
    app.entries[static_cast<std::size_t>(app.entryCount)] = std::move(line);
    ++app.entryCount;
  }
  return load;
}

}  // namespace tunelark
