#include "browser/drive_list.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <map>

namespace tunelark {

namespace {

// Kernel and system file systems: views of processes, devices, cgroups, tracing and the like.
// None of them holds a user's clips, and some (/proc) hold thousands of folders.
constexpr std::array<std::string_view, 27> kPseudoTypes = {
    "proc",        "sysfs",      "cgroup",    "cgroup2",    "devpts",
    "devtmpfs",    "securityfs", "debugfs",   "tracefs",    "pstore",
    "bpf",         "mqueue",     "hugetlbfs", "configfs",   "fusectl",
    "binfmt_misc", "autofs",     "efivarfs",  "rpc_pipefs", "nsfs",
    "selinuxfs",   "rootfs",     "squashfs",  "fuse.lxcfs", "fuse.gvfsd-fuse",
    "fuse.portal", "nfsd"};

constexpr std::array<std::string_view, 9> kNetworkTypes = {
    "nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs", "sshfs", "9p", "ceph"};

bool inList(std::string_view value, const auto& list) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

bool isUnder(std::string_view path, std::string_view folder) {
  return path == folder || (path.size() > folder.size() &&
                            path.substr(0, folder.size()) == folder && path[folder.size()] == '/');
}

bool readFirstChar(const std::string& path, char& c) {
  std::ifstream in(path);
  return static_cast<bool>(in.get(c));
}

// The removable flag of a block device, looked up for the whole disk when given a partition
// ("sdb1" -> "sdb", "mmcblk0p1" -> "mmcblk0").
bool isRemovableDevice(const std::string& device, const std::string& sysBlockPath) {
  if (device.rfind("/dev/", 0) != 0) return false;
  std::string name = device.substr(5);
  if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..") {
    return false;
  }
  std::vector<std::string> candidates{name};
  std::string disk = name;
  while (!disk.empty() && disk.back() >= '0' && disk.back() <= '9') disk.pop_back();
  if (!disk.empty() && disk != name) candidates.push_back(disk);
  if (disk.size() > 1 && disk.back() == 'p' && disk[disk.size() - 2] >= '0' &&
      disk[disk.size() - 2] <= '9') {
    candidates.push_back(disk.substr(0, disk.size() - 1));
  }
  for (const auto& candidate : candidates) {
    char flag = 0;
    if (readFirstChar(sysBlockPath + "/" + candidate + "/removable", flag)) return flag == '1';
  }
  return false;
}

}  // namespace

std::string decodeMountField(std::string_view field) {
  const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
  std::string out;
  out.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) &&
        isOctal(field[i + 2]) && isOctal(field[i + 3])) {
      const int value = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
      // A NUL or a value past one byte cannot be part of a path: keep the text as written.
      if (value > 0 && value < 256) {
        out.push_back(static_cast<char>(value));
        i += 3;
        continue;
      }
    }
    out.push_back(field[i]);
  }
  return out;
}

std::vector<MountEntry> parseMountTable(std::string_view text) {
  std::vector<MountEntry> entries;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    std::vector<std::string_view> fields;
    size_t i = 0;
    while (i < line.size() && fields.size() < 3) {
      while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
      size_t start = i;
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
      if (i > start) fields.push_back(line.substr(start, i - start));
    }
    if (fields.size() < 3) continue;
    entries.push_back(
        {decodeMountField(fields[0]), decodeMountField(fields[1]), decodeMountField(fields[2])});
  }
  return entries;
}

bool isUserMount(const MountEntry& entry) {
  const std::string& mp = entry.mountPoint;
  if (mp == "/") return true;
  if (mp.empty() || mp.front() != '/') return false;
  if (inList(entry.fsType, kPseudoTypes)) return false;
  // A container's root is often an overlay; overlays elsewhere are other containers' layers.
  if (entry.fsType == "overlay") return false;
  // System folders: device nodes, kernel views, and per-boot runtime state (where only the
  // automounter's /run/media holds user media).
  if (isUnder(mp, "/proc") || isUnder(mp, "/sys") || isUnder(mp, "/dev")) return false;
  if (isUnder(mp, "/run") && !isUnder(mp, "/run/media")) return false;
  // Single files bind-mounted into containers (/etc/hosts and the like) cannot be browsed.
  // They come from local disks; a network or FUSE mount point is not looked at, since a stat
  // there can block start-up for as long as its server does not answer.
  if (inList(entry.fsType, kNetworkTypes) || entry.fsType.rfind("fuse", 0) == 0) return true;
  struct stat st {};
  if (::stat(mp.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) return false;
  return true;
}

DriveType driveTypeOf(const MountEntry& entry, const std::string& sysBlockPath) {
  const std::string& t = entry.fsType;
  if (inList(t, kNetworkTypes)) return DriveType::Remote;
  if (t == "iso9660" || t == "udf") return DriveType::CdRom;
  if (t == "tmpfs" || t == "ramfs") return DriveType::RamDisk;
  if (isRemovableDevice(entry.device, sysBlockPath)) return DriveType::Removable;
  return DriveType::Fixed;
}

std::vector<Drive> listDrives(const std::string& mountTablePath, const std::string& sysBlockPath) {
  // Read with a bound: a path that names an endless file must not stall start-up. Real mount
  // tables are a few kilobytes even with hundreds of mounts.
  constexpr std::streamsize kMaxTable = 16 << 20;
  std::string text;
  if (std::ifstream in{mountTablePath, std::ios::binary}) {
    char chunk[1 << 16];
    while (static_cast<std::streamsize>(text.size()) < kMaxTable &&
           in.read(chunk, sizeof chunk).gcount() > 0) {
      text.append(chunk, static_cast<size_t>(in.gcount()));
    }
  }
  std::map<std::string, Drive> byMountPoint;
  for (const auto& entry : parseMountTable(text)) {
    if (!isUserMount(entry)) continue;
    byMountPoint[entry.mountPoint] =
        Drive{entry.mountPoint, entry.fsType, entry.device, driveTypeOf(entry, sysBlockPath)};
  }
  if (!byMountPoint.count("/")) byMountPoint["/"] = Drive{"/", "", "", DriveType::Fixed};
  std::vector<Drive> drives;
  drives.reserve(byMountPoint.size());
  // std::map orders by bytes, and "/" sorts before every other absolute path.
  for (auto& [mountPoint, drive] : byMountPoint) drives.push_back(std::move(drive));
  return drives;
}

int driveImage(DriveType type, std::string_view text) {
  switch (type) {
    case DriveType::Unknown:
    case DriveType::NoRootDir:
      return 1;
    case DriveType::Removable:
      return (!text.empty() && (text[0] == 'a' || text[0] == 'b')) ? 2 : 5;
    case DriveType::Fixed:
      return 3;
    case DriveType::Remote:
      return 6;
    case DriveType::CdRom:
      return 4;
    case DriveType::RamDisk:
      return 7;
  }
  return 0;
}

}  // namespace tunelark
