#include "core/text.h"

#include <gtest/gtest.h>

namespace corvane::text {
namespace {

// "程序" in GBK is B3 CC D0 F2; "表" is B1 ED; a trail byte 0x5C is '\'
// ("\x95\x5c", 昞 in GBK) and 0x41 is 'A' ("\x81\x41").
const std::string kBackslashTrail = "\x95\x5c";
const std::string kLetterTrail = "\x81\x41";

TEST(TextPaths, TrailByteBackslashIsNotASeparator) {
  std::string path = "C:\\a\\" + kBackslashTrail + "\\" + kBackslashTrail;
  EXPECT_EQ(ExtractFileName(path), kBackslashTrail);
  EXPECT_EQ(ExtractFilePath(path), "C:\\a\\" + kBackslashTrail + "\\");
  EXPECT_FALSE(HasTrailingBackslash("C:\\" + kBackslashTrail));
  EXPECT_EQ(IncludeTrailingBackslash("C:\\" + kBackslashTrail), "C:\\" + kBackslashTrail + "\\");
  EXPECT_EQ(ExcludeTrailingBackslash("C:\\x\\"), "C:\\x");
  EXPECT_EQ(ExcludeTrailingBackslash("C:\\" + kBackslashTrail), "C:\\" + kBackslashTrail);
  EXPECT_EQ(ExtractFileExt("C:\\dir.d\\" + kBackslashTrail), "");
  EXPECT_EQ(ExtractFileExt("C:\\dir\\a.LNK"), ".LNK");
}

TEST(TextCase, TrailBytesAreNotFolded) {
  std::string lower_trail = "\x81\x61";  // a different character from "\x81\x41"
  EXPECT_EQ(UpperCase("ab" + lower_trail), "AB" + lower_trail);
  EXPECT_EQ(LowerCase("AB" + kLetterTrail), "ab" + kLetterTrail);
  EXPECT_FALSE(SameText(kLetterTrail, lower_trail));
  EXPECT_TRUE(SameText("Programs", "PROGRAMS"));
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_LT(CompareText("ab", "ABc"), 0);
  EXPECT_GT(CompareText("\xb3\xa2", "Z"), 0);  // bytes compare unsigned
  EXPECT_NE(CompareText("a" + kLetterTrail, "A" + lower_trail), 0);
  EXPECT_EQ(TextHash()("Label" + kLetterTrail), TextHash()("LABEL" + kLetterTrail));
  EXPECT_TRUE(TextEqual()("Label" + kLetterTrail, "lAbEl" + kLetterTrail));
}

TEST(TextContains, MatchesOnlyOnCharacterBoundaries) {
  // "\x81\x41" ends in 'A'; "A" must not be found inside it.
  EXPECT_FALSE(ContainsText(kLetterTrail, "a"));
  EXPECT_TRUE(ContainsText(kLetterTrail + "a", "A"));
  EXPECT_EQ(FindText("x" + kLetterTrail + "A", "a"), 3u);
  // The Chinese word itself is found.
  EXPECT_TRUE(ContainsText("\xb3\xa2\xca\xd4\xca\xc7", "\xca\xd4"));
  EXPECT_TRUE(ContainsText("anything", ""));
}

TEST(TextTruncate, NeverSplitsADoubleByteCharacter) {
  std::string s = "a" + kBackslashTrail + kBackslashTrail;  // 5 bytes
  EXPECT_EQ(TruncateChars(s, 2), "a");
  EXPECT_EQ(TruncateChars(s, 3), "a" + kBackslashTrail);
  EXPECT_EQ(TruncateChars(s, 10), s);
}

TEST(TextLeadByteRule, PlatformRuleIsUsed) {
  SetLeadByteRule([](unsigned char) { return false; });
  EXPECT_EQ(ExtractFileName("a\\" + kBackslashTrail), "");
  SetLeadByteRule(nullptr);
  EXPECT_EQ(ExtractFileName("a\\" + kBackslashTrail), kBackslashTrail);
}

}  // namespace
}  // namespace corvane::text
