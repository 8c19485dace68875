// The drive nodes built from mount tables written by the tests.
#include <gtest/gtest.h>

#include <string>
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

struct BuiltTree {
  TempDir dir;
  AppState app;
  FakeHost host;
  Form1 form{app, host};

  // Builds the tree from `mounts`, with sysfs removable flags for the named disks.
  void build(const std::string& mounts, const std::vector<std::string>& removableDisks = {},
             const std::vector<std::string>& fixedDisks = {}) {
    form.tvwControl.mountTablePath = dir.write("mounts", mounts);
    form.tvwControl.sysBlockPath = dir.str() + "/sys/block";
    for (const auto& disk : removableDisks) dir.write("sys/block/" + disk + "/removable", "1\n");
    for (const auto& disk : fixedDisks) dir.write("sys/block/" + disk + "/removable", "0\n");
    form.buildtree();
  }
  std::vector<std::string> driveTexts() {
    std::vector<std::string> texts;
    for (const TreeNode* n : form.tvwControl.find("Root")->Children) texts.push_back(n->Text);
    return texts;
  }
};

TEST(DriveTree, RootIsMyComputerExpandedWithImageOne) {
  BuiltTree t;
  t.build("/dev/sda1 / ext4 rw 0 0\n");
  const TreeNode* root = t.form.tvwControl.find("Root");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->Text, "My Computer");
  EXPECT_EQ(root->Image, 1);
  EXPECT_EQ(root->SelectedImage, 1);
  EXPECT_TRUE(root->Expanded);
  EXPECT_EQ(root->Parent, nullptr);
  ASSERT_EQ(t.form.tvwControl.roots().size(), 1u);
}

struct DriveCase {
  const char* line;
  const char* mountPoint;
  int image;
};

TEST(DriveTree, ImageFollowsTheDriveType) {
  const std::vector<DriveCase> cases = {
      {"/dev/sda2 /home ext4 rw 0 0", "/home", 3},                   // fixed
      {"/dev/sdb1 /media/usb vfat rw 0 0", "/media/usb", 5},         // removable partition
      {"/dev/sdc /media/whole exfat rw 0 0", "/media/whole", 5},     // removable whole disk
      {"/dev/mmcblk0p1 /media/card vfat rw 0 0", "/media/card", 5},  // removable card
      {"/dev/sr0 /media/cdrom iso9660 ro 0 0", "/media/cdrom", 4},   // optical
      {"/dev/sr1 /media/dvd udf ro 0 0", "/media/dvd", 4},           // optical
      {"srv:/music /mnt/nfs nfs4 rw 0 0", "/mnt/nfs", 6},            // network
      {"srv:/old /mnt/nfs3 nfs rw 0 0", "/mnt/nfs3", 6},
      {"//srv/share /mnt/smb cifs rw 0 0", "/mnt/smb", 6},
      {"//srv/s3 /mnt/smb3 smb3 rw 0 0", "/mnt/smb3", 6},
      {"ann@srv:/m /mnt/ssh fuse.sshfs rw 0 0", "/mnt/ssh", 6},
      {"hostshare /mnt/9p 9p rw 0 0", "/mnt/9p", 6},
      {"tmpfs /tmp tmpfs rw 0 0", "/tmp", 7},  // RAM
      {"none /mnt/ram ramfs rw 0 0", "/mnt/ram", 7},
      {"/dev/nvme0n1p3 /data btrfs rw 0 0", "/data", 3},  // fixed, no sysfs entry
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    BuiltTree t;
    t.build(std::string("/dev/sda1 / ext4 rw 0 0\n") + c.line + "\n", {"sdb", "sdc", "mmcblk0"},
            {"sda"});
    const TreeNode* node = t.form.tvwControl.find(std::string(c.mountPoint) + "Dir");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->Text, c.mountPoint);
    EXPECT_EQ(node->Image, c.image);
    EXPECT_EQ(node->SelectedImage, c.image);
    EXPECT_EQ(node->Parent, t.form.tvwControl.find("Root"));
  }
}

