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
};

struct TableCase {
  const char* what;
  std::string mounts;
  Texts drives;
};

// The drives are the mount points of user files, "/" first, each with its type's picture; the
// root is My Computer, expanded, and building again adds nothing.
TEST(DriveTree, TheDrivesAreTheMountPointsOfUserFilesWithRootFirst) {
  const TableCase cases[] = {
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
      {"relative mount point", "relative/path here ext4 rw 0 0\n", {"/ 3"}},
      {"broken escapes kept as written",
       "/dev/x /trailing\\ ext4 rw 0 0\n/dev/y /nul\\000 ext4 rw 0 0\n"
       "/dev/z /o\\04 ext4 rw 0 0\n/dev/w /n\\089 ext4 rw 0 0\n",
       {"/ 3", "/n\\089 3", "/nul\\000 3", "/o\\04 3", "/trailing\\ 3"}}};
  for (const TableCase& c : cases) {
    SCOPED_TRACE(c.what);
    BuiltTree t;
    t.build(c.mounts);
    EXPECT_EQ(t.drives(), c.drives);
    ASSERT_EQ(t.form.tvwControl.roots().size(), 1u);
    const TreeNode* root = t.form.tvwControl.find("Root");
    EXPECT_EQ(std::tie(root->Text, root->Image, root->SelectedImage, root->Expanded),
              std::tuple("My Computer", 1, 1, true));
    const int count = t.form.tvwControl.Count();
    t.form.buildtree();
    EXPECT_EQ(t.form.tvwControl.Count(), count);
  }
}

TEST(DriveTree, AMissingOrEndlessMountTableStillGivesTheRoot) {
  for (const char* table : {"/no/such/mounts", "/dev/zero"}) {
    BuiltTree t;
    t.form.tvwControl.mountTablePath = table;
    t.form.buildtree();
    EXPECT_EQ(t.drives(), Texts{"/ 3"}) << table;
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
