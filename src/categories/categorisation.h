// Program categorisation on the main window: the category start-up pass,
// the category tree and the program list on the All Programs panel, the
// detection of new Start-menu entries with its reminder, and the tips.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "categories/category_store.h"
#include "categories/folder_routines.h"
#include "categories/start_menu.h"
#include "core/cached_profile.h"
#include "core/filesystem.h"
#include "core/profile.h"
#include "core/shell_folders.h"
#include "core/system.h"
#include "ui/application.h"
#include "ui/components.h"
#include "ui/connections.h"
#include "ui/form.h"
#include "ui/list_view.h"
#include "ui/tree_view.h"

namespace corvane::categories {

inline constexpr char kNoticeCaption[] = "提醒...";
inline constexpr char kIconLoadFailed[] = "图标加载失败！稍后可重新设置程序分类的相关图标。";
inline constexpr char kCannotDelete[] = "此类别不能删除！";
inline constexpr char kCategoryHoldsPrograms[] =
    "此类别下有程序，建议先将程序移到其它类别下再进行此操作！";
inline constexpr char kConfirmDelete[] = "您确定要删除此分类吗？";
inline constexpr char kProtectedEntry[] = "Windows自带文件或文件夹，不能移动！";
inline constexpr char kSourceNotRemoved[] = "对不起，不能删除源条目，\r您可以自行手动删除。";
// Ours, for what would otherwise go unsaid.
inline constexpr char kFolderNotRemoved[] =
    "此类别的文件夹中有无法移走的项目，分类未删除。";
inline constexpr char kNameEmpty[] = "分类名称不能为空！";
inline constexpr char kNameInvalid[] =
    "分类名称不能含有 \\ / : * ? \" < > | 等字符，也不能以点或空格结尾！";
// A name classify.ini would not give back as it is.
inline constexpr char kNameNotStorable[] =
    "分类名称不能以空格开头或结尾，也不能用引号括起来！";
inline constexpr char kCannotRename[] = "此类别不能重命名！";
inline constexpr char kStoreNotWritten[] = "分类设置无法写入 classify.ini，此项更改未完成！";
inline constexpr char kFolderNotMade[] = "分类文件夹无法建立，未新建分类！";
inline constexpr char kCategoryListFull[] = "分类已达上限，不能再新建分类！";
inline constexpr char kIconNotCopied[] = "图标文件无法复制到图标文件夹，图标未更改！";
// More than one icon failed at start: one notice, naming how many.
std::string IconsFailedText(int count);
inline constexpr char kNameTaken[] = "已有同名的分类、程序或文件夹，请换一个名称！";
inline constexpr char kRenameFailed[] = "分类文件夹无法重命名，分类名称未更改！";
inline constexpr char kEntryNotMoved[] =
    "有条目未能复制到目标分类，已留在原处，没有删除。";
inline constexpr char kEntriesPartlyMoved[] =
    "有条目未能复制到目标分类，已留在原处，没有删除；\r另有条目已复制，但不能删除源条目，您可以自行手动删除。";
// The merge's leftovers: a heading, then one line per entry with the reason.
inline constexpr char kMergeLeftovers[] = "以下条目未能移入“所有程序”，仍留在原处：";
inline constexpr char kLeftNotCopied[] = "（未能复制）";
inline constexpr char kLeftSkipped[] = "（链接或只读、隐藏、系统文件夹，不移动）";
inline constexpr char kLeftNotRemoved[] = "（已复制，但不能删除源条目，您可以自行手动删除）";
// At most this many lines are listed; then how many more.
inline constexpr int kMergeLeftoverLines = 12;

// The text of the merge's notice, or "" when nothing in report is news:
// entries in reported are left out, and those listed are added to it.
std::string MergeLeftoverText(const MoveReport& report, std::vector<std::string>& reported);
// What identifies a merge's leftovers with their reasons, whatever their
// order ("" when there are none): the same ones are told once, not at every
// start.
std::string MergeLeftoverFingerprint(const MoveReport& report);

// Entries of Windows' own that a drop never moves.
bool IsProtectedName(const std::string& display_name);

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

// The new index of the holder's icon in the list, or -1.
int AddIcon(ui::ImageList& images, const IconHolder& holder);

// The controls and timers of the main window that the categorisation takes
// over.
struct CategoryView {
  ui::Form& window;                    // the reminder shows it; hidden, it gates the ticks
  ui::TreeView& tree;                  // TrVewFenlei
  ui::ShellListView& list;             // ShellListViewFenlei
  ui::ImageList& icons;                // ImgLstFenlei, the tree's images
  ui::OpenPictureDialog& icon_dialog;  // OpenPictureDialogIcon
  // The tree's menu PopMenuSy.
  ui::MenuItem& new_item;
  ui::MenuItem& delete_item;
  ui::MenuItem& change_icon_item;
  ui::MenuItem& rename_item;
  ui::Timer& detect;  // TimerDetect
  ui::Timer& tips;    // TimerJq
};

class Categorisation {
 public:
  Categorisation(ui::Application& app, CategoryServices services);
  ~Categorisation();
  Categorisation(const Categorisation&) = delete;
  Categorisation& operator=(const Categorisation&) = delete;

  // Takes over the tree, the list, the menu and the two timers; until then
  // the steps and handlers that need them do nothing.
  void Attach(const CategoryView& view);

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
  // The tree's menu.
  void MenuNewClick();
  void MenuDelClick();
  void MenuRenameClick();
  void TrVewFenleiEdited(ui::TreeNode* node, std::string& name);
  void MenuChangeIconClick();
  // A program from the list dropped at a point of the tree.
  void TrVewFenleiDragDrop(int x, int y);

  // For the category operations: paths built afresh (the user name is asked
  // each time), the routines and the store.
  StartMenuPaths Paths();
  FolderRoutines Folders() { return FolderRoutines(services_.fs, Paths()); }
  CategoryStore Store();
  // The names of categories deleted in this run, run together.
  std::string& DeletedNames() { return deleted_names_; }
  // What the last merge left in its sources.
  const MoveReport& LastMerge() const { return last_merge_; }
  // Tells the user, once in a run for each entry, what the last merge left.
  void ReportMerge();

 private:
  // The list shows folder, or nothing at all when folder is empty.
  void ListFolder(const std::string& folder);
  void IconLoadFailed();
  bool ModalFormOpen() const;
  void Notice(const char* text);
  // The store's index of a category node: the one kept on the node while
  // the store still has that name there, else found by name; 0 for none.
  int IndexOf(CategoryStore& store, ui::TreeNode* node);
  // The folder a node stands for, or nothing when its name leads outside.
  std::optional<std::string> FolderOf(ui::TreeNode* node);
  // Why a category may not take the name, or null.
  const char* RenameRefusal(ui::TreeNode* node, const std::string& name);
  // Removes a deleted category's folder, moving what the list did not
  // show up into the Programs folder; false when the folder stays.
  bool RemoveCategoryFolder(const std::string& folder);

  ui::Application& app_;
  CategoryServices services_;
  // The store's reads, kept while classify.ini is as they found it: the
  // ticks read the same values every few seconds.
  CachedProfile store_reads_;
  std::optional<CategoryView> view_;
  std::string drive_root_;
  std::string deleted_names_;
  std::vector<std::string> listing_labels_;
  MoveReport last_merge_;
  std::vector<std::string> reported_leftovers_;
  bool counts_recorded_ = false;
  // Last, so that the wiring goes before what the handlers use.
  ui::Connections wiring_;
};

}  // namespace corvane::categories
