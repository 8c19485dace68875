// The drive nodes built from mount tables written by the tests.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "browser/drive_list.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark {
namespace {

using testing::FakeHost;
using testing::TempDir;
using Texts = std::vector<std::string>;

struct BuiltTree {
  TempDir dir;
  AppState app;
  FakeHost host;
  Form1 form{app, host};

  // Builds the tree from `mounts` ("@" stands for the test's folder), with sysfs removable
  // flags: sdb, sdc and mmcblk0 removable, sda fixed.
  void build(std::string mounts) {
    for (auto at = mounts.find('@'); at != std::string::npos; at = mounts.find('@'))
      mounts.replace(at, 1, dir.str());
    form.tvwControl.mountTablePath = dir.write("mounts", mounts);
    form.tvwControl.sysBlockPath = dir.str() + "/sys/block";
    for (const char* disk : {"sdb", "sdc", "mmcblk0"})
      dir.write(std::string("sys/block/") + disk + "/removable", "1\n");
    dir.write("sys/block/sda/removable", "0\n");
    form.buildtree();
  }
  Texts driveTexts() {
    Texts texts;
    for (const TreeNode* n : form.tvwControl.find("Root")->Children) texts.push_back(n->Text);
    return texts;
  }
};

TEST(DriveTree, RootIsMyComputerExpandedAndBuildingTwiceAddsNothing) {
  BuiltTree t;
  t.build("/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 /data ext4 rw 0 0\n");
  ASSERT_EQ(t.form.tvwControl.roots().size(), 1u);
  const TreeNode* root = t.form.tvwControl.find("Root");
  EXPECT_EQ(root->Text, "My Computer");
  EXPECT_EQ(root->Image, 1);
  EXPECT_EQ(root->SelectedImage, 1);
  EXPECT_TRUE(root->Expanded);
  const int count = t.form.tvwControl.Count();
  t.form.buildtree();
  EXPECT_EQ(t.form.tvwControl.Count(), count);
}

TEST(DriveTree, ImageFollowsTheDriveType) {
  const std::pair<const char*, int> cases[] = {
      {"/dev/sda2 /home ext4", 3},
      {"/dev/sdb1 /media/usb vfat", 5},
      {"/dev/mmcblk0p1 /media/card vfat", 5},
      {"/dev/sr0 /media/cdrom iso9660", 4},
      {"srv:/music /mnt/nfs nfs4", 6},
      {"//srv/share /mnt/smb cifs", 6},
      {"ann@srv:/m /mnt/ssh fuse.sshfs", 6},
      {"hostshare /mnt/9p 9p", 6},
      {"tmpfs /tmp tmpfs", 7},
      {"/dev/nvme0n1p3 /data btrfs", 3}  // fixed, no sysfs entry
  };
  std::string mounts = "/dev/sda1 / ext4 rw 0 0\n";
  for (const auto& [line, image] : cases) mounts += std::string(line) + " rw 0 0\n";
  BuiltTree t;
  t.build(mounts);
  for (const auto& [line, image] : cases) {
    SCOPED_TRACE(line);
    const std::string point = std::string(line).substr(std::string(line).find(' ') + 1);
    const TreeNode* node = t.form.tvwControl.find(point.substr(0, point.find(' ')) + "Dir");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->Image, image);
    EXPECT_EQ(node->SelectedImage, image);
    EXPECT_EQ(node->Parent, t.form.tvwControl.find("Root"));
  }
}

struct TableCase {
  const char* what;
  std::string mounts;
  Texts drives;
};

