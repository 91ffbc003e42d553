#include "categories/categorisation.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "categories/frm_jiqiao.h"
#include "categories/frm_tixing.h"
#include "core/text.h"

namespace corvane::categories {

bool IconHolder::Load(IconFiles& icons, const std::string& path) {
  if (!icons.Loads(path)) return false;
  path_ = path;
  return true;
}

int AddIcon(ui::ImageList& images, const IconHolder& holder) {
  if (holder.Empty()) return -1;
  return images.Add(ui::Picture::File(holder.Path()));
}

Categorisation::Categorisation(ui::Application& app, CategoryServices services)
    : app_(app), services_(services), store_reads_(services.profile) {}

Categorisation::~Categorisation() = default;

void Categorisation::Attach(const CategoryView& view) {
  wiring_.Clear();
  view_.reset();
  view_.emplace(view);
  ui::TreeView& tree = view.tree;
  ui::ShellListView& list = view.list;
  wiring_.Connect(tree, tree.OnClick, [this](ui::Control&) { ShowCategory(); });
  list.SetShellFolders(&services_.shell);
  wiring_.Add(list, [&list] { list.SetShellFolders(nullptr); });
  wiring_.Connect(list, list.OnBeginListing,
                  [this](ui::ShellListView&) { ShellListViewFenleiBeginListing(); });
  wiring_.Connect(list, list.OnAddFolder,
                  [this](ui::ShellListView&, const ShellItem& item, bool& can_add) {
                    ShellListViewFenleiAddFolder(item, can_add);
                  });
  wiring_.Connect(view.detect, view.detect.OnTimer, [this](ui::Timer&) { TimerDetectTimer(); });
  wiring_.Connect(view.tips, view.tips.OnTimer, [this](ui::Timer&) { TimerJqTimer(); });
  wiring_.Connect(view.new_item, view.new_item.OnClick, [this](ui::MenuItem&) { MenuNewClick(); });
  wiring_.Connect(view.delete_item, view.delete_item.OnClick,
                  [this](ui::MenuItem&) { MenuDelClick(); });
  wiring_.Connect(view.change_icon_item, view.change_icon_item.OnClick,
                  [this](ui::MenuItem&) { MenuChangeIconClick(); });
  wiring_.Connect(view.rename_item, view.rename_item.OnClick,
                  [this](ui::MenuItem&) { MenuRenameClick(); });
  wiring_.Connect(tree, tree.OnEdited, [this](ui::TreeView&, ui::TreeNode* node, std::string& name) {
    TrVewFenleiEdited(node, name);
  });
  // ShellListViewFenleiMouseDown: the left button arms a drag.
  wiring_.Connect(list, list.OnMouseDown,
                  [&list](ui::Control&, ui::MouseButton b, unsigned, int, int) {
                    if (b == ui::MouseButton::kLeft) list.BeginDrag();
                  });
  wiring_.Connect(tree, tree.OnDragOver, [](ui::Control&, ui::Control& source, int, int, bool& accept) {
    accept = dynamic_cast<ui::ShellListView*>(&source) != nullptr;
  });
  wiring_.Connect(tree, tree.OnDragDrop, [this](ui::Control&, ui::Control&, int x, int y) {
    TrVewFenleiDragDrop(x, y);
  });
}

void Categorisation::DerivePaths() { drive_root_ = DriveRoot(services_.system); }

StartMenuPaths Categorisation::Paths() {
  if (drive_root_.empty()) DerivePaths();
  return StartMenuPathsFor(drive_root_, CurrentUserName(services_.system));
}

CategoryStore Categorisation::Store() {
  return CategoryStore(store_reads_, StorePath(services_.system));
}

void Categorisation::StartupPass() {
  BuildCategoryTree();
  FolderRoutines folders = Folders();
  last_merge_ = folders.MergeIntoCommonPrograms();
  CategoryStore store = Store();
  folders.RecordEntryCounts(store);
  counts_recorded_ = true;
  if (view_) view_->icon_dialog.SetInitialDir(IconDialogFolder(services_.system));
  ReportMerge();
}

std::string MergeLeftoverText(const MoveReport& report, std::vector<std::string>& reported) {
  std::vector<std::string> lines;
  auto add = [&](const std::vector<std::string>& paths, const char* why) {
    for (const std::string& p : paths) {
      if (std::find(reported.begin(), reported.end(), p) != reported.end()) continue;
      reported.push_back(p);
      lines.push_back(p + why);
    }
  };
  add(report.not_copied, kLeftNotCopied);
  add(report.not_removed, kLeftNotRemoved);
  add(report.skipped, kLeftSkipped);
  if (lines.empty()) return std::string();
  std::string out = kMergeLeftovers;
  std::size_t shown = std::min(lines.size(), static_cast<std::size_t>(kMergeLeftoverLines));
  for (std::size_t i = 0; i < shown; ++i) out += "\r" + lines[i];
  if (lines.size() > shown)
    out += "\r……另有 " + std::to_string(lines.size() - shown) + " 项。";
  return out;
}

std::string MergeLeftoverFingerprint(const MoveReport& report) {
  std::vector<std::string> lines;
  for (const std::string& p : report.not_copied) lines.push_back(p + kLeftNotCopied);
  for (const std::string& p : report.not_removed) lines.push_back(p + kLeftNotRemoved);
  for (const std::string& p : report.skipped) lines.push_back(p + kLeftSkipped);
  if (lines.empty()) return std::string();
  std::sort(lines.begin(), lines.end());
  std::string all;
  for (const std::string& line : lines) all += line + '\n';
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(text::Fnv1a64(all)));
  return hex;
}

