#pragma once
// The drive and folder tree (tvwControl) as plain data: nodes with unique keys, their texts,
// pictures (ImageList1 indexes 1..9), parent and children, and which node is selected.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"

namespace tunelark {

struct TreeNode {
  std::string Key;
  std::string Text;
  int Image = 0;
  int SelectedImage = 0;
  TreeNode* Parent = nullptr;
  // In the order they are shown: alphabetical once the node is sorted, else as added.
  std::vector<TreeNode*> Children;
  bool Expanded = false;
  bool Sorted = false;
};

class TreeView {
 public:
  // Adds a node under `parentKey` (empty for a top-level node). Keys are unique: a key already
  // in the tree, or a parent key that is not, adds nothing and returns nullptr.
  TreeNode* Add(const std::string& parentKey, const std::string& key, const std::string& text,
                int image, int selectedImage);
  TreeNode* find(const std::string& key);
  const TreeNode* find(const std::string& key) const;
  // Sorts the node's children and keeps them sorted as more are added.
  void setSorted(TreeNode& node);

  const std::vector<TreeNode*>& roots() const { return roots_; }
  int Count() const { return static_cast<int>(nodes_.size()); }

  // The selected node, or nullptr. Selecting an unknown key clears the selection.
  TreeNode* SelectedItem() { return find(selectedKey_); }
  void select(const std::string& key) { selectedKey_ = find(key) ? key : std::string(); }

  // Bumped whenever nodes are added or reordered, so a view can tell it has to redraw.
  unsigned long revision() const { return revision_; }

  // Where buildtree reads the mounted file systems and the block devices' removable flags;
  // tests point these at files of their own.
  std::string mountTablePath = "/proc/self/mounts";
  std::string sysBlockPath = "/sys/block";

  Control box;  // position and size in the browser area

 private:
  // Nodes are never removed, so pointers to them stay valid for the tree's lifetime.
  std::map<std::string, std::unique_ptr<TreeNode>> nodes_;
  std::vector<TreeNode*> roots_;
  std::string selectedKey_;
  unsigned long revision_ = 0;
};

// The order sorted children are shown in: by text without regard to ASCII case, ties by bytes.
bool treeTextLess(const std::string& a, const std::string& b);

}  // namespace tunelark
