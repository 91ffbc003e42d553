#include "categories/categorisation.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "categories/frm_jiqiao.h"
#include "categories/frm_tixing.h"
#include "core/text.h"
#include "ui/list_view.h"
#include "ui/tree_view.h"

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
    : app_(app), services_(services) {}

Categorisation::~Categorisation() {
  // When the window outlives us, nothing of ours may be called from it.
  const auto& forms = app_.Forms();
  if (!form_ || std::find(forms.begin(), forms.end(), form_) == forms.end()) return;
  form_->TrVewFenlei->OnClick = nullptr;
  form_->ShellListViewFenlei->OnBeginListing = nullptr;
  form_->ShellListViewFenlei->OnAddFolder = nullptr;
  form_->ShellListViewFenlei->SetShellFolders(nullptr);
  form_->TimerDetect->OnTimer = nullptr;
  form_->TimerJq->OnTimer = nullptr;
  for (ui::MenuItem* item : {form_->MenuNew, form_->MenuDel, form_->MenuChangeIcon, form_->MenuRename})
    item->OnClick = nullptr;
  form_->TrVewFenlei->OnEdited = nullptr;
  form_->TrVewFenlei->OnDragOver = nullptr;
  form_->TrVewFenlei->OnDragDrop = nullptr;
  form_->ShellListViewFenlei->OnMouseDown = nullptr;
}

void Categorisation::FillSteps(app::TFrmMain::Steps& steps) {
  steps.clear_deleted_categories = [this](app::TFrmMain& f) {
    Attach(f);
    ClearDeletedNames();
  };
  steps.derive_paths = [this](app::TFrmMain& f) {
    Attach(f);
    DerivePaths();
  };
  steps.category_startup = [this](app::TFrmMain& f) {
    Attach(f);
    StartupPass();
  };
  steps.expand_tree = [this](app::TFrmMain&) { ExpandTree(); };
  steps.refresh_program_list = [this](app::TFrmMain&) { ListCommonPrograms(); };
}

void Categorisation::Attach(app::TFrmMain& form) {
  if (form_ == &form) return;
  form_ = &form;
  form.TrVewFenlei->OnClick = [this](ui::Control&) { ShowCategory(); };
  ui::ShellListView* list = form.ShellListViewFenlei;
  list->SetShellFolders(&services_.shell);
  list->OnBeginListing = [this](ui::ShellListView&) { ShellListViewFenleiBeginListing(); };
  list->OnAddFolder = [this](ui::ShellListView&, const ShellItem& item, bool& can_add) {
    ShellListViewFenleiAddFolder(item, can_add);
  };
  form.TimerDetect->OnTimer = [this](ui::Timer&) { TimerDetectTimer(); };
  form.TimerJq->OnTimer = [this](ui::Timer&) { TimerJqTimer(); };
  form.MenuNew->OnClick = [this](ui::MenuItem&) { MenuNewClick(); };
  form.MenuDel->OnClick = [this](ui::MenuItem&) { MenuDelClick(); };
  form.MenuChangeIcon->OnClick = [this](ui::MenuItem&) { MenuChangeIconClick(); };
  form.MenuRename->OnClick = [this](ui::MenuItem&) { MenuRenameClick(); };
  form.TrVewFenlei->OnEdited = [this](ui::TreeView&, ui::TreeNode* node, std::string& name) {
    TrVewFenleiEdited(node, name);
  };
  // ShellListViewFenleiMouseDown: the left button arms a drag.
  list->OnMouseDown = [list](ui::Control&, ui::MouseButton b, unsigned, int, int) {
    if (b == ui::MouseButton::kLeft) list->BeginDrag();
  };
  form.TrVewFenlei->OnDragOver = [](ui::Control&, ui::Control& source, int, int, bool& accept) {
    accept = dynamic_cast<ui::ShellListView*>(&source) != nullptr;
  };
  form.TrVewFenlei->OnDragDrop = [this](ui::Control&, ui::Control&, int x, int y) {
    TrVewFenleiDragDrop(x, y);
  };
}

void Categorisation::DerivePaths() { drive_root_ = DriveRoot(services_.system); }

StartMenuPaths Categorisation::Paths() {
  if (drive_root_.empty()) DerivePaths();
  return StartMenuPathsFor(drive_root_, CurrentUserName(services_.system));
}

CategoryStore Categorisation::Store() {
  return CategoryStore(services_.profile, StorePath(services_.system));
}

void Categorisation::StartupPass() {
  BuildCategoryTree();
  FolderRoutines folders = Folders();
  last_merge_ = folders.MergeIntoCommonPrograms();
  CategoryStore store = Store();
  folders.RecordEntryCounts(store);
  counts_recorded_ = true;
  if (form_) form_->OpenPictureDialogIcon->SetInitialDir(IconDialogFolder(services_.system));
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
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (const std::string& line : lines)
    for (unsigned char c : line + '\n') hash = (hash ^ c) * 1099511628211ull;
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
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
  if (!form_) return;
  ui::TreeView& tree = *form_->TrVewFenlei;
  ui::ImageList& images = *form_->ImgLstFenlei;
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
  if (form_) form_->TrVewFenlei->FullExpand();
}

void Categorisation::ListFolder(const std::string& folder) {
  ui::ShellListView& list = *form_->ShellListViewFenlei;
  list.Clear();
  list.SetRoot(folder);
  list.Refresh();
}

void Categorisation::ListCommonPrograms() {
  if (form_) ListFolder(Paths().common_programs);
}

void Categorisation::ShowCategory() {
  if (!form_) return;
  ui::TreeView& tree = *form_->TrVewFenlei;
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
  if (!form_) return;
  CategoryStore store = Store();
  bool grown = Folders().NewEntriesSince(store);
  // Before the start-up pass has recorded the counts, or over another
  // dialog, a tick only counts.
  if (!grown || form_->Visible() || !counts_recorded_ || ModalFormOpen()) return;
  form_->TimerDetect->SetEnabled(false);
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
  if (form_) form_->Show();
}

void Categorisation::TimerJqTimer() {
  if (!form_ || Store().TipsDismissed() || !form_->Showing() || ModalFormOpen()) return;
  form_->TimerJq->SetEnabled(false);
  TFrmJq tips(nullptr);
  tips.OnDismissForGood = [this] { Store().DismissTips(); };
  tips.ShowModal();
}

}  // namespace corvane::categories
