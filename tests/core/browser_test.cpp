// The browser: the drive nodes built from mount tables written by the tests; clicking tree
// nodes, with the lazy one-level scan of real folders and File1 following the click; File1 on
// real folders (which files it lists, in what order, its selection); and the file-type dialog
// that sets its filter, with the main window's enabled state around it. The dialog's close box is
// driven through the real dialog in the Qt tests.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "browser/drive_list.h"
#include "browser/file_list_box.h"
#include "browser/form5.h"
#include "browser/scan_folder.h"
#include "browser/wildcard.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark {
namespace {

namespace fs = std::filesystem;
using testing::FakeHost;
using testing::TempDir;
using Texts = std::vector<std::string>;

// A window whose tree is built from a mount table the test writes ("@" stands for a folder of
// its own, which also holds sysfs removable flags: sdb, sdc and mmcblk0 removable, sda fixed), or
// from a device named instead.
// By default its only drives are "/" and the test's folder `dir`.
struct Browser {
  TempDir dir;
  TempDir etc;
  AppState app;
  FakeHost host;
  Form1 form{app, host};

  explicit Browser(bool mountDir = true) {
    if (mountDir) build("/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 " + dir.str() + " ext4 rw 0 0\n");
  }
  void build(std::string mounts) {
    for (auto at = mounts.find('@'); at != std::string::npos; at = mounts.find('@'))
      mounts.replace(at, 1, etc.str());
    form.tvwControl.mountTablePath =
        mounts.starts_with("/dev/") && mounts.find(' ') == std::string::npos
            ? mounts  // a device instead of a mount table
            : etc.write("mounts", mounts);
    form.tvwControl.sysBlockPath = etc.str() + "/sys/block";
    for (const char* disk : {"sdb", "sdc", "mmcblk0"})
      etc.write(std::string("sys/block/") + disk + "/removable", "1\n");
    etc.write("sys/block/sda/removable", "0\n");
    form.buildtree();
  }
  // Each drive node as "text image"; every one hangs from My Computer with one image.
  Texts drives() {
    const TreeNode* root = form.tvwControl.find("Root");
    Texts texts;
    for (const TreeNode* n : root->Children) {
      texts.push_back(n->Text + " " + std::to_string(n->Image));
      EXPECT_EQ(n->SelectedImage, n->Image) << n->Text;
      EXPECT_EQ(n->Parent, root) << n->Text;
      EXPECT_EQ(n->Key, n->Text + "Dir");
    }
    return texts;
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

// The event pass before a scan may deliver another click on the tree before the first one ends.
TEST(TreeScan, ClickArrivingDuringTheEventPassIsHandledAndTheFirstCompletes) {
  Browser b;
  b.mkdir("first/inner");
  b.mkdir("second/inner");
  b.click(b.driveKey());
  std::string nested = b.dir.str() + "/secondDir";
  b.host.duringEventPass = [&] {
    if (!nested.empty()) b.click(std::exchange(nested, std::string()));
  };
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

// The drives are the mount points of user files, "/" first, each with its type's picture; the
// root is My Computer, expanded, and building again adds nothing.
TEST(DriveTree, TheDrivesAreTheMountPointsOfUserFilesWithRootFirst) {
  // What, the mount table, and the drive nodes as "text image".
  const std::tuple<const char*, std::string, Texts> cases[] = {
      {"image by drive type",
       "/dev/sda2 /home ext4 rw 0 0\n/dev/sdb1 /media/usb vfat rw 0 0\n"
       "/dev/mmcblk0p1 /media/card vfat rw 0 0\n/dev/sr0 /media/cdrom iso9660 rw 0 0\n"
       "srv:/music /mnt/nfs nfs4 rw 0 0\n//srv/share /mnt/smb cifs rw 0 0\n"
       "ann@srv:/m /mnt/ssh fuse.sshfs rw 0 0\nhostshare /mnt/9p 9p rw 0 0\n"
       "tmpfs /tmp tmpfs rw 0 0\n/dev/nvme0n1p3 /data btrfs rw 0 0\n",  // fixed, no sysfs entry
       {"/ 3", "/data 3", "/home 3", "/media/card 5", "/media/cdrom 4", "/media/usb 5", "/mnt/9p 6",
        "/mnt/nfs 6", "/mnt/smb 6", "/mnt/ssh 6", "/tmp 7"}},
      {"pseudo and system file systems left out",
       "proc /proc proc rw 0 0\nsysfs /sys sysfs rw 0 0\ntmpfs /dev/shm tmpfs rw 0 0\n"
       "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\nsystemd-1 /misc autofs rw 0 0\n"
       "tmpfs /run tmpfs rw 0 0\ntmpfs /run/user/1000 tmpfs rw 0 0\n"
       "overlay /var/lib/docker/overlay2/x/merged overlay rw 0 0\n"
       "/dev/loop3 /snap/core/1 squashfs ro 0 0\noverlay / overlay rw 0 0\n"
       "/dev/sdb1 /run/media/ann/STICK vfat rw 0 0\n",
       {"/ 3", "/run/media/ann/STICK 5"}},
      {"root first, then sorted",
       "/dev/sdb1 /zeta ext4 rw 0 0\n/dev/sdb2\t/alpha\text4 rw 0 0\n/dev/sda1 / ext4 rw 0 0\n"
       "/dev/sdb3 /alpha/inner ext4 rw 0 0\n",
       {"/ 3", "/alpha 5", "/alpha/inner 5", "/zeta 5"}},
      {"octal escapes decoded",
       "/dev/sda1 /media/USB\\040STICK vfat rw 0 0\n/dev/sda2 /m/tab\\011back\\134slash vfat rw 0 "
       "0\n",
       {"/ 3", "/m/tab\tback\\slash 3", "/media/USB STICK 3"}},
      // Of a point mounted twice, the mount on top is what is seen.
      {"mounted twice gives one node",
       "/dev/sda1 /data ext4 rw 0 0\nsrv:/x /data nfs4 rw 0 0\n",
       {"/ 3", "/data 6"}},
      {"file bind mounts left out", "/dev/sda1 @/mounts ext4 rw 0 0\n", {"/ 3"}},
      {"empty", "", {"/ 3"}},
      {"binary junk", std::string("\0\xff\xfe binary \x01\x02 junk\n", 19), {"/ 3"}},
      {"a missing mount table", "/dev/no-such-table", {"/ 3"}},
      {"an endless mount table", "/dev/zero", {"/ 3"}},
      {"relative mount point", "relative/path here ext4 rw 0 0\n", {"/ 3"}},
      {"broken escapes kept as written",
       "/dev/x /trailing\\ ext4 rw 0 0\n/dev/y /nul\\000 ext4 rw 0 0\n"
       "/dev/z /o\\04 ext4 rw 0 0\n/dev/w /n\\089 ext4 rw 0 0\n",
       {"/ 3", "/n\\089 3", "/nul\\000 3", "/o\\04 3", "/trailing\\ 3"}}};
  for (const auto& [what, mounts, drives] : cases) {
    SCOPED_TRACE(what);
    Browser t(false);
    t.build(mounts);
    EXPECT_EQ(t.drives(), drives);
    ASSERT_EQ(t.form.tvwControl.roots().size(), 1u);
    const TreeNode* root = t.form.tvwControl.find("Root");
    EXPECT_EQ(std::tie(root->Text, root->Image, root->SelectedImage, root->Expanded),
              std::tuple("My Computer", 1, 1, true));
    const int count = t.form.tvwControl.Count();
    t.form.buildtree();
    EXPECT_EQ(t.form.tvwControl.Count(), count);
  }
}

// The rows of a list, joined by spaces.
std::string rows(const FileListBox& list) {
  std::string out;
  for (int i = 0; i < list.ListCount(); ++i) out += (i ? " " : "") + list.List(i);
  return out;
}

// File1 starts on the current folder with the design pattern. Names that are not UTF-8 keep
// their bytes.
TEST(FileList, ListsMatchingRegularVisibleFilesSortedWithoutRegardToCase) {
  TempDir dir;
  for (const char* name : {"b.rm", "SONG.RA", "a.ram", "c.Rm", "notes.txt", "x.ra.bak",
                           ".hidden.ra", "list.RAM", "caf\xe9.ra"}) {
    dir.write(name, "x");
  }
  fs::create_directory(dir.path() / "folder.ra");
  fs::create_symlink(dir.path() / "b.rm", dir.path() / "link.rm");
  fs::create_symlink(dir.path() / "missing.rm", dir.path() / "dangling.rm");
  ::mkfifo((dir.path() / "pipe.ra").c_str(), 0600);
  const auto old = fs::current_path();
  fs::current_path(dir.path());
  FileListBox list;
  fs::current_path(old);
  EXPECT_EQ(list.Path(), fs::canonical(dir.path()).string());
  EXPECT_EQ(list.Pattern(), "*.rm;*.ra;*.ram");
  EXPECT_EQ(rows(list), "a.ram b.rm c.Rm caf\xe9.ra link.rm list.RAM SONG.RA");
  list.setListIndex(3);
  EXPECT_EQ(list.FileName(), "caf\xe9.ra");
}

// Selection and the current row as the add and drop tables do not reach them.
TEST(FileList, ACurrentRowPastEitherEndIsNoneAndRefreshClearsTheSelectionOrTheRows) {
  TempDir dir;
  for (const char* name : {"1.ra", "2.ra", "3.ra", "4.ra"}) dir.write(name, "x");
  FileListBox list;
  ASSERT_TRUE(list.setPath(dir.str()));
  EXPECT_EQ(list.FileName(), "");
  list.setSelected(3, true);
  list.setListIndex(2);
  EXPECT_EQ(list.FileName(), "3.ra");
  list.setListIndex(4);
  EXPECT_EQ(list.ListIndex(), -1);
  list.setListIndex(-2);
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_TRUE(list.Refresh());
  EXPECT_EQ(list.selCount(), 0);
  fs::remove_all(dir.path());  // a folder that vanished lists nothing
  EXPECT_FALSE(list.Refresh());
  EXPECT_EQ(list.ListCount(), 0);
}

TEST(Wildcard, MatchesWithoutRegardToCaseAndSplitsOnSemicolons) {
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"*.ra", "SONG.RA", true}, {"*.ra", "song.ram", false},
      {"*.rm", "a.b.rm", true},  {"*.ra", ".ra", true},
      {"*.ra", "ra", false},     {"?.ra", "a.ra", true},
      {"?.ra", "ab.ra", false},  {"", "", true},
      {"", "a", false},          {"a*b*c", "aXbYc", true},
      {"**.ra", "x.ra", true},   {"*a", "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb", false}};
  for (const auto& [pattern, name, matches] : cases)
    EXPECT_EQ(wildcardMatch(pattern, name), matches) << pattern << " / " << name;
  EXPECT_EQ(splitPatterns(" *.rm ; ;*.ra;"), (std::vector<std::string>{"*.rm", "*.ra"}));
  EXPECT_TRUE(splitPatterns(";;").empty());
}

// A window whose File1 shows a folder of a few clips and a text file.
struct Window : Browser {
  Window() {
    for (const char* name : {"a.ra", "b.rm", "c.ram", "D.RA", "e.txt"}) dir.write(name, "x");
    EXPECT_TRUE(form.File1.setPath(dir.str()));
  }
};

TEST(FileTypes, OkAppliesTheTicksAndTheDialogReopensWithAllOn) {
  const std::tuple<int, int, int, const char*, const char*, const char*> cases[] = {
      // The .ram, .ra and .rm boxes (0 off, 1 ticked, 2 grey), the pattern, the caption's
      // types, and what File1 lists.
      {1, 1, 1, "*.ram;*.ra;*.rm", "*.ra, *.ram, *.rm", "a.ra b.rm c.ram D.RA"},
      {1, 1, 0, "*.ram;*.ra", "*.ra, *.ram", "a.ra c.ram D.RA"},
      {0, 1, 1, "*.ra;*.rm", "*.ra, *.rm", "a.ra b.rm D.RA"},
      {0, 1, 0, "*.ra", "*.ra", "a.ra D.RA"},
      {0, 0, 0, "", "None", ""},
      {2, 1, 1, "*.ra;*.rm", "*.ra, *.rm", "a.ra b.rm D.RA"},  // a grey box counts as off
      {2, 2, 2, "", "None", ""}};
  for (const auto& [ram, ra, rm, pattern, types, listed] : cases) {
    SCOPED_TRACE(pattern);
    Window w;
    w.form.Image33_Click();
    ASSERT_TRUE(w.form.form5);
    EXPECT_FALSE(w.form.Enabled);
    Form5& d = *w.form.form5;
    std::tie(d.ram.Value, d.ra.Value, d.rm.Value) = std::tuple(ram, ra, rm);
    w.form.form5->Command1_Click();
    EXPECT_FALSE(w.form.form5);
    EXPECT_TRUE(w.form.Enabled);
    EXPECT_EQ(w.form.File1.Pattern(), pattern);
    EXPECT_EQ(w.form.Label5.caption, std::string("RealMedia Files (") + types + ")");
    EXPECT_EQ(rows(w.form.File1), listed);
    EXPECT_TRUE(w.host.messages.empty());
    w.form.Image33_Click();  // opened again, it offers all three types
    const Form5& again = *w.form.form5;
    EXPECT_EQ(std::tuple(again.ram.Value, again.ra.Value, again.rm.Value), std::tuple(1, 1, 1));
    w.form.Image33_Click();  // and opening it once more keeps the loaded dialog
    EXPECT_EQ(w.form.form5.get(), &again);
  }
}

}  // namespace
}  // namespace tunelark
