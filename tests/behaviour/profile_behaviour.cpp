#include "core/ini.h"
#include "platform_under_test.h"

namespace corvane::behaviour {
namespace {

using ProfileBehaviour = PlatformTest;

TEST_F(ProfileBehaviour, MissingFileSectionOrKeyGivesTheDefault) {
  std::string ini = Path("classify.ini");
  EXPECT_EQ(profile().ReadString(ini, "programs", "Label1", "null"), "null");
  EXPECT_EQ(profile().ReadInteger(ini, "control", "AllUsersKs", 0), 0);
  ASSERT_TRUE(profile().WriteString(ini, "programs", "LabelNum", "1"));
  EXPECT_EQ(profile().ReadString(ini, "programs", "Label1", "null"), "null");
  EXPECT_EQ(profile().ReadString(ini, "other", "LabelNum", "null"), "null");
}

TEST_F(ProfileBehaviour, WritesReachTheFileAtOnceAndNamesIgnoreCase) {
  std::string ini = Path("classify.ini");
  ASSERT_TRUE(profile().WriteString(ini, "programs", "Label1", "\xb0\xec\xb9\xab\xd3\xa6\xd3\xc3"));
  ASSERT_TRUE(profile().WriteInteger(ini, "control", "AllUsersKs", 12));
  auto on_disk = fs().ReadFile(ini);
  ASSERT_TRUE(on_disk);
  auto doc = IniDocument::Parse(*on_disk);
  EXPECT_EQ(doc.Get("programs", "Label1").value_or(""), "\xb0\xec\xb9\xab\xd3\xa6\xd3\xc3");
  EXPECT_EQ(doc.Get("control", "AllUsersKs").value_or(""), "12");

  EXPECT_EQ(profile().ReadString(ini, "PROGRAMS", "label1", "null"),
            "\xb0\xec\xb9\xab\xd3\xa6\xd3\xc3");
  ASSERT_TRUE(profile().WriteString(ini, "Programs", "LABEL1", "x"));
  EXPECT_EQ(profile().ReadKeys(ini, "programs").size(), 1u);
  EXPECT_EQ(profile().ReadString(ini, "programs", "Label1", "null"), "x");
}

TEST_F(ProfileBehaviour, IntegersAreReadAsDecimalOrHexWithDefaultsForOtherText) {
  std::string ini = Path("classify.ini");
  const std::pair<const char*, int> cases[] = {
      {"42", 42}, {"-5", -5}, {"0x10", 16}, {"0X1f", 31}, {"abc", 77}, {"12abc", 77}, {"", 77}};
  for (const auto& [stored, expected] : cases) {
    ASSERT_TRUE(profile().WriteString(ini, "control", "FenleiJq", stored));
    EXPECT_EQ(profile().ReadInteger(ini, "control", "FenleiJq", 77), expected) << stored;
  }
}

TEST_F(ProfileBehaviour, ValuesAreCutAt2047Characters) {
  std::string ini = Path("classify.ini");
  ASSERT_TRUE(profile().WriteString(ini, "programs", "Label1", std::string(3000, 'v')));
  EXPECT_EQ(profile().ReadString(ini, "programs", "Label1", "null"), std::string(2047, 'v'));
}

TEST_F(ProfileBehaviour, DeletedKeysAreGoneAndTheOthersStay) {
  std::string ini = Path("classify.ini");
  ASSERT_TRUE(profile().WriteString(ini, "programs", "Label1", "a"));
  ASSERT_TRUE(profile().WriteString(ini, "programs", "Label2", "b"));
  ASSERT_TRUE(profile().DeleteKey(ini, "PROGRAMS", "label1"));
  EXPECT_EQ(profile().ReadString(ini, "programs", "Label1", "null"), "null");
  EXPECT_EQ(profile().ReadString(ini, "programs", "Label2", "null"), "b");
  EXPECT_EQ(profile().ReadKeys(ini, "programs"), std::vector<std::string>{"Label2"});
  EXPECT_TRUE(profile().DeleteKey(Path("none.ini"), "programs", "Label1"));
  EXPECT_FALSE(fs().Exists(Path("none.ini")));
}

}  // namespace
}  // namespace corvane::behaviour
