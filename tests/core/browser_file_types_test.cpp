// The file-type dialog: the filter table applied by OK and the main window's enabled state
// around it. The close box is driven through the real dialog in the Qt tests.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/app_state.h"
#include "browser/form5.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark {
namespace {

using testing::FakeHost;
using testing::TempDir;

struct Window {
  TempDir dir;
  AppState app;
  FakeHost host;
  Form1 form{app, host};

  Window() {
    for (const char* name : {"a.ra", "b.rm", "c.ram", "D.RA", "e.txt"}) dir.write(name, "x");
    EXPECT_TRUE(form.File1.setPath(dir.str()));
  }
  std::vector<std::string> listed() const {
    std::vector<std::string> out;
    for (int i = 0; i < form.File1.ListCount(); ++i) out.push_back(form.File1.List(i));
    return out;
  }
};

struct FilterCase {
  int ram, ra, rm;  // check box values: 0 off, 1 ticked, 2 grey
  const char* pattern;
  const char* caption;
  std::vector<std::string> listed;
};

TEST(FileTypes, OkAppliesTheTicksAndTheDialogReopensWithAllOn) {
  const std::vector<FilterCase> cases = {
      {1,
       1,
       1,
       "*.ram;*.ra;*.rm",
       "RealMedia Files (*.ra, *.ram, *.rm)",
       {"a.ra", "b.rm", "c.ram", "D.RA"}},
      {1, 1, 0, "*.ram;*.ra", "RealMedia Files (*.ra, *.ram)", {"a.ra", "c.ram", "D.RA"}},
      {0, 1, 1, "*.ra;*.rm", "RealMedia Files (*.ra, *.rm)", {"a.ra", "b.rm", "D.RA"}},
      {0, 1, 0, "*.ra", "RealMedia Files (*.ra)", {"a.ra", "D.RA"}},
      {0, 0, 0, "", "RealMedia Files (None)", {}},
      // A grey box counts as off.
      {2, 1, 1, "*.ra;*.rm", "RealMedia Files (*.ra, *.rm)", {"a.ra", "b.rm", "D.RA"}},
      {2, 2, 2, "", "RealMedia Files (None)", {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.ram) + std::to_string(c.ra) + std::to_string(c.rm));
    Window w;
    w.form.Image33_Click();
    ASSERT_TRUE(w.form.form5);
    EXPECT_FALSE(w.form.Enabled);
    w.form.form5->ram.Value = c.ram;
    w.form.form5->ra.Value = c.ra;
    w.form.form5->rm.Value = c.rm;
    w.form.form5->Command1_Click();
    EXPECT_FALSE(w.form.form5);
    EXPECT_TRUE(w.form.Enabled);
    EXPECT_EQ(w.form.File1.Pattern(), c.pattern);
    EXPECT_EQ(w.form.Label5.caption, c.caption);
    EXPECT_EQ(w.listed(), c.listed);
    EXPECT_TRUE(w.host.messages.empty());
    w.form.Image33_Click();  // opened again, it offers all three types
    const Form5& d = *w.form.form5;
    EXPECT_EQ(std::tuple(d.ram.Value, d.ra.Value, d.rm.Value), std::tuple(1, 1, 1));
  }
}

TEST(FileTypes, OpeningTwiceKeepsTheLoadedDialog) {
  Window w;
  w.form.Image33_Click();
  w.form.form5->ram.Value = 0;
  const Form5* first = w.form.form5.get();
  w.form.Image33_Click();
  EXPECT_EQ(w.form.form5.get(), first);
  EXPECT_EQ(w.form.form5->ram.Value, 0);
}

TEST(FileTypes, OkOnAFolderThatVanishedEmptiesTheListQuietly) {
  Window w;
  TempDir other;
  other.write("x.ra", "x");
  ASSERT_TRUE(w.form.File1.setPath(other.str() + "/"));
  std::filesystem::remove_all(other.path());
  w.form.Image33_Click();
  w.form.form5->Command1_Click();
  EXPECT_EQ(w.form.File1.ListCount(), 0);
  EXPECT_TRUE(w.form.Enabled);
}

}  // namespace
}  // namespace tunelark
