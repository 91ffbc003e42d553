#include "categories/folder_routines.h"

#include <gtest/gtest.h>

#include <set>

#include "core/text.h"
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
  EXPECT_EQ(programs["隐藏 (2).lnk"], "moved onto a hidden target") << "both are kept";
  EXPECT_EQ(programs["锁定 (2).lnk"], "moved onto a read-only target");
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
                   {"程序\\新软件\\新软件.lnk", "new program"},
                   {"程序\\隐藏 (2).lnk", "moved onto a hidden target"},
                   {"程序\\锁定 (2).lnk", "moved onto a read-only target"}}));
  EXPECT_EQ(FilesUnder(fs, kPaths.user_start_menu),
            (Files{{"程序\\Secret\\s.lnk", "in a read-only folder"},
                   {"程序\\Link\\outside.lnk", "behind a junction"}}));
  EXPECT_FALSE(fs.Exists(kPaths.user_start_menu + "\\Tools"));
  EXPECT_FALSE(fs.Exists(kPaths.user_programs + "\\启动")) << "moved, and the empty source removed";
  EXPECT_EQ(report.moved, 7);
  EXPECT_EQ(report.stayed.size(), 3u) << "只读, Secret and Link";
  EXPECT_EQ(report.not_removed, std::vector<std::string>{kPaths.common_start_menu + "\\只读.lnk"})
      << "copied whole, but a read-only file is not deleted";
  EXPECT_EQ(report.skipped, (std::vector<std::string>{kPaths.user_programs + "\\Link",
                                                      kPaths.user_programs + "\\Secret"}));
  EXPECT_TRUE(report.not_copied.empty());
}

// --- same names: both are kept --------------------------------------------------------

TEST_F(FolderRoutinesTest, FreeNamesCountUpBeforeTheExtension) {
  fs.AddFile(Here("a.lnk"));
  fs.AddFile(Here("a (2).lnk"));
  fs.AddFolder(Here("工具 2.5"));
  EXPECT_EQ(FreeName(fs, "C:\\t", "b.lnk"), "b.lnk");
  EXPECT_EQ(FreeName(fs, "C:\\t", "a.lnk"), "a (3).lnk");
  EXPECT_EQ(FreeName(fs, "C:\\t", "A.LNK"), "A (3).LNK") << "names without case";
  EXPECT_EQ(FreeName(fs, "C:\\t", "工具 2.5"), "工具 2 (2).5");
}

TEST_F(MergeTest, AUserShortcutNamedLikeACommonOneIsKeptBesideIt) {
  fs.AddFile(kPaths.common_start_menu + "\\影音.lnk", "common player");
  fs.AddFile(kPaths.user_start_menu + "\\影音.lnk", "user player");
  fs.AddFile(kPaths.common_start_menu + "\\同样.lnk", "same bytes");
  fs.AddFile(kPaths.user_start_menu + "\\同样.lnk", "same bytes");
  fs.AddFile(kPaths.user_programs + "\\Office\\Word.lnk", "another word");
  MoveReport report = routines.MergeIntoCommonPrograms();
  Files programs = FilesUnder(fs, kPaths.common_programs);
  EXPECT_EQ(programs["影音.lnk"], "common player");
  EXPECT_EQ(programs["影音 (2).lnk"], "user player");
  EXPECT_EQ(programs["同样.lnk"], "same bytes");
  EXPECT_FALSE(programs.count("同样 (2).lnk")) << "the same bytes are not kept twice";
  EXPECT_EQ(programs["Office\\Word.lnk"], "word");
  EXPECT_EQ(programs["Office\\Word (2).lnk"], "another word") << "inside merged folders too";
  EXPECT_FALSE(fs.Exists(kPaths.user_start_menu + "\\影音.lnk"));
  EXPECT_FALSE(fs.Exists(kPaths.user_start_menu + "\\同样.lnk"));
  EXPECT_EQ(report.stayed.size(), 3u);
}

TEST_F(FolderRoutinesTest, ADroppedFolderBesideAFileOfItsNameTakesAFreeName) {
  fs.AddFile(Here("src\\Tools\\t.lnk"), "tool");
  fs.AddFile(Here("dst\\Tools"), "a file");
  MoveReport report = routines.MoveEntry(Here("src\\Tools"), Here("dst"));
  EXPECT_EQ(fs.ReadFile(Here("dst\\Tools")), "a file");
  EXPECT_EQ(fs.ReadFile(Here("dst\\Tools (2)\\t.lnk")), "tool");
  EXPECT_FALSE(fs.Exists(Here("src\\Tools")));
  EXPECT_TRUE(report.stayed.empty());
}

