#include "categories/folder_routines.h"

#include <gtest/gtest.h>

#include "faulty_filesystem.h"
#include "platform/memory/file_profile_store.h"
#include "start_menu_fixture.h"

namespace corvane::categories {
namespace {

using corvane::testing::FaultyFileSystem;
using corvane::testing::FilesUnder;
using corvane::testing::kPaths;
using corvane::testing::LayOutStartMenu;
using Files = std::map<std::string, std::string>;

class FolderRoutinesTest : public ::testing::Test {
 protected:
  MemoryFileSystem fs;
  FolderRoutines routines{fs, kPaths};
  std::string Here(const std::string& name) { return "C:\\t\\" + name; }
};

// --- counting, copying, clearing -------------------------------------------------

TEST_F(FolderRoutinesTest, CountingReadsOneLevelWithHiddenEntriesAndFailsToZero) {
  fs.AddFile(Here("a.lnk"));
  fs.AddFile(Here("Desktop.ini"), "", attr::kHidden | attr::kSystem);
  fs.AddFile(Here("Sub\\deep\\b.lnk"));
  fs.AddFolder(Here("Odd"), attr::kDirectory | attr::kHidden);
  EXPECT_EQ(routines.CountEntries("C:\\t"), 4);
  EXPECT_EQ(routines.CountEntries(Here("missing")), 0);
  fs.MarkUnenterable(Here("Sub"));
  EXPECT_EQ(routines.CountEntries(Here("Sub")), 0);
}

TEST_F(FolderRoutinesTest, CopyTakesPlainFoldersAndFilesOnly) {
  fs.AddFile(Here("src\\a.lnk"), "a");
  fs.AddFile(Here("src\\Plain\\Inner\\b.lnk"), "b");
  for (std::uint32_t extra : {attr::kReadOnly, attr::kHidden, attr::kSystem, attr::kArchive,
                              attr::kReparsePoint}) {
    std::string name = "Odd" + std::to_string(extra);
    fs.AddFolder(Here("src\\" + name), attr::kDirectory | extra);
    fs.AddFile(Here("src\\" + name + "\\c.lnk"), "c");
  }
  fs.AddFile(Here("dst\\a.lnk"), "old");
  fs.AddFile(Here("src\\h.lnk"), "new h");
  fs.AddFile(Here("dst\\h.lnk"), "hidden", attr::kHidden);

  EXPECT_TRUE(routines.CopyFolderContents(Here("src"), Here("dst")));
  EXPECT_EQ(FilesUnder(fs, Here("dst")),
            (Files{{"a.lnk", "a"}, {"Plain\\Inner\\b.lnk", "b"}, {"h.lnk", "hidden"}}));
  EXPECT_EQ(FilesUnder(fs, Here("src")).size(), 8u) << "a copy changes no source";

  EXPECT_TRUE(routines.CopyFolderContents(Here("src\\Plain"), Here("new\\deeper\\x")))
      << "a missing destination is made with its parents";
  EXPECT_EQ(fs.ReadFile(Here("new\\deeper\\x\\Inner\\b.lnk")), "b");
  EXPECT_FALSE(routines.CopyFolderContents(Here("missing"), Here("dst2")));
  EXPECT_FALSE(fs.Exists(Here("dst2"))) << "nothing done for a source that cannot be read";
}

TEST_F(FolderRoutinesTest, ProgramsIsSkippedOnlyAtTheTopOfEitherStartMenu) {
  fs.AddFile(kPaths.user_start_menu + "\\程序\\p.lnk", "p");
  fs.AddFile(kPaths.user_start_menu + "\\Tools\\程序\\q.lnk", "q");
  fs.AddFile(Here("src\\程序\\r.lnk"), "r");
  routines.CopyFolderContents(kPaths.user_start_menu, Here("dst"));
  routines.CopyFolderContents(Here("src"), Here("dst"));
  EXPECT_EQ(FilesUnder(fs, Here("dst")), (Files{{"Tools\\程序\\q.lnk", "q"}, {"程序\\r.lnk", "r"}}));
}

TEST_F(FolderRoutinesTest, ClearingDeletesWhatItMayAndRemovesFoldersFoundEmpty) {
  fs.AddFile(Here("c\\a.lnk"));
  fs.AddFile(Here("c\\ro.lnk"), "", attr::kReadOnly);
  fs.AddFile(Here("c\\Plain\\b.lnk"));
  fs.AddFolder(Here("c\\Plain\\Empty"));
  fs.AddFolder(Here("c\\Hidden"), attr::kDirectory | attr::kHidden);
  fs.AddFile(Here("c\\Hidden\\d.lnk"));
  EXPECT_TRUE(routines.ClearFolder(Here("c")));
  EXPECT_EQ(FilesUnder(fs, Here("c")), (Files{{"Hidden\\d.lnk", ""}, {"ro.lnk", ""}}));
  EXPECT_FALSE(fs.Exists(Here("c\\Plain")));
  EXPECT_TRUE(fs.Exists(Here("c"))) << "it held entries, so it stays";

  fs.AddFolder(Here("empty"));
  EXPECT_TRUE(routines.ClearFolder(Here("empty")));
  EXPECT_FALSE(fs.Exists(Here("empty")));
  EXPECT_FALSE(routines.ClearFolder(Here("empty")));
}

// --- the merge ---------------------------------------------------------------------

class MergeTest : public FolderRoutinesTest {
 protected:
  void SetUp() override { LayOutStartMenu(fs); }
};

TEST_F(MergeTest, LooseEntriesMoveAndEverythingThatCannotStaysWhereItWas) {
  MoveReport report = routines.MergeIntoCommonPrograms();
  Files programs = FilesUnder(fs, kPaths.common_programs);
  EXPECT_EQ(programs["写字板.lnk"], "wordpad");
  EXPECT_EQ(programs["Office\\Word.lnk"], "word");
  EXPECT_EQ(programs["只读.lnk"], "read-only source");
  EXPECT_EQ(programs["记事本.lnk"], "notepad");
  EXPECT_EQ(programs["Tools\\程序\\x.lnk"], "nested programs folder");
  EXPECT_EQ(programs["新软件\\新软件.lnk"], "new program");
  EXPECT_EQ(programs["隐藏.lnk"], "hidden target") << "a hidden target is not replaced";
  EXPECT_EQ(programs["锁定.lnk"], "read-only target") << "nor a read-only one";
  EXPECT_TRUE(fs.FolderExists(kPaths.common_programs + "\\启动"));
  EXPECT_FALSE(programs.count("Secret\\s.lnk")) << "a read-only folder is not walked";
  EXPECT_FALSE(programs.count("Link\\outside.lnk")) << "nor a junction";

  // Whatever could not be copied is still in its source, byte for byte.
  EXPECT_EQ(FilesUnder(fs, kPaths.common_start_menu),
            (Files{{"只读.lnk", "read-only source"}, {"程序\\帮助.lnk", "help"},
                   {"程序\\办公应用\\Desktop.ini", "[.ShellClassInfo]"},
                   {"程序\\隐藏.lnk", "hidden target"}, {"程序\\锁定.lnk", "read-only target"},
                   {"程序\\写字板.lnk", "wordpad"}, {"程序\\Office\\Word.lnk", "word"},
                   {"程序\\只读.lnk", "read-only source"}, {"程序\\记事本.lnk", "notepad"},
                   {"程序\\Tools\\程序\\x.lnk", "nested programs folder"},
                   {"程序\\新软件\\新软件.lnk", "new program"}}));
  EXPECT_EQ(FilesUnder(fs, kPaths.user_start_menu),
            (Files{{"隐藏.lnk", "moved onto a hidden target"},
                   {"程序\\锁定.lnk", "moved onto a read-only target"},
                   {"程序\\Secret\\s.lnk", "in a read-only folder"},
                   {"程序\\Link\\outside.lnk", "behind a junction"}}));
  EXPECT_FALSE(fs.Exists(kPaths.user_start_menu + "\\Tools"));
  EXPECT_FALSE(fs.Exists(kPaths.user_programs + "\\启动")) << "moved, and the empty source removed";
  EXPECT_EQ(report.moved, 5);
  EXPECT_EQ(report.stayed.size(), 5u) << "只读, 隐藏, 锁定, Secret and Link";
}

TEST_F(MergeTest, AnEmptiedProgramsFolderGoesAtTheNextMergeAndCountsZero) {
  fs.AddFolder(kPaths.user_programs + "\\x");
  fs.Delete(kPaths.user_programs + "\\锁定.lnk");
  fs.SetAttributes(kPaths.user_programs + "\\Secret", attr::kDirectory);
  fs.SetAttributes(kPaths.user_programs + "\\Link", attr::kDirectory);
  routines.MergeIntoCommonPrograms();
  EXPECT_TRUE(fs.FolderExists(kPaths.user_programs)) << "it held entries when cleared";
  routines.MergeIntoCommonPrograms();
  EXPECT_FALSE(fs.Exists(kPaths.user_programs));
  EXPECT_EQ(routines.CountAll().current_user_ks_cx, 0);
}

TEST_F(MergeTest, AFolderCannotLandOnAFileOfItsName) {
  fs.AddFile(kPaths.common_programs + "\\Office", "a file");
  routines.MergeIntoCommonPrograms();
  EXPECT_EQ(fs.ReadFile(kPaths.common_start_menu + "\\Office\\Word.lnk"), "word");
  EXPECT_EQ(fs.ReadFile(kPaths.common_programs + "\\Office"), "a file");
}

TEST_F(MergeTest, AUserCalledAllUsersMergesNothingIntoItself) {
  FolderRoutines all_users(fs, StartMenuPathsFor("C:\\", "All Users"));
  fs.AddFolder(kPaths.common_programs + "\\空分类");
  Files before = FilesUnder(fs, kPaths.common_programs);
  all_users.MergeIntoCommonPrograms();
  Files after = FilesUnder(fs, kPaths.common_programs);
  for (const auto& [name, data] : before) EXPECT_EQ(after[name], data) << name;
  EXPECT_TRUE(fs.FolderExists(kPaths.common_programs + "\\空分类"));
}

TEST_F(MergeTest, MissingSourcesAreSkipped) {
  MemoryFileSystem empty;
  FolderRoutines r(empty, kPaths);
  MoveReport report = r.MergeIntoCommonPrograms();
  EXPECT_EQ(report.moved, 0);
  EXPECT_FALSE(empty.Exists(kPaths.common_programs)) << "no target made for nothing";
}

// Every step of the merge fails in turn, in every way a step can fail; not
// one source file may be lost.
TEST_F(MergeTest, NoFaultAtAnyCopyDeleteOrRemoveLosesAnEntry) {
  using Op = FaultyFileSystem::Op;
  using Mode = FaultyFileSystem::Mode;
  struct Source {
    std::string folder;
    Files files;
  };
  auto sources = [](MemoryFileSystem& m) {
    Files common = FilesUnder(m, kPaths.common_start_menu);
    for (auto it = common.begin(); it != common.end();)
      it = it->first.rfind("程序\\", 0) == 0 ? common.erase(it) : std::next(it);
    Files user = FilesUnder(m, kPaths.user_start_menu);
    for (auto it = user.begin(); it != user.end();)
      it = it->first.rfind("程序\\", 0) == 0 ? user.erase(it) : std::next(it);
    return std::vector<Source>{{kPaths.common_start_menu, common},
                               {kPaths.user_start_menu, user},
                               {kPaths.user_programs, FilesUnder(m, kPaths.user_programs)}};
  };

  std::map<Op, int> clean_calls;
  {
    MemoryFileSystem m;
    LayOutStartMenu(m);
    FaultyFileSystem counting(m);
    FolderRoutines(counting, kPaths).MergeIntoCommonPrograms();
    for (Op op : {Op::kCopy, Op::kDelete, Op::kRemoveFolder, Op::kCreateFolder, Op::kList})
      clean_calls[op] = counting.Calls(op);
  }
  ASSERT_GE(clean_calls[Op::kCopy], 8);
  ASSERT_GE(clean_calls[Op::kDelete], 6);
  ASSERT_GE(clean_calls[Op::kRemoveFolder], 4);

  int runs = 0;
  for (auto [op, calls] : clean_calls) {
    for (Mode mode : {Mode::kRefuse, Mode::kLie, Mode::kGarble, Mode::kDoThenFail}) {
      if (mode == Mode::kGarble && op != Op::kCopy) continue;
      for (int n = 0; n < calls; ++n) {
        MemoryFileSystem m;
        LayOutStartMenu(m);
        std::vector<Source> before = sources(m);
        FaultyFileSystem faulty(m);
        faulty.FailAt(op, n, mode);
        FolderRoutines(faulty, kPaths).MergeIntoCommonPrograms();
        ASSERT_TRUE(faulty.Fired());
        ++runs;
        for (const Source& s : before) {
          for (const auto& [rel, data] : s.files) {
            auto in_source = m.ReadFile(s.folder + "\\" + rel);
            auto in_target = m.ReadFile(kPaths.common_programs + "\\" + rel);
            bool kept = (in_source && *in_source == data) || (in_target && *in_target == data);
            // The hidden and read-only targets keep their own bytes; the
            // source entry must then still be where it was.
            EXPECT_TRUE(kept) << s.folder << "\\" << rel << " lost when call " << n << " of op "
                              << static_cast<int>(op) << " failed in mode "
                              << static_cast<int>(mode);
          }
        }
        EXPECT_EQ(m.ReadFile(kPaths.common_programs + "\\隐藏.lnk"), "hidden target");
        EXPECT_EQ(m.ReadFile(kPaths.common_programs + "\\锁定.lnk"), "read-only target");
      }
    }
  }
  EXPECT_GT(runs, 60);
}

// --- counts and Desktop.ini ---------------------------------------------------------

TEST_F(FolderRoutinesTest, TheCountsAreRecordedInTheirOrder) {
  LayOutStartMenu(fs);
  fs.AddFolder("C:\\Corvane");
  FileProfileStore profile(fs);
  CategoryStore store(profile, "C:\\Corvane\\classify.ini");
  routines.RecordEntryCounts(store);
  EXPECT_EQ(fs.ReadFile("C:\\Corvane\\classify.ini"),
            "[control]\r\nAllUsersKs=4\r\nAllUsersKsCx=4\r\nCurrentUserKs=4\r\n"
            "CurrentUserKsCx=5\r\n");
}

TEST_F(FolderRoutinesTest, TheIconFileHasItsFiveLinesAndTheFolderBecomesReadOnly) {
  fs.AddFolder(Here("办公应用"));
  fs.AddFile(Here("办公应用\\Desktop.ini"), "stale", attr::kHidden | attr::kSystem | attr::kReadOnly);
  routines.WriteCategoryIconFile(Here("办公应用"), "C:\\Corvane\\Icon\\office.ico");
  EXPECT_EQ(fs.ReadFile(Here("办公应用\\Desktop.ini")),
            "[.ShellClassInfo]\r\nIconFile=C:\\Corvane\\Icon\\office.ico\r\nIconIndex=0\r\n"
            "[.ShellClassInfo.A]\r\nIconFile=C:\\Corvane\\Icon\\office.ico\r\n");
  EXPECT_EQ(fs.Attributes(Here("办公应用\\Desktop.ini")), attr::kHidden | attr::kSystem);
  EXPECT_EQ(fs.Attributes(Here("办公应用")), attr::kDirectory | attr::kReadOnly);
  EXPECT_EQ(fs.List(Here("办公应用"), "*.*").size(), 3u);
}

}  // namespace
}  // namespace corvane::categories