TEST(DriveTree, PseudoAndSystemFileSystemsAreLeftOut) {
  BuiltTree t;
  t.build(
      "proc /proc proc rw 0 0\n"
      "sysfs /sys sysfs rw 0 0\n"
      "devtmpfs /dev devtmpfs rw 0 0\n"
      "devpts /dev/pts devpts rw 0 0\n"
      "tmpfs /dev/shm tmpfs rw 0 0\n"
      "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
      "cgroup /sys/fs/cgroup/cpu cgroup rw 0 0\n"
      "securityfs /sys/kernel/security securityfs rw 0 0\n"
      "debugfs /sys/kernel/debug debugfs rw 0 0\n"
      "tracefs /sys/kernel/tracing tracefs rw 0 0\n"
      "bpf /sys/fs/bpf bpf rw 0 0\n"
      "mqueue /dev/mqueue mqueue rw 0 0\n"
      "hugetlbfs /dev/hugepages hugetlbfs rw 0 0\n"
      "configfs /sys/kernel/config configfs rw 0 0\n"
      "binfmt_misc /proc/sys/fs/binfmt_misc binfmt_misc rw 0 0\n"
      "systemd-1 /misc autofs rw 0 0\n"
      "tmpfs /run tmpfs rw 0 0\n"
      "tmpfs /run/user/1000 tmpfs rw 0 0\n"
      "overlay /var/lib/docker/overlay2/x/merged overlay rw 0 0\n"
      "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
      "overlay / overlay rw 0 0\n"
      "/dev/sdb1 /run/media/ann/STICK vfat rw 0 0\n");
  EXPECT_EQ(t.driveTexts(), (std::vector<std::string>{"/", "/run/media/ann/STICK"}));
}

TEST(DriveTree, RootComesFirstThenMountPointsInOrder) {
  BuiltTree t;
  t.build(
      "/dev/sdb1 /zeta ext4 rw 0 0\n"
      "/dev/sdb2 /alpha ext4 rw 0 0\n"
      "/dev/sda1 / ext4 rw 0 0\n"
      "/dev/sdb3 /alpha/inner ext4 rw 0 0\n");
  EXPECT_EQ(t.driveTexts(), (std::vector<std::string>{"/", "/alpha", "/alpha/inner", "/zeta"}));
  EXPECT_NE(t.form.tvwControl.find("/Dir"), nullptr);
  EXPECT_NE(t.form.tvwControl.find("/alpha/innerDir"), nullptr);
}

TEST(DriveTree, FortyMountsAreAllShown) {
  std::string mounts = "/dev/sda1 / ext4 rw 0 0\n";
  for (int i = 1; i <= 40; ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "/dev/sdx%d /mnt/d%02d ext4 rw 0 0\n", i, i);
    mounts += line;
  }
  BuiltTree t;
  t.build(mounts);
  const auto texts = t.driveTexts();
  ASSERT_EQ(texts.size(), 41u);
  EXPECT_EQ(texts.front(), "/");
  EXPECT_EQ(texts[1], "/mnt/d01");
  EXPECT_EQ(texts.back(), "/mnt/d40");
}

TEST(DriveTree, OctalEscapesInMountPointsAreDecoded) {
  BuiltTree t;
  t.build(
      "/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 /media/USB\\040STICK vfat rw 0 0\n"
      "/dev/sdb2 /media/tab\\011back\\134slash vfat rw 0 0\n");
  EXPECT_NE(t.form.tvwControl.find("/media/USB STICKDir"), nullptr);
  EXPECT_NE(t.form.tvwControl.find("/media/tab\tback\\slashDir"), nullptr);
}

TEST(DriveTree, MountedTwiceGivesOneNode) {
  BuiltTree t;
  t.build("/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 /data ext4 rw 0 0\nsrv:/x /data nfs4 rw 0 0\n");
  EXPECT_EQ(t.driveTexts(), (std::vector<std::string>{"/", "/data"}));
  EXPECT_EQ(t.form.tvwControl.find("/dataDir")->Image, 6);  // the mount on top is what is seen
}