void Categorisation::ReportMerge() {
  CategoryStore store = Store();
  const std::string now = MergeLeftoverFingerprint(last_merge_);
  const std::string told = store.MergeLeftoversTold();
  if (now == told) {
    // Told at an earlier start: count them as told in this run too.
    MergeLeftoverText(last_merge_, reported_leftovers_);
    return;
  }
  std::string text = MergeLeftoverText(last_merge_, reported_leftovers_);
  if (!text.empty()) app_.ShowMessageBox(text, kNoticeCaption, mb::kOk | mb::kIconExclamation);
  store.SetMergeLeftoversTold(now);
}

void Categorisation::IconLoadFailed() {
  app_.ShowMessageBox(kIconLoadFailed, kNoticeCaption, mb::kOk | mb::kIconExclamation);
}

void Categorisation::BuildCategoryTree() {
  if (!view_) return;
  ui::TreeView& tree = view_->tree;
  ui::ImageList& images = view_->icons;
  StartMenuPaths paths = Paths();
  FolderRoutines folders(services_.fs, paths);

  tree.BeginUpdate();
  tree.Clear();
  ui::TreeNode* root = tree.Add(nullptr, kRootNodeText);
  CategoryStore store = Store();
  IconHolder holder;
  // An icon name is a file in the icon folder; one that would lead out of
  // it is not loaded.
  int failed = 0;
  auto load = [&](const std::string& name) {
    std::string path = IconPath(services_.system, name);
    if (!IsPlainEntryName(name) || !holder.Load(services_.icons, path)) ++failed;
    return path;
  };
  load(store.LabelIcon(0));
  images.Clear();
  int index = AddIcon(images, holder);
  root->SetAllImageIndices(index < 0 ? 0 : index);

  int n = store.CategoryCount();
  for (int k = 1; k <= n; ++k) {
    // A LabelNum beyond the labels present makes no categories of nothing.
    if (!store.HasLabel(k)) continue;
    std::string name = store.Label(k);
    ui::TreeNode* node = tree.Add(root, name);
    node->SetData(k);
    std::string icon_name = store.LabelIcon(k);
    std::string icon_path = load(icon_name);
    index = AddIcon(images, holder);
    node->SetAllImageIndices(index < 0 ? 0 : index);
    // A name that would lead out of the Programs folder is shown, but no
    // folder is made or written for it.
    auto folder = CategoryFolder(paths, name);
    if (!folder || !services_.fs.ForceFolders(*folder)) continue;
    if (IsPlainEntryName(icon_name)) folders.WriteCategoryIconFile(*folder, icon_path);
  }
  tree.EndUpdate();
  // One notice a start, however many failed.
  if (failed == 1)
    IconLoadFailed();
  else if (failed > 1)
    app_.ShowMessageBox(IconsFailedText(failed), kNoticeCaption, mb::kOk | mb::kIconExclamation);
}

std::string IconsFailedText(int count) {
  return "有 " + std::to_string(count) + " 个图标加载失败！稍后可重新设置程序分类的相关图标。";
}

void Categorisation::ExpandTree() {
  if (view_) view_->tree.FullExpand();
}

void Categorisation::ListFolder(const std::string& folder) {
  ui::ShellListView& list = view_->list;
  list.Clear();
  list.SetRoot(folder);
  list.Refresh();
}

void Categorisation::ListCommonPrograms() {
  if (view_) ListFolder(Paths().common_programs);
}

void Categorisation::ShowCategory() {
  if (!view_) return;
  ui::TreeView& tree = view_->tree;
  ui::TreeNode* node = tree.Selected();
  if (!node) return;
  tree.SetReadOnly(true);
  StartMenuPaths paths = Paths();
  if (node->Text() == kRootNodeText) {
    tree.FullExpand();
    ListFolder(paths.common_programs);
    return;
  }
  // A category whose name leads outside shows an empty list.
  ListFolder(CategoryFolder(paths, node->Text()).value_or(std::string()));
}

void Categorisation::ShellListViewFenleiBeginListing() { listing_labels_ = Store().Labels(); }

void Categorisation::ShellListViewFenleiAddFolder(const ShellItem& item, bool& can_add) {
  if (std::find(listing_labels_.begin(), listing_labels_.end(), item.display_name) !=
      listing_labels_.end())
    can_add = false;
}

bool Categorisation::ModalFormOpen() const {
  const auto& forms = app_.Forms();
  return std::any_of(forms.begin(), forms.end(), [](ui::Form* f) { return f->Modal(); });
}

void Categorisation::TimerDetectTimer() {
  if (!view_) return;
  CategoryStore store = Store();
  bool grown = Folders().NewEntriesSince(store);
  // Before the start-up pass has recorded the counts, or over another
  // dialog, a tick only counts.
  if (!grown || view_->window.Visible() || !counts_recorded_ || ModalFormOpen()) return;
  view_->detect.SetEnabled(false);
  TFrmtx reminder(nullptr);
  reminder.OnClassifyNow = [this] { ClassifyNow(); };
  services_.system.Beep(0);
  reminder.ShowModal();
}

void Categorisation::ClassifyNow() {
  FolderRoutines folders = Folders();
  last_merge_ = folders.MergeIntoCommonPrograms();
  CategoryStore store = Store();
  folders.RecordEntryCounts(store);
  ReportMerge();
  if (view_) view_->window.Show();
}

void Categorisation::TimerJqTimer() {
  if (!view_ || Store().TipsDismissed() || !view_->window.Showing() || ModalFormOpen()) return;
  view_->tips.SetEnabled(false);
  TFrmJq tips(nullptr);
  tips.OnDismissForGood = [this] { Store().DismissTips(); };
  tips.ShowModal();
}

}  // namespace corvane::categories
