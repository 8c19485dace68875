#pragma once
// The tree widget of tvwControl: draws the model's nodes with ImageList1's pictures and hands
// clicks to Form1::tvwControl_Click with the clicked node selected in the model.

#include <QTreeWidget>
#include <unordered_map>

#include "qt/model_view.h"
#include "qt/tree_icons.h"

namespace tunelark {
class Form1;
struct TreeNode;
}  // namespace tunelark

namespace tunelark::qt {

class BrowserTreeView : public ModelView {
 public:
  BrowserTreeView(Form1& form, QWidget* parent, SkinPictures& skin, AfterHandler after);
  QWidget* widget() override { return tree_; }
  void sync() override;
  void afterFirstFrame() override;

  QTreeWidgetItem* itemOf(const std::string& key) const;

 private:
  void syncChildren(QTreeWidgetItem* parentItem, const std::vector<TreeNode*>& children);
  QTreeWidgetItem* itemFor(TreeNode* node);
  TreeNode* nodeOf(QTreeWidgetItem* item) const;
  void clicked(QTreeWidgetItem* item);

  Form1& form_;
  AfterHandler after_;
  QTreeWidget* tree_;
  TreeIcons icons_;
  std::unordered_map<const TreeNode*, QTreeWidgetItem*> items_;
  unsigned long shownRevision_ = ~0ul;
};

}  // namespace tunelark::qt
