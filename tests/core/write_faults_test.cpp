// Every kind of write the program makes, met by a full disk, a read-only file system, and a
// kill at a random moment. The old file stays byte-identical (after a kill it is wholly the old
// or wholly a new version), the user hears of a failure once, and no temporary files pile up.
// And the atomic writer beneath them all, on its own.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "core/scoped_env.h"
#include "platform/atomic_file.h"
#include "support/environment.h"
#include "support/fake_host.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark::testing {
namespace {

namespace fs = std::filesystem;

// A tmpfs of `bytes` mounted on a fresh folder below `parent`, unmounted at the end. Mounting
// needs privileges; mounted() says whether it worked.
struct SmallTmpfs {
  SmallTmpfs(const fs::path& parent, std::size_t bytes) : path((parent / "small-tmpfs").string()) {
    fs::create_directories(path);
    const std::string options = "size=" + std::to_string(bytes);
    mounted = ::mount("tmpfs", path.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~SmallTmpfs() {
    if (mounted) ::umount2(path.c_str(), MNT_DETACH);
  }
  std::string path;
  bool mounted = false;
};

// A started window whose settings folder and playlists live in `root`, with a playlist of two
// clips opened from root/lists/mine.ram and the clip list showing root/clips.
struct World {
  explicit World(const std::string& folder)
      : root(folder), windir("TUNELARK_WINDIR", folder + "/win") {
    for (const char* sub : {"/win", "/lists", "/clips"}) fs::create_directories(root + sub);
    for (const char* clip : {"a.ra", "b.ra", "c.ra"}) write("clips/" + std::string(clip), "clip");
    write("lists/mine.ram", "file:" + root + "/clips/a.ra\r\nfile:" + root + "/clips/b.ra\r\n");
    form.Form_Load();
    form.File1.setPath(root + "/clips");
    form.File1.setSelected(2, true);
    dialogs.answers.push_back(root + "/lists/mine.ram");
    form.Image10_Click();
  }
  void write(const std::string& relative, const std::string& bytes) const {
    std::ofstream(root + "/" + relative, std::ios::binary) << bytes;
  }
  void add() { form.Image5_Click(); }
  void removeLast() {
    for (int i = 0; i < form.List1.ListCount(); ++i) form.List1.setSelected(i, false);
    form.List1.setSelected(form.List1.ListCount() - 1, true);
    form.Image22_Click();
  }
  void saveAs(const std::string& name) {
    dialogs.answers.push_back(root + "/lists/" + name);
    form.Image28_Click();
  }
  int complaints() const { return host.beeps + static_cast<int>(host.messages.size()); }

  std::string root;
  ScopedEnv windir;
  AppState app;
  FakeHost host;
  ScriptedDialogs dialogs;
  Form1 form{app, host, dialogs};
};

int tempFilesIn(const std::string& folder) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(folder))
    count += entry.path().filename().string().find(".tmp") != std::string::npos;
  return count;
}

struct WriteKind {
  const char* what;
  std::string target;       // below the world's root
  void (*prepare)(World&);  // makes the target's old version
  void (*write)(World&);    // the user's action that rewrites it
};

const WriteKind kWrites[] = {
    {"settings", "win/tunelark.ini", [](World& w) { w.form.Form_Unload(); },
     [](World& w) { w.form.Form_Unload(); }},
    {"working list file", "win/temp.ram",
     [](World& w) {
       w.form.Image26_Click();  // New: edits now go to the working list file
       w.add();
     },
     [](World& w) { w.add(); }},
    {"opened playlist", "lists/mine.ram", [](World&) {}, [](World& w) { w.add(); }},
    {"Save As", "lists/saved.ram", [](World& w) { w.write("lists/saved.ram", "old\r\n"); },
     [](World& w) { w.saveAs("saved.ram"); }}};

TEST(WriteFaults, AFullDiskOrAReadOnlyFolderKeepsTheOldFileAndSaysSoOnce) {
  TempDir dir;
  for (const WriteKind& kind : kWrites) {
    for (const bool readOnly : {false, true}) {
      SCOPED_TRACE(std::string(kind.what) + (readOnly ? ", read-only" : ", full disk"));
      SmallTmpfs disk(dir.path(), 256 * 1024);
      if (!disk.mounted) TUNELARK_NEEDS("cannot mount a tmpfs here");
      World w(disk.path);
      kind.prepare(w);
      const std::string target = disk.path + "/" + kind.target;
      ASSERT_TRUE(fs::exists(target));
      const std::string before = readFile(target);
      if (readOnly) {
        ASSERT_EQ(::mount("tmpfs", disk.path.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr), 0);
      } else {
        const int fill = ::open((disk.path + "/filler").c_str(), O_WRONLY | O_CREAT, 0600);
        const std::string block(4096, 'x');
        while (::write(fill, block.data(), block.size()) > 0) {
        }
        ::close(fill);
      }
      const int complaintsBefore = w.complaints();
      kind.write(w);
      EXPECT_EQ(readFile(target), before);
      EXPECT_EQ(w.complaints() - complaintsBefore, 1);
      EXPECT_EQ(tempFilesIn(fs::path(target).parent_path()), 0);
    }
  }
}

// What the user keeps doing while the kills come: each step rewrites one file.
void (*const kSteps[])(World&) = {[](World& w) { w.add(); }, [](World& w) { w.removeLast(); },
                                  [](World& w) { w.saveAs("saved.ram"); },
                                  [](World& w) { w.form.Form_Unload(); }};

// A child keeps adding, removing, saving as and storing settings; it is killed 1,000 times at
// random moments. Each file must always be one of the versions a whole write leaves.
TEST(WriteFaults, AKillAtAnyMomentLeavesOldOrNewVersionsAndNoPileOfTemporaryFiles) {
  TempDir dir;
  World w(dir.str());
  const std::vector<std::string> files = {"win/tunelark.ini", "win/temp.ram", "lists/mine.ram",
                                          "lists/saved.ram"};
  auto contents = [&](const std::string& file) {
    const std::string path = dir.str() + "/" + file;
    return fs::exists(path) ? readFile(path) : std::string("(none)");
  };
  auto temporaries = [&] {
    return tempFilesIn(dir.str() + "/lists") + tempFilesIn(dir.str() + "/win");
  };
  // Every version a whole write can leave, seen by doing the steps twice without a kill.
  std::vector<std::set<std::string>> versions(files.size());
  auto record = [&] {
    for (std::size_t i = 0; i < files.size(); ++i) versions[i].insert(contents(files[i]));
  };
  record();
  for (int round = 0; round < 2; ++round) {
    for (auto step : kSteps) {
      step(w);
      record();
    }
  }

  std::mt19937 pick(20261207);
  std::uniform_int_distribution<int> delayUs(0, 3000);
  for (int kill = 0; kill < 1000; ++kill) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;)
        for (auto step : kSteps) step(w);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delayUs(pick)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    for (std::size_t i = 0; i < files.size(); ++i)
      ASSERT_EQ(versions[i].count(contents(files[i])), 1u) << files[i] << " after kill " << kill;
    // At most the one a killed writer left for each file; the next write of it removes it.
    ASSERT_LE(temporaries(), static_cast<int>(files.size()));
  }
  for (auto step : kSteps) step(w);
  EXPECT_EQ(temporaries(), 0);
}

// The writer itself: what it leaves when it succeeds, and every way it refuses.
// The names in a folder, sorted and joined by spaces.
std::string namesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  std::string out;
  for (const auto& name : names) out += (out.empty() ? "" : " ") + name;
  return out;
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
  EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));
  const mode_t old = ::umask(022);
  const bool written = writeFileAtomically(dir.str() + "/new.ini", "x");
  ::umask(old);
  ASSERT_TRUE(written);
  EXPECT_EQ(fs::status(dir.str() + "/new.ini").permissions(), fs::perms(0644));
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
}  // namespace tunelark::testing
