// What the system calls themselves do, where Windows documents a refusal that
// the program must not count on.
#include <windows.h>

#include "platform_under_test.h"

namespace corvane::behaviour {
namespace {

using RawCalls = PlatformTest;

TEST_F(RawCalls, CopyFileAOntoAHiddenTarget) {
  ASSERT_TRUE(fs().WriteFile(Path("src.lnk"), "new"));
  ASSERT_TRUE(fs().WriteFile(Path("hidden.lnk"), "old"));
  ASSERT_TRUE(fs().SetAttributes(Path("hidden.lnk"), attr::kHidden));
  BOOL replaced = CopyFileA(Path("src.lnk").c_str(), Path("hidden.lnk").c_str(), FALSE);
  if (replaced) KNOWN_WINE_DIFFERENCE("CopyFileA replaces a hidden target");
  EXPECT_FALSE(replaced);
  EXPECT_EQ(fs().ReadFile(Path("hidden.lnk")).value_or(""), "old");
}

TEST_F(RawCalls, ProfileIntegerOfText) {
  ASSERT_TRUE(profile().WriteString(Path("p.ini"), "control", "FenleiJq", "abc"));
  UINT v = GetPrivateProfileIntA("control", "FenleiJq", 9, Path("p.ini").c_str());
  // Windows gives the default here, Wine 0; the program converts the text itself.
  if (v == 0) KNOWN_WINE_DIFFERENCE("GetPrivateProfileIntA gives 0 for text, not the default");
  EXPECT_EQ(v, 9u);
}

TEST(Win32Environment, TheAnsiCodePageIsChinese) {
  // Every path and value the program handles is GBK text.
  EXPECT_EQ(GetACP(), 936u);
}

}  // namespace
}  // namespace corvane::behaviour
