#include "core/cached_profile.h"

#include <gtest/gtest.h>

#include "platform/memory/file_profile_store.h"
#include "platform/memory/memory_filesystem.h"

namespace corvane {
namespace {

constexpr char kIni[] = "C:\\p\\a.ini";

// The file's profile routines, counting what reaches them, with a stamp the
// test can withhold.
class Counted : public FileProfileStore {
 public:
  using FileProfileStore::FileProfileStore;
  std::string ReadString(const std::string& f, const std::string& s, const std::string& k,
                         const std::string& d) override {
    ++reads;
    return FileProfileStore::ReadString(f, s, k, d);
  }
  std::vector<std::string> ReadKeys(const std::string& f, const std::string& s) override {
    ++reads;
    return FileProfileStore::ReadKeys(f, s);
  }
  std::optional<FileStamp> Stamp(const std::string& f) override {
    if (!vouches) return std::nullopt;
    return FileProfileStore::Stamp(f);
  }
  int reads = 0;
  bool vouches = true;
};

class CachedProfileTest : public ::testing::Test {
 protected:
  CachedProfileTest() {
    fs.ForceFolders("C:\\p");
    fs.WriteFile(kIni, "[s]\r\na=1\r\nb=two\r\n");
  }
  MemoryFileSystem fs;
  Counted inner{fs};
  CachedProfile cached{inner};
};

TEST_F(CachedProfileTest, AnUnchangedFileIsReadOnceAChangedOneAgain) {
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(cached.ReadInteger(kIni, "s", "a", 0), 1);
    EXPECT_EQ(cached.ReadString(kIni, "s", "b", ""), "two");
    EXPECT_EQ(cached.ReadString(kIni, "s", "c", "none"), "none");
    EXPECT_EQ(cached.ReadKeys(kIni, "s"), (std::vector<std::string>{"a", "b"}));
  }
  EXPECT_EQ(inner.reads, 4);
  EXPECT_EQ(cached.ReadString(kIni, "s", "c", "other"), "other") << "the default is part of a read";
  // Changed behind its back: the stamp tells.
  fs.WriteFile(kIni, "[s]\r\na=2\r\n");
  EXPECT_EQ(cached.ReadInteger(kIni, "s", "a", 0), 2);
  EXPECT_EQ(cached.ReadKeys(kIni, "s"), std::vector<std::string>{"a"});
  fs.Delete(kIni);
  EXPECT_EQ(cached.ReadInteger(kIni, "s", "a", 0), 0) << "gone";
}

TEST_F(CachedProfileTest, ItsOwnWritesAndDeletionsAreSeenAtOnce) {
  EXPECT_EQ(cached.ReadString(kIni, "s", "b", ""), "two");
  ASSERT_TRUE(cached.WriteString(kIni, "s", "b", "three"));
  EXPECT_EQ(cached.ReadString(kIni, "s", "b", ""), "three");
  ASSERT_TRUE(cached.DeleteKey(kIni, "s", "b"));
  EXPECT_EQ(cached.ReadString(kIni, "s", "b", "none"), "none");
  EXPECT_EQ(cached.ReadKeys(kIni, "s"), std::vector<std::string>{"a"});
}

TEST_F(CachedProfileTest, AFileWhoseStampVouchesForNothingIsReadEveryTime) {
  inner.vouches = false;  // written just now, or no way to tell
  for (int i = 0; i < 3; ++i) EXPECT_EQ(cached.ReadString(kIni, "s", "b", ""), "two");
  EXPECT_EQ(inner.reads, 3);
  inner.vouches = true;
  EXPECT_EQ(cached.ReadString(kIni, "s", "b", ""), "two");
  EXPECT_EQ(cached.ReadString(kIni, "s", "b", ""), "two");
  EXPECT_EQ(inner.reads, 4);
}

}  // namespace
}  // namespace corvane
