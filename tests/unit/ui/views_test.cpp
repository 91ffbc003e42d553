#include <gtest/gtest.h>

#include "platform/memory/memory_filesystem.h"
#include "platform/memory/memory_shell_folders.h"
#include "test_support.h"
#include "ui/form.h"
#include "ui/list_view.h"
#include "ui/tree_view.h"

namespace corvane::ui {
namespace {

using testing::AppFixture;

std::vector<std::string> Texts(const TreeView& t) {
  std::vector<std::string> out;
  for (TreeNode* n : t.AllNodes()) out.push_back(std::string(n->Level(), '-') + n->Text());
  return out;
}

void Press(Control& c, int x, int y) {
  c.Perform(msg::kLButtonDown, msg::kMkLButton, PackPoint(x, y));
  c.Perform(msg::kLButtonUp, 0, PackPoint(x, y));
}

class TreeViewTest : public ::testing::Test {
 protected:
  TreeViewTest() : f(true) {
    form = std::make_unique<Form>(nullptr);
    tree = CreateControl<TreeView>(*form, form.get(), "Tree", Rect::FromBounds(0, 0, 200, 150));
    tree->OnClick = [this](Control&) { clicks.push_back(tree->Selected() ? tree->Selected()->Text() : "-"); };
    tree->OnChange = [this](TreeView&, TreeNode* n) { changes.push_back(n ? n->Text() : "-"); };
  }
  AppFixture f;
  std::unique_ptr<Form> form;
  TreeView* tree;
  std::vector<std::string> clicks, changes;
};

TEST_F(TreeViewTest, NodesKeepTheirOrderAndExpandingShowsTheirRows) {
  TreeNode* root = tree->Add(nullptr, "所有程序");
  tree->Add(root, "办公应用");
  TreeNode* b = tree->Add(root, "系统工具");
  tree->Add(b, "深处");
  tree->Add(nullptr, "second top");
  EXPECT_EQ(Texts(*tree), (std::vector<std::string>{"所有程序", "-办公应用", "-系统工具", "--深处",
                                                    "second top"}));
  EXPECT_EQ(tree->NodeAt({5, TreeView::kRowHeight + 1}), tree->TopItem(1)) << "collapsed";
  tree->FullExpand();
  EXPECT_TRUE(b->Expanded());
  EXPECT_EQ(tree->NodeAt({150, TreeView::kRowHeight * 3 + 2}), b->Item(0)) << "whole rows";
  EXPECT_EQ(tree->NodeAt({5, TreeView::kRowHeight * 5 + 2}), nullptr);
  EXPECT_EQ(tree->NodeRect(b), Rect::FromBounds(0, 2 * TreeView::kRowHeight, tree->ClientRect().Width(),
                                                TreeView::kRowHeight));
}

TEST_F(TreeViewTest, AClickSelectsTheRowUnderItAndEmptySpaceKeepsTheSelection) {
  TreeNode* root = tree->Add(nullptr, "所有程序");
  tree->Add(root, "办公应用");
  root->Expand();
  Press(*tree, 40, TreeView::kRowHeight + 3);
  Press(*tree, 40, 140);  // below the rows
  Press(*tree, 40, 2);
  EXPECT_EQ(clicks, (std::vector<std::string>{"办公应用", "办公应用", "所有程序"}));
  EXPECT_EQ(changes, (std::vector<std::string>{"办公应用", "所有程序"}));
  // A right press and the program's selection are no clicks.
  tree->Perform(msg::kRButtonDown, msg::kMkRButton, PackPoint(40, TreeView::kRowHeight + 3));
  tree->SetSelected(root->Item(0));
  EXPECT_EQ(clicks.size(), 3u);
  EXPECT_EQ(tree->Selected(), root->Item(0));
  tree->Delete(root->Item(0));
  EXPECT_EQ(tree->Selected(), nullptr);
  EXPECT_EQ(changes.back(), "-");
  tree->SetSelected(root);
  tree->Clear();
  EXPECT_EQ(tree->Selected(), nullptr);
  EXPECT_EQ(tree->TopCount(), 0);
}

TEST_F(TreeViewTest, ChangesInsideAnUpdateReachTheWindowOnce) {
  tree->Handle();
  f.backend.ClearSyncs();
  tree->BeginUpdate();
  TreeNode* root = tree->Add(nullptr, "所有程序");
  for (int i = 0; i < 20; ++i) tree->Add(root, "c" + std::to_string(i))->SetAllImageIndices(i);
  tree->FullExpand();
  EXPECT_TRUE(f.backend.SyncsOf("Tree").empty());
  tree->EndUpdate();
  EXPECT_EQ(f.backend.SyncsOf("Tree"), std::vector<Aspect>{Aspect::kItems});
  TreeNode* c3 = root->Item(3);
  EXPECT_EQ(c3->ImageIndex(), 3);
  EXPECT_EQ(c3->SelectedIndex(), 3);
  EXPECT_EQ(c3->StateIndex(), 3);
}

TEST_F(TreeViewTest, LabelsAreEditedOnlyWhenTheViewIsNotReadOnly) {
  TreeNode* node = tree->Add(nullptr, "旧名");
  std::vector<std::string> seen;
  tree->OnEdited = [&](TreeView&, TreeNode* n, std::string& text) {
    seen.push_back(n->Text() + ">" + text);
    text += "!";
  };
  tree->SetReadOnly(true);
  tree->EditLabel(node);
  EXPECT_EQ(tree->Editing(), nullptr);
  tree->SetReadOnly(false);
  tree->EditLabel(node);
  EXPECT_EQ(tree->Editing(), node);
  EXPECT_EQ(tree->EditEndedFromWindow(node, nullptr), nullptr) << "Escape";
  EXPECT_TRUE(seen.empty());
  std::string typed = "新名";
  const std::string* now = tree->EditEndedFromWindow(node, &typed);
  ASSERT_NE(now, nullptr);
  EXPECT_EQ(*now, "新名!");
  EXPECT_EQ(seen, (std::vector<std::string>{"旧名>新名"})) << "the node still had its old text";
  EXPECT_EQ(node->Text(), "新名!");
}

// --- the shell list view -----------------------------------------------------------

class ShellListTest : public ::testing::Test {
 protected:
  ShellListTest() {
    form = std::make_unique<Form>(nullptr);
    list = CreateControl<ShellListView>(*form, form.get(), "List", Rect::FromBounds(0, 0, 316, 200));
    list->SetShellFolders(&shell);
    fs.AddFile("C:\\p\\b.lnk", "b");
    fs.AddFile("C:\\p\\A.lnk", "a");
    fs.AddFile("C:\\p\\readme.txt");
    fs.AddFile("C:\\p\\Desktop.ini", "", attr::kHidden | attr::kSystem);
    fs.AddFolder("C:\\p\\zeta");
    fs.AddFolder("C:\\p\\Alpha");
    fs.AddFolder("C:\\p\\secret", attr::kDirectory | attr::kHidden);
  }
  std::vector<std::string> Shown() const {
    std::vector<std::string> out;
    for (const ListItem& i : list->Items()) out.push_back(i.caption);
    return out;
  }
  AppFixture f;
  MemoryFileSystem fs;
  MemoryShellFolders shell{fs};
  std::unique_ptr<Form> form;
  ShellListView* list;
};

TEST_F(ShellListTest, FoldersComeFirstThenTheShellsNameOrderWithoutHiddenEntries) {
  list->SetRoot("C:\\p");
  EXPECT_TRUE(list->Items().empty()) << "listed by the refresh";
  list->Refresh();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Alpha", "zeta", "A", "b", "readme.txt"}));
  EXPECT_EQ(list->Entries()[2].path, "C:\\p\\A.lnk");
  // Icons come when an item is shown, each looked up once.
  EXPECT_TRUE(shell.icons_asked.empty()) << "a listing asks for names only";
  EXPECT_EQ(list->Items()[2].image, ListItem::kImageWhenShown);
  EXPECT_EQ(list->ShownImage(0), MemoryShellFolders::kFolderIcon);
  EXPECT_EQ(list->ShownImage(2), MemoryShellFolders::kFileIcon);
  EXPECT_EQ(list->ShownImage(2), MemoryShellFolders::kFileIcon);
  EXPECT_EQ(list->Items()[2].image, MemoryShellFolders::kFileIcon);
  EXPECT_EQ(list->Entries()[2].icon, MemoryShellFolders::kFileIcon);
  EXPECT_EQ(shell.icons_asked, (std::vector<std::string>{"C:\\p\\Alpha", "C:\\p\\A.lnk"}));
  EXPECT_EQ(list->ShownImage(99), -1);
  list->Clear();
  EXPECT_TRUE(list->Items().empty());
  EXPECT_EQ(list->Root(), "C:\\p");
}

TEST_F(ShellListTest, EveryListingBeginsOnceAndOffersEachEntry) {
  std::vector<std::string> log;
  list->OnBeginListing = [&](ShellListView&) { log.push_back("begin"); };
  list->OnAddFolder = [&](ShellListView&, const ShellItem& item, bool& can_add) {
    log.push_back(item.display_name);
    if (item.display_name == "b" || item.display_name == "zeta") can_add = false;
  };
  list->SetRoot("C:\\p");
  list->Refresh();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Alpha", "A", "readme.txt"}));
  EXPECT_EQ(std::count(log.begin(), log.end(), "begin"), 1);
  EXPECT_EQ(log.size(), 6u);
  list->SetRoot("C:\\missing");
  list->Refresh();
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(std::count(log.begin(), log.end(), "begin"), 2);
}

TEST_F(ShellListTest, ChangesInTheRootFolderRefreshTheListAndTheWatchFollowsTheRoot) {
  list->SetRoot("C:\\p");
  list->Refresh();
  EXPECT_EQ(f.backend.watched_folders(), std::vector<std::string>{"C:\\p"});
  fs.AddFile("C:\\p\\new.lnk");
  f.backend.FolderChanged("C:\\p\\sub");  // not the root: nothing
  EXPECT_EQ(Shown().size(), 5u);
  f.backend.FolderChanged("C:\\P");
  EXPECT_EQ(Shown().size(), 6u);
  list->SetRoot("C:\\q");
  EXPECT_EQ(f.backend.watched_folders(), std::vector<std::string>{"C:\\q"});
  list->SetAutoRefresh(false);
  EXPECT_TRUE(f.backend.watched_folders().empty());
  list->SetAutoRefresh(true);
  form.reset();
  EXPECT_TRUE(f.backend.watched_folders().empty()) << "the watch ends with the view";
}

TEST_F(ShellListTest, TheFocusStaysOnItsEntryAcrossARefresh) {
  list->SetRoot("C:\\p");
  list->Refresh();
  Press(*list, 5, ListView::kItemHeight * 3 + 2);  // "b"
  ASSERT_NE(list->FocusedEntry(), nullptr);
  EXPECT_EQ(list->FocusedEntry()->display_name, "b");
  fs.AddFile("C:\\p\\0.lnk");
  list->Refresh();
  EXPECT_EQ(list->FocusedEntry()->display_name, "b");
  EXPECT_EQ(list->ItemIndex(), list->ItemFocused());
  Press(*list, 300, 190);  // no item there
  EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(ShellListTest, ARenameGoesThroughTheShellAndKeepsTheShortcutsExtension) {
  list->SetRoot("C:\\p");
  list->Refresh();
  EXPECT_TRUE(list->EditedFromWindow(2, "甲"));
  EXPECT_EQ(list->Items()[2].caption, "甲");
  EXPECT_EQ(list->Entries()[2].path, "C:\\p\\甲.lnk");
  EXPECT_EQ(fs.ReadFile("C:\\p\\甲.lnk"), "a");
  EXPECT_FALSE(list->EditedFromWindow(3, "a\\b")) << "the shell refuses";
  EXPECT_FALSE(list->EditedFromWindow(3, "甲")) << "taken";
  list->SetReadOnly(true);
  EXPECT_FALSE(list->EditedFromWindow(3, "c"));
  EXPECT_TRUE(fs.Exists("C:\\p\\b.lnk"));
}

}  // namespace
}  // namespace corvane::ui