// --- what stayed, and why -------------------------------------------------------------

TEST_F(FolderRoutinesTest, AnUnreadableFolderIsNotCopiedAndSaidSo) {
  fs.AddFile(Here("src\\Pack\\a.lnk"), "a");
  fs.AddFile(Here("src\\Pack\\Locked\\b.lnk"), "b");
  fs.MarkUnenterable(Here("src\\Pack\\Locked"));
  MoveReport report = routines.MoveEntry(Here("src\\Pack"), Here("dst"));
  EXPECT_FALSE(report.listed);
  EXPECT_EQ(report.not_copied, std::vector<std::string>{Here("src\\Pack\\Locked")});
  EXPECT_TRUE(report.not_removed.empty()) << "nothing of it was copied; nothing to delete by hand";
  EXPECT_FALSE(report.OnlyRemovalsFailed());
  EXPECT_EQ(fs.ReadFile(Here("dst\\Pack\\a.lnk")), "a");

  fs.AddFolder(Here("src\\Whole"));
  fs.MarkUnenterable(Here("src\\Whole"));
  report = routines.MoveEntry(Here("src\\Whole"), Here("dst"));
  EXPECT_EQ(report.not_copied, std::vector<std::string>{Here("src\\Whole")});
  EXPECT_TRUE(report.not_removed.empty());
}