TEST(DriveTree, FileBindMountsAreLeftOut) {
  BuiltTree t;
  const std::string file = t.dir.write("hosts", "127.0.0.1 localhost\n");
  t.build("/dev/sda1 / ext4 rw 0 0\n/dev/sda1 " + file + " ext4 rw 0 0\n");
  EXPECT_EQ(t.driveTexts(), (std::vector<std::string>{"/"}));
}

TEST(DriveTree, JunkOrMissingMountTablesStillGiveTheRoot) {
  const std::vector<std::string> tables = {
      "",
      "garbage\n\n  \n",
      std::string("\0\xff\xfe binary \x01\x02 junk\n", 19),
      "relative/path here ext4 rw 0 0\n",
      "/dev/x /trailing\\ ext4 rw 0 0\n/dev/y /nul\\000 ext4 rw 0 0\n",
  };
  for (const auto& table : tables) {
    SCOPED_TRACE(table);
    BuiltTree t;
    t.build(table);
    const auto texts = t.driveTexts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), "/");
    EXPECT_EQ(t.form.tvwControl.find("/Dir")->Image, 3);
  }
  BuiltTree missing;
  missing.form.tvwControl.mountTablePath = missing.dir.str() + "/no-such-file";
  missing.form.buildtree();
  EXPECT_EQ(missing.driveTexts(), (std::vector<std::string>{"/"}));
}

TEST(DriveTree, EndlessMountTableIsReadOnlyInPart) {
  BuiltTree t;
  t.form.tvwControl.mountTablePath = "/dev/zero";
  t.form.buildtree();
  EXPECT_EQ(t.driveTexts(), (std::vector<std::string>{"/"}));
}

TEST(DriveTree, BuildingTwiceAddsNothingMore) {
  BuiltTree t;
  t.build("/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 /data ext4 rw 0 0\n");
  const int count = t.form.tvwControl.Count();
  t.form.buildtree();
  EXPECT_EQ(t.form.tvwControl.Count(), count);
}

struct ImageCase {
  DriveType type;
  const char* text;
  int image;
};

TEST(DriveImage, FollowsThePictureTable) {
  const std::vector<ImageCase> cases = {
      {DriveType::Unknown, "/", 1},   {DriveType::NoRootDir, "/", 1},
      {DriveType::Removable, "a", 2}, {DriveType::Removable, "b", 2},
      {DriveType::Removable, "A", 5}, {DriveType::Removable, "/", 5},
      {DriveType::Fixed, "/", 3},     {DriveType::Remote, "/", 6},
      {DriveType::CdRom, "/", 4},     {DriveType::RamDisk, "/", 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(driveImage(c.type, c.text), c.image);
  }
}

TEST(MountTable, ParsesFieldsAndSkipsShortLines) {
  const auto entries = parseMountTable("a /b c rw 0 0\nonly two\n\n  d\t/e  f\n");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].device, "a");
  EXPECT_EQ(entries[0].mountPoint, "/b");
  EXPECT_EQ(entries[0].fsType, "c");
  EXPECT_EQ(entries[1].mountPoint, "/e");
  EXPECT_EQ(entries[1].fsType, "f");
}

TEST(MountTable, DecodesOnlyCompleteOctalEscapes) {
  EXPECT_EQ(decodeMountField("a\\040b"), "a b");
  EXPECT_EQ(decodeMountField("a\\04"), "a\\04");
  EXPECT_EQ(decodeMountField("a\\"), "a\\");
  EXPECT_EQ(decodeMountField("a\\089"), "a\\089");
  EXPECT_EQ(decodeMountField("a\\000"), "a\\000");
  EXPECT_EQ(decodeMountField("\\134\\134"), "\\\\");
}

}  // namespace
}  // namespace tunelark
