#pragma once
// The values that live for the whole process. One object is created at start-up and handed to
// the forms; tests create a fresh one per case.

#include <array>
#include <cstdint>
#include <string>

namespace tunelark {

inline constexpr int kMaxEntries = 80;

struct AppState {
  std::string windowsDir;                        // settings folder, no trailing separator
  std::string settingsPath;                      // windowsDir + "/tunelark.ini"
  std::string lastfile;                          // full path of the current playlist file
  std::array<std::string, kMaxEntries> entries;  // playlist lines, slots 0..entryCount-1 in use
  std::int16_t entryCount = 0;

  // The working list file that holds an untitled playlist.
  std::string workingListFile() const { return windowsDir + "/temp.ram"; }
};

}  // namespace tunelark
