#include "journal/frm_undo.h"

#include "journal_fixture.h"
#include "platform/memory/memory_shell_links.h"
#include "platform/memory/memory_system.h"
#include "test_support.h"

namespace corvane::journal {
namespace {

using namespace testing;

struct UndoDialogTest : ::testing::Test, World {
  ui::testing::AppFixture ui;
  MemorySystem system;
  MemoryShellLinks links{disk};
  void Drop(const std::string& name) {
    GroupScope g(&journal, "拖放 " + name + " → 办公应用");
    categories::FolderRoutines{files, kPaths}.MoveEntry(kPaths.user_start_menu + "\\" + name,
                                                        kPaths.common_programs + "\\办公应用");
  }
};

TEST_F(UndoDialogTest, ListsNewestFirstAndUndoesOneGroupAtATime) {
  Drop("记事本.lnk");
  Drop("隐藏.lnk");
  TFrmUndo dialog(nullptr, {files, keys, system, journal, nullptr});
  ASSERT_EQ(dialog.MemoGroups->Lines().size(), 2u);
  EXPECT_NE(dialog.MemoGroups->Lines()[0].find("拖放 隐藏.lnk"), std::string::npos);
  EXPECT_NE(dialog.MemoGroups->Lines()[0].find("2026-12-08 23:40:05"), std::string::npos);

  dialog.BtnUndo->Click();
  EXPECT_TRUE(disk.Exists(kPaths.user_start_menu + "\\隐藏.lnk"));
  EXPECT_FALSE(disk.Exists(kPaths.user_start_menu + "\\记事本.lnk")) << "only the newest";
  EXPECT_NE(dialog.MemoGroups->Lines()[0].find("（已撤销）"), std::string::npos);
  ASSERT_EQ(ui.user.boxes.size(), 1u);
  EXPECT_EQ(ui.user.boxes[0].text, "更改已撤销。");

  dialog.BtnRestoreAll->Click();
  EXPECT_TRUE(disk.Exists(kPaths.user_start_menu + "\\记事本.lnk"));
  EXPECT_FALSE(dialog.BtnUndo->Enabled());
  EXPECT_FALSE(dialog.BtnRestoreAll->Enabled());
}

TEST_F(UndoDialogTest, UninstallAsksFirst) {
  Drop("记事本.lnk");
  TFrmUndo dialog(nullptr, {files, keys, system, journal, nullptr});
  ui.user.answers = {mb::kIdCancel};
  dialog.BtnUninstall->Click();
  EXPECT_FALSE(disk.Exists(kPaths.user_start_menu + "\\记事本.lnk")) << "cancelled: nothing done";
  EXPECT_FALSE(ui.app.Terminated());
  dialog.BtnUninstall->Click();
  EXPECT_TRUE(disk.Exists(kPaths.user_start_menu + "\\记事本.lnk"));
  EXPECT_TRUE(ui.app.Terminated());
}

}  // namespace
}  // namespace corvane::journal
