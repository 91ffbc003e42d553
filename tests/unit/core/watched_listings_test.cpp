#include "core/watched_listings.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/memory/memory_filesystem.h"

namespace corvane {
namespace {

class FakeChanges : public FolderChanges {
 public:
  bool Watch(const std::string& folder) override {
    if (unwatchable.count(folder)) return false;
    watched.insert(folder);
    return true;
  }
  bool ChangedSince(const std::string& folder) override {
    if (!watched.count(folder)) return true;
    return fired.erase(folder) > 0;
  }
  void Forget(const std::string& folder) override { watched.erase(folder); }
  std::set<std::string> watched, fired, unwatchable;
};

constexpr char kMenu[] = "C:\\Menu";
constexpr char kOther[] = "C:\\Other";

std::size_t Count(FileSystem& fs, const std::string& folder) {
  std::size_t n = 0;
  for (const FileEntry& e : fs.List(folder, "*.*"))
    if (!e.IsDotEntry()) ++n;
  return n;
}

// Counts the moves asked of it as moves.
class MoveCountingDisk : public MemoryFileSystem {
 public:
  MoveOutcome MoveByCopy(const std::string& from, const std::string& to) override {
    ++moves;
    return MemoryFileSystem::MoveByCopy(from, to);
  }
  int moves = 0;
};

class WatchedListingsTest : public ::testing::Test {
 protected:
  WatchedListingsTest() {
    disk.ForceFolders(kMenu);
    disk.ForceFolders(kOther);
    disk.WriteFile("C:\\Menu\\a.lnk", "a");
    listings.SetFolders({"c:\\menu\\"});
  }
  MoveCountingDisk disk;
  FakeChanges changes;
  WatchedListings listings{disk, changes};
};

TEST_F(WatchedListingsTest, InsideAScopeAWatchedFolderIsListedAgainOnlyAfterAChange) {
  EXPECT_EQ(Count(listings, kMenu), 1u);
  EXPECT_TRUE(changes.watched.empty()) << "a listing outside a scope costs no watch";
  {
    WatchedListings::Scope scope(listings);
    EXPECT_EQ(Count(listings, kMenu), 1u);
  }
  EXPECT_EQ(changes.watched.count("c:\\menu\\"), 1u) << "watched as it was first listed in a scope";
  disk.WriteFile("C:\\Menu\\b.lnk", "b");  // not through the listings, no notice yet
  {
    WatchedListings::Scope scope(listings);
    EXPECT_EQ(Count(listings, kMenu), 1u) << "no notice: the listing in memory";
    EXPECT_EQ(Count(listings, "C:\\MENU"), 1u) << "the same folder, however written";
    changes.fired.insert("c:\\menu\\");
    EXPECT_EQ(Count(listings, kMenu), 2u);
    disk.WriteFile("C:\\Menu\\c.lnk", "c");
    EXPECT_EQ(Count(listings, kMenu), 2u);
  }
  EXPECT_EQ(Count(listings, kMenu), 3u) << "outside a scope every listing reads the disk";
}

TEST_F(WatchedListingsTest, OwnWritesOtherPatternsAndUnwatchedFoldersAlwaysReadTheDisk) {
  WatchedListings::Scope scope(listings);
  Count(listings, kMenu);
  listings.WriteFile("C:\\Menu\\b.lnk", "b");
  EXPECT_EQ(Count(listings, kMenu), 2u) << "our own write drops the listing";
  listings.Delete("C:\\Menu\\b.lnk");
  EXPECT_EQ(Count(listings, kMenu), 1u);
  listings.CreateFolder("C:\\Menu\\Sub");
  EXPECT_EQ(Count(listings, kMenu), 2u);
  EXPECT_EQ(listings.MoveByCopy("C:\\Menu\\a.lnk", "C:\\Menu\\Sub\\a.lnk"), MoveOutcome::kMoved);
  EXPECT_EQ(disk.moves, 1) << "a move reaches the disk as one, not as its steps";
  EXPECT_EQ(Count(listings, kMenu), 1u);

  disk.WriteFile("C:\\Menu\\x.ico", "i");
  EXPECT_EQ(listings.List(kMenu, "*.ico").size(), 1u) << "only whole listings are kept";
  disk.WriteFile("C:\\Other\\o.lnk", "o");
  EXPECT_EQ(Count(listings, kOther), 1u) << "a folder not named is never kept";

  changes.unwatchable.insert("C:\\Gone");
  listings.SetFolders({"C:\\Gone"});
  EXPECT_TRUE(changes.watched.empty()) << "the old watches end";
  disk.ForceFolders("C:\\Gone");
  EXPECT_EQ(Count(listings, "C:\\Gone"), 0u);
  disk.WriteFile("C:\\Gone\\g.lnk", "g");
  EXPECT_EQ(Count(listings, "C:\\Gone"), 1u) << "a folder that cannot be watched is listed each time";
}

}  // namespace
}  // namespace corvane
