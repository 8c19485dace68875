#pragma once
// Loading a playlist file into the playlist: the entries, and the rows with their names looked
// up on disk. Open and the start-up load share it; they differ in their size limits and in
// whether a line of one space counts.

#include <cstddef>
#include <string>

#include "platform/regular_file.h"

namespace tunelark {

class Form1;

struct ListLoad {
  RegularFileRead::Status status = RegularFileRead::Status::Failed;
  bool tooLarge = false;  // the file holds more than the limit allowed
  bool notAList = false;  // a clip or other binary file: nothing was taken from it

  // Every line of the file is in the playlist.
  bool complete() const { return status == RegularFileRead::Status::Ok && !tooLarge && !notAList; }
};

// Reads at most `maxBytes` of `path`. Unless the file is missing, not an ordinary file, not a
// playlist or (with `refuseLarger`) too large, the playlist is cleared and filled with the lines
// read, up to 80; after a read error or at the limit those are the whole lines read before it.
ListLoad loadListFile(Form1& form, const std::string& path, std::size_t maxBytes, bool refuseLarger,
                      bool skipSingleSpace);

}  // namespace tunelark
