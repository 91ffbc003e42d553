#include <gtest/gtest.h>

#include "categories/category_store.h"
#include "categories/start_menu.h"
#include "platform/memory/file_profile_store.h"
#include "platform/memory/memory_filesystem.h"
#include "platform/memory/memory_system.h"

namespace corvane::categories {
namespace {

constexpr char kStore[] = "C:\\Corvane\\classify.ini";

TEST(StartMenuPaths, BuiltFromTheDriveRootAndTheUsersName) {
  MemorySystem system;
  system.windows_directory = "D:\\WINNT";
  system.user_name = "张三";
  EXPECT_EQ(DriveRoot(system), "D:\\");
  StartMenuPaths p = StartMenuPathsFor(DriveRoot(system), CurrentUserName(system));
  EXPECT_EQ(p.common_start_menu, "D:\\Documents and Settings\\All Users\\「开始」菜单");
  EXPECT_EQ(p.common_programs, "D:\\Documents and Settings\\All Users\\「开始」菜单\\程序");
  EXPECT_EQ(p.user_start_menu, "D:\\Documents and Settings\\张三\\「开始」菜单");
  EXPECT_EQ(p.user_programs, "D:\\Documents and Settings\\张三\\「开始」菜单\\程序");

  system.executable_folder = "C:\\绿色软件\\Corvane";  // without its separator
  EXPECT_EQ(StorePath(system), "C:\\绿色软件\\Corvane\\classify.ini");
  EXPECT_EQ(IconPath(system, "root.ico"), "C:\\绿色软件\\Corvane\\Icon\\root.ico");
  EXPECT_EQ(IconDialogFolder(system), "C:\\绿色软件\\Corvane\\icon");
  // A folder whose last character ends in the byte of a backslash.
  system.executable_folder = "C:\\\xB1\x5C\\";
  EXPECT_EQ(IconDialogFolder(system), "C:\\\xB1\x5C\\icon");
  system.executable_folder = "C:\\\xB1\x5C";
  EXPECT_EQ(StorePath(system), "C:\\\xB1\x5C\\classify.ini");
}

TEST(CategoryNames, OnlyANameThatStaysInsideTheProgramsFolderGetsAFolder) {
  StartMenuPaths p = StartMenuPathsFor("C:\\", "u");
  EXPECT_EQ(CategoryFolder(p, "办公应用"), p.common_programs + "\\办公应用");
  for (const char* ok : {"null", "所有程序", "a.b", ".hidden", " leading", "Office 2003",
                         "\xB1\x5C\xB1\x5C", "CONSOLE", "COM10", "LPT"})
    EXPECT_TRUE(CategoryFolder(p, ok)) << ok;
  for (const char* bad :
       {"", "..", ".", "...", "a\\b", "..\\..\\Windows", "a/b", "C:", "C:\\Windows", "a:stream",
        "\\\\server\\share", "CON", "con", "NUL.txt", "com1", "Lpt9.lnk", "AUX ", "prn .x",
        "trailing.", "trailing ", "a..b", "wild*", "what?", "<x>", "a|b", "quote\"", "tab\t",
        "\xB1", "ab\xB1"})
    EXPECT_FALSE(CategoryFolder(p, bad)) << bad;
  EXPECT_FALSE(CategoryFolder(p, std::string(201, 'a')));
  EXPECT_TRUE(CategoryFolder(p, std::string(200, 'a')));
}

class StoreTest : public ::testing::Test {
 protected:
  StoreTest() { fs.AddFolder("C:\\Corvane"); }
  std::string File() { return fs.ReadFile(kStore).value_or("<none>"); }
  MemoryFileSystem fs;
  FileProfileStore profile{fs};
  CategoryStore store{profile, kStore};
};

TEST_F(StoreTest, AnAbsentStoreReadsAsAnEmptyOne) {
  EXPECT_EQ(store.LabelNum(), 0);
  EXPECT_EQ(store.Label(0), "null");
  EXPECT_EQ(store.Label(1), "null");
  EXPECT_EQ(store.LabelIcon(0), "null");
  EXPECT_TRUE(store.Labels().empty());
  EXPECT_EQ(store.StoredCounts(), EntryCounts{});
  EXPECT_FALSE(store.TipsDismissed());
  EXPECT_EQ(File(), "<none>") << "reading writes nothing";
}

TEST_F(StoreTest, ValuesAreReadWithTheProfileRules) {
  fs.WriteFile(kStore,
               "[Programs]\r\nlabelnum=3\r\nLabel1=办公应用\r\nLabel3=\"娱乐休闲\"\r\n"
               "[labelicon]\r\nLabelIcon1=office.ico\r\n"
               "[CONTROL]\r\nAllUsersKs=0x10\r\nAllUsersKsCx=abc\r\nCurrentUserKs= 7 \r\n"
               "FenleiJq=2\r\n");
  EXPECT_EQ(store.Labels(), (std::vector<std::string>{"办公应用", "娱乐休闲"}))
      << "a missing label is no category";
  EXPECT_EQ(store.LabelIcon(1), "office.ico");
  EXPECT_EQ(store.LabelIcon(2), "null");
  EntryCounts c = store.StoredCounts();
  EXPECT_EQ(c.all_users_ks, 16);
  EXPECT_EQ(c.all_users_ks_cx, 0) << "not a number";
  EXPECT_EQ(c.current_user_ks, 7);
  EXPECT_EQ(c.current_user_ks_cx, 0);
  EXPECT_TRUE(store.TipsDismissed()) << "any non-zero number";
  fs.WriteFile(kStore, "[control]\r\nFenleiJq=yes\r\n");
  EXPECT_FALSE(store.TipsDismissed()) << "text that is no number reads as 0";
}

TEST_F(StoreTest, AHugeOrNegativeCategoryCountIsBounded) {
  store.SetLabelNum(2000000000);
  EXPECT_EQ(store.LabelNum(), 2000000000);
  EXPECT_EQ(store.CategoryCount(), kMaxCategories);
  EXPECT_TRUE(store.Labels().empty()) << "no label is there";
  EXPECT_EQ(store.NextIndex(), 1) << "a new category is not put beyond the labels present";
  store.SetLabelNum(-5);
  EXPECT_EQ(store.CategoryCount(), 0);
}

TEST_F(StoreTest, WritersPutTheirKeysInTheirSections) {
  store.SetLabelNum(2);
  store.SetLabel(1, "办公应用");
  store.SetLabel(2, "系统工具");
  store.SetLabelIcon(1, "office.ico");
  store.SetLabelIcon(2, "systools.ico");
  store.WriteCounts({1, 2, 3, 4});
  store.DismissTips();
  EXPECT_EQ(File(),
            "[programs]\r\nLabelNum=2\r\nLabel1=办公应用\r\nLabel2=系统工具\r\n"
            "[LabelIcon]\r\nLabelIcon1=office.ico\r\nLabelIcon2=systools.ico\r\n"
            "[control]\r\nAllUsersKs=1\r\nAllUsersKsCx=2\r\nCurrentUserKs=3\r\n"
            "CurrentUserKsCx=4\r\nFenleiJq=1\r\n");
  store.WriteCommonCounts(9, 10);
  store.RemoveCategoryKeys(1);
  EXPECT_EQ(store.StoredCounts(), (EntryCounts{9, 10, 3, 4}));
  EXPECT_EQ(store.Label(1), "null");
  EXPECT_EQ(store.LabelIcon(1), "null");
  EXPECT_EQ(store.Label(2), "系统工具");
}

}  // namespace
}  // namespace corvane::categories
