#include "browser/tree_view.h"

#include <algorithm>

#include "platform/ascii.h"

namespace tunelark {

bool treeTextLess(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(asciiLower(a[i]));
    const auto cb = static_cast<unsigned char>(asciiLower(b[i]));
    if (ca != cb) return ca < cb;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

namespace {

bool nodeLess(const TreeNode* a, const TreeNode* b) { return treeTextLess(a->Text, b->Text); }

}  // namespace

TreeNode* TreeView::Add(const std::string& parentKey, const std::string& key,
                        const std::string& text, int image, int selectedImage) {
  if (nodes_.count(key)) return nullptr;
  TreeNode* parent = nullptr;
  if (!parentKey.empty()) {
    parent = find(parentKey);
    if (!parent) return nullptr;
  }
  auto node = std::make_unique<TreeNode>();
  node->Key = key;
  node->Text = text;
  node->Image = image;
  node->SelectedImage = selectedImage;
  node->Parent = parent;
  TreeNode* raw = node.get();
  nodes_.emplace(key, std::move(node));
  auto& siblings = parent ? parent->Children : roots_;
  if (parent && parent->Sorted) {
    siblings.insert(std::upper_bound(siblings.begin(), siblings.end(), raw, nodeLess), raw);
  } else {
    siblings.push_back(raw);
  }
  ++revision_;
  return raw;
}

TreeNode* TreeView::find(const std::string& key) {
  auto it = nodes_.find(key);
  return it == nodes_.end() ? nullptr : it->second.get();
}

const TreeNode* TreeView::find(const std::string& key) const {
  auto it = nodes_.find(key);
  return it == nodes_.end() ? nullptr : it->second.get();
}

void TreeView::setSorted(TreeNode& node) {
  node.Sorted = true;
  std::stable_sort(node.Children.begin(), node.Children.end(), nodeLess);
  ++revision_;
}

}  // namespace tunelark
