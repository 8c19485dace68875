#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/app_state.h"
#include "core/case_name.h"
#include "core/scoped_env.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark {
namespace {

namespace fs = std::filesystem;
using testing::FakeHost;
using testing::readFile;
using testing::ScopedEnv;
using testing::TempDir;

// Counts renames that put `name` in place in `folder`: how every settings write lands.
class ReplacementCounter {
 public:
  ReplacementCounter(const std::string& folder, std::string name) : name_(std::move(name)) {
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ >= 0) ::inotify_add_watch(fd_, folder.c_str(), IN_MOVED_TO);
  }
  ~ReplacementCounter() {
    if (fd_ >= 0) ::close(fd_);
  }
  ReplacementCounter(const ReplacementCounter&) = delete;
  ReplacementCounter& operator=(const ReplacementCounter&) = delete;

  int count() {
    alignas(inotify_event) char buffer[4096];
    for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;) {
      for (char* at = buffer; at < buffer + n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(at);
        if (event->len > 0 && name_ == event->name) ++count_;
        at += sizeof(inotify_event) + event->len;
      }
    }
    return count_;
  }

 private:
  std::string name_;
  int fd_ = -1;
  int count_ = 0;
};

struct Started {
  TempDir dir;
  AppState app;
  FakeHost host;
  Form1 form{app, host};
  std::string settings() const { return dir.str() + "/tunelark.ini"; }
};

// The window after a start-up in a fresh settings folder.
void startIn(Started& s) {
  ScopedEnv windir("TUNELARK_WINDIR", s.dir.str());
  s.form.Form_Load();
}

// Unload and the exit button store the last playlist once, keeping the rest of the file.
TEST(ShutdownStore, UnloadAndExitStoreTheLastPlaylistOnce) {
  for (const bool exitButton : {false, true}) {
    Started s;
    s.dir.write("tunelark.ini", "[Option]\r\ntaskbar=3\r\n[Dirlagu]\r\nfile=/old.ram\r\n");
    startIn(s);
    s.app.lastfile = "/home/ann/My Music/" + std::string(300, 'm') + ".ram";
    ReplacementCounter writes(s.dir.str(), "tunelark.ini");
    if (exitButton) {
      s.form.Image21_Click();
    } else {
      s.form.Form_Unload();
    }
    EXPECT_EQ(writes.count(), 1);
    EXPECT_EQ(s.host.ended, exitButton);
    EXPECT_EQ(s.host.beeps, 0);
    EXPECT_EQ(readFile(s.settings()),
              "[Option]\r\ntaskbar=3\r\n[Dirlagu]\r\nfile=" + s.app.lastfile + "\r\n");
  }
}

// Ways the settings write can fail: one beep each, the old file left.
struct FailCase {
  const char* what;
  void (*prepare)(Started& s);
};

const FailCase kFailCases[] = {
    {"read-only settings file",
     [](Started& s) {
       s.dir.write("tunelark.ini", "[Dirlagu]\nfile=/old.ram\n");
       ::chmod(s.settings().c_str(), 0444);
     }},
    {"a line break in the path", [](Started& s) { s.app.lastfile = "/a\n[Option]\ntaskbar=2"; }},
    {"settings path never set", [](Started& s) { s.app.settingsPath.clear(); }}};

class ShutdownStoreFails : public ::testing::TestWithParam<FailCase> {};

TEST_P(ShutdownStoreFails, UnloadAndExitBeepOnceAndLeaveTheFile) {
  for (const bool exitButton : {false, true}) {
    Started s;
    startIn(s);
    GetParam().prepare(s);
    const bool existed = fs::is_regular_file(s.settings());
    const std::string before = existed ? readFile(s.settings()) : "";
    if (exitButton) {
      s.form.Image21_Click();
    } else {
      s.form.Form_Unload();
    }
    EXPECT_EQ(s.host.beeps, 1) << exitButton;
    EXPECT_TRUE(s.host.messages.empty());
    EXPECT_EQ(s.host.ended, exitButton);
    EXPECT_EQ(fs::is_regular_file(s.settings()), existed);
    if (existed) {
      EXPECT_EQ(readFile(s.settings()), before);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Table, ShutdownStoreFails, ::testing::ValuesIn(kFailCases),
                         [](const auto& row) { return testing::caseName(row.param.what); });

}  // namespace
}  // namespace tunelark
