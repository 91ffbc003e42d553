// The list view, and the shell list view that lists one folder's entries as
// the shell shows them and follows the folder's changes.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/shell_folders.h"
#include "ui/control.h"

namespace corvane::ui {

class FolderWatch;

struct ListItem {
  // Looked up when the item is first shown (ListView::ShownImage).
  static constexpr int kImageWhenShown = -2;
  std::string caption;
  int image = -1;
};

class ListView : public WinControl {
 public:
  enum class ViewStyle { kIcon, kSmallIcon, kList, kReport };
  // The size of an item cell when the view has no window to ask.
  static constexpr int kItemHeight = 18;
  static constexpr int kColumnWidth = 150;

  explicit ListView(Component* owner);
  std::string ClassName() const override { return "TListView"; }

  const std::vector<ListItem>& Items() const { return items_; }
  void SetItems(std::vector<ListItem> items);
  void ClearItems() { SetItems({}); }
  int Count() const { return static_cast<int>(items_.size()); }
  // The item's image, looked up now if it was left until shown: the
  // realisation asks for those it draws.
  int ShownImage(int index);

  // The selected item and the one with the focus mark, or -1.
  int ItemIndex() const { return selected_; }
  void SetItemIndex(int i);
  int ItemFocused() const { return focused_; }

  ViewStyle GetViewStyle() const { return view_style_; }
  void SetViewStyle(ViewStyle v);
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool r);
  bool HideSelection() const { return hide_selection_; }
  void SetHideSelection(bool h);
  // Images from the system's small icon list rather than an image list of
  // the program's.
  bool SystemImages() const { return system_images_; }
  void SetSystemImages(bool s);

  // The item at a client point (cells of kColumnWidth by kItemHeight, in
  // columns, when there is no window), or -1.
  int ItemAt(Point p) const;

  // Arms a drag of the focused item that starts once the pointer has moved
  // past the system's drag threshold with the button held; ends with the
  // button's release.
  void BeginDrag() { drag_armed_ = true; }
  // For the realisation: the threshold was passed; whether a drag was armed.
  bool DragStartedFromWindow();

  std::function<void(ListView&)> OnSelectItem;

  // For the realisation.
  void SelectionFromWindow(int selected, int focused);
  // The user confirmed a new label; whether the window may show it.
  virtual bool EditedFromWindow(int index, const std::string& text);

 protected:
  void WndProc(Message& m) override;
  // An image left until shown; -1 for none.
  virtual int LookUpImage(int) { return -1; }

 private:
  std::vector<ListItem> items_;
  int selected_ = -1;
  int focused_ = -1;
  ViewStyle view_style_ = ViewStyle::kIcon;
  bool read_only_ = false;
  bool hide_selection_ = true;
  bool system_images_ = false;
  bool drag_armed_ = false;
};

class ShellListView : public ListView {
 public:
  explicit ShellListView(Component* owner);
  ~ShellListView() override;
  std::string ClassName() const override { return "TShellListView"; }

  // Where entries come from; the view lists nothing without it.
  void SetShellFolders(ShellFolders* shell) { shell_ = shell; }
  ShellFolders* Shell() const { return shell_; }

  const std::string& Root() const { return root_; }
  // The folder listed from the next Refresh on; watched when AutoRefresh.
  void SetRoot(std::string folder);
  // Reads the root folder again: folders first, then the shell's name
  // order, each entry offered to OnAddFolder.
  void Refresh();
  // Empties the list; the root stays.
  void Clear();

  bool AutoRefresh() const { return auto_refresh_; }
  void SetAutoRefresh(bool a);

  // The entries shown, in the order of Items().
  const std::vector<ShellItem>& Entries() const { return entries_; }
  const ShellItem* FocusedEntry() const;
  // Listings so far, for whoever wants to know that a new one began.
  unsigned Listings() const { return listings_; }

  // Once per listing, before the entries are offered.
  std::function<void(ShellListView&)> OnBeginListing;
  // For every entry about to be shown; can_add starts true.
  std::function<void(ShellListView&, const ShellItem&, bool& can_add)> OnAddFolder;

  bool EditedFromWindow(int index, const std::string& text) override;

 protected:
  int LookUpImage(int index) override;

 private:
  void Watch();

  ShellFolders* shell_ = nullptr;
  std::string root_;
  bool auto_refresh_ = true;
  std::vector<ShellItem> entries_;
  std::unique_ptr<FolderWatch> watch_;
  unsigned listings_ = 0;
};

}  // namespace corvane::ui
