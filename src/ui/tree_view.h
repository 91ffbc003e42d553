// The tree view: nodes with a text and three image indices, one selected
// node, label editing that the program switches on and off. The state lives
// here; a window, when there is one, shows it and reports the user's clicks,
// selection, expansion and edits back.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"

namespace corvane::ui {

class ImageList;
class TreeView;

class TreeNode {
 public:
  TreeNode(TreeView& view, TreeNode* parent, std::string text)
      : view_(view), parent_(parent), text_(std::move(text)) {}
  TreeNode(const TreeNode&) = delete;
  TreeNode& operator=(const TreeNode&) = delete;

  TreeView& View() const { return view_; }
  TreeNode* Parent() const { return parent_; }
  const std::string& Text() const { return text_; }
  void SetText(std::string text);
  int ImageIndex() const { return image_; }
  int SelectedIndex() const { return selected_image_; }
  int StateIndex() const { return state_image_; }
  void SetImageIndex(int i);
  void SetSelectedIndex(int i);
  void SetStateIndex(int i);
  // The three at once, as the category tree keeps them.
  void SetAllImageIndices(int i);
  // A number of the program's own for the node (TTreeNode.Data); 0 at first.
  int Data() const { return data_; }
  void SetData(int data) { data_ = data; }

  int Count() const { return static_cast<int>(children_.size()); }
  TreeNode* Item(int i) const;
  bool Expanded() const { return expanded_; }
  void Expand(bool recurse = false);
  void Collapse();
  // 0 for a top-level node.
  int Level() const;
  bool Selected() const;

 private:
  friend class TreeView;
  TreeView& view_;
  TreeNode* parent_;
  std::string text_;
  int image_ = -1;
  int selected_image_ = -1;
  int state_image_ = -1;
  int data_ = 0;
  bool expanded_ = false;
  std::vector<std::unique_ptr<TreeNode>> children_;
};

class TreeView : public WinControl {
 public:
  // The height of a row when the view has no window to ask.
  static constexpr int kRowHeight = 18;

  explicit TreeView(Component* owner);
  ~TreeView() override;
  std::string ClassName() const override { return "TTreeView"; }

  // Appends a node under parent (null: at the top level).
  TreeNode* Add(TreeNode* parent, std::string text);
  void Delete(TreeNode* node);
  void Clear();
  int TopCount() const { return static_cast<int>(top_.size()); }
  TreeNode* TopItem(int i) const;
  // Every node, parents before their children, in display order.
  std::vector<TreeNode*> AllNodes() const;
  void FullExpand();
  // Changes to the items are shown once the outermost EndUpdate is reached.
  void BeginUpdate() { ++updating_; }
  void EndUpdate();

  TreeNode* Selected() const { return selected_; }
  // The program's selection: no click event follows.
  void SetSelected(TreeNode* node);

  ImageList* Images() const { return images_; }
  void SetImages(ImageList* images);
  int Indent() const { return indent_; }
  void SetIndent(int indent);
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool r);
  bool RowSelect() const { return row_select_; }
  void SetRowSelect(bool r);
  bool ShowButtons() const { return show_buttons_; }
  void SetShowButtons(bool s);
  bool ShowLines() const { return show_lines_; }
  void SetShowLines(bool s);
  bool ShowRoot() const { return show_root_; }
  void SetShowRoot(bool s);
  bool HideSelection() const { return hide_selection_; }
  void SetHideSelection(bool h);

  // Label editing of a node; only when the view is not read-only.
  void EditLabel(TreeNode* node);
  TreeNode* Editing() const { return editing_; }

  // The node on the row at a client point (rows of kRowHeight when there is
  // no window), or null.
  TreeNode* NodeAt(Point p) const;
  Rect NodeRect(const TreeNode* node) const;

  // Selection changed, by the user or the program.
  std::function<void(TreeView&, TreeNode*)> OnChange;
  // The user confirmed a label edit; the node still has its old text, and
  // the handler may change the new one.
  std::function<void(TreeView&, TreeNode*, std::string& text)> OnEdited;

  // For the realisation: what the user did in the window.
  void SelectedFromWindow(TreeNode* node);
  void ExpandedFromWindow(TreeNode* node, bool expanded);
  void ClickedFromWindow() { clicked_ = true; }
  // The edit ended; text is null when it was cancelled. The text the node
  // takes (the window shows it), or null to keep the old one.
  const std::string* EditEndedFromWindow(TreeNode* node, const std::string* text);
  // Whether the node still belongs to the view.
  bool Owns(const TreeNode* node) const;

 protected:
  void WndProc(Message& m) override;
  Point KeyboardMenuPoint() const override;

 private:
  friend class TreeNode;
  void ItemsChanged();
  void Forget(TreeNode* node);
  std::vector<TreeNode*> VisibleNodes() const;

  std::vector<std::unique_ptr<TreeNode>> top_;
  TreeNode* selected_ = nullptr;
  TreeNode* editing_ = nullptr;
  std::string edited_text_;
  ImageList* images_ = nullptr;
  int indent_ = 19;
  bool read_only_ = false;
  bool row_select_ = false;
  bool show_buttons_ = true;
  bool show_lines_ = true;
  bool show_root_ = true;
  bool hide_selection_ = true;
  int updating_ = 0;
  bool dirty_ = false;
  bool clicked_ = false;
};

}  // namespace corvane::ui
