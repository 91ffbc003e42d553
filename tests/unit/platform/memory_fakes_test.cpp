// What the fakes offer tests beyond Windows' own behaviour: denied keys,
// failing writes, folders that cannot be entered.
#include <gtest/gtest.h>

#include "platform/memory/file_profile_store.h"
#include "platform/memory/memory_filesystem.h"
#include "platform/memory/memory_registry.h"

namespace corvane {
namespace {

const char kPolicy[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

TEST(MemoryRegistry, ADeniedRootOrKeyCannotBeOpenedOrCreated) {
  MemoryRegistry r;
  r.PutDword(reg::kLocalMachine, kPolicy, "NoUserNameInStartMenu", 1);
  r.Deny(reg::kLocalMachine, "");
  RegHandle h = 0;
  EXPECT_EQ(r.OpenKey(reg::kLocalMachine, kPolicy, reg::kKeyAllAccess, &h), reg::kAccessDenied);
  EXPECT_EQ(r.CreateKey(reg::kLocalMachine, "Software\\New", reg::kKeyAllAccess, &h),
            reg::kAccessDenied);

  r.Deny(reg::kCurrentUser, "Software\\Locked");
  EXPECT_EQ(r.CreateKey(reg::kCurrentUser, "software\\LOCKED\\below", reg::kKeyAllAccess, &h),
            reg::kAccessDenied);
  EXPECT_FALSE(r.HasKey(reg::kCurrentUser, "Software\\Locked"));
  EXPECT_EQ(r.CreateKey(reg::kCurrentUser, "Software\\LockedNot", reg::kKeyAllAccess, &h),
            reg::kSuccess);
  r.CloseKey(h);
  EXPECT_EQ(r.OpenHandleCount(), 0u);
}

TEST(MemoryRegistry, FailingWritesRefuseValuesAndKeysButAllowReads) {
  MemoryRegistry r;
  r.PutDword(reg::kCurrentUser, kPolicy, "NoSMMyDocs", 1);
  r.FailWrites(reg::kCurrentUser, kPolicy);
  RegHandle h = 0;
  ASSERT_EQ(r.OpenKey(reg::kCurrentUser, kPolicy, reg::kKeyAllAccess, &h), reg::kSuccess);
  RegValue v;
  EXPECT_EQ(r.QueryValue(h, "NoSMMyDocs", &v), reg::kSuccess);
  EXPECT_EQ(r.SetValue(h, "NoSMMyDocs", reg::kDword, DwordData(0)), reg::kAccessDenied);
  EXPECT_EQ(r.DeleteValue(h, "NoSMMyDocs"), reg::kAccessDenied);
  RegHandle sub = 0;
  EXPECT_EQ(r.CreateKey(h, "Sub", reg::kKeyAllAccess, &sub), reg::kAccessDenied);
  r.CloseKey(h);
  EXPECT_EQ(r.GetDword(reg::kCurrentUser, kPolicy, "NoSMMyDocs"), 1u);
}

TEST(MemoryRegistry, AHandleToADeletedKeyStaysSafe) {
  MemoryRegistry r;
  RegHandle h = 0;
  ASSERT_EQ(r.CreateKey(reg::kClassesRoot, "Folder\\shellex\\X", reg::kKeyAllAccess, &h),
            reg::kSuccess);
  EXPECT_EQ(r.DeleteKey(reg::kClassesRoot, "Folder\\shellex\\X"), reg::kSuccess);
  EXPECT_NE(r.SetValue(h, "", reg::kSz, SzData("x")), reg::kSuccess);
  EXPECT_FALSE(r.HasKey(reg::kClassesRoot, "Folder\\shellex\\X"));
  r.CloseKey(h);
}

TEST(MemoryFileSystem, AnUnenterableFolderExistsButYieldsNothing) {
  MemoryFileSystem fs;
  fs.AddFile("C:\\Locked\\a.lnk", "x");
  fs.MarkUnenterable("C:\\Locked");
  EXPECT_TRUE(fs.FolderExists("C:\\Locked"));
  EXPECT_TRUE(fs.List("C:\\Locked", "*.*").empty());
  EXPECT_FALSE(fs.ChangeDirectory("C:\\Locked"));
  EXPECT_FALSE(fs.WriteFile("C:\\Locked\\b.lnk", "y"));
  EXPECT_FALSE(fs.Copy("C:\\Locked\\a.lnk", "C:\\a.lnk"));
}

TEST(MemoryFileSystem, PathsResolveRelativeAndDottedComponents) {
  MemoryFileSystem fs;
  fs.AddFile("C:\\A\\B\\x.lnk", "x");
  fs.AddFile("C:\\x.lnk", "x");
  // Before any folder is entered, a relative path has no meaning here: on
  // Windows it would land wherever the program was started.
  EXPECT_FALSE(fs.FileExists("x.lnk"));
  EXPECT_FALSE(fs.WriteFile("y.lnk", "y"));
  ASSERT_TRUE(fs.ChangeDirectory("c:\\a"));
  EXPECT_EQ(fs.CurrentDirectory(), "C:\\a");
  EXPECT_TRUE(fs.FileExists("B\\X.LNK"));
  EXPECT_TRUE(fs.FileExists("C:\\A\\.\\B\\..\\B\\x.lnk"));
  EXPECT_FALSE(fs.RemoveFolder("C:\\A"));  // not empty, and in use
  EXPECT_FALSE(fs.Rename("C:\\A", "C:\\A\\B\\Inside"));
}

TEST(FileProfileStore, AWriteRefusedByTheFileSystemIsReported) {
  MemoryFileSystem fs;
  FileProfileStore store(fs);
  fs.AddFile("C:\\Corvane\\classify.ini", "[programs]\r\nLabelNum=1\r\n", attr::kReadOnly);
  EXPECT_FALSE(store.WriteString("C:\\Corvane\\classify.ini", "programs", "LabelNum", "2"));
  EXPECT_EQ(store.ReadInteger("C:\\Corvane\\classify.ini", "programs", "LabelNum", 0), 1);
  EXPECT_FALSE(store.WriteString("C:\\Nowhere\\classify.ini", "programs", "LabelNum", "2"));
}

// The profile routines' rule where names repeat: the first section and, in
// it, the first key of a name are the ones read, written and deleted.
TEST(FileProfileStore, TheFirstOfRepeatedNamesWins) {
  MemoryFileSystem fs;
  FileProfileStore store(fs);
  const std::string ini = "C:\\Corvane\\classify.ini";
  fs.AddFile(ini, "[programs]\r\nLabelNum=1\r\nlabelnum=2\r\n[Programs]\r\nLabelNum=3\r\nLabel1=x\r\n");
  EXPECT_EQ(store.ReadInteger(ini, "PROGRAMS", "LabelNum", 0), 1);
  EXPECT_EQ(store.ReadString(ini, "programs", "Label1", "none"), "none");
  EXPECT_EQ(store.ReadKeys(ini, "Programs"), (std::vector<std::string>{"LabelNum", "labelnum"}));
  ASSERT_TRUE(store.WriteInteger(ini, "Programs", "LABELNUM", 4));
  EXPECT_EQ(store.ReadInteger(ini, "programs", "labelnum", 0), 4);
  ASSERT_TRUE(store.DeleteKey(ini, "programs", "LabelNum"));
  EXPECT_EQ(store.ReadInteger(ini, "programs", "LabelNum", 0), 2);
  EXPECT_EQ(*fs.ReadFile(ini),
            "[programs]\r\nlabelnum=2\r\n[Programs]\r\nLabelNum=3\r\nLabel1=x\r\n");
}

}  // namespace
}  // namespace corvane
