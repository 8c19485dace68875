#pragma once
// The lazy folder scan of the tree: one level of subfolders read from the file system and
// added under a drive or folder node, whose key carries the folder's path.

#include <optional>
#include <string>
#include <vector>

#include "browser/tree_view.h"

namespace tunelark {

// The subfolders of `folder` ("." and ".." left out, hidden ones kept) in the order the file
// system returns them, or nothing when the folder cannot be read. A symbolic link to a folder
// counts as a folder: music is often linked in from another disk, and since the tree only
// grows one level per click a link that loops back costs nothing until it is clicked.
std::optional<std::vector<std::string>> listSubfolders(const std::string& folder);

// The folder a drive or folder node stands for: its key without the trailing "Dir".
std::string folderOfKey(const std::string& key);
// The key of `name` inside `folder`, with exactly one separator between them (also under "/").
std::string childKey(const std::string& folder, const std::string& name);

// Adds one child per subfolder of the node's folder (images 8 and 9), then marks the node
// sorted and collapsed. A folder that cannot be read adds nothing. A subfolder whose key is
// already in the tree (a mount point, which is a drive node of its own) is not added twice.
void scanfolder(TreeView& tree, TreeNode& node);

}  // namespace tunelark
