// Clicking tree nodes: the lazy one-level scan of real folders and File1 following the click.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "browser/scan_folder.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark {
namespace {

namespace fs = std::filesystem;
using testing::FakeHost;
using testing::TempDir;

// The event pass before a scan may deliver another click on the tree before the first one ends.
class ClickingHost : public FakeHost {
 public:
  void processPendingEvents() override {
    FakeHost::processPendingEvents();
    if (nested.empty() || !form) return;
    const std::string key = std::exchange(nested, std::string());
    form->tvwControl.select(key);
    form->tvwControl_Click();
  }
  Form1* form = nullptr;
  std::string nested;
};

// A window whose only drives are "/" and the test's own folder, mounted as a drive.
template <class Host>
struct BrowserOn {
  TempDir dir;
  TempDir etc;
  AppState app;
  Host host;
  Form1 form{app, host};

  BrowserOn() {
    form.tvwControl.mountTablePath =
        etc.write("mounts", "/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 " + dir.str() + " ext4 rw 0 0\n");
    form.tvwControl.sysBlockPath = etc.str() + "/none";
    form.buildtree();
  }
  std::string driveKey() const { return dir.str() + "Dir"; }
  void mkdir(const std::string& relative) const { fs::create_directories(dir.path() / relative); }
  TreeNode* click(const std::string& key) {
    form.tvwControl.select(key);
    form.tvwControl_Click();
    return form.tvwControl.find(key);
  }
  static std::vector<std::string> texts(const TreeNode* node) {
    std::vector<std::string> out;
    for (const TreeNode* c : node->Children) out.push_back(c->Text);
    return out;
  }
};
using Browser = BrowserOn<FakeHost>;

// Hidden folders and links to folders are nodes; files, links to files and dangling links not.
TEST(TreeScan, FirstClickAddsSubfoldersSortedAndCollapsed) {
  Browser b;
  for (const char* name : {"rock/live", "Jazz", "ambient", "Blues", ".hidden"}) b.mkdir(name);
  b.dir.write("song.ra", "x");
  b.dir.write(".dotfile", "x");
  fs::create_symlink(b.dir.path() / "song.ra", b.dir.path() / "link-to-file");
  fs::create_symlink(b.dir.path() / "Jazz", b.dir.path() / "link-to-folder");
  fs::create_symlink(b.dir.path() / "gone", b.dir.path() / "dangling");
  TreeNode* drive = b.click(b.driveKey());
  ASSERT_NE(drive, nullptr);
  EXPECT_EQ(Browser::texts(drive), (std::vector<std::string>{".hidden", "ambient", "Blues", "Jazz",
                                                             "link-to-folder", "rock"}));
  EXPECT_TRUE(drive->Sorted);
  EXPECT_FALSE(drive->Expanded);
  for (const TreeNode* child : drive->Children) {
    EXPECT_EQ(child->Key, b.dir.str() + "/" + child->Text + "Dir");
    EXPECT_EQ(std::tuple(child->Image, child->SelectedImage, child->Parent),
              std::tuple(8, 9, drive));
    EXPECT_TRUE(child->Children.empty()) << "one level only";
  }
  EXPECT_EQ(b.form.File1.Path(), b.dir.str());
  EXPECT_EQ(b.host.eventPasses, 1);
  EXPECT_EQ(b.host.busyCalls, (std::vector<bool>{true, false}));
  EXPECT_TRUE(b.host.messages.empty());
}

// A folder whose scan found subfolders is never scanned again; one that found none is scanned at
// every click, so a subfolder made since shows up.
TEST(TreeScan, OnlyAFolderWithoutSubfoldersIsScannedAgain) {
  Browser b;
  b.mkdir("empty");
  b.click(b.driveKey());
  b.mkdir("later");
  EXPECT_EQ(Browser::texts(b.click(b.driveKey())), (std::vector<std::string>{"empty"}));
  const std::string key = b.dir.str() + "/emptyDir";
  EXPECT_TRUE(b.click(key)->Children.empty());
  b.mkdir("empty/new");
  EXPECT_EQ(Browser::texts(b.click(key)), (std::vector<std::string>{"new"}));
  EXPECT_EQ(b.host.busyCalls.size(), 6u);  // three scans, busy on and off each
  EXPECT_EQ(b.host.eventPasses, 4);
}

TEST(TreeScan, FolderRemovedAfterScanReportsDriveNotAvailable) {
  Browser b;
  b.mkdir("old/inner");
  b.dir.write("top.ra", "x");
  b.click(b.driveKey());
  b.click(b.dir.str() + "/oldDir");
  b.click(b.driveKey());
  ASSERT_EQ(b.form.File1.ListCount(), 1);
  b.form.File1.setSelected(0, true);
  fs::remove_all(b.dir.path() / "old");
  const TreeNode* old = b.click(b.dir.str() + "/oldDir");
  EXPECT_EQ(Browser::texts(old), (std::vector<std::string>{"inner"}));  // the tree only grows
  EXPECT_EQ(b.host.messages, (std::vector<std::string>{"Drive Not Available"}));
  EXPECT_EQ(b.form.File1.Path(), b.dir.str());
  ASSERT_EQ(b.form.File1.ListCount(), 1);
  EXPECT_EQ(b.form.File1.List(0), "top.ra");
  EXPECT_TRUE(b.form.File1.Selected(0));
}

TEST(TreeScan, ClickArrivingDuringTheEventPassIsHandledAndTheFirstCompletes) {
  BrowserOn<ClickingHost> b;
  b.host.form = &b.form;
  b.mkdir("first/inner");
  b.mkdir("second/inner");
  b.click(b.driveKey());
  b.host.nested = b.dir.str() + "/secondDir";
  b.click(b.dir.str() + "/firstDir");
  EXPECT_EQ(b.form.tvwControl.find(b.dir.str() + "/firstDir")->Children.size(), 1u);
  EXPECT_EQ(b.form.tvwControl.find(b.dir.str() + "/secondDir")->Children.size(), 1u);
  EXPECT_EQ(b.form.File1.Path(), b.dir.str() + "/first");  // the first click ends last
  EXPECT_EQ(b.host.eventPasses, 3);
  EXPECT_TRUE(b.host.messages.empty());
}

TEST(TreeKeys, MyComputerAndNoSelectionNeitherScanNorChangeFile1) {
  Browser b;
  const std::string path = b.form.File1.Path();
  const int count = b.form.tvwControl.Count();
  b.form.tvwControl.select("no such key");
  b.form.tvwControl_Click();
  EXPECT_EQ(b.host.eventPasses, 0);
  const TreeNode* root = b.click("Root");
  EXPECT_EQ(b.form.tvwControl.Count(), count);
  EXPECT_EQ(root->Children.size(), 2u);
  EXPECT_EQ(b.form.File1.Path(), path);
  EXPECT_TRUE(b.host.busyCalls.empty());
  EXPECT_TRUE(b.host.messages.empty());
  // Only the key says it is My Computer: a folder of that name is a folder.
  b.mkdir("My Computer");
  b.click(b.driveKey());
  b.click(b.dir.str() + "/My ComputerDir");
  EXPECT_EQ(b.form.File1.Path(), b.dir.str() + "/My Computer");
}

TEST(TreeKeys, MountPointFolderStaysItsOwnDriveNode) {
  // The test folder is a drive node; scanning the folder above it meets it again under the
  // same key, and the drive node must stay as it is.
  Browser b;
  const std::string parent = b.dir.path().parent_path().string();
  TreeNode* parentDrive = b.form.tvwControl.Add("Root", parent + "Dir", parent, 3, 3);
  ASSERT_NE(parentDrive, nullptr);
  b.click(parentDrive->Key);
  const TreeNode* drive = b.form.tvwControl.find(b.driveKey());
  EXPECT_EQ(drive->Parent, b.form.tvwControl.find("Root"));
  const auto siblings = Browser::texts(parentDrive);
  EXPECT_EQ(std::count(siblings.begin(), siblings.end(), b.etc.path().filename().string()), 1);
  EXPECT_EQ(std::count(siblings.begin(), siblings.end(), b.dir.path().filename().string()), 0);
}

}  // namespace
}  // namespace tunelark
