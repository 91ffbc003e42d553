// Program categorisation on the main window: the category start-up pass,
// the category tree and the program list on the All Programs panel, the
// detection of new Start-menu entries with its reminder, and the tips.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "categories/category_store.h"
#include "categories/folder_routines.h"
#include "categories/start_menu.h"
#include "core/filesystem.h"
#include "core/profile.h"
#include "core/shell_folders.h"
#include "core/system.h"
#include "ui/application.h"

namespace corvane::categories {

inline constexpr char kNoticeCaption[] = "提醒...";
inline constexpr char kIconLoadFailed[] = "图标加载失败！稍后可重新设置程序分类的相关图标。";

struct CategoryServices {
  FileSystem& fs;
  ProfileStore& profile;
  SystemServices& system;
  ShellFolders& shell;
  IconFiles& icons;
};

// The icon a category node is given: the last icon file that loaded. A
// failed load leaves what was there.
class IconHolder {
 public:
  bool Load(IconFiles& icons, const std::string& path);
  bool Empty() const { return path_.empty(); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

class Categorisation {
 public:
  Categorisation(ui::Application& app, CategoryServices services);
  ~Categorisation();
  Categorisation(const Categorisation&) = delete;
  Categorisation& operator=(const Categorisation&) = delete;

  // Fills the main window's creation and showing steps that are ours.
  void FillSteps(app::TFrmMain::Steps& steps);
  // Takes over the tree, the list and the two timers of the main window.
  void Attach(app::TFrmMain& form);

  // Creation.
  void ClearDeletedNames() { deleted_names_.clear(); }
  void DerivePaths();
  // BuildCategoryTree, the merge, the counts, the icon dialog's folder.
  void StartupPass();
  void BuildCategoryTree();
  // Showing.
  void ExpandTree();
  void ListCommonPrograms();

  // Handlers.
  void ShowCategory();  // TrVewFenleiClick
  void ShellListViewFenleiBeginListing();
  void ShellListViewFenleiAddFolder(const ShellItem& item, bool& can_add);
  void TimerDetectTimer();
  void ClassifyNow();  // the reminder's "马上分类"
  void TimerJqTimer();

  // For the category operations: paths built afresh (the user name is asked
  // each time), the routines and the store.
  StartMenuPaths Paths();
  FolderRoutines Folders() { return FolderRoutines(services_.fs, Paths()); }
  CategoryStore Store();
  // The names of categories deleted in this run, run together.
  std::string& DeletedNames() { return deleted_names_; }
  // What the last merge left in its sources.
  const MoveReport& LastMerge() const { return last_merge_; }

 private:
  // The list shows folder, or nothing at all when folder is empty.
  void ListFolder(const std::string& folder);
  void IconLoadFailed();
  bool ModalFormOpen() const;

  ui::Application& app_;
  CategoryServices services_;
  app::TFrmMain* form_ = nullptr;
  std::string drive_root_;
  std::string deleted_names_;
  std::vector<std::string> listing_labels_;
  MoveReport last_merge_;
  bool counts_recorded_ = false;
};

}  // namespace corvane::categories
