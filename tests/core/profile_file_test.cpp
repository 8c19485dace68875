#include "platform/profile_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "support/temp_dir.h"

namespace tunelark {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempDir;

// What a settings file on disk does for a read and for a write of Dirlagu/file. The ways the
// atomic writer refuses are its own tests; one of them (read-only) shows the refusal comes
// through.
struct FileCase {
  const char* what;
  std::string (*prepare)(const TempDir& dir);  // returns the settings path
  std::optional<std::string> read;             // what the read yields
  bool writes;                                 // whether the write is stored
};

std::string inFolder(const TempDir& dir) { return dir.str() + "/tunelark.ini"; }

std::string withBytes(const TempDir& dir, const std::string& bytes) {
  return dir.write("tunelark.ini", bytes);
}

const FileCase kFileCases[] = {
    {"missing file", inFolder, std::nullopt, true},
    {"CRLF file", [](const TempDir& d) { return withBytes(d, "[Dirlagu]\r\nfile=/a.ram\r\n"); },
     "/a.ram", true},
    {"only the Option section",
     [](const TempDir& d) { return withBytes(d, "[Option]\r\ntaskbar=2\r\n"); }, std::nullopt,
     true},
    {"one huge line", [](const TempDir& d) { return withBytes(d, std::string(3 << 20, '[')); },
     std::nullopt, true},
    {"read-only file",
     [](const TempDir& d) {
       const auto path = withBytes(d, "[Dirlagu]\nfile=/a.ram\n");
       ::chmod(path.c_str(), 0444);
       return path;
     },
     "/a.ram", false},
    {"a FIFO in its place",
     [](const TempDir& d) {
       ::mkfifo(inFolder(d).c_str(), 0644);
       return inFolder(d);
     },
     std::nullopt, false},
    {"larger than any settings file",
     [](const TempDir& d) {
       const auto path = withBytes(d, "[Dirlagu]\nfile=/a.ram\n");
       fs::resize_file(path, ProfileFile::kMaxBytes + 1);
       return path;
     },
     std::nullopt, false}};

TEST(ProfileFileOnDisk, ReadsAndWritesOrLeavesTheFileAsItWas) {
  for (const FileCase& c : kFileCases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string path = c.prepare(dir);
    const ProfileFile file(path);
    EXPECT_EQ(file.read("Dirlagu", "file"), c.read);

    const bool regular = fs::is_regular_file(path);
    const std::string before = regular ? readFile(path) : "";
    std::string error;
    EXPECT_EQ(file.write("dirlagu", "FILE", "/home/ann/new.ram", &error), c.writes) << error;
    if (c.writes) {
      EXPECT_EQ(file.read("Dirlagu", "file"), "/home/ann/new.ram");
    } else {
      EXPECT_FALSE(error.empty());
      if (regular) {
        EXPECT_EQ(readFile(path), before);
      }
    }
  }
}

TEST(ProfileFileRead, ReadStringFallsBackOnlyWhenTheValueIsMissing) {
  TempDir dir;
  const ProfileFile file(dir.write("tunelark.ini", "[Option]\ntaskbar=\n"));
  EXPECT_EQ(file.readString("option", "taskbar", "0"), "");
  EXPECT_EQ(file.readString("option", "missing", "0"), "0");
  EXPECT_EQ(ProfileFile(dir.str() + "/none.ini").readString("Option", "taskbar", "0"), "0");
}

}  // namespace
}  // namespace tunelark
