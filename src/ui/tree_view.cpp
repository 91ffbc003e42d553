#include "ui/tree_view.h"

#include <algorithm>

#include "ui/events.h"

namespace corvane::ui {

// --- TreeNode ----------------------------------------------------------------

void TreeNode::SetText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  view_.ItemsChanged();
}

void TreeNode::SetImageIndex(int i) {
  image_ = i;
  view_.ItemsChanged();
}

void TreeNode::SetSelectedIndex(int i) {
  selected_image_ = i;
  view_.ItemsChanged();
}

void TreeNode::SetStateIndex(int i) {
  state_image_ = i;
  view_.ItemsChanged();
}

void TreeNode::SetAllImageIndices(int i) {
  image_ = selected_image_ = state_image_ = i;
  view_.ItemsChanged();
}

TreeNode* TreeNode::Item(int i) const {
  return i >= 0 && i < Count() ? children_[static_cast<std::size_t>(i)].get() : nullptr;
}

void TreeNode::Expand(bool recurse) {
  expanded_ = true;
  if (recurse)
    for (auto& c : children_) c->Expand(true);
  view_.ItemsChanged();
}

void TreeNode::Collapse() {
  expanded_ = false;
  view_.ItemsChanged();
}

int TreeNode::Level() const {
  int level = 0;
  for (TreeNode* p = parent_; p; p = p->parent_) ++level;
  return level;
}

bool TreeNode::Selected() const { return view_.Selected() == this; }

// --- TreeView ----------------------------------------------------------------

TreeView::TreeView(Component* owner) : WinControl(owner) {
  SetColor(kClWindow);
  SetTabStop(true);
}

TreeView::~TreeView() {
  // The window goes before the nodes it points at.
  DestroyHandle();
}

TreeNode* TreeView::Add(TreeNode* parent, std::string text) {
  auto& list = parent ? parent->children_ : top_;
  list.push_back(std::make_unique<TreeNode>(*this, parent, std::move(text)));
  TreeNode* node = list.back().get();
  ItemsChanged();
  return node;
}

void TreeView::Forget(TreeNode* node) {
  for (auto& c : node->children_) Forget(c.get());
  if (selected_ == node) selected_ = nullptr;
  if (editing_ == node) editing_ = nullptr;
}

void TreeView::Delete(TreeNode* node) {
  if (!Owns(node)) return;
  bool had_selection = selected_ != nullptr;
  Forget(node);
  auto& list = node->parent_ ? node->parent_->children_ : top_;
  list.erase(std::find_if(list.begin(), list.end(),
                          [node](const std::unique_ptr<TreeNode>& p) { return p.get() == node; }));
  ItemsChanged();
  if (had_selection && !selected_) Fire(OnChange, *this, static_cast<TreeNode*>(nullptr));
}

void TreeView::Clear() {
  bool had_selection = selected_ != nullptr;
  selected_ = editing_ = nullptr;
  top_.clear();
  ItemsChanged();
  if (had_selection) Fire(OnChange, *this, static_cast<TreeNode*>(nullptr));
}

TreeNode* TreeView::TopItem(int i) const {
  return i >= 0 && i < TopCount() ? top_[static_cast<std::size_t>(i)].get() : nullptr;
}

std::vector<TreeNode*> TreeView::AllNodes() const {
  std::vector<TreeNode*> out;
  std::function<void(const std::vector<std::unique_ptr<TreeNode>>&)> walk =
      [&](const std::vector<std::unique_ptr<TreeNode>>& list) {
        for (const auto& n : list) {
          out.push_back(n.get());
          walk(n->children_);
        }
      };
  walk(top_);
  return out;
}

bool TreeView::Owns(const TreeNode* node) const {
  if (!node) return false;
  auto all = AllNodes();
  return std::find(all.begin(), all.end(), node) != all.end();
}

void TreeView::FullExpand() {
  BeginUpdate();
  for (auto& n : top_) n->Expand(true);
  EndUpdate();
}

void TreeView::EndUpdate() {
  if (updating_ > 0 && --updating_ == 0 && dirty_) ItemsChanged();
}

void TreeView::ItemsChanged() {
  if (updating_ > 0) {
    dirty_ = true;
    return;
  }
  dirty_ = false;
  Changed(Aspect::kItems);
}

