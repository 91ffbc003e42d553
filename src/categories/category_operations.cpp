// The tree's menu (new, delete, rename, change icon) and the drop of a
// program onto a category. Each keeps the category folder, classify.ini and
// the tree node in step; none of them removes an entry of the user's that
// has not first been copied whole to where it is going.
#include <algorithm>

#include "categories/categorisation.h"
#include "core/text.h"
#include "ui/list_view.h"
#include "ui/tree_view.h"

namespace corvane::categories {
namespace {

constexpr const char* kProtectedNames[] = {"附件", "管理工具", "启动", "游戏"};

ui::TreeNode* RootOf(ui::TreeView& tree) { return tree.TopCount() ? tree.TopItem(0) : nullptr; }

}  // namespace

std::optional<std::string> Categorisation::FolderOf(ui::TreeNode* node) {
  StartMenuPaths paths = Paths();
  if (node->Text() == kRootNodeText) return paths.common_programs;
  return CategoryFolder(paths, node->Text());
}

int Categorisation::IndexOf(CategoryStore& store, ui::TreeNode* node) {
  int k = node->Data();
  if (k > 0 && store.HasLabel(k) && store.Label(k) == node->Text()) return k;
  return store.Find(node->Text());
}

void Categorisation::Notice(const char* text) {
  app_.ShowMessageBox(text, kNoticeCaption, mb::kOk | mb::kIconExclamation);
}

void Categorisation::MenuNewClick() {
  if (!view_) return;
  ui::TreeView& tree = view_->tree;
  ui::TreeNode* root = RootOf(tree);
  if (!root) return;
  CategoryStore store = Store();
  std::string bad_number;
  std::string name = store.NextNewName(deleted_names_, &bad_number);
  if (name.empty()) {
    app_.ShowMessageBox("'" + bad_number + "' is not a valid integer value", app_.Title(),
                        mb::kOk | mb::kIconError);
    return;
  }
  int k = store.NextIndex();
  if (k == 0 || !SurvivesStore(name)) {
    Notice(kCategoryListFull);
    return;
  }
  FolderRoutines folders = Folders();
  std::string folder = folders.Paths().common_programs + "\\" + name;
  bool made = false;
  if (!services_.fs.FolderExists(folder)) {
    made = services_.fs.ForceFolders(folder) && services_.fs.FolderExists(folder);
    if (!made) {
      Notice(kFolderNotMade);
      return;
    }
  }
  // The new one takes the icon of the last category present.
  if (!store.Append(name, store.LabelIcon(k - 1))) {
    if (made) services_.fs.RemoveFolder(folder);
    Notice(kStoreNotWritten);
    return;
  }
  store.WriteCommonProgramsCount(folders.CountEntries(folders.Paths().common_programs));

  ui::TreeNode* before = tree.AllNodes().back();
  ui::TreeNode* node = tree.Add(root, name);
  node->SetData(k);
  node->SetImageIndex(before->ImageIndex());
  node->SetSelectedIndex(before->SelectedIndex());
  node->SetStateIndex(before->StateIndex());
  tree.SetSelected(node);
}

void Categorisation::MenuDelClick() {
  if (!view_) return;
  ui::TreeView& tree = view_->tree;
  ui::TreeNode* node = tree.Selected();
  if (!node) return;
  ui::TreeNode* root = RootOf(tree);
  if (node == root) {
    Notice(kCannotDelete);
    return;
  }
  const std::string name = node->Text();
  // A name leading outside has no folder of ours: only its entry goes.
  std::optional<std::string> folder = CategoryFolder(Paths(), name);
  if (folder) {
    std::vector<std::string> labels = Store().Labels();
    for (const ShellItem& item : services_.shell.Items(*folder)) {
      if (std::find(labels.begin(), labels.end(), item.display_name) != labels.end()) continue;
      Notice(kCategoryHoldsPrograms);
      return;
    }
  }
  if (app_.ShowMessageBox(kConfirmDelete, kNoticeCaption, mb::kOkCancel | mb::kIconQuestion) !=
      mb::kIdOk)
    return;

  tree.SetSelected(root);
  tree.FullExpand();
  tree.Invalidate();
  ListCommonPrograms();
  if (folder && !RemoveCategoryFolder(*folder)) {
    Notice(kFolderNotRemoved);
    return;
  }
  CategoryStore store = Store();
  // With no entry of that name, every other entry stays as it is.
  int k = IndexOf(store, node);
  if (k > 0 && !store.Remove(k)) {
    // The store still names it: it stays a category, its folder made again.
    if (folder) services_.fs.ForceFolders(*folder);
    Notice(kStoreNotWritten);
    return;
  }
  // The categories after it moved down one in the store.
  if (k > 0)
    for (ui::TreeNode* other : tree.AllNodes())
      if (other != node && other->Data() > k) other->SetData(other->Data() - 1);
  deleted_names_ += name;
  FolderRoutines folders = Folders();
  store.WriteCommonProgramsCount(folders.CountEntries(folders.Paths().common_programs));
  tree.Delete(node);
}

bool Categorisation::RemoveCategoryFolder(const std::string& folder) {
  FileSystem& fs = services_.fs;
  if (!fs.FolderExists(folder)) return true;
  // Hidden alone: the read-only mark of the icon file would keep it.
  fs.SetAttributes(folder, attr::kHidden);
  std::string ini = folder + "\\" + kDesktopIni;
  if (fs.FileExists(ini)) {
    fs.SetAttributes(ini, attr::kNormal);
    fs.Delete(ini);
  }
  // What the list does not show (hidden files, folders named like a
  // category) is not thrown away: it goes up into the Programs folder,
  // unless something of that name is there already. An icon file that
  // would not go keeps the folder; it is never the root's.
  FolderRoutines folders = Folders();
  const std::string& programs = folders.Paths().common_programs;
  for (const FileEntry& e : fs.List(folder, "*.*")) {
    if (e.IsDotEntry() || text::SameText(e.name, kDesktopIni) ||
        fs.Exists(programs + "\\" + e.name))
      continue;
    folders.MoveEntry(folder + "\\" + e.name, programs);
  }
  fs.RemoveFolder(folder);
  if (!fs.FolderExists(folder)) return true;
  // It stays a category: its icon file back as it was.
  std::optional<std::string> icon;
  CategoryStore store = Store();
  for (int k = 1, n = store.CategoryCount(); k <= n; ++k)
    if (store.HasLabel(k) && CategoryFolder(folders.Paths(), store.Label(k)) == folder)
      icon = store.LabelIcon(k);
  if (icon && IsPlainEntryName(*icon))
    folders.WriteCategoryIconFile(folder, IconPath(services_.system, *icon));
  else
    fs.SetAttributes(folder, attr::kDirectory);
  return false;
}

void Categorisation::MenuRenameClick() {
  if (!view_) return;
  ui::TreeView& tree = view_->tree;
  ui::TreeNode* node = tree.Selected();
  if (!node || node == RootOf(tree) || node->Text() == kRootNodeText) return;
  tree.SetReadOnly(false);
  tree.EditLabel(node);
}

const char* Categorisation::RenameRefusal(ui::TreeNode* node, const std::string& name) {
  StartMenuPaths paths = Paths();
  std::optional<std::string> from = CategoryFolder(paths, node->Text());
  std::optional<std::string> to = CategoryFolder(paths, name);
  if (text::Trim(name).empty()) return kNameEmpty;
  if (!from || !to) return kNameInvalid;
  if (!SurvivesStore(name)) return kNameNotStorable;
  if (text::SameText(name, kRootNodeText)) return kNameTaken;
  for (const std::string& label : Store().Labels())
    if (text::SameText(label, name) && label != node->Text()) return kNameTaken;
  // Another program's folder or shortcut of that name is not ours to take.
  if (!text::SameText(name, node->Text()) && services_.fs.Exists(*to)) return kNameTaken;
  return nullptr;
}

void Categorisation::TrVewFenleiEdited(ui::TreeNode* node, std::string& name) {
  if (!view_ || !node) return;
  ui::TreeView& tree = view_->tree;
  tree.SetReadOnly(true);
  const std::string old_name = node->Text();
  if (name == old_name) return;
  // Every way into an edit ends here: the root keeps its name.
  if (node == RootOf(tree) || old_name == kRootNodeText) {
    Notice(kCannotRename);
    name = old_name;
    return;
  }
  if (const char* refusal = RenameRefusal(node, name)) {
    Notice(refusal);
    name = old_name;
    return;
  }
  StartMenuPaths paths = Paths();
  std::string from = *CategoryFolder(paths, old_name), to = *CategoryFolder(paths, name);
  FileSystem& fs = services_.fs;
  // A missing folder is made afresh under the new name by the next start.
  if (fs.FolderExists(from) && (!fs.Rename(from, to) || !fs.FolderExists(to))) {
    Notice(kRenameFailed);
    name = old_name;
    return;
  }
  CategoryStore store = Store();
  int k = IndexOf(store, node);
  if (k > 0 && !store.SetLabel(k, name)) {
    // The folder goes back to the name the store still has.
    if (fs.FolderExists(to)) fs.Rename(to, from);
    Notice(kStoreNotWritten);
    name = old_name;
    return;
  }
  tree.SetSelected(node);
  tree.SetReadOnly(true);
  ListCommonPrograms();
}

void Categorisation::MenuChangeIconClick() {
  if (!view_) return;
  ui::TreeView& tree = view_->tree;
  ui::TreeNode* node = tree.Selected();
  if (!node) return;
  ui::OpenPictureDialog& dialog = view_->icon_dialog;
  if (!dialog.Execute()) return;
  const std::string chosen = dialog.FileName();
  const std::string chosen_folder = text::ExcludeTrailingBackslash(text::ExtractFilePath(chosen));
  std::string name = text::ExtractFileName(chosen);
  if (!tree.Owns(node) || !IsPlainEntryName(name)) return;

  CategoryStore store = Store();
  int k = 0;
  if (node != RootOf(tree)) {
    k = IndexOf(store, node);
    // A node the store no longer names gets no entry of someone else's.
    if (k == 0) {
      Notice(kStoreNotWritten);
      return;
    }
  }
  IconHolder holder;
  if (!holder.Load(services_.icons, chosen)) IconLoadFailed();
  const int old_index = node->ImageIndex();
  int index = AddIcon(view_->icons, holder);
  node->SetAllImageIndices(index < 0 ? 0 : index);

  FileSystem& fs = services_.fs;
  std::string icon_folder = IconDialogFolder(services_.system);
  if (chosen_folder != icon_folder) {
    for (const FileEntry& e : fs.List(icon_folder, "*.ico")) {
      if (FolderRoutines::IsPlainFolder(e) || e.name != name) continue;
      name += ".ico";
      break;
    }
    if (!fs.Copy(chosen, icon_folder + "\\" + name)) {
      node->SetAllImageIndices(old_index);
      Notice(kIconNotCopied);
      return;
    }
  }
  if (!store.SetLabelIcon(k, name)) {
    node->SetAllImageIndices(old_index);
    Notice(kStoreNotWritten);
    return;
  }
  if (std::optional<std::string> target = FolderOf(node))
    Folders().WriteCategoryIconFile(*target, icon_folder + "\\" + name);
}

bool IsProtectedName(const std::string& display_name) {
  return std::any_of(std::begin(kProtectedNames), std::end(kProtectedNames),
                     [&](const char* p) { return display_name == p; });
}

void Categorisation::TrVewFenleiDragDrop(int x, int y) {
  if (!view_) return;
  const ShellItem* entry = view_->list.FocusedEntry();
  if (!entry) return;
  if (IsProtectedName(entry->display_name)) {
    Notice(kProtectedEntry);
    return;
  }
  ui::TreeView& tree = view_->tree;
  ui::TreeNode* node = tree.NodeAt({x, y});
  if (!node) return;
  std::optional<std::string> target = FolderOf(node);
  const std::string parent = text::ExcludeTrailingBackslash(text::ExtractFilePath(entry->path));
  if (!target || parent == *target) return;

  FolderRoutines folders = Folders();
  if (!services_.fs.ForceFolders(*target) || !services_.fs.FolderExists(*target)) {
    Notice(kEntryNotMoved);
    return;
  }
  MoveReport report = folders.MoveEntry(entry->path, *target);
  // Only what was copied whole and checked may be left to the user to delete.
  bool left_uncopied = !report.not_copied.empty() || !report.skipped.empty();
  if (left_uncopied && !report.not_removed.empty())
    Notice(kEntriesPartlyMoved);
  else if (left_uncopied)
    Notice(kEntryNotMoved);
  else if (!report.not_removed.empty())
    app_.ShowMessageBox(kSourceNotRemoved, kNoticeCaption, mb::kOk | mb::kIconError);
  else if (!report.stayed.empty())
    Notice(kEntryNotMoved);

  tree.SetFocus();
  tree.SetSelected(node);
  ShowCategory();
  CategoryStore store = Store();
  store.WriteCommonCounts(folders.CountEntries(folders.Paths().common_start_menu),
                          folders.CountEntries(folders.Paths().common_programs));
}

}  // namespace corvane::categories
