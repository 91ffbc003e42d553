#include "ui/list_view.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/events.h"

namespace corvane::ui {

// --- ListView ----------------------------------------------------------------

ListView::ListView(Component* owner) : WinControl(owner) {
  SetColor(kClWindow);
  SetTabStop(true);
}

void ListView::SetItems(std::vector<ListItem> items) {
  items_ = std::move(items);
  selected_ = focused_ = -1;
  Changed(Aspect::kItems);
}

int ListView::ShownImage(int index) {
  if (index < 0 || index >= Count()) return -1;
  int& image = items_[static_cast<std::size_t>(index)].image;
  if (image == ListItem::kImageWhenShown) image = LookUpImage(index);
  return image;
}

void ListView::SetItemIndex(int i) {
  if (i < -1 || i >= Count()) i = -1;
  if (i == selected_ && (i == -1 || i == focused_)) return;
  selected_ = i;
  if (i >= 0) focused_ = i;
  Changed(Aspect::kSelection);
  Fire(OnSelectItem, *this);
}

void ListView::SetViewStyle(ViewStyle v) {
  view_style_ = v;
  Changed(Aspect::kState);
}

void ListView::SetReadOnly(bool r) {
  read_only_ = r;
  Changed(Aspect::kState);
}

void ListView::SetHideSelection(bool h) {
  hide_selection_ = h;
  Changed(Aspect::kState);
}

void ListView::SetSystemImages(bool s) {
  system_images_ = s;
  Changed(Aspect::kItems);
}

int ListView::ItemAt(Point p) const {
  Rect client = ClientRect();
  if (!client.Contains(p)) return -1;
  int rows = std::max(client.Height() / kItemHeight, 1);
  int i = (p.x / kColumnWidth) * rows + p.y / kItemHeight;
  return p.y / kItemHeight < rows && i < Count() ? i : -1;
}

void ListView::SelectionFromWindow(int selected, int focused) {
  if (selected >= Count()) selected = -1;
  if (focused >= Count()) focused = -1;
  if (selected == selected_ && focused == focused_) return;
  selected_ = selected;
  focused_ = focused;
  Fire(OnSelectItem, *this);
}

bool ListView::EditedFromWindow(int index, const std::string& text) {
  if (read_only_ || index < 0 || index >= Count()) return false;
  items_[static_cast<std::size_t>(index)].caption = text;
  return true;
}

bool ListView::DragStartedFromWindow() {
  bool armed = drag_armed_;
  drag_armed_ = false;
  return armed;
}

void ListView::WndProc(Message& m) {
  if (m.msg == msg::kLButtonUp) drag_armed_ = false;
  WinControl::WndProc(m);
  // Without a window the press selects the item under the mouse.
  bool press = m.msg == msg::kLButtonDown || m.msg == msg::kRButtonDown;
  if (press && (!Peer() || !Peer()->IsSystemWindow())) {
    int i = ItemAt({PointX(m.lparam), PointY(m.lparam)});
    SelectionFromWindow(i, i >= 0 ? i : focused_);
  }
}

// --- ShellListView -------------------------------------------------------------

ShellListView::ShellListView(Component* owner) : ListView(owner) {
  SetViewStyle(ViewStyle::kList);
  SetSystemImages(true);
}

ShellListView::~ShellListView() {
  // No change may reach the view once it starts going.
  watch_.reset();
}

void ShellListView::SetRoot(std::string folder) {
  if (folder == root_ && (watch_ || !auto_refresh_)) return;
  root_ = std::move(folder);
  Watch();
}

void ShellListView::SetAutoRefresh(bool a) {
  auto_refresh_ = a;
  Watch();
}

void ShellListView::Watch() {
  watch_.reset();
  Application* app = Application::Current();
  if (!auto_refresh_ || root_.empty() || !app) return;
  watch_ = app->GetBackend().WatchFolder(root_, [this] { Refresh(); });
}

void ShellListView::Clear() {
  entries_.clear();
  ClearItems();
}

void ShellListView::Refresh() {
  ++listings_;
  // Keep the focus on the entry it was on.
  std::string focused_path;
  if (const ShellItem* f = FocusedEntry()) focused_path = f->path;
  bool had_selection = ItemIndex() >= 0;

  std::vector<ShellItem> found;
  if (shell_ && !root_.empty()) found = shell_->Items(root_);
  Fire(OnBeginListing, *this);
  std::vector<ShellItem> shown;
  for (ShellItem& item : found) {
    bool can_add = true;
    Fire(OnAddFolder, *this, item, can_add);
    if (can_add) shown.push_back(std::move(item));
  }
  // Folders first, each part in the shell's name order.
  auto files = std::stable_partition(shown.begin(), shown.end(),
                                     [](const ShellItem& i) { return i.is_folder; });
  if (shell_) {
    shell_->SortByName(shown.begin(), files);
    shell_->SortByName(files, shown.end());
  }

  entries_ = std::move(shown);
  std::vector<ListItem> items;
  items.reserve(entries_.size());
  for (const ShellItem& e : entries_)
    items.push_back({e.display_name, e.icon == ShellItem::kIconNotYet ? ListItem::kImageWhenShown
                                                                       : e.icon});
  SetItems(std::move(items));
  if (focused_path.empty()) return;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].path != focused_path) continue;
    if (had_selection) SetItemIndex(static_cast<int>(i));
    else SelectionFromWindow(-1, static_cast<int>(i));
    break;
  }
}

int ShellListView::LookUpImage(int index) {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return -1;
  ShellItem& entry = entries_[static_cast<std::size_t>(index)];
  if (entry.icon == ShellItem::kIconNotYet) entry.icon = shell_ ? shell_->Icon(entry) : -1;
  return entry.icon;
}

const ShellItem* ShellListView::FocusedEntry() const {
  int i = ItemFocused();
  return i >= 0 && i < static_cast<int>(entries_.size()) ? &entries_[static_cast<std::size_t>(i)]
                                                        : nullptr;
}

bool ShellListView::EditedFromWindow(int index, const std::string& text) {
  if (ReadOnly() || !shell_ || index < 0 || index >= static_cast<int>(entries_.size()))
    return false;
  auto& entry = entries_[static_cast<std::size_t>(index)];
  auto renamed = shell_->Rename(entry, text);
  if (!renamed) return false;
  entry = *renamed;
  return ListView::EditedFromWindow(index, renamed->display_name);
}

}  // namespace corvane::ui
