#pragma once
// The machine's drives as the tree shows them: the mounted file systems that can hold user
// files, read from a mount table in the /proc/self/mounts format.

#include <string>
#include <string_view>
#include <vector>

namespace tunelark {

// Drive types with the values the tree's picture table is written for.
enum class DriveType {
  Unknown = 0,
  NoRootDir = 1,
  Removable = 2,
  Fixed = 3,
  Remote = 4,
  CdRom = 5,
  RamDisk = 6,
};

struct Drive {
  std::string mountPoint;  // decoded, e.g. "/media/ann/USB STICK"
  std::string fsType;      // e.g. "ext4"
  std::string device;      // e.g. "/dev/sdb1"
  DriveType type = DriveType::Fixed;
};

struct MountEntry {
  std::string device;
  std::string mountPoint;
  std::string fsType;
};

// Decodes the octal escapes (\040 space, \011 tab, \012 newline, \134 backslash) the kernel
// writes into mount-table fields; anything else is kept as written.
std::string decodeMountField(std::string_view field);

// The entries of a mount table, in its order; lines with fewer than three fields are skipped.
std::vector<MountEntry> parseMountTable(std::string_view text);

// Whether a mount can hold user files worth browsing (pseudo and system file systems cannot).
bool isUserMount(const MountEntry& entry);

// The type of a mounted file system, from its type name and, for block devices, the
// removable flag under `sysBlockPath` (normally /sys/block).
DriveType driveTypeOf(const MountEntry& entry, const std::string& sysBlockPath);

// The drives: "/" first (always present, even when the table cannot be read or lacks it),
// then the other user mounts by mount point, each mount point once (the last mount wins, as it
// is the one that is visible).
std::vector<Drive> listDrives(const std::string& mountTablePath, const std::string& sysBlockPath);

// ImageList1's picture for a drive: the first character of its text decides the floppy look,
// as on systems with drive letters; mount points start with "/", so removable drives get 5.
int driveImage(DriveType type, std::string_view text);

}  // namespace tunelark
