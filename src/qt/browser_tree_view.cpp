#include "qt/browser_tree_view.h"

#include <QHeaderView>
#include <QSignalBlocker>

#include "qt/browser_palette.h"
#include "qt/control_placement.h"
#include "qt/delivery.h"
#include "qt/object_names.h"
#include "qt/skin_style.h"
#include "ui/form1.h"

namespace tunelark::qt {

namespace {

constexpr int kKeyRole = Qt::UserRole;

QString shown(const std::string& bytes) {
  return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

BrowserTreeView::BrowserTreeView(Form1& form, QWidget* parent, SkinPictures& skin,
                                 AfterHandler after)
    : form_(form), after_(std::move(after)), tree_(new QTreeWidget(parent)), icons_(skin) {
  tree_->setObjectName(objectNameOf(ControlId::tvwControl));
  tree_->setHeaderHidden(true);
  tree_->setColumnCount(1);
  tree_->setFrameShape(QFrame::NoFrame);
  tree_->setSelectionMode(QAbstractItemView::SingleSelection);
  tree_->setUniformRowHeights(true);
  tree_->setIconSize(QSize(kTreePictureSize, kTreePictureSize));
  tree_->setIndentation(14);
  // Long folder names scroll sideways instead of being cut off.
  tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  tree_->header()->setStretchLastSection(false);
  applyBrowserPalette(tree_, QColor(0, 255, 255));
  tree_->setFont(skinFont());

  QObject::connect(tree_, &QTreeWidget::itemClicked, tree_,
                   [this](QTreeWidgetItem* item, int) { clicked(item); });
  // The arrow keys choose a node as a click does, without opening it: Enter then runs the
  // click's handler on it. A sync sets the current item with signals blocked.
  QObject::connect(tree_, &QTreeWidget::currentItemChanged, tree_, [this](QTreeWidgetItem* item) {
    if (TreeNode* node = nodeOf(item)) form_.tvwControl.select(node->Key);
  });
  // Expanding and collapsing with the tree's buttons is state the model keeps too.
  QObject::connect(tree_, &QTreeWidget::itemExpanded, tree_, [this](QTreeWidgetItem* item) {
    if (TreeNode* node = nodeOf(item)) node->Expanded = true;
  });
  QObject::connect(tree_, &QTreeWidget::itemCollapsed, tree_, [this](QTreeWidgetItem* item) {
    if (TreeNode* node = nodeOf(item)) node->Expanded = false;
  });
}

TreeNode* BrowserTreeView::nodeOf(QTreeWidgetItem* item) const {
  if (!item) return nullptr;
  return form_.tvwControl.find(item->data(0, kKeyRole).toByteArray().toStdString());
}

QTreeWidgetItem* BrowserTreeView::itemOf(const std::string& key) const {
  const TreeNode* node = form_.tvwControl.find(key);
  auto it = node ? items_.find(node) : items_.end();
  return it == items_.end() ? nullptr : it->second;
}

void BrowserTreeView::clicked(QTreeWidgetItem* item) {
  TreeNode* node = nodeOf(item);
  if (!node) return;
  form_.tvwControl.select(node->Key);
  deliver(form_, ControlId::tvwControl, UserEvent::Click, after_);
}

void BrowserTreeView::afterFirstFrame() {
  if (!icons_.useDesktopTheme()) return;
  for (auto& [node, item] : items_) item->setIcon(0, icons_.node(node->Image, node->SelectedImage));
}

QTreeWidgetItem* BrowserTreeView::itemFor(TreeNode* node) {
  auto it = items_.find(node);
  if (it != items_.end()) return it->second;
  auto* item = new QTreeWidgetItem();
  item->setText(0, shown(node->Text));
  item->setData(0, kKeyRole, QByteArray::fromStdString(node->Key));
  item->setIcon(0, icons_.node(node->Image, node->SelectedImage));
  items_.emplace(node, item);
  return item;
}

void BrowserTreeView::syncChildren(QTreeWidgetItem* parentItem,
                                   const std::vector<TreeNode*>& children) {
  const int count = parentItem ? parentItem->childCount() : tree_->topLevelItemCount();
  bool same = count == static_cast<int>(children.size());
  for (int i = 0; same && i < count; ++i) {
    QTreeWidgetItem* shownItem = parentItem ? parentItem->child(i) : tree_->topLevelItem(i);
    auto it = items_.find(children[i]);
    same = it != items_.end() && it->second == shownItem;
  }
  if (!same) {
    // Rebuilt in one go: adding thousands of items one by one would relayout each time.
    QList<QTreeWidgetItem*> old = parentItem ? parentItem->takeChildren() : [this] {
      QList<QTreeWidgetItem*> top;
      while (tree_->topLevelItemCount() > 0) top.append(tree_->takeTopLevelItem(0));
      return top;
    }();
    QList<QTreeWidgetItem*> list;
    list.reserve(static_cast<qsizetype>(children.size()));
    for (TreeNode* child : children) list.append(itemFor(child));
    if (parentItem)
      parentItem->addChildren(list);
    else
      tree_->addTopLevelItems(list);
    // The tree only grows, so every old item is normally among the new ones.
    for (QTreeWidgetItem* item : old) {
      if (!list.contains(item)) {
        std::erase_if(items_, [item](const auto& entry) { return entry.second == item; });
        delete item;
      }
    }
  }
  for (TreeNode* child : children) {
    QTreeWidgetItem* item = items_.at(child);
    if (!child->Children.empty() || item->childCount() > 0) syncChildren(item, child->Children);
    if (item->isExpanded() != child->Expanded) item->setExpanded(child->Expanded);
  }
}

void BrowserTreeView::sync() {
  placeAs(tree_, form_.tvwControl.box);

  QSignalBlocker quiet(tree_);
  if (shownRevision_ != form_.tvwControl.revision()) {
    syncChildren(nullptr, form_.tvwControl.roots());
    shownRevision_ = form_.tvwControl.revision();
  } else {
    // Expanded states change without a new revision; only nodes with children can show them.
    std::vector<const TreeNode*> pending(form_.tvwControl.roots().begin(),
                                         form_.tvwControl.roots().end());
    while (!pending.empty()) {
      const TreeNode* node = pending.back();
      pending.pop_back();
      if (node->Children.empty()) continue;
      QTreeWidgetItem* item = items_.at(node);
      if (item->isExpanded() != node->Expanded) item->setExpanded(node->Expanded);
      if (node->Expanded)
        pending.insert(pending.end(), node->Children.begin(), node->Children.end());
    }
  }
  const TreeNode* selected = form_.tvwControl.SelectedItem();
  QTreeWidgetItem* current = selected ? items_.at(selected) : nullptr;
  if (tree_->currentItem() != current) tree_->setCurrentItem(current);
  if (current && !current->isSelected()) current->setSelected(true);
  tree_->viewport()->update();
}

}  // namespace tunelark::qt
