// The journal under real feature code on the memory platform: merges,
// Desktop.ini files and registry applies are recorded, undone and restored,
// with faults and crashes at every step.
#include "journal_fixture.h"

namespace corvane::journal {
namespace {

using namespace testing;
using corvane::testing::kPaths;

struct JournalTest : ::testing::Test, World {};

TEST_F(JournalTest, RestoreAllGivesBackEveryFolderAndValueAsTheyWere) {
  Snapshot before = Take();
  MakeChanges();
  ASSERT_FALSE(Take() == before) << "the changes changed nothing: the test would prove nothing";
  History h = ReadHistory(journal.Read());
  ASSERT_EQ(UndoableGroups(h).size(), 4u);
  EXPECT_EQ(UndoableGroups(h).back()->what.rfind("启动时整理 ", 0), 0u);
  EXPECT_EQ(UndoableGroups(h).front()->what, "首次运行") << "newest first";

  UndoReport r = Undo(files, keys, journal).All();
  EXPECT_TRUE(r.failed.empty()) << r.failed.front();
  EXPECT_TRUE(r.kept_beside.empty());
  EXPECT_TRUE(r.left.empty()) << r.left.front();
  EXPECT_EQ(Differences(before, Take()), "");
  h = ReadHistory(journal.Read());
  EXPECT_TRUE(UndoableGroups(h).empty());
  EXPECT_FALSE(Undo(files, keys, journal).Newest()) << "nothing left to take back";
}

TEST_F(JournalTest, AUserActionIsOneGroupDescribedByWhatItDid) {
  std::function<void(int)> drop = [&](int) {
    categories::FolderRoutines{files, kPaths}.MoveEntry(kPaths.user_start_menu + "\\记事本.lnk",
                                                        kPaths.common_programs + "\\办公应用");
  };
  std::function<void(int)> merge = [&](int) {
    categories::FolderRoutines{files, kPaths}.MergeIntoCommonPrograms();
  };
  InGroup(journal, "拖放", drop, DropDescription)(0);
  std::function<void(int)> icon = [&](int) {
    categories::FolderRoutines{files, kPaths}.WriteCategoryIconFile(
        kPaths.common_programs + "\\办公应用", "D:\\Corvane\\Icon\\a.ico");
  };
  InGroup(journal, "启动时整理", icon, MergeDescription)(0);
  InGroup(journal, "启动时整理", merge, MergeDescription)(0);
  // Only what stayed is tried again, and fails again: nothing to take back.
  InGroup(journal, "启动时整理", merge, MergeDescription)(0);
  History h = ReadHistory(journal.Read());
  auto groups = UndoableGroups(h);
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[2]->what, "拖放 记事本 → 办公应用");
  EXPECT_EQ(groups[1]->what, "启动时整理 0 项") << "an icon file written again moves nothing";
  EXPECT_EQ(groups[0]->what, "启动时整理 6 项");
}

TEST_F(JournalTest, AMovedEntryCostsOneRecordAndNoSavedCopy) {
  categories::MoveReport moved;
  {
    GroupScope g(&journal, "启动时整理");
    moved = categories::FolderRoutines{files, kPaths}.MergeIntoCommonPrograms();
  }
  ASSERT_GT(moved.moved, 3);
  // Its bytes are always at the source, the target or both: nothing to save.
  EXPECT_TRUE(disk.List(journal.FolderPath(), "*.bin").empty());
  std::string text = disk.ReadFile(journal.FilePath()).value_or("");
  History h = ReadHistory(journal.Read());
  ASSERT_EQ(h.groups.size(), 1u);
  std::map<Op, int> ops;
  for (const Record& r : h.groups[0].changes) ++ops[r.op];
  EXPECT_EQ(ops[Op::kMoveByCopy], moved.moved);
  // The read-only source stays: its checked copy is recorded for undo to remove.
  EXPECT_EQ(ops[Op::kCopy], 1);
  EXPECT_EQ(text.find("op=delete"), std::string::npos);
}

// Counts the journal file's openings and how many are held.
class OpenCounting : public MemoryFileSystem {
 public:
  struct Held : FileAppender {
    Held(std::unique_ptr<FileAppender> in, int& open) : in_(std::move(in)), open_(open) { ++open_; }
    ~Held() override { --open_; }
    bool Append(const std::string& d) override { return in_->Append(d); }
    std::unique_ptr<FileAppender> in_;
    int& open_;
  };
  std::unique_ptr<FileAppender> OpenAppender(const std::string& p) override {
    ++opened;
    return std::make_unique<Held>(MemoryFileSystem::OpenAppender(p), open);
  }
  int opened = 0, open = 0;
};

TEST(JournalFile, AGroupOpensItOnceAndLetsGoOfItAtTheEnd) {
  OpenCounting disk;
  disk.AddFolder(kProgram);
  corvane::testing::LayOutStartMenu(disk);
  Journal journal(disk, kProgram, {});
  JournalledFileSystem files(disk, journal);
  {
    GroupScope g(&journal, "启动时整理");
    categories::FolderRoutines{files, kPaths}.MergeIntoCommonPrograms();
    EXPECT_EQ(disk.opened, 1) << "a merge appends a record per entry";
  }
  EXPECT_EQ(disk.open, 0) << "held past its group, it could not be folded";
  files.WriteFile("C:\\outside.txt", "x");  // no group: let go at once
  EXPECT_GT(disk.opened, 1);
  EXPECT_EQ(disk.open, 0);
  EXPECT_TRUE(ReadHistory(journal.Read()).pending.empty());
}

TEST_F(JournalTest, CategoryDefinitionsComeBackButTheDetectionsCountsStay) {
  const std::string ini = std::string(kProgram) + "\\classify.ini";
  FileProfileStore plain(disk);
  JournalledProfileStore profile(plain, journal, [](const std::string& s) { return s != "control"; });
  categories::CategoryStore(plain, ini).SetLabel(1, "办公应用");
  categories::CategoryStore(plain, ini).SetLabelNum(1);
  {
    GroupScope g(&journal, "新建类别");
    categories::CategoryStore store(profile, ini);
    store.SetLabel(2, "我的工具");
    store.SetLabelNum(2);
    store.SetLabelIcon(2, "a.ico");
  }
  {
    GroupScope g(&journal, "删除类别");
    categories::CategoryStore(profile, ini).RemoveCategoryKeys(1);
  }
  {
    GroupScope g(&journal, "整理新增项目");
    profile.WriteString(ini, "control", "AllUsersKs", "12");
  }
  History h = ReadHistory(journal.Read());
  EXPECT_EQ(UndoableGroups(h).size(), 2u) << "counts alone are no action";
  ASSERT_TRUE(plain.Stamp(ini));
  EXPECT_EQ(profile.Stamp(ini), plain.Stamp(ini)) << "the ticks' kept reads need it";

  UndoReport r = Undo(files, keys, journal, &profile).All();
  EXPECT_TRUE(r.failed.empty()) << r.failed.front();
  EXPECT_EQ(categories::CategoryStore(plain, ini).Labels(), std::vector<std::string>{"办公应用"});
  EXPECT_EQ(categories::CategoryStore(plain, ini).LabelNum(), 1);
  EXPECT_EQ(plain.ReadString(ini, "control", "AllUsersKs", ""), "12");
  EXPECT_EQ(Undo(files, keys, journal).All().reverted, 0) << "nothing left to take back";

  // A value changed by hand since stays, and is listed.
  {
    GroupScope g(&journal, "重命名类别");
    categories::CategoryStore(profile, ini).SetLabel(1, "办公");
  }
  categories::CategoryStore(plain, ini).SetLabel(1, "用户改的");
  r = Undo(files, keys, journal, &profile).All();
  EXPECT_EQ(categories::CategoryStore(plain, ini).Label(1), "用户改的");
  ASSERT_EQ(r.left.size(), 1u);
}

TEST_F(JournalTest, NothingIsWrittenWhenNothingChanges) {
  const std::string office = kPaths.common_programs + "\\办公应用";
  categories::FolderRoutines{disk, kPaths}.WriteCategoryIconFile(office, "D:\\Corvane\\Icon\\a.ico");
  {
    GroupScope g(&journal, "应用 「我的项目」设置");
    // Every start writes each category's icon file: the same one again is no change.
    categories::FolderRoutines{files, kPaths}.WriteCategoryIconFile(office, "D:\\Corvane\\Icon\\a.ico");
    RegistryAccessor a(keys);
    ASSERT_TRUE(a.OpenKey(std::string("\\") + kAdvanced, false));
    a.WriteInteger("Start_ShowMyMusic", 1);  // already 1
    a.DeleteValue("NoSuchValue");
    files.WriteFile(kPaths.common_programs + "\\帮助.lnk", "help");  // same bytes
    files.Delete("C:\\nothing-here.lnk");
    files.CreateFolder(kPaths.common_programs);
  }
  EXPECT_FALSE(disk.Exists(journal.FilePath()));
}

TEST_F(JournalTest, AChangeWhoseRecordCannotBeWrittenIsNotMade) {
  disk.AddFile(journal.FilePath(), "", attr::kReadOnly);  // the journal cannot grow
  GroupScope g(&journal, "拖放 写字板 → 办公应用");
  std::string from = kPaths.common_start_menu + "\\写字板.lnk";
  EXPECT_FALSE(files.Delete(from));
  EXPECT_EQ(disk.ReadFile(from), "wordpad");
  RegistryAccessor a(keys);
  ASSERT_TRUE(a.OpenKey(std::string("\\") + kAdvanced, false));
  EXPECT_THROW(a.WriteInteger("Start_ShowMyMusic", 0), RegistryError);
  EXPECT_EQ(registry.GetDword(reg::kCurrentUser, kAdvanced, "Start_ShowMyMusic"), 1u);
}

TEST_F(JournalTest, UndoKeepsBothVersionsOfWhatTheUserChangedSince) {
  std::string lnk = kPaths.common_programs + "\\记事本.lnk";
  std::string ini = kPaths.common_programs + "\\办公应用\\Desktop.ini";
  MakeChanges();
  disk.WriteFile(lnk, "the user's own notepad link");  // came with the merge, changed since
  // Written over, changed since (a hidden file takes no plain write).
  disk.AddFile(ini, "the user's own folder settings", attr::kHidden | attr::kSystem);
  registry.PutDword(reg::kCurrentUser, kAdvanced, "Start_ShowMyPics", 7);
  disk.AddFile(kPaths.user_start_menu + "\\记事本.lnk", "a new one where the old was");

  UndoReport r = Undo(files, keys, journal).All();
  EXPECT_TRUE(r.failed.empty());
  // A moved entry goes back as the user left it, beside what took its place.
  EXPECT_FALSE(disk.Exists(lnk));
  EXPECT_EQ(disk.ReadFile(kPaths.user_start_menu + "\\记事本.lnk"), "a new one where the old was");
  EXPECT_EQ(disk.ReadFile(kPaths.user_start_menu + "\\记事本 (2).lnk"), "the user's own notepad link");
  // A file written over keeps the user's version, and the old one beside it.
  EXPECT_EQ(disk.ReadFile(ini), "the user's own folder settings");
  EXPECT_EQ(disk.ReadFile(kPaths.common_programs + "\\办公应用\\Desktop (2).ini"), "[.ShellClassInfo]");
  EXPECT_EQ(r.kept_beside.size(), 2u);
  EXPECT_EQ(registry.GetDword(reg::kCurrentUser, kAdvanced, "Start_ShowMyPics"), 7u);
  EXPECT_EQ(registry.GetDword(reg::kCurrentUser, kAdvanced, "Start_ShowMyMusic"), 1u);
  bool listed = false;
  for (const std::string& s : r.left) listed = listed || s.find("Start_ShowMyPics") != std::string::npos;
  EXPECT_TRUE(listed);
}

TEST_F(JournalTest, AFaultAtAnyStepOfAnUndoLosesNothingAndARetryFinishesIt) {
  int steps = 0;
  for (int k = 0;; ++k) {
    SCOPED_TRACE("fault at change " + std::to_string(k));
    World w;
    auto& [disk, registry, plan, faulty_files, faulty_registry, journal, files, keys] = w;
    Snapshot before = w.Take();
    w.MakeChanges();
    plan = FaultPlan{};
    plan.fail_at = k;
    Undo(files, keys, journal).All();
    if (!plan.fired) {
      steps = k;
      break;
    }
    // Every file of before is still somewhere, byte for byte: in its place,
    // beside it, or among the journal's saved contents.
    Snapshot now = w.Take();
    Walk(disk, "D:", now);
    std::multiset<std::string> contents;
    for (const auto& [p, f] : now.files) contents.insert(f.second);
    for (const auto& [p, f] : before.files)
      EXPECT_TRUE(contents.count(f.second)) << p << " lost";
    plan.fail_at = -1;
    UndoReport retry = Undo(files, keys, journal).All();
    EXPECT_TRUE(retry.failed.empty());
    EXPECT_EQ(Differences(before, w.Take()), "");
  }
  EXPECT_GT(steps, 20) << "the undo made fewer changes than the scenario needs";
}

TEST_F(JournalTest, ACrashMidMergeIsSettledAtTheNextStartWithNothingLost) {
  for (bool after : {false, true}) {
    for (int k = 0; k < 40; ++k) {
      SCOPED_TRACE(std::to_string(k) + (after ? " after" : " before"));
      World w;
      auto& [disk, registry, plan, faulty_files, faulty_registry, journal, files, keys] = w;
      Snapshot before = w.Take();
      plan = FaultPlan{};
      plan.fail_at = k;
      plan.crash = true;
      plan.after = after;
      try {
        GroupScope g(&journal, "启动时整理");
        categories::FolderRoutines{files, kPaths}.MergeIntoCommonPrograms();
      } catch (const Crash&) {
      }
      if (!plan.fired) break;
      plan.fail_at = -1;
      Journal restarted(disk, kProgram, [] { return std::string("t"); });
      RecoveryReport rec = Recover(disk, registry, restarted);
      EXPECT_EQ(rec.completed + rec.rolled_back, 1);
      EXPECT_TRUE(ReadHistory(restarted.Read()).pending.empty());
      JournalledFileSystem again(faulty_files, restarted);
      Undo(again, keys, restarted).All();
      EXPECT_EQ(Differences(before, w.Take()), "");
    }
  }
}

TEST_F(JournalTest, AChangeWhoseCompletionWasNotYetWrittenIsFoundMadeAtTheNextStart) {
  Snapshot before = Take();
  GroupScope g(&journal, "启动时整理");
  categories::FolderRoutines{files, kPaths}.MergeIntoCommonPrograms();
  // The power goes before the group ends: the last completion waits unwritten.
  Journal restarted(disk, kProgram, {});
  ASSERT_EQ(ReadHistory(restarted.Read()).pending.size(), 1u);
  RecoveryReport rec = Recover(disk, registry, restarted);
  EXPECT_EQ(rec.completed, 1);
  JournalledFileSystem again(faulty_files, restarted);
  Undo(again, keys, restarted).All();
  EXPECT_EQ(Differences(before, Take()), "");
}

TEST_F(JournalTest, ATornCopyOrWriteIsRolledBackAtTheNextStart) {
  std::string from = kPaths.common_start_menu + "\\写字板.lnk";
  std::string onto = kPaths.common_programs + "\\帮助.lnk";
  std::string fresh = kPaths.common_programs + "\\写字板.lnk";
  // Taken by the time a copy onto a free name ran, which the copy refused.
  std::string taken = kPaths.common_programs + "\\已有.lnk";
  {
    GroupScope g(&journal, "启动时整理");
    Record r;
    r.op = Op::kCopy;
    r.path = from;
    r.to = taken;
    r.size = 7;
    r.hash = ContentHash("wordpad");
    r.old_absent = true;
    ASSERT_TRUE(journal.Begin(r, nullptr));
    disk.WriteFile(taken, "someone else's");
    for (const std::string& to : {onto, fresh}) {
      Record r;
      r.op = Op::kCopy;
      r.path = from;
      r.to = to;
      r.size = 7;
      r.hash = ContentHash("wordpad");
      std::optional<std::string> old = disk.ReadFile(to);
      r.old_absent = !old;
      ASSERT_TRUE(journal.Begin(r, old ? &*old : nullptr));
      disk.WriteFile(to, "word");  // the power went here
    }
  }
  Journal restarted(disk, kProgram, {});
  RecoveryReport rec = Recover(disk, registry, restarted);
  EXPECT_EQ(rec.rolled_back, 3);
  EXPECT_EQ(disk.ReadFile(onto), "help");
  EXPECT_FALSE(disk.Exists(fresh));
  EXPECT_EQ(disk.ReadFile(taken), "someone else's") << "not the copy's: it stays";
  EXPECT_EQ(disk.ReadFile(from), "wordpad");
  EXPECT_EQ(Recover(disk, registry, restarted).rolled_back, 0) << "settled once";
}

TEST_F(JournalTest, OldGroupsFoldIntoTheBaselineAndTakeTheirSavedContentWithThem) {
  std::string f = kPaths.common_programs + "\\帮助.lnk";
  for (int i = 0; i < 40; ++i) {
    GroupScope g(&journal, "写入 " + std::to_string(i));
    files.WriteFile(f, std::string(200, static_cast<char>('a' + i % 26)));
  }
  std::size_t blobs = disk.List(journal.FolderPath(), "*.bin").size();
  EXPECT_EQ(journal.FoldIfAbove(1 << 20), 0u) << "below the limit nothing folds";
  std::size_t folded = journal.FoldIfAbove(2000);
  EXPECT_GT(folded, 10u);
  EXPECT_EQ(disk.List(journal.FolderPath(), "*.bin").size(), blobs - folded);
  EXPECT_LE(disk.ReadFile(journal.FilePath())->size(), 1000u);
  History h = ReadHistory(journal.Read());
  EXPECT_EQ(h.folded, folded);
  EXPECT_EQ(h.damaged, 0u);
  UndoReport r = Undo(files, keys, journal).All();
  EXPECT_TRUE(r.failed.empty());
  EXPECT_EQ(disk.ReadFile(f), std::string(200, static_cast<char>('a' + (folded - 1) % 26)));
}

TEST_F(JournalTest, ADamagedLineCostsOnlyItsOwnChange) {
  MakeChanges();
  std::string text = *disk.ReadFile(journal.FilePath());
  std::size_t at = text.find("op=rmkey");
  ASSERT_NE(at, std::string::npos);
  text.insert(at, "\x01garbage\tz");
  disk.WriteFile(journal.FilePath(), text);
  History h = ReadHistory(journal.Read());
  EXPECT_EQ(h.damaged, 1u);
  UndoReport r = Undo(files, keys, journal).All();
  EXPECT_TRUE(r.failed.empty());
  EXPECT_FALSE(registry.HasKey(reg::kClassesRoot, std::string(kPin) + "\\Sub"))
      << "its change is lost, nothing else";
  EXPECT_TRUE(registry.HasKey(reg::kClassesRoot, kPin));
  EXPECT_EQ(registry.GetDword(reg::kCurrentUser, kAdvanced, "Start_ShowMyMusic"), 1u);
}

Entry Do(Record r) {
  Entry e;
  e.kind = Entry::Kind::kDo;
  e.record = std::move(r);
  return e;
}

// A start reads the journal through its outline: it must find the same
// unfinished changes and numbers a full reading finds, damage included.
TEST_F(JournalTest, TheStartsOutlineFindsWhatAFullReadingFinds) {
  MakeChanges();
  std::string text = *disk.ReadFile(journal.FilePath());
  text += "done\tseq=900\n";  // its record comes later: it completes nothing
  text += "do\tseq=900\tgroup=77\top=mkdir\tpath=C:\\后来\n";
  text += "do\tseq=901\tgroup=77\top=mkdir\tpath=..\\outside\n";  // damaged: never begun
  text += "do\tseq=902\tgroup=77\top=mkdir\tpath=C:\\x\n";
  text += "done\tseq=%zz\n";
  text += "do\tseq=903\tgroup=78\top=mkdir\tpath=C:\\y\n";
  text += "failed\tseq=903\n";
  text += "do\tseq=904\tgroup=78\top=mkdir\tpath=C:\\z";  // cut off, no line break
  ParsedJournal parsed = ParseJournal(text);
  History full = ReadHistory(parsed);
  JournalOutline outline = OutlineJournal(text);
  std::vector<std::uint64_t> want, got;
  for (const Record& r : full.pending) want.push_back(r.seq);
  for (const Record& r : outline.pending) got.push_back(r.seq);
  EXPECT_EQ(got, (std::vector<std::uint64_t>{900, 902, 904}));
  EXPECT_EQ(got, want);
  ASSERT_EQ(outline.pending.size(), 3u);
  EXPECT_EQ(FormatLine(Do(outline.pending[1])), FormatLine(Do(full.pending[1])));
  EXPECT_EQ(outline.last_seq, 904u);
  EXPECT_EQ(outline.last_group, 78u);
}

// Counts the reads of the journal's own file.
class ReadCounting : public MemoryFileSystem {
 public:
  std::optional<std::string> ReadFile(const std::string& p) override {
    if (p.size() >= 4 && p.compare(p.size() - 4, 4, ".jnl") == 0) ++journal_reads;
    return MemoryFileSystem::ReadFile(p);
  }
  int journal_reads = 0;
};

TEST(JournalFile, AStartReadsItOnceToResumeAndOnceToRecoverWhateverItsSize) {
  ReadCounting disk;
  disk.AddFolder(kProgram);
  MemoryRegistry registry;
  {
    Journal journal(disk, kProgram, {});
    for (int i = 0; i < 30; ++i) {
      GroupScope g(&journal, "写入");
      JournalledFileSystem(disk, journal).WriteFile("C:\\a.txt", std::string(100, 'a' + i % 26));
    }
  }
  std::size_t size = disk.ReadFile(std::string(kProgram) + "\\" + kJournalFile)->size();
  disk.journal_reads = 0;
  Journal journal(disk, kProgram, {});
  Recover(disk, registry, journal);
  EXPECT_EQ(journal.FoldIfAbove(size + 1), 0u);
  EXPECT_EQ(disk.journal_reads, 2) << "the fold knows the size it would read";
  GroupScope g(&journal, "写入");
  JournalledFileSystem(disk, journal).WriteFile("C:\\a.txt", "grown past the limit");
  EXPECT_GT(journal.FoldIfAbove(size + 1), 0u) << "what it appended counts too";
}

}  // namespace
}  // namespace corvane::journal