void TreeView::SetSelected(TreeNode* node) {
  if (node && !Owns(node)) return;
  if (node == selected_) return;
  selected_ = node;
  Changed(Aspect::kSelection);
  Fire(OnChange, *this, node);
}

void TreeView::SetImages(ImageList* images) {
  images_ = images;
  ItemsChanged();
}

void TreeView::SetIndent(int indent) {
  indent_ = indent;
  Changed(Aspect::kState);
}

void TreeView::SetReadOnly(bool r) {
  if (r == read_only_) return;
  read_only_ = r;
  Changed(Aspect::kState);
}

void TreeView::SetRowSelect(bool r) {
  row_select_ = r;
  Changed(Aspect::kState);
}

void TreeView::SetShowButtons(bool s) {
  show_buttons_ = s;
  Changed(Aspect::kState);
}

void TreeView::SetShowLines(bool s) {
  show_lines_ = s;
  Changed(Aspect::kState);
}

void TreeView::SetShowRoot(bool s) {
  show_root_ = s;
  Changed(Aspect::kState);
}

void TreeView::SetHideSelection(bool h) {
  hide_selection_ = h;
  Changed(Aspect::kState);
}

void TreeView::EditLabel(TreeNode* node) {
  if (read_only_ || !Owns(node)) return;
  editing_ = node;
  Changed(Aspect::kEditLabel);
}

std::vector<TreeNode*> TreeView::VisibleNodes() const {
  std::vector<TreeNode*> out;
  std::function<void(const std::vector<std::unique_ptr<TreeNode>>&)> walk =
      [&](const std::vector<std::unique_ptr<TreeNode>>& list) {
        for (const auto& n : list) {
          out.push_back(n.get());
          if (n->expanded_) walk(n->children_);
        }
      };
  walk(top_);
  return out;
}

TreeNode* TreeView::NodeAt(Point p) const {
  if (p.x < 0 || p.y < 0 || p.x >= ClientRect().Width()) return nullptr;
  auto rows = VisibleNodes();
  std::size_t row = static_cast<std::size_t>(p.y / kRowHeight);
  return row < rows.size() ? rows[row] : nullptr;
}

Rect TreeView::NodeRect(const TreeNode* node) const {
  auto rows = VisibleNodes();
  auto it = std::find(rows.begin(), rows.end(), node);
  if (it == rows.end()) return {};
  int row = static_cast<int>(it - rows.begin());
  return Rect::FromBounds(0, row * kRowHeight, ClientRect().Width(), kRowHeight);
}

void TreeView::SelectedFromWindow(TreeNode* node) {
  if (node == selected_ || (node && !Owns(node))) return;
  selected_ = node;
  Fire(OnChange, *this, node);
}

void TreeView::ExpandedFromWindow(TreeNode* node, bool expanded) {
  if (Owns(node)) node->expanded_ = expanded;
}

const std::string* TreeView::EditEndedFromWindow(TreeNode* node, const std::string* text) {
  editing_ = nullptr;
  if (!text || !Owns(node)) return nullptr;
  edited_text_ = *text;
  Fire(OnEdited, *this, node, edited_text_);
  if (!Owns(node)) return nullptr;  // the handler took the node away
  node->text_ = edited_text_;
  return &node->text_;
}

Point TreeView::KeyboardMenuPoint() const {
  Rect r = NodeRect(selected_);
  return {r.left + indent_, r.bottom};
}

void TreeView::WndProc(Message& m) {
  bool system_window = Peer() && Peer()->IsSystemWindow();
  if (m.msg == msg::kRButtonUp && !system_window) {
    // The system's tree asks for its menu after a right click and leaves
    // the selection alone; without one, the same happens here.
    WinControl::WndProc(m);
    Point at = ClientToScreen({PointX(m.lparam), PointY(m.lparam)});
    Perform(msg::kContextMenu, 0, PackPoint(at.x, at.y));
    return;
  }
  if (m.msg != msg::kLButtonDown) {
    WinControl::WndProc(m);
    return;
  }
  // A window selects the node and reports the click while it handles the
  // press; without one, the row under the mouse is the one clicked.
  clicked_ = false;
  WinControl::WndProc(m);
  if (!system_window) {
    if (TreeNode* n = NodeAt({PointX(m.lparam), PointY(m.lparam)})) SelectedFromWindow(n);
    clicked_ = true;
  }
  if (clicked_) {
    clicked_ = false;
    Click();
  }
}

}  // namespace corvane::ui
