// The tree's handlers: building the drive list at start-up and the click that scans a folder
// and points File1 at it.
#include "browser/drive_list.h"
#include "browser/scan_folder.h"
#include "platform/ascii.h"
#include "ui/form1.h"

namespace tunelark {

namespace {

bool endsWithDirAnyCase(const std::string& key) { return endsWithNoCase(key, "Dir"); }

}  // namespace

void Form1::buildtree() {
  TreeNode* root = tvwControl.Add("", "Root", "My Computer", 1, 1);
  if (!root) return;  // built once; a second call must not add drives twice
  root->Expanded = true;
  for (const Drive& drive : listDrives(tvwControl.mountTablePath, tvwControl.sysBlockPath)) {
    const int picture = driveImage(drive.type, drive.mountPoint);
    tvwControl.Add("Root", drive.mountPoint + "Dir", drive.mountPoint, picture, picture);
  }
}

void Form1::tvwControl_Click() {
  const TreeNode* selected = tvwControl.SelectedItem();
  if (!selected) return;
  // Held by key: the pass below may run other input, and nodes are looked up again after it.
  const std::string key = selected->Key;
  host.processPendingEvents();
  TreeNode* node = tvwControl.find(key);
  if (!node) return;
  if (endsWithDirAnyCase(node->Key) && node->Children.empty()) {
    host.setBusy(true);
    scanfolder(tvwControl, *node);
    host.setBusy(false);
  }
  // The root is the only node without a parent. Asking by position rather than by the text
  // "My Computer" keeps a folder of that name working like any other.
  if (!node->Parent) return;
  if (!File1.setPath(folderOfKey(node->Key))) host.messageBox("Drive Not Available");
}

}  // namespace tunelark
