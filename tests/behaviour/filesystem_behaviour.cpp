#include <algorithm>

#include "platform_under_test.h"

namespace corvane::behaviour {
namespace {

std::optional<std::uint32_t> Find(const std::vector<FileEntry>& entries, const std::string& name) {
  for (const auto& e : entries)
    if (e.name == name) return e.attributes;
  return std::nullopt;
}

using FileSystemBehaviour = PlatformTest;

TEST_F(FileSystemBehaviour, ListingShowsDotsHiddenEntriesAndAttributes) {
  ASSERT_TRUE(fs().WriteFile(Path("a.lnk"), "x"));
  ASSERT_TRUE(fs().WriteFile(Path("Desktop.ini"), "y"));
  ASSERT_TRUE(fs().SetAttributes(Path("Desktop.ini"), attr::kHidden | attr::kSystem));
  ASSERT_TRUE(fs().CreateFolder(Path("Sub")));
  ASSERT_TRUE(fs().WriteFile(Path("B.ICO"), "i"));

  auto all = fs().List(dir_, "*.*");
  EXPECT_TRUE(Find(all, "."));
  EXPECT_TRUE(Find(all, ".."));
  ASSERT_TRUE(Find(all, "Desktop.ini"));
  EXPECT_EQ(*Find(all, "Desktop.ini") & (attr::kHidden | attr::kSystem),
            attr::kHidden | attr::kSystem);
  ASSERT_TRUE(Find(all, "Sub"));
  EXPECT_EQ(*Find(all, "Sub"), attr::kDirectory);
  EXPECT_EQ(all.size(), 6u);

  auto icons = fs().List(dir_, "*.ico");
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].name, "B.ICO");

  EXPECT_TRUE(fs().List(Path("missing"), "*.*").empty());
}

TEST_F(FileSystemBehaviour, CopyReplacesAPlainTargetButNotAHiddenOrReadOnlyOne) {
  ASSERT_TRUE(fs().WriteFile(Path("src.lnk"), "new"));
  EXPECT_TRUE(fs().Copy(Path("src.lnk"), Path("fresh.lnk")));
  EXPECT_EQ(fs().ReadFile(Path("fresh.lnk")).value_or(""), "new");

  ASSERT_TRUE(fs().WriteFile(Path("plain.lnk"), "old"));
  EXPECT_TRUE(fs().Copy(Path("src.lnk"), Path("plain.lnk")));
  EXPECT_EQ(fs().ReadFile(Path("plain.lnk")).value_or(""), "new");

  for (std::uint32_t guard : {attr::kHidden, attr::kReadOnly}) {
    std::string target = Path("guarded" + std::to_string(guard) + ".lnk");
    ASSERT_TRUE(fs().WriteFile(target, "old"));
    ASSERT_TRUE(fs().SetAttributes(target, guard));
    EXPECT_FALSE(fs().Copy(Path("src.lnk"), target)) << "attribute " << guard;
    EXPECT_EQ(fs().ReadFile(target).value_or(""), "old");
    EXPECT_EQ(fs().ReadFile(Path("src.lnk")).value_or(""), "new");
  }
  EXPECT_FALSE(fs().Copy(Path("nothing.lnk"), Path("x.lnk")));
}

TEST_F(FileSystemBehaviour, DeleteRefusesReadOnlyFiles) {
  ASSERT_TRUE(fs().WriteFile(Path("ro.txt"), "x"));
  ASSERT_TRUE(fs().SetAttributes(Path("ro.txt"), attr::kReadOnly));
  EXPECT_FALSE(fs().Delete(Path("ro.txt")));
  EXPECT_TRUE(fs().FileExists(Path("ro.txt")));
  ASSERT_TRUE(fs().SetAttributes(Path("ro.txt"), attr::kNormal));
  EXPECT_TRUE(fs().Delete(Path("ro.txt")));
  EXPECT_FALSE(fs().Exists(Path("ro.txt")));
}

TEST_F(FileSystemBehaviour, AppendAddsAtTheEndAndMakesAMissingFile) {
  ASSERT_TRUE(fs().AppendFile(Path("log.txt"), "one\r\n"));
  ASSERT_TRUE(fs().AppendFile(Path("log.txt"), "两\r\n"));
  EXPECT_EQ(fs().ReadFile(Path("log.txt")), "one\r\n两\r\n");
}

TEST_F(FileSystemBehaviour, RemoveFolderOnlyWhenEmptyEvenOfHiddenFiles) {
  ASSERT_TRUE(fs().CreateFolder(Path("cat")));
  ASSERT_TRUE(fs().WriteFile(Path("cat\\Desktop.ini"), "[.ShellClassInfo]\r\n"));
  ASSERT_TRUE(fs().SetAttributes(Path("cat\\Desktop.ini"), attr::kHidden | attr::kSystem));
  EXPECT_FALSE(fs().RemoveFolder(Path("cat")));
  EXPECT_TRUE(fs().FolderExists(Path("cat")));
  ASSERT_TRUE(fs().SetAttributes(Path("cat\\Desktop.ini"), attr::kNormal));
  ASSERT_TRUE(fs().Delete(Path("cat\\Desktop.ini")));
  EXPECT_TRUE(fs().RemoveFolder(Path("cat")));
  EXPECT_FALSE(fs().Exists(Path("cat")));
}

