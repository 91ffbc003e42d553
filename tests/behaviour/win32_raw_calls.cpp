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
  // What the program relies on: its own copy refuses, whatever the system does.
  EXPECT_FALSE(fs().Copy(Path("src.lnk"), Path("hidden.lnk")));
  ASSERT_EQ(fs().ReadFile(Path("hidden.lnk")).value_or(""), "old");

  BOOL replaced = CopyFileA(Path("src.lnk").c_str(), Path("hidden.lnk").c_str(), FALSE);
  DWORD error = GetLastError();
  std::string after = fs().ReadFile(Path("hidden.lnk")).value_or("");
  if (replaced && after == "new") KNOWN_WINE_DIFFERENCE("CopyFileA replaces a hidden target");
  EXPECT_FALSE(replaced);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(after, "old");
}

TEST_F(RawCalls, ProfileIntegerOfText) {
  ASSERT_TRUE(profile().WriteString(Path("p.ini"), "control", "FenleiJq", "abc"));
  // Windows and Wine both answer 0 for text, not the default; the program
  // converts the text itself so that text gives the default.
  EXPECT_EQ(GetPrivateProfileIntA("control", "FenleiJq", 9, Path("p.ini").c_str()), 0u);
  EXPECT_EQ(profile().ReadInteger(Path("p.ini"), "control", "FenleiJq", 9), 9);
}

TEST(Win32Environment, TheAnsiCodePageIsChinese) {
  // Every path and value the program handles is GBK text.
  EXPECT_EQ(GetACP(), 936u);
}

}  // namespace
}  // namespace corvane::behaviour
