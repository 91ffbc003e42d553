#include "core/registry_accessor.h"

#include <gtest/gtest.h>

#include "platform/memory/memory_registry.h"

namespace corvane {
namespace {

constexpr char kAdvanced[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

class Accessor : public ::testing::Test {
 protected:
  MemoryRegistry registry;
};

TEST_F(Accessor, PathsGoFromTheRootOrFromTheCurrentKey) {
  {
    RegistryAccessor reg(registry);
    EXPECT_EQ(reg.Root(), reg::kCurrentUser) << "HKCU until set otherwise";
    EXPECT_FALSE(reg.OpenKey("\\Software\\Corvane", false)) << "missing, no create";
    EXPECT_FALSE(reg.HasCurrentKey());
    EXPECT_FALSE(registry.HasKey(reg::kCurrentUser, "Software\\Corvane"));
    ASSERT_TRUE(reg.OpenKey("\\Software\\Corvane\\", true)) << "parents made, trailing separator";
    ASSERT_TRUE(reg.OpenKey("Inner", true)) << "relative to the current key";
    reg.WriteInteger("Depth", 2);
    EXPECT_FALSE(reg.OpenKey("Nowhere", false));
    reg.WriteInteger("Still", 1);  // a failed open leaves the current key alone
    ASSERT_TRUE(reg.OpenKey("\\Software", false));
    EXPECT_TRUE(reg.KeyExists("Corvane\\INNER")) << "relative, without regard to case";
    EXPECT_TRUE(reg.KeyExists("\\software\\corvane"));
    EXPECT_FALSE(reg.KeyExists("Corvane\\Nowhere"));
    reg.CloseKey();
    EXPECT_TRUE(reg.OpenKey("Software\\Corvane", false)) << "no current key: from the root";
    reg.SetRoot(reg::kLocalMachine);
    EXPECT_FALSE(reg.HasCurrentKey()) << "a new root closes the key";
    EXPECT_FALSE(reg.OpenKey("Software\\Corvane", false));
    ASSERT_TRUE(reg.OpenKey("Software\\Corvane", true));
    EXPECT_EQ(registry.OpenHandleCount(), 1u);
  }
  EXPECT_EQ(registry.OpenHandleCount(), 0u) << "released with the accessor";
  EXPECT_EQ(registry.GetDword(reg::kCurrentUser, "Software\\Corvane\\Inner", "Depth"), 2u);
  EXPECT_EQ(registry.GetDword(reg::kCurrentUser, "Software\\Corvane\\Inner", "Still"), 1u);
  EXPECT_TRUE(registry.HasKey(reg::kLocalMachine, "Software\\Corvane"));
}

TEST_F(Accessor, KeyExistsProbesAndKeepsTheCurrentKey) {
  registry.PutDword(reg::kClassesRoot, "*\\shellex\\ContextMenuHandlers\\{x}", "v", 1);
  registry.FailWrites(reg::kClassesRoot, "*");
  RegistryAccessor reg(registry, reg::kClassesRoot);
  ASSERT_TRUE(reg.OpenKey("\\*\\shellex", false));
  EXPECT_TRUE(reg.KeyExists("\\*\\shellex\\ContextMenuHandlers\\{x}"));
  EXPECT_EQ(registry.OpenHandleCount(), 1u) << "the probe was closed again";
  EXPECT_TRUE(reg.HasCurrentKey());
  registry.Deny(reg::kClassesRoot, "*\\shellex\\ContextMenuHandlers");
  EXPECT_FALSE(reg.KeyExists("\\*\\shellex\\ContextMenuHandlers\\{x}"));
}

TEST_F(Accessor, IntegersMustBeFourByteDwords) {
  registry.PutDword(reg::kCurrentUser, kAdvanced, "Good", 0x6E8F80);
  registry.PutString(reg::kCurrentUser, kAdvanced, "Text", "1");
  registry.Put(reg::kCurrentUser, kAdvanced, "Short", RegValue{reg::kDword, std::string("\x01\x00", 2)});
  registry.Put(reg::kCurrentUser, kAdvanced, "Long", RegValue{reg::kDword, std::string(8, '\0')});
  registry.Put(reg::kCurrentUser, kAdvanced, "Binary", RegValue{reg::kBinary, DwordData(1)});
  registry.Put(reg::kCurrentUser, kAdvanced, "BigEndian", RegValue{5, DwordData(1)});
  RegistryAccessor reg(registry);
  EXPECT_THROW(reg.ReadInteger("Good"), RegistryError) << "no current key";
  EXPECT_FALSE(reg.ValueExists("Good"));
  ASSERT_TRUE(reg.OpenKey(std::string("\\") + kAdvanced, false));
  EXPECT_EQ(reg.ReadInteger("good"), 0x6E8F80u);
  for (const char* bad : {"Text", "Short", "Long", "Binary", "BigEndian", "Missing"})
    EXPECT_THROW(reg.ReadInteger(bad), RegistryError) << bad;
  for (const char* there : {"Text", "Short", "Binary"}) EXPECT_TRUE(reg.ValueExists(there));
  EXPECT_FALSE(reg.ValueExists("Missing"));
}

TEST_F(Accessor, StringsStopAtTheFirstNulAndOnlyStringTypesRead) {
  registry.Put(reg::kCurrentUser, kAdvanced, "Sz", RegValue{reg::kSz, std::string("YES\0NO\0", 7)});
  registry.Put(reg::kCurrentUser, kAdvanced, "Unterminated", RegValue{reg::kSz, "YES"});
  registry.Put(reg::kCurrentUser, kAdvanced, "Expand", RegValue{reg::kExpandSz, SzData("%WINDIR%")});
  registry.PutDword(reg::kCurrentUser, kAdvanced, "Dword", 1);
  registry.Put(reg::kCurrentUser, kAdvanced, "Multi", RegValue{reg::kMultiSz, std::string("a\0\0", 3)});
  RegistryAccessor reg(registry);
  EXPECT_EQ(reg.ReadString("Sz"), "") << "no key: nothing to read";
  ASSERT_TRUE(reg.OpenKey(std::string("\\") + kAdvanced, false));
  EXPECT_EQ(reg.ReadString("Sz"), "YES");
  EXPECT_EQ(reg.ReadString("Unterminated"), "YES");
  EXPECT_EQ(reg.ReadString("Expand"), "%WINDIR%");
  EXPECT_EQ(reg.ReadString("Missing"), "");
  EXPECT_THROW(reg.ReadString("Dword"), RegistryError);
  EXPECT_THROW(reg.ReadString("Multi"), RegistryError);
}

TEST_F(Accessor, WritesStoreTypedValuesAndRefusalsThrow) {
  RegistryAccessor reg(registry, reg::kClassesRoot);
  EXPECT_THROW(reg.WriteInteger("x", 1), RegistryError) << "no current key";
  ASSERT_TRUE(reg.OpenKey("\\CLSID\\{c}", true));
  reg.WriteString("", "附到「开始」菜单");
  reg.WriteString("InfoTip", "");
  reg.WriteInteger("N", 0xFFFFFFFFu);
  EXPECT_EQ(registry.Get(reg::kClassesRoot, "CLSID\\{c}", "")->data, SzData("附到「开始」菜单"));
  EXPECT_EQ(registry.Get(reg::kClassesRoot, "CLSID\\{c}", "InfoTip")->data, std::string(1, '\0'));
  EXPECT_EQ(registry.GetDword(reg::kClassesRoot, "CLSID\\{c}", "N"), 0xFFFFFFFFu);
  registry.FailWrites(reg::kClassesRoot, "CLSID");
  EXPECT_THROW(reg.WriteString("InfoTip", "x"), RegistryError);
  EXPECT_THROW(reg.WriteInteger("N", 1), RegistryError);
  EXPECT_THROW(reg.CreateKey("Sub"), RegistryError);
}

TEST_F(Accessor, CreateKeyLeavesTheCurrentKeyAndDeleteKeyTakesTheSubtree) {
  const std::string handlers = "*\\shellex\\ContextMenuHandlers";
  registry.PutString(reg::kClassesRoot, handlers + "\\{p}\\a\\b\\c", "", "deep");
  registry.PutString(reg::kClassesRoot, handlers + "\\{p}\\a2", "v", "x");
  registry.PutString(reg::kClassesRoot, handlers + "\\{other}", "", "kept");
  RegistryAccessor reg(registry, reg::kClassesRoot);
  ASSERT_TRUE(reg.OpenKey("\\" + handlers, true));
  EXPECT_TRUE(reg.DeleteKey("{P}"));
  EXPECT_FALSE(registry.HasKey(reg::kClassesRoot, handlers + "\\{p}"));
  EXPECT_TRUE(registry.HasKey(reg::kClassesRoot, handlers + "\\{other}"));
  EXPECT_FALSE(reg.DeleteKey("{p}")) << "nothing left to delete";
  reg.CreateKey("{p}");
  EXPECT_TRUE(registry.HasKey(reg::kClassesRoot, handlers + "\\{p}"));
  reg.WriteInteger("AtParent", 1);
  EXPECT_EQ(registry.GetDword(reg::kClassesRoot, handlers, "AtParent"), 1u) << "still the parent";
  // A subkey that cannot go keeps its parent too; the rest goes.
  registry.PutString(reg::kClassesRoot, handlers + "\\{p}\\stuck\\x", "", "");
  registry.PutString(reg::kClassesRoot, handlers + "\\{p}\\free", "", "");
  registry.FailWrites(reg::kClassesRoot, handlers + "\\{p}\\stuck");
  EXPECT_FALSE(reg.DeleteKey("{p}"));
  EXPECT_TRUE(registry.HasKey(reg::kClassesRoot, handlers + "\\{p}\\stuck\\x"));
  EXPECT_FALSE(registry.HasKey(reg::kClassesRoot, handlers + "\\{p}\\free"));
  EXPECT_FALSE(reg.DeleteKey("")) << "never the current key itself";
  EXPECT_EQ(registry.OpenHandleCount(), 1u);
}

}  // namespace
}  // namespace corvane