TEST_F(FileSystemBehaviour, FoldersAreCreatedWithParentsAndRenamedInPlace) {
  EXPECT_FALSE(fs().CreateFolder(Path("a\\b\\c")));
  EXPECT_TRUE(fs().ForceFolders(Path("a\\b\\c")));
  EXPECT_TRUE(fs().FolderExists(Path("a\\b\\c")));
  EXPECT_TRUE(fs().ForceFolders(Path("a\\b\\c\\")));
  ASSERT_TRUE(fs().WriteFile(Path("a\\b\\c\\x.lnk"), "x"));

  EXPECT_TRUE(fs().Rename(Path("a\\b"), Path("a\\renamed")));
  EXPECT_FALSE(fs().Exists(Path("a\\b")));
  EXPECT_EQ(fs().ReadFile(Path("a\\renamed\\c\\x.lnk")).value_or(""), "x");
  ASSERT_TRUE(fs().CreateFolder(Path("a\\other")));
  EXPECT_FALSE(fs().Rename(Path("a\\renamed"), Path("a\\other")));
}

TEST_F(FileSystemBehaviour, SetAttributesReplacesTheWholeSetOfAFile) {
  // Wine reports the archive bit on every file whatever was set; the other
  // bits are still its to keep or drop.
  const std::uint32_t seen = UnderWine() ? ~attr::kArchive : ~0u;
  ASSERT_TRUE(fs().WriteFile(Path("f.ini"), "x"));
  ASSERT_TRUE(fs().SetAttributes(Path("f.ini"), attr::kHidden | attr::kSystem));
  EXPECT_EQ(fs().Attributes(Path("f.ini")).value_or(0) & seen, attr::kHidden | attr::kSystem);
  ASSERT_TRUE(fs().SetAttributes(Path("f.ini"), attr::kHidden));
  EXPECT_EQ(fs().Attributes(Path("f.ini")).value_or(0) & seen, attr::kHidden);
  ASSERT_TRUE(fs().SetAttributes(Path("f.ini"), attr::kNormal));
  EXPECT_EQ(fs().Attributes(Path("f.ini")).value_or(0) & seen, UnderWine() ? 0 : attr::kNormal);
}

TEST_F(FileSystemBehaviour, AFolderCanBeMadeReadOnly) {
  ASSERT_TRUE(fs().CreateFolder(Path("cat")));
  ASSERT_TRUE(fs().SetAttributes(Path("cat"), attr::kReadOnly | attr::kHidden));
  std::uint32_t a = fs().Attributes(Path("cat")).value_or(0);
  ASSERT_TRUE(fs().SetAttributes(Path("cat"), attr::kNormal));
  EXPECT_EQ(fs().Attributes(Path("cat")).value_or(0), attr::kDirectory);
  // Wine keeps the hidden bit of a folder but not the read-only one. The
  // program never reads that bit back for its own safety: the walks treat a
  // folder with it and one without it as the tests of both cases in
  // folder_routines_test.cpp (CopyTakesPlainFoldersAndFilesOnly) expect, so
  // losing it changes what is walked, never what is kept.
  if (a == (attr::kDirectory | attr::kHidden))
    KNOWN_WINE_DIFFERENCE("the read-only bit of a folder is not kept");
  EXPECT_EQ(a, attr::kDirectory | attr::kReadOnly | attr::kHidden);
}

TEST_F(FileSystemBehaviour, CurrentDirectoryIsEnteredAndRestored) {
  ASSERT_TRUE(fs().CreateFolder(Path("walk")));
  ASSERT_TRUE(fs().WriteFile(Path("walk\\inside.lnk"), "x"));
  std::string before = fs().CurrentDirectory();
  {
    ScopedCurrentDirectory in(fs(), Path("walk"));
    ASSERT_TRUE(in.entered());
    EXPECT_TRUE(fs().FileExists("inside.lnk"));
  }
  EXPECT_EQ(fs().CurrentDirectory(), before);
  ScopedCurrentDirectory missing(fs(), Path("nowhere"));
  EXPECT_FALSE(missing.entered());
  EXPECT_EQ(fs().CurrentDirectory(), before);
}

TEST_F(FileSystemBehaviour, GbkNamesWithBackslashAndLetterTrailBytesSurvive) {
  // "\x95\x5c" and "\x81\x41" are GBK characters whose trail bytes are '\' and 'A'.
  const std::string folder = Path("\xb3\xcc\xd0\xf2\x95\x5c");
  const std::string file = folder + "\\\x81\x41\x95\x5c.lnk";
  ASSERT_TRUE(fs().ForceFolders(folder));
  ASSERT_TRUE(fs().WriteFile(file, "x"));
  auto listed = fs().List(folder, "*.*");
  EXPECT_TRUE(Find(listed, "\x81\x41\x95\x5c.lnk"));
  EXPECT_TRUE(fs().Copy(file, folder + "\\copy.lnk"));
  EXPECT_TRUE(fs().Delete(file));
  EXPECT_TRUE(fs().Delete(folder + "\\copy.lnk"));
  EXPECT_TRUE(fs().RemoveFolder(folder));
}

}  // namespace
}  // namespace corvane::behaviour
