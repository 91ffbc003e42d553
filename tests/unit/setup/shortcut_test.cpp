#include "setup/shortcut.h"

#include <gtest/gtest.h>

#include "platform/memory/memory_filesystem.h"
#include "platform/memory/memory_shell_links.h"
#include "setup/installation.h"

namespace corvane::setup {
namespace {

TEST(ShortcutTest, TheFileIsNamedAfterTheTargetWithACapitalExtension) {
  EXPECT_EQ(ShortcutFileName("C:\\Corvane\\Halvorn.exe", "D:\\x"), "D:\\x\\Halvorn.LNK");
  EXPECT_EQ(ShortcutFileName("C:\\a.b\\whatsnew.txt", "D:"), "D:\\whatsnew.LNK");
  EXPECT_EQ(ShortcutFileName("C:\\a\\ver.1.2.exe", "D:"), "D:\\ver.1.2.LNK") << "last dot only";
  EXPECT_EQ(ShortcutFileName("C:\\a.b\\README", "D:"), "D:\\README.LNK") << "dot of the folder";
  // 嘰 ends in the byte of the separator, which is none inside the character.
  EXPECT_EQ(ShortcutFileName("C:\\程序\\嘰.exe", "D:"), "D:\\嘰.LNK");
}

TEST(ShortcutTest, CreateShortcutSetsTargetArgumentsAndTheTargetsFolder) {
  MemoryFileSystem fs;
  MemoryShellLinks links(fs);
  fs.AddFolder("C:\\Links");
  ASSERT_TRUE(CreateShortcut(links, "C:\\Corvane\\Halvorn.exe", "%1", "C:\\Links"));
  std::optional<ShellLinkFields> f = links.Load("C:\\Links\\halvorn.lnk");
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(f->target, "C:\\Corvane\\Halvorn.exe");
  EXPECT_EQ(f->arguments, "%1");
  EXPECT_EQ(f->working_directory, "C:\\Corvane\\");
  EXPECT_FALSE(CreateShortcut(links, "C:\\Corvane\\Halvorn.exe", "%1", "C:\\Missing"));
  EXPECT_FALSE(fs.Attributes("C:\\Missing").has_value()) << "the folder is not made";
}

TEST(TextToFloatTest, NumbersInTheLocalesNotation) {
  EXPECT_EQ(TextToFloat("1.2", '.'), 1.2);
  EXPECT_EQ(TextToFloat(" 1.2 ", '.'), 1.2);
  EXPECT_EQ(TextToFloat("1,2", ','), 1.2);
  EXPECT_EQ(TextToFloat("1.2", ','), 1.2) << "a dot is taken in every locale";
  EXPECT_EQ(TextToFloat("-.5", '.'), -0.5);
  EXPECT_EQ(TextToFloat("1.", '.'), 1.0);
  EXPECT_EQ(TextToFloat("12E-1", '.'), 1.2);
  EXPECT_EQ(TextToFloat("1.0", '.'), 1.0);
  for (const char* bad : {"", " ", ".", "-", "abc", "1.2.3", "1.2a", "1e", "1,2", "0x1", "1 2"})
    EXPECT_FALSE(TextToFloat(bad, '.').has_value()) << bad;
  EXPECT_EQ(InvalidFloatMessage("abc"), "'abc' is not a valid floating point value");
}

}  // namespace
}  // namespace corvane::setup