TEST(DriveTree, TheDrivesAreTheMountPointsOfUserFilesWithRootFirst) {
  const TableCase cases[] = {
      {"pseudo and system file systems left out",
       "proc /proc proc rw 0 0\nsysfs /sys sysfs rw 0 0\ndevtmpfs /dev devtmpfs rw 0 0\n"
       "devpts /dev/pts devpts rw 0 0\ntmpfs /dev/shm tmpfs rw 0 0\n"
       "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\ncgroup /sys/fs/cgroup/cpu cgroup rw 0 0\n"
       "securityfs /sys/kernel/security securityfs rw 0 0\n"
       "debugfs /sys/kernel/debug debugfs rw 0 0\ntracefs /sys/kernel/tracing tracefs rw 0 0\n"
       "bpf /sys/fs/bpf bpf rw 0 0\nmqueue /dev/mqueue mqueue rw 0 0\n"
       "hugetlbfs /dev/hugepages hugetlbfs rw 0 0\nconfigfs /sys/kernel/config configfs rw 0 0\n"
       "binfmt_misc /proc/sys/fs/binfmt_misc binfmt_misc rw 0 0\nsystemd-1 /misc autofs rw 0 0\n"
       "tmpfs /run tmpfs rw 0 0\ntmpfs /run/user/1000 tmpfs rw 0 0\n"
       "overlay /var/lib/docker/overlay2/x/merged overlay rw 0 0\n"
       "/dev/loop3 /snap/core/1 squashfs ro 0 0\noverlay / overlay rw 0 0\n"
       "/dev/sdb1 /run/media/ann/STICK vfat rw 0 0\n",
       {"/", "/run/media/ann/STICK"}},
      {"root first, then sorted",
       "/dev/sdb1 /zeta ext4 rw 0 0\n/dev/sdb2\t/alpha\text4 rw 0 0\n/dev/sda1 / ext4 rw 0 0\n"
       "/dev/sdb3 /alpha/inner ext4 rw 0 0\n",
       {"/", "/alpha", "/alpha/inner", "/zeta"}},
      {"octal escapes decoded",
       "/dev/sdb1 /media/USB\\040STICK vfat rw 0 0\n/dev/sdb2 /m/tab\\011back\\134slash vfat rw 0 "
       "0\n",
       {"/", "/m/tab\tback\\slash", "/media/USB STICK"}},
      {"mounted twice gives one node",
       "/dev/sdb1 /data ext4 rw 0 0\nsrv:/x /data nfs4 rw 0 0\n",
       {"/", "/data"}},
      {"file bind mounts left out", "/dev/sda1 @/mounts ext4 rw 0 0\n", {"/"}},
      {"empty", "", {"/"}},
      {"binary junk", std::string("\0\xff\xfe binary \x01\x02 junk\n", 19), {"/"}},
      {"relative mount point", "relative/path here ext4 rw 0 0\n", {"/"}},
      {"broken escapes kept as written",
       "/dev/x /trailing\\ ext4 rw 0 0\n/dev/y /nul\\000 ext4 rw 0 0\n"
       "/dev/z /o\\04 ext4 rw 0 0\n/dev/w /n\\089 ext4 rw 0 0\n",
       {"/", "/n\\089", "/nul\\000", "/o\\04", "/trailing\\"}}};
  for (const TableCase& c : cases) {
    SCOPED_TRACE(c.what);
    BuiltTree t;
    t.build(c.mounts);
    EXPECT_EQ(t.driveTexts(), c.drives);
    EXPECT_EQ(t.form.tvwControl.find("/Dir")->Image, 3);
    // Of a point mounted twice, the mount on top is what is seen.
    if (const TreeNode* data = t.form.tvwControl.find("/dataDir")) {
      EXPECT_EQ(data->Image, 6);
    }
  }
}

TEST(DriveTree, AMissingOrEndlessMountTableStillGivesTheRoot) {
  for (const char* table : {"/no/such/mounts", "/dev/zero"}) {
    BuiltTree t;
    t.form.tvwControl.mountTablePath = table;
    t.form.buildtree();
    EXPECT_EQ(t.driveTexts(), Texts{"/"}) << table;
  }
}

TEST(DriveImage, FollowsThePictureTable) {
  const std::vector<std::tuple<DriveType, const char*, int>> cases = {
      {DriveType::Unknown, "/", 1},   {DriveType::NoRootDir, "/", 1},
      {DriveType::Removable, "a", 2}, {DriveType::Removable, "b", 2},
      {DriveType::Removable, "A", 5}, {DriveType::Removable, "/", 5},
      {DriveType::Fixed, "/", 3},     {DriveType::Remote, "/", 6},
      {DriveType::CdRom, "/", 4},     {DriveType::RamDisk, "/", 7}};
  for (const auto& [type, text, image] : cases) EXPECT_EQ(driveImage(type, text), image) << text;
}

}  // namespace
}  // namespace tunelark
