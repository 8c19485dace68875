#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/temp_dir.h"

namespace tunelark {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempDir;

// The names in a folder, sorted and joined by spaces.
std::string namesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  std::string out;
  for (const auto& name : names) out += (out.empty() ? "" : " ") + name;
  return out;
}

unsigned modeOf(const std::string& path) {
  return static_cast<unsigned>(fs::status(path).permissions());
}

TEST(AtomicFileWrite, CreatesTheFileWithExactlyTheBytesUpToTheLongestName) {
  const std::pair<std::string, std::string> cases[] = {
      {"out.ini", ""},
      {"out.ini", "[Dirlagu]\nfile=/a\n"},
      {"out.ini", std::string("\0\r\n\xff", 4)},
      {"out.ini", std::string(1 << 20, 'z')},
      {std::string(230, 'n'), "x"},  // no room left for a longer temporary name
      {std::string(255, 'n'), "x"}};
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name.size());
    TempDir dir;
    const std::string path = dir.str() + "/" + name;
    std::string error;
    ASSERT_TRUE(writeFileAtomically(path, bytes, &error)) << error;
    EXPECT_EQ(readFile(path), bytes);
    EXPECT_EQ(namesIn(dir.path()), name);
  }
}

// A replacement keeps the old file's mode and any link to it; a new file gets 0644 under umask 022.
TEST(AtomicFileWrite, ReplacesWholeKeepingModeAndLinks) {
  TempDir dir;
  const std::string path = dir.write("list.ram", std::string(5000, 'o'));
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(writeFileAtomically(path, "new\r\n"));
  EXPECT_EQ(readFile(path), "new\r\n");
  EXPECT_EQ(modeOf(path), 0640u);
  const mode_t old = ::umask(022);
  const bool written = writeFileAtomically(dir.str() + "/new.ini", "x");
  ::umask(old);
  ASSERT_TRUE(written);
  EXPECT_EQ(modeOf(dir.str() + "/new.ini"), 0644u);
  const std::string real = dir.write("real/tunelark.ini", "old");
  const std::string link = dir.str() + "/tunelark.ini";
  fs::create_symlink(real, link);
  ASSERT_TRUE(writeFileAtomically(link, "new"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(readFile(real), "new");
  EXPECT_EQ(namesIn(dir.path()), "list.ram new.ini real tunelark.ini");
  EXPECT_EQ(namesIn(dir.path() / "real"), "tunelark.ini");
  for (const mode_t mode : {0200, 0020, 0002}) {  // a write bit for anyone is enough
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    EXPECT_TRUE(writeFileAtomically(path, "again")) << std::oct << mode;
  }
}

std::string readOnly(const TempDir& dir, mode_t mode) {
  const std::string path = dir.write("tunelark.ini", "[Dirlagu]\r\nfile=/old.ram\r\n");
  ::chmod(path.c_str(), mode);
  return path;
}

TEST(AtomicFileWrite, RefusesAndLeavesEverythingAsItWas) {
  // Each case prepares the folder and returns the path to write to.
  const std::pair<const char*, std::string (*)(const TempDir&)> cases[] = {
      {"read-only 0444", [](const TempDir& d) { return readOnly(d, 0444); }},
      {"no permissions at all", [](const TempDir& d) { return readOnly(d, 0000); }},
      {"missing folder", [](const TempDir& d) { return d.str() + "/missing/tunelark.ini"; }},
      {"a folder in the file's place",
       [](const TempDir& d) {
         fs::create_directory(d.path() / "tunelark.ini");
         return d.str() + "/tunelark.ini";
       }},
      {"a FIFO in the file's place",
       [](const TempDir& d) {
         ::mkfifo((d.str() + "/tunelark.ini").c_str(), 0644);
         return d.str() + "/tunelark.ini";
       }},
      {"a link that points nowhere",
       [](const TempDir& d) {
         fs::create_symlink(d.path() / "gone", d.path() / "tunelark.ini");
         return d.str() + "/tunelark.ini";
       }},
      {"empty path", [](const TempDir&) { return std::string(); }}};
  for (const auto& [what, prepare] : cases) {
    SCOPED_TRACE(what);
    TempDir dir;
    const std::string path = prepare(dir);
    const auto namesBefore = namesIn(dir.path());
    const bool regular = fs::is_regular_file(path);
    const std::string before = regular ? readFile(path) : "";
    std::string error;
    EXPECT_FALSE(writeFileAtomically(path, "replacement", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(namesIn(dir.path()), namesBefore);
    EXPECT_EQ(fs::is_regular_file(path), regular);
    EXPECT_EQ(regular ? readFile(path) : "", before);
  }
}

// A write past the file-size limit is a failure, not a crash, whether SIGXFSZ is ignored or not.
TEST(AtomicFileWrite, PastTheFileSizeLimitFailsAndLeavesTheOldFile) {
  for (const bool ignoreSignal : {false, true}) {
    SCOPED_TRACE(ignoreSignal ? "signal ignored" : "signal default");
    TempDir dir;
    const std::string old = "[Dirlagu]\nfile=/home/ann/old.ram\n";
    const std::string path = dir.write("tunelark.ini", old);
    const pid_t child = ::fork();
    if (child == 0) {  // a child whose files may not grow past 4 KiB
      if (ignoreSignal) ::signal(SIGXFSZ, SIG_IGN);
      const rlimit small{4096, 4096};
      std::string error;
      if (::setrlimit(RLIMIT_FSIZE, &small) != 0) ::_exit(100);
      if (writeFileAtomically(path, std::string(64 * 1024, 'n'), &error)) ::_exit(1);
      ::_exit(error.find("too large") != std::string::npos ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readFile(path), old);
    EXPECT_EQ(namesIn(dir.path()), "tunelark.ini");
  }
}

}  // namespace
}  // namespace tunelark