TEST_F(FolderRoutinesTest, ACopiedFileThatCannotBeDeletedIsToldApartFromOneNotCopied) {
  fs.AddFile(Here("src\\Pack\\ro.lnk"), "ro", attr::kReadOnly);
  fs.AddFile(Here("src\\Pack\\a.lnk"), "a");
  MoveReport report = routines.MoveEntry(Here("src\\Pack"), Here("dst"));
  EXPECT_EQ(report.not_removed, std::vector<std::string>{Here("src\\Pack\\ro.lnk")});
  EXPECT_TRUE(report.not_copied.empty());
  EXPECT_TRUE(report.OnlyRemovalsFailed());
  EXPECT_EQ(fs.ReadFile(Here("dst\\Pack\\ro.lnk")), "ro");
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

TEST_F(MergeTest, AFolderBesideAFileOfItsNameTakesAFreeName) {
  fs.AddFile(kPaths.common_programs + "\\Office", "a file");
  routines.MergeIntoCommonPrograms();
  EXPECT_EQ(fs.ReadFile(kPaths.common_programs + "\\Office (2)\\Word.lnk"), "word");
  EXPECT_EQ(fs.ReadFile(kPaths.common_programs + "\\Office"), "a file");
  EXPECT_FALSE(fs.Exists(kPaths.common_start_menu + "\\Office"));
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

// Counts the names asked about that are not there: in a big folder under
// Wine each is a walk through the whole folder.
class MissLookups : public MemoryFileSystem {
 public:
  std::optional<std::uint32_t> Attributes(const std::string& path) override {
    auto a = MemoryFileSystem::Attributes(path);
    if (!a) ++misses;
    return a;
  }
  int misses = 0;
};

TEST(MergeAtScale, ShortcutsMovedUnderFreeNamesCostNoLookupOfAMissingName) {
  MissLookups m;
  m.AddFolder(kPaths.common_programs);
  for (int i = 0; i < 200; ++i)
    m.AddFile(kPaths.user_programs + "\\程序" + std::to_string(i) + ".lnk", "link " + std::to_string(i));
  m.AddFile(kPaths.user_programs + "\\Sub\\a.lnk", "in a folder");
  MoveReport report = FolderRoutines(m, kPaths).MergeIntoCommonPrograms();
  EXPECT_EQ(report.moved, 201);
  EXPECT_TRUE(report.stayed.empty());
  EXPECT_EQ(m.ReadFile(kPaths.common_programs + "\\程序199.lnk"), "link 199");
  // The missing sources of the two Start menus and the new subfolder's
  // own look before it is made; none per file.
  EXPECT_LE(m.misses, 8);
}

TEST_F(MergeTest, ADeleteThatSaysYesButLeavesTheFileIsNotCountedAsMoved) {
  using Op = FaultyFileSystem::Op;
  MemoryFileSystem m;
  m.AddFile(kPaths.user_programs + "\\a.lnk", "a");
  m.AddFile(kPaths.user_programs + "\\b.lnk", "b");
  m.AddFile(kPaths.user_start_menu + "\\c.lnk", "c");
  FaultyFileSystem faulty(m);
  faulty.FailAt(Op::kDelete, 1, FaultyFileSystem::Mode::kLie);
  MoveReport report = FolderRoutines(faulty, kPaths).MergeIntoCommonPrograms();
  ASSERT_TRUE(faulty.Fired());
  EXPECT_EQ(report.moved, 2);
  ASSERT_EQ(report.not_removed.size(), 1u);
  EXPECT_TRUE(m.Exists(report.not_removed[0])) << report.not_removed[0];
  EXPECT_EQ(m.ReadFile(report.not_removed[0]), m.ReadFile(kPaths.common_programs + "\\" +
                                                          text::ExtractFileName(report.not_removed[0])));
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
            // Beside a same-named entry it went under a free name.
            std::string ext = text::ExtractFileExt(rel);
            std::string stem = rel.substr(0, rel.size() - ext.size());
            for (int i = 2; i < 5 && !kept; ++i) {
              auto renamed = m.ReadFile(kPaths.common_programs + "\\" + stem + " (" +
                                        std::to_string(i) + ")" + ext);
              kept = renamed && *renamed == data;
            }
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

// Same names in every source and the target, with every step failing in
// turn: every file that was anywhere is still somewhere, with its bytes.
TEST_F(MergeTest, NoFaultLosesEitherOfTwoSameNamedEntries) {
  using Op = FaultyFileSystem::Op;
  using Mode = FaultyFileSystem::Mode;
  auto lay_out = [](MemoryFileSystem& m) {
    m.AddFile(kPaths.common_programs + "\\影音.lnk", "in the target");
    m.AddFile(kPaths.common_start_menu + "\\影音.lnk", "common player");
    m.AddFile(kPaths.user_start_menu + "\\影音.lnk", "user player");
    m.AddFile(kPaths.user_programs + "\\影音.lnk", "user programs player");
    m.AddFile(kPaths.common_programs + "\\Office\\Word.lnk", "target word");
    m.AddFile(kPaths.user_start_menu + "\\Office\\Word.lnk", "user word");
    m.AddFile(kPaths.user_programs + "\\Office\\Word.lnk", "programs word");
  };
  auto contents = [](MemoryFileSystem& m) {
    std::multiset<std::string> out;
    for (const auto& [path, data] : FilesUnder(m, "C:")) out.insert(data);
    return out;
  };
  std::map<Op, int> clean_calls;
  {
    MemoryFileSystem m;
    lay_out(m);
    FaultyFileSystem counting(m);
    FolderRoutines(counting, kPaths).MergeIntoCommonPrograms();
    for (Op op : {Op::kCopy, Op::kDelete, Op::kRemoveFolder, Op::kCreateFolder, Op::kList})
      clean_calls[op] = counting.Calls(op);
    EXPECT_EQ(FilesUnder(m, kPaths.common_programs).size(), 7u) << "all seven kept";
  }
  int runs = 0;
  for (auto [op, calls] : clean_calls) {
    for (Mode mode : {Mode::kRefuse, Mode::kLie, Mode::kGarble, Mode::kDoThenFail}) {
      if (mode == Mode::kGarble && op != Op::kCopy) continue;
      for (int n = 0; n < calls; ++n) {
        MemoryFileSystem m;
        lay_out(m);
        std::multiset<std::string> before = contents(m);
        FaultyFileSystem faulty(m);
        faulty.FailAt(op, n, mode);
        FolderRoutines(faulty, kPaths).MergeIntoCommonPrograms();
        ++runs;
        std::multiset<std::string> after = contents(m);
        for (const std::string& data : before)
          EXPECT_TRUE(after.count(data)) << data << " lost when call " << n << " of op "
                                         << static_cast<int>(op) << " failed in mode "
                                         << static_cast<int>(mode);
        EXPECT_EQ(m.ReadFile(kPaths.common_programs + "\\影音.lnk"), "in the target");
        EXPECT_EQ(m.ReadFile(kPaths.common_programs + "\\Office\\Word.lnk"), "target word");
      }
    }
  }
  EXPECT_GT(runs, 20);
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
