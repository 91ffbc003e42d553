#include <algorithm>

#include "platform_under_test.h"

namespace corvane::behaviour {
namespace {

class RegistryBehaviour : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    base_ = p_->scratch_key();
  }
  // Opens base_\sub with full access, creating it; 0 on failure.
  RegHandle Create(const std::string& sub) {
    RegHandle h = 0;
    return registry().CreateKey(reg::kCurrentUser, base_ + "\\" + sub, reg::kKeyAllAccess, &h) ==
                   reg::kSuccess
               ? h
               : 0;
  }
  std::string base_;
};

TEST_F(RegistryBehaviour, ValuesAreEnumeratedByNameTheDefaultOneAsEmpty) {
  RegHandle h = Create("Values");
  ASSERT_NE(h, 0u);
  std::vector<std::string> names;
  ASSERT_EQ(registry().EnumValues(h, &names), reg::kSuccess);
  EXPECT_TRUE(names.empty());
  ASSERT_EQ(registry().SetValue(h, "", reg::kSz, SzData("默认")), reg::kSuccess);
  ASSERT_EQ(registry().SetValue(h, "名称", reg::kDword, DwordData(1)), reg::kSuccess);
  ASSERT_EQ(registry().EnumValues(h, &names), reg::kSuccess);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"", "名称"}));
  // Names are counted in characters by the system, and these take two bytes each.
  RegHandle sub = Create("Values\\子键名称");
  ASSERT_NE(sub, 0u);
  registry().CloseKey(sub);
  ASSERT_EQ(registry().EnumSubKeys(h, &names), reg::kSuccess);
  EXPECT_EQ(names, (std::vector<std::string>{"子键名称"}));
  registry().CloseKey(h);
}

TEST_F(RegistryBehaviour, KeysAreCreatedWithParentsAndFoundWithoutRegardToCase) {
  RegHandle h = Create("Policies\\Explorer");
  ASSERT_NE(h, 0u);
  registry().CloseKey(h);
  RegHandle again = 0;
  EXPECT_EQ(registry().OpenKey(reg::kCurrentUser, base_ + "\\POLICIES\\explorer", reg::kKeyProbe,
                               &again),
            reg::kSuccess);
  registry().CloseKey(again);
  RegHandle parent = 0;
  ASSERT_EQ(registry().OpenKey(reg::kCurrentUser, base_, reg::kKeyAllAccess, &parent),
            reg::kSuccess);
  RegHandle relative = 0;
  EXPECT_EQ(registry().OpenKey(parent, "policies\\Explorer", reg::kKeyAllAccess, &relative),
            reg::kSuccess);
  registry().CloseKey(relative);
  RegHandle missing = 0;
  EXPECT_EQ(registry().OpenKey(parent, "Nowhere", reg::kKeyAllAccess, &missing),
            reg::kFileNotFound);
  registry().CloseKey(parent);
}

TEST_F(RegistryBehaviour, ValuesKeepTheirTypeAndBytes) {
  RegHandle h = Create("Advanced");
  ASSERT_NE(h, 0u);
  ASSERT_EQ(registry().SetValue(h, "Start_ShowMyMusic", reg::kDword, DwordData(0x6E8F80)),
            reg::kSuccess);
  ASSERT_EQ(registry().SetValue(h, "StartMenuAdminTools", reg::kSz, SzData("YES")), reg::kSuccess);
  ASSERT_EQ(registry().SetValue(h, "", reg::kSz, SzData("\xb8\xbd\xb5\xbd")), reg::kSuccess);
  ASSERT_EQ(registry().SetValue(h, "Path", reg::kExpandSz, SzData("%SystemRoot%")), reg::kSuccess);
  ASSERT_EQ(registry().SetValue(h, "Blob", reg::kBinary, std::string("\x01\x00\x02", 3)),
            reg::kSuccess);

  RegValue v;
  ASSERT_EQ(registry().QueryValue(h, "start_showmymusic", &v), reg::kSuccess);
  EXPECT_EQ(v.type, reg::kDword);
  EXPECT_EQ(v.data, DwordData(0x6E8F80));
  ASSERT_EQ(registry().QueryValue(h, "StartMenuAdminTools", &v), reg::kSuccess);
  EXPECT_EQ(v.type, reg::kSz);
  EXPECT_EQ(v.data, SzData("YES"));
  ASSERT_EQ(registry().QueryValue(h, "", &v), reg::kSuccess);
  EXPECT_EQ(v.data, SzData("\xb8\xbd\xb5\xbd"));
  ASSERT_EQ(registry().QueryValue(h, "Path", &v), reg::kSuccess);
  EXPECT_EQ(v.type, reg::kExpandSz);
  ASSERT_EQ(registry().QueryValue(h, "Blob", &v), reg::kSuccess);
  EXPECT_EQ(v.type, reg::kBinary);
  EXPECT_EQ(v.data, std::string("\x01\x00\x02", 3));

  EXPECT_EQ(registry().QueryValue(h, "Absent", &v), reg::kFileNotFound);
  EXPECT_EQ(registry().DeleteValue(h, "Blob"), reg::kSuccess);
  EXPECT_EQ(registry().QueryValue(h, "Blob", &v), reg::kFileNotFound);
  registry().CloseKey(h);
}

TEST_F(RegistryBehaviour, KeysWithSubkeysAreNotDeletedUntilTheirSubkeysAre) {
  RegHandle h = Create("Pin\\{a2a9545d-a0c2-42b4-9708-a0b2badd77c8}\\Deeper");
  ASSERT_NE(h, 0u);
  registry().CloseKey(h);
  RegHandle pin = 0;
  ASSERT_EQ(registry().OpenKey(reg::kCurrentUser, base_ + "\\Pin", reg::kKeyAllAccess, &pin),
            reg::kSuccess);
  std::vector<std::string> names;
  ASSERT_EQ(registry().EnumSubKeys(pin, &names), reg::kSuccess);
  EXPECT_EQ(names, std::vector<std::string>{"{a2a9545d-a0c2-42b4-9708-a0b2badd77c8}"});

  EXPECT_NE(registry().DeleteKey(pin, "{a2a9545d-a0c2-42b4-9708-a0b2badd77c8}"), reg::kSuccess);
  EXPECT_EQ(registry().DeleteKey(pin, "{a2a9545d-a0c2-42b4-9708-a0b2badd77c8}\\Deeper"),
            reg::kSuccess);
  EXPECT_EQ(registry().DeleteKey(pin, "{A2A9545D-A0C2-42B4-9708-A0B2BADD77C8}"), reg::kSuccess);
  ASSERT_EQ(registry().EnumSubKeys(pin, &names), reg::kSuccess);
  EXPECT_TRUE(names.empty());
  registry().CloseKey(pin);
}

TEST_F(RegistryBehaviour, AHandleOpenedForReadingCannotWrite) {
  RegHandle h = Create("ReadOnly");
  ASSERT_NE(h, 0u);
  registry().CloseKey(h);
  RegHandle probe = 0;
  ASSERT_EQ(registry().OpenKey(reg::kCurrentUser, base_ + "\\ReadOnly", reg::kKeyProbe, &probe),
            reg::kSuccess);
  EXPECT_EQ(registry().SetValue(probe, "x", reg::kDword, DwordData(1)), reg::kAccessDenied);
  EXPECT_EQ(registry().DeleteValue(probe, "x"), reg::kAccessDenied);
  RegValue v;
  EXPECT_EQ(registry().QueryValue(probe, "x", &v), reg::kFileNotFound) << "nothing was written";
  registry().CloseKey(probe);
}

}  // namespace
}  // namespace corvane::behaviour
