// Shortcut files written and read back through the shell link object: what
// the first run leaves in the Start menu, on the desktop and in quick launch.
#include "platform_under_test.h"

namespace corvane::behaviour {
namespace {

class ShellLinksTest : public PlatformTest {
 protected:
  ShellLinkFields Fields(const std::string& target) {
    ShellLinkFields f;
    f.target = target;
    f.arguments = "%1";
    f.working_directory = dir_ + "\\";
    return f;
  }
};

TEST_F(ShellLinksTest, ASavedLinkLoadsBackWithItsFieldsAndNoIcon) {
  ASSERT_TRUE(fs().WriteFile(Path("Halvorn.exe"), "MZ"));
  ASSERT_TRUE(fs().WriteFile(Path("whatsnew.txt"), "1.2"));
  for (const char* name : {"Halvorn", "whatsnew"}) {
    std::string target = Path(std::string(name) + (name[0] == 'H' ? ".exe" : ".txt"));
    ASSERT_TRUE(shell_links().Save(Path(std::string(name) + ".LNK"), Fields(target))) << name;
    std::optional<ShellLinkFields> back = shell_links().Load(Path(std::string(name) + ".lnk"));
    ASSERT_TRUE(back.has_value()) << name << ": names compare without case";
    EXPECT_EQ(back->target, target);
    EXPECT_EQ(back->arguments, "%1");
    EXPECT_EQ(back->working_directory, dir_ + "\\");
    EXPECT_EQ(back->icon_location, "") << "no icon is set";
  }
}

TEST_F(ShellLinksTest, ChineseFolderAndTargetNamesSurviveTheRoundTrip) {
  std::string folder = Path("「开始」菜单");
  ASSERT_TRUE(fs().CreateFolder(folder));
  std::string target = folder + "\\程序.exe";
  ASSERT_TRUE(fs().WriteFile(target, "MZ"));
  ShellLinkFields f = Fields(target);
  f.working_directory = folder + "\\";
  ASSERT_TRUE(shell_links().Save(folder + "\\程序.LNK", f));
  std::optional<ShellLinkFields> back = shell_links().Load(folder + "\\程序.LNK");
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->target, target);
  EXPECT_EQ(back->working_directory, folder + "\\");
}

TEST_F(ShellLinksTest, SavingReplacesAnOldLinkAndFailsWhereNoFolderIs) {
  ASSERT_TRUE(fs().WriteFile(Path("a.exe"), "MZ"));
  ASSERT_TRUE(fs().WriteFile(Path("b.exe"), "MZ"));
  ASSERT_TRUE(shell_links().Save(Path("x.LNK"), Fields(Path("a.exe"))));
  ASSERT_TRUE(shell_links().Save(Path("x.LNK"), Fields(Path("b.exe"))));
  ASSERT_TRUE(shell_links().Load(Path("x.LNK")).has_value());
  EXPECT_EQ(shell_links().Load(Path("x.LNK"))->target, Path("b.exe"));
  EXPECT_FALSE(shell_links().Save(Path("missing\\x.LNK"), Fields(Path("a.exe"))));
  EXPECT_FALSE(fs().Attributes(Path("missing")).has_value()) << "no folder is made";
}

TEST_F(ShellLinksTest, AFileThatIsNoLinkDoesNotLoad) {
  EXPECT_FALSE(shell_links().Load(Path("absent.LNK")).has_value());
  ASSERT_TRUE(fs().WriteFile(Path("text.LNK"), "not a shortcut at all"));
  EXPECT_FALSE(shell_links().Load(Path("text.LNK")).has_value());
}

}  // namespace
}  // namespace corvane::behaviour
