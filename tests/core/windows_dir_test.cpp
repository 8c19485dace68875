#include "platform/windows_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "support/temp_dir.h"

namespace tunelark {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// An environment of the test's own; "@" in a value stands for the test's temporary folder, which
// is also the current folder.
struct DirCase {
  const char* what;
  std::map<std::string, std::string> environment;
  std::string expected;  // "@" replaced likewise; "" when no folder can be had
};

std::string expand(std::string text, const std::string& root) {
  for (auto at = text.find('@'); at != std::string::npos; at = text.find('@', at + root.size())) {
    text.replace(at, 1, root);
  }
  return text;
}

TEST(WindowsDir, FollowsTheEnvironmentAndCreatesTheFolder) {
  const DirCase cases[] = {
      DirCase{"own variable first",
              {{"TUNELARK_WINDIR", "@/own"}, {"XDG_CONFIG_HOME", "@/xdg"}, {"HOME", "@/h"}},
              "@/own"},
      DirCase{"empty own variable ignored",
              {{"TUNELARK_WINDIR", ""}, {"XDG_CONFIG_HOME", "@/xdg"}},
              "@/xdg/tunelark"},
      DirCase{
          "XDG config folder", {{"XDG_CONFIG_HOME", "@/xdg"}, {"HOME", "@/h"}}, "@/xdg/tunelark"},
      DirCase{"relative XDG folder ignored",
              {{"XDG_CONFIG_HOME", "relative/xdg"}, {"HOME", "@/h"}},
              "@/h/.config/tunelark"},
      DirCase{"home folder", {{"HOME", "@/h"}}, "@/h/.config/tunelark"},
      DirCase{"missing parents created", {{"TUNELARK_WINDIR", "@/a/b/c"}}, "@/a/b/c"},
      DirCase{"trailing separators dropped", {{"TUNELARK_WINDIR", "@/own//"}}, "@/own"},
      DirCase{"dot segments dropped", {{"TUNELARK_WINDIR", "@/x/../own/."}}, "@/own"},
      DirCase{"under a plain file", {{"TUNELARK_WINDIR", "@/plain-file/sub"}}, ""},
      DirCase{"a plain file itself", {{"TUNELARK_WINDIR", "@/plain-file"}}, ""},
      DirCase{"relative own folder, existing",
              {{"TUNELARK_WINDIR", "rel/settings"}},
              "@/rel/settings"}};
  const std::string previous = fs::current_path().string();
  for (const DirCase& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    dir.write("plain-file", "not a folder");
    const std::string kept = dir.write("rel/settings/tunelark.ini", "[Dirlagu]\nfile=/a.ram\n");
    fs::current_path(dir.path());  // where a relative folder is found
    std::map<std::string, std::string> environment;
    for (const auto& [name, value] : c.environment) environment[name] = expand(value, dir.str());
    const auto lookup = [&](const char* name) -> const char* {
      const auto it = environment.find(name);
      return it == environment.end() ? nullptr : it->second.c_str();
    };
    const std::string expected = expand(c.expected, dir.str());
    const std::string got = getwindowsdir(lookup);
    fs::current_path(previous);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(testing::readFile(kept), "[Dirlagu]\nfile=/a.ram\n");  // existing files left alone
    if (!expected.empty()) {
      EXPECT_TRUE(fs::is_directory(got));
    }
  }
}

}  // namespace
}  // namespace tunelark
