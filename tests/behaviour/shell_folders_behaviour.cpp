#include <algorithm>

#include "platform_under_test.h"

namespace corvane::behaviour {
namespace {

using ShellFoldersBehaviour = PlatformTest;

const ShellItem* Named(const std::vector<ShellItem>& items, const std::string& name) {
  auto it = std::find_if(items.begin(), items.end(),
                         [&](const ShellItem& i) { return i.display_name == name; });
  return it == items.end() ? nullptr : &*it;
}

// A 16 x 16 icon of 32-bit pixels.
std::string SmallIcon() {
  auto le = [](std::uint32_t v, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
  };
  std::string image = le(40, 4) + le(16, 4) + le(32, 4) + le(1, 2) + le(32, 2) + le(0, 4) +
                      le(16 * 16 * 4 + 16 * 4, 4) + std::string(16, '\0');
  image += std::string(16 * 16 * 4, '\x7f') + std::string(16 * 4, '\0');
  return le(0, 2) + le(1, 2) + le(1, 2) + le(16, 1) + le(16, 1) + le(0, 2) + le(1, 2) + le(32, 2) +
         le(static_cast<std::uint32_t>(image.size()), 4) + le(22, 4) + image;
}

TEST_F(ShellFoldersBehaviour, AFolderShowsItsVisibleEntriesAndShortcutsWithoutTheirExtension) {
  ASSERT_TRUE(fs().WriteFile(Path("记事本.lnk"), "not really a link"));
  ASSERT_TRUE(fs().WriteFile(Path("Desktop.ini"), "x"));
  ASSERT_TRUE(fs().SetAttributes(Path("Desktop.ini"), attr::kHidden | attr::kSystem));
  ASSERT_TRUE(fs().CreateFolder(Path("附件")));
  ASSERT_TRUE(fs().CreateFolder(Path("暗处")));
  ASSERT_TRUE(fs().SetAttributes(Path("暗处"), attr::kDirectory | attr::kHidden));

  std::vector<ShellItem> items = shell_folders().Items(dir_);
  EXPECT_EQ(items.size(), 2u);
  const ShellItem* link = Named(items, "记事本");
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->path, Path("记事本.lnk"));
  EXPECT_FALSE(link->is_folder);
  const ShellItem* folder = Named(items, "附件");
  ASSERT_NE(folder, nullptr);
  EXPECT_TRUE(folder->is_folder);
  // Icons are asked for apart: a listing gives names only.
  EXPECT_EQ(folder->icon, ShellItem::kIconNotYet);
  EXPECT_GE(shell_folders().Icon(*folder), 0);
  EXPECT_TRUE(shell_folders().Items(Path("missing")).empty());
}

TEST_F(ShellFoldersBehaviour, NamesSortAsTheShellSortsThem) {
  ShellItem a{"apple", "", false, 0}, b{"Banana", "", false, 0};
  EXPECT_LT(shell_folders().CompareNames(a, b), 0);
  EXPECT_GT(shell_folders().CompareNames(b, a), 0);
  EXPECT_EQ(shell_folders().CompareNames(a, ShellItem{"APPLE", "", false, 0}), 0);
}

TEST_F(ShellFoldersBehaviour, SortingByNameFollowsTheComparisonAndKeepsEqualOnesInOrder) {
  std::vector<ShellItem> items{{"cherry", "1", false, 0}, {"Banana", "", false, 0},
                               {"apple", "", false, 0},   {"CHERRY", "2", false, 0},
                               {"blueberry", "", false, 0}};
  shell_folders().SortByName(items.begin(), items.end());
  std::vector<std::string> names;
  for (const ShellItem& i : items) names.push_back(i.display_name + i.path);
  EXPECT_EQ(names, (std::vector<std::string>{"apple", "Banana", "blueberry", "cherry1", "CHERRY2"}));
}

TEST_F(ShellFoldersBehaviour, FilesOfOneKindAreNamedAlikeHoweverMany) {
  for (const char* name : {"甲.txt", "乙.txt", "丙.lnk", "丁.lnk"})
    ASSERT_TRUE(fs().WriteFile(Path(name), "x"));
  std::vector<ShellItem> items = shell_folders().Items(dir_);
  ASSERT_EQ(items.size(), 4u);
  ASSERT_NE(Named(items, "丙"), nullptr);
  ASSERT_NE(Named(items, "丁"), nullptr);
  // The text files show with or without ".txt", as the system says, but
  // both the same way.
  bool with = Named(items, "甲.txt") && Named(items, "乙.txt");
  bool without = Named(items, "甲") && Named(items, "乙");
  EXPECT_TRUE(with != without);
}

TEST_F(ShellFoldersBehaviour, ARenameKeepsTheShortcutsHiddenExtension) {
  ASSERT_TRUE(fs().WriteFile(Path("旧.lnk"), "link"));
  std::vector<ShellItem> items = shell_folders().Items(dir_);
  const ShellItem* item = Named(items, "旧");
  ASSERT_NE(item, nullptr);
  auto renamed = shell_folders().Rename(*item, "新");
  ASSERT_TRUE(renamed);
  EXPECT_EQ(renamed->display_name, "新");
  EXPECT_EQ(renamed->path, Path("新.lnk"));
  EXPECT_EQ(fs().ReadFile(Path("新.lnk")).value_or(""), "link");
  EXPECT_FALSE(fs().Exists(Path("旧.lnk")));
}

TEST_F(ShellFoldersBehaviour, OnlyARealIconFileLoads) {
  ASSERT_TRUE(fs().WriteFile(Path("good.ico"), SmallIcon()));
  ASSERT_TRUE(fs().WriteFile(Path("bad.ico"), "not an icon at all"));
  EXPECT_TRUE(icon_files().Loads(Path("good.ico")));
  EXPECT_FALSE(icon_files().Loads(Path("bad.ico")));
  EXPECT_FALSE(icon_files().Loads(Path("missing.ico")));
}

}  // namespace
}  // namespace corvane::behaviour
