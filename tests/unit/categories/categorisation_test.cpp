#include "categories/categorisation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <set>

#include "app/program.h"
#include "categories/frm_jiqiao.h"
#include "categories/frm_tixing.h"
#include "faulty_filesystem.h"
#include "core/text.h"
#include "platform/memory/file_profile_store.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_shell_folders.h"
#include "platform/memory/memory_system.h"
#include "start_menu_fixture.h"
#include "ui/headless.h"

namespace corvane::categories {
namespace {

using corvane::testing::FilesUnder;
using corvane::testing::kPaths;
using corvane::testing::LayOutStartMenu;

constexpr char kStore[] = "C:\\Corvane\\classify.ini";
constexpr char kIcons[] = "C:\\Corvane\\Icon\\";

std::string IconBytes() {
  std::string header("\0\0\1\0\1\0", 6);
  std::string entry("\x10\x10\0\0\1\0\x20\0\x04\0\0\0\x16\0\0\0", 16);
  return header + entry + "pixl";
}

// Counts the profile reads, to see how often the filter asks the store.
class CountingProfile : public ProfileStore {
 public:
  explicit CountingProfile(ProfileStore& inner) : inner_(inner) {}
  std::string ReadString(const std::string& f, const std::string& s, const std::string& k,
                         const std::string& d) override {
    ++reads;
    return inner_.ReadString(f, s, k, d);
  }
  bool WriteString(const std::string& f, const std::string& s, const std::string& k,
                   const std::string& v) override {
    if (fail_writes) return false;  // a read-only file, a full disk
    return inner_.WriteString(f, s, k, v);
  }
  bool DeleteKey(const std::string& f, const std::string& s, const std::string& k) override {
    if (fail_writes) return false;
    return inner_.DeleteKey(f, s, k);
  }
  std::vector<std::string> ReadKeys(const std::string& f, const std::string& s) override {
    return inner_.ReadKeys(f, s);
  }
  // Without stamps every read reaches the file, as each test here counts.
  std::optional<FileStamp> Stamp(const std::string& f) override {
    return stamped ? inner_.Stamp(f) : std::nullopt;
  }
  int reads = 0;
  bool fail_writes = false;
  bool stamped = false;

 private:
  ProfileStore& inner_;
};

class CategorisationTest : public ::testing::Test {
 protected:
  CategorisationTest() : backend(true), app(backend, user) {
    fs.AddFolder("C:\\Corvane\\Icon");
    fs.AddFolder(kPaths.common_programs);
    system.tick_count = 1000;  // started with Windows: the window stays hidden
  }
  ~CategorisationTest() override {
    form.reset();
    categories.reset();
  }

  void Store(const std::string& text) { fs.WriteFile(kStore, text); }
  void Icon(const std::string& name) { fs.AddFile(kIcons + name, IconBytes()); }
  // The store as delivered, with its icons.
  void Delivered() {
    Store(
        "[programs]\r\nLabelNum=6\r\nLabel0=所有程序\r\nLabel1=办公应用\r\nLabel2=其它软件\r\n"
        "Label3=生活助手\r\nLabel4=系统安全\r\nLabel5=系统工具\r\nLabel6=娱乐休闲\r\n"
        "[LabelIcon]\r\nLabelIcon0=root.ico\r\nLabelIcon1=office.ico\r\nLabelIcon2=other.ico\r\n"
        "LabelIcon3=life.ico\r\nLabelIcon4=security.ico\r\nLabelIcon5=systools.ico\r\n"
        "LabelIcon6=fun.ico\r\n");
    for (const char* i : {"root.ico", "office.ico", "other.ico", "life.ico", "security.ico",
                          "systools.ico", "fun.ico"})
      Icon(i);
  }
  // The program starts: the categorisation and the main window.
  void Start(const std::function<void(app::TFrmMain::Steps&)>& adjust = {}) {
    form = std::make_unique<app::TFrmMain>(app, app::MainServices{system, notify, power, registry});
    categories = std::make_unique<Categorisation>(
        app, CategoryServices{*files, counting, system, shell, icons});
    categories->Attach(app::CategoryViewOf(*form));
    app::FillCategorySteps(form->StartSteps(), *categories);
    if (adjust) adjust(form->StartSteps());
    form->Start();
  }
  // Ends this run, keeping the files.
  void Stop() {
    form.reset();
    categories.reset();
  }
  ui::TreeView& Tree() { return *form->TrVewFenlei; }
  ui::ShellListView& List() { return *form->ShellListViewFenlei; }
  std::vector<std::string> Nodes() {
    std::vector<std::string> out;
    for (ui::TreeNode* n : Tree().AllNodes())
      out.push_back(n->Text() + ":" + std::to_string(n->ImageIndex()));
    return out;
  }
  std::vector<std::string> Shown() {
    std::vector<std::string> out;
    for (const ui::ListItem& i : List().Items()) out.push_back(i.caption);
    return out;
  }
  std::vector<std::string> ImageFiles() {
    std::vector<std::string> out;
    for (int i = 0; i < form->ImgLstFenlei->Count(); ++i)
      out.push_back(text::ExtractFileName(form->ImgLstFenlei->Get(i).name));
    return out;
  }
  void ClickNode(int row) {
    int y = row * ui::TreeView::kRowHeight + 3;
    Tree().Perform(ui::msg::kLButtonDown, ui::msg::kMkLButton, ui::PackPoint(20, y));
    Tree().Perform(ui::msg::kLButtonUp, 0, ui::PackPoint(20, y));
  }
  std::string Read(const std::string& path) { return fs.ReadFile(path).value_or("<none>"); }
  // Every entry of the file system, as path=attributes.
  std::set<std::string> Everything() {
    std::set<std::string> out;
    std::function<void(const std::string&)> walk = [&](const std::string& folder) {
      for (const FileEntry& e : fs.List(folder, "*.*")) {
        if (e.IsDotEntry()) continue;
        std::string path = folder + "\\" + e.name;
        out.insert(path + "=" + std::to_string(e.attributes));
        if (e.IsFolder()) walk(path);
      }
    };
    walk("C:");
    return out;
  }
  int Boxes(const std::string& text) {
    return static_cast<int>(std::count_if(user.boxes.begin(), user.boxes.end(),
                                          [&](const auto& b) { return b.text == text; }));
  }

  ui::HeadlessBackend backend;
  MemoryUserInteraction user;
  ui::Application app;
  MemoryFileSystem fs;
  FileSystem* files = &fs;  // what the program is given
  FileProfileStore profile{fs};
  CountingProfile counting{profile};
  MemorySystem system;
  MemoryShellFolders shell{fs};
  MemoryIconFiles icons{fs};
  MemoryNotifyIcons notify;
  MemoryPower power;
  MemoryRegistry registry;
  std::unique_ptr<Categorisation> categories;
  std::unique_ptr<app::TFrmMain> form;
};

// --- the start-up pass and the tree ---------------------------------------------

TEST_F(CategorisationTest, TheDeliveredStoreGivesSixCategoriesWithIconsFoldersAndIconFiles) {
  Delivered();
  LayOutStartMenu(fs);
  Start();
  EXPECT_EQ(Nodes(), (std::vector<std::string>{"所有程序:0", "办公应用:1", "其它软件:2", "生活助手:3",
                                               "系统安全:4", "系统工具:5", "娱乐休闲:6"}));
  EXPECT_EQ(ImageFiles(), (std::vector<std::string>{"root.ico", "office.ico", "other.ico",
                                                    "life.ico", "security.ico", "systools.ico",
                                                    "fun.ico"}));
  EXPECT_FALSE(Tree().TopItem(0)->Expanded()) << "expanded when the window is shown";
  // What the merge left is told once, with the reason.
  ASSERT_EQ(user.boxes.size(), 1u);
  EXPECT_EQ(user.boxes[0].text.rfind(kMergeLeftovers, 0), 0u);
  std::string life = kPaths.common_programs + "\\生活助手";
  EXPECT_EQ(fs.Attributes(life), attr::kDirectory | attr::kReadOnly);
  EXPECT_EQ(Read(life + "\\Desktop.ini"),
            "[.ShellClassInfo]\r\nIconFile=C:\\Corvane\\Icon\\life.ico\r\nIconIndex=0\r\n"
            "[.ShellClassInfo.A]\r\nIconFile=C:\\Corvane\\Icon\\life.ico\r\n");
  EXPECT_EQ(fs.Attributes(life + "\\Desktop.ini"), attr::kHidden | attr::kSystem);
  EXPECT_FALSE(fs.Exists(kPaths.common_programs + "\\Desktop.ini")) << "the root gets none";
  // The loose entries were merged after the tree, and the counts recorded.
  EXPECT_EQ(Read(kPaths.common_programs + "\\记事本.lnk"), "notepad");
  CategoryStore store(profile, kStore);
  EXPECT_EQ(store.StoredCounts(), categories->Folders().CountAll());
  EXPECT_EQ(categories->LastMerge().moved, 7);
  EXPECT_EQ(form->OpenPictureDialogIcon->InitialDir(), "C:\\Corvane\\icon");
}

TEST_F(CategorisationTest, WithoutAStoreTheRootStandsAloneAndTheCountsAreWrittenFresh) {
  Start();
  EXPECT_EQ(Nodes(), (std::vector<std::string>{"所有程序:0"}));
  EXPECT_EQ(form->ImgLstFenlei->Count(), 0) << "the root's icon null did not load";
  EXPECT_EQ(Boxes(kIconLoadFailed), 1);
  EXPECT_EQ(user.boxes[0].caption, "提醒...");
  EXPECT_EQ(user.boxes[0].style, 0x30u);
  EXPECT_EQ(Read(kStore),
            "[control]\r\nAllUsersKs=1\r\nAllUsersKsCx=0\r\nCurrentUserKs=0\r\n"
            "CurrentUserKsCx=0\r\n")
      << "the common Start menu holds its Programs folder";
}

TEST_F(CategorisationTest, AMissingLabelMakesNoCategory) {
  Icon("root.ico");
  Icon("a.ico");
  Store("[programs]\r\nLabelNum=3\r\nLabel1=甲\r\nLabel3=丙\r\n[LabelIcon]\r\nLabelIcon0=root.ico\r\n"
        "LabelIcon1=a.ico\r\nLabelIcon2=a.ico\r\nLabelIcon3=a.ico\r\n");
  Start();
  EXPECT_EQ(Nodes(), (std::vector<std::string>{"所有程序:0", "甲:1", "丙:2"}));
  EXPECT_FALSE(fs.Exists(kPaths.common_programs + "\\null"));
  EXPECT_TRUE(user.boxes.empty());
}

// A hand-edited LabelNum far beyond the labels: no "null" categories, one
// notice at most, and a new category goes after the last one present.
TEST_F(CategorisationTest, AHugeLabelNumGivesOnlyTheCategoriesPresent) {
  Icon("root.ico");
  Store("[programs]\r\nLabelNum=99999\r\nLabel1=甲\r\nLabel2=乙\r\n[LabelIcon]\r\n"
        "LabelIcon0=root.ico\r\nLabelIcon1=none.ico\r\nLabelIcon2=none.ico\r\n");
  Start();
  form->Show();
  EXPECT_EQ(Nodes(), (std::vector<std::string>{"所有程序:0", "甲:1", "乙:2"}));
  EXPECT_FALSE(fs.Exists(kPaths.common_programs + "\\null"));
  EXPECT_EQ(user.boxes.size(), 1u) << "one notice for every icon that failed";
  EXPECT_EQ(Boxes(IconsFailedText(2)), 1);
  categories->MenuNewClick();
  std::string ini = Read(kStore);
  EXPECT_NE(ini.find("LabelNum=3\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Label3=新分类1"), std::string::npos);
  EXPECT_EQ(ini.find("LabelNum=1001"), std::string::npos);
  Stop();
  user.boxes.clear();
  Start();
  EXPECT_EQ(Tree().AllNodes().back()->Text(), "新分类1") << "read back at the next start";
}

TEST_F(CategorisationTest, AFailedIconKeepsThePreviousOneAndTheFolderStillNamesIt) {
  Icon("root.ico");
  Icon("b.ico");
  fs.AddFile(std::string(kIcons) + "broken.ico", "not an icon");
  Store("[programs]\r\nLabelNum=4\r\nLabel1=甲\r\nLabel2=乙\r\nLabel3=丙\r\nLabel4=丁\r\n"
        "[LabelIcon]\r\nLabelIcon0=root.ico\r\nLabelIcon1=missing.ico\r\nLabelIcon2=b.ico\r\n"
        "LabelIcon3=broken.ico\r\nLabelIcon4=b.ico\r\n");
  Start();
  EXPECT_EQ(Boxes(IconsFailedText(2)), 1) << "one box, naming how many failed";
  EXPECT_EQ(user.boxes.size(), 1u);
  EXPECT_EQ(Nodes(), (std::vector<std::string>{"所有程序:0", "甲:1", "乙:2", "丙:3", "丁:4"}));
  EXPECT_EQ(ImageFiles(), (std::vector<std::string>{"root.ico", "root.ico", "b.ico", "b.ico",
                                                    "b.ico"}));
  EXPECT_NE(Read(kPaths.common_programs + "\\甲\\Desktop.ini").find("IconFile=C:\\Corvane\\Icon\\missing.ico"),
            std::string::npos);
}

TEST_F(CategorisationTest, WhenTheRootsIconFailsTheFirstIconToLoadTakesSlotZero) {
  Icon("b.ico");
  Store("[programs]\r\nLabelNum=3\r\nLabel1=甲\r\nLabel2=乙\r\nLabel3=丙\r\n"
        "[LabelIcon]\r\nLabelIcon1=none.ico\r\nLabelIcon2=b.ico\r\nLabelIcon3=none.ico\r\n");
  Start();
  EXPECT_EQ(Boxes(IconsFailedText(3)), 1);
  EXPECT_EQ(user.boxes.size(), 1u);
  EXPECT_EQ(Nodes(), (std::vector<std::string>{"所有程序:0", "甲:0", "乙:0", "丙:1"}));
  EXPECT_EQ(ImageFiles(), (std::vector<std::string>{"b.ico", "b.ico"}));
}

TEST_F(CategorisationTest, NamesThatLeadOutOfTheProgramsFolderAreShownButTouchNothing) {
  Icon("root.ico");
  Icon("a.ico");
  fs.AddFile("C:\\Windows\\win.ini", "keep");
  Store("[programs]\r\nLabelNum=7\r\nLabel1=..\\..\\..\\..\\Windows\r\nLabel2=CON\r\n"
        "Label3=C:\\Windows\r\nLabel4=a/b\r\nLabel5=..\r\nLabel6=\r\nLabel7=好\r\n"
        "[LabelIcon]\r\nLabelIcon0=root.ico\r\nLabelIcon1=a.ico\r\nLabelIcon2=a.ico\r\n"
        "LabelIcon3=a.ico\r\nLabelIcon4=a.ico\r\nLabelIcon5=a.ico\r\nLabelIcon6=a.ico\r\n"
        "LabelIcon7=..\\..\\Windows\\win.ini\r\n");
  std::set<std::string> before = Everything();
  Start([this](app::TFrmMain::Steps& steps) {
    steps.category_startup = [this](app::TFrmMain&) { categories->BuildCategoryTree(); };
  });
  EXPECT_EQ(Tree().AllNodes().size(), 8u) << "every category is shown";
  std::set<std::string> after = Everything();
  std::set<std::string> made;
  std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                      std::inserter(made, made.end()));
  EXPECT_EQ(made, (std::set<std::string>{kPaths.common_programs + "\\好=16"}))
      << "only the plain name got a folder, and its icon name leads outside: no Desktop.ini";
  EXPECT_EQ(Boxes(kIconLoadFailed), 1);
  EXPECT_EQ(Read("C:\\Windows\\win.ini"), "keep");

  // Clicking such a category lists nothing at all.
  form->Show();
  ClickNode(1);
  EXPECT_EQ(Tree().Selected()->Text(), "..\\..\\..\\..\\Windows");
  EXPECT_EQ(List().Root(), "");
  EXPECT_TRUE(Shown().empty());
}

// --- showing, clicking and the filter ---------------------------------------------------

class ListTest : public CategorisationTest {
 protected:
  void SetUp() override {
    Delivered();
    const std::string& p = kPaths.common_programs;
    fs.AddFile(p + "\\Windows 资源管理器.lnk");
    fs.AddFile(p + "\\附件\\记事本.lnk");
    fs.AddFile(p + "\\附件\\办公应用.lnk");  // a shortcut named like a category
    fs.AddFile(p + "\\办公应用\\Word.lnk");
    fs.AddFile(p + "\\娱乐休闲.lnk");
    fs.AddFolder(p + "\\游戏");
    Start();
    form->Show();
  }
};

TEST_F(ListTest, ShowingExpandsTheTreeAndListsTheProgramsFolderWithoutCategories) {
  EXPECT_TRUE(Tree().TopItem(0)->Expanded());
  EXPECT_EQ(List().Root(), kPaths.common_programs);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"附件", "游戏", "Windows 资源管理器"}));
  EXPECT_TRUE(form->TimerDetect->Enabled());
  EXPECT_EQ(backend.watched_folders(), std::vector<std::string>{kPaths.common_programs});
}

TEST_F(ListTest, AClickOnACategoryListsItsFolderAndTheRootListsEverything) {
  Tree().SetReadOnly(false);  // as a rename would leave it
  ClickNode(1);
  EXPECT_TRUE(Tree().ReadOnly());
  EXPECT_EQ(List().Root(), kPaths.common_programs + "\\办公应用");
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Word"}));
  EXPECT_EQ(backend.watched_folders(), std::vector<std::string>{kPaths.common_programs + "\\办公应用"});
  ClickNode(7);  // below the nodes: the selection stays
  EXPECT_EQ(List().Root(), kPaths.common_programs + "\\办公应用");
  Tree().TopItem(0)->Collapse();
  ClickNode(0);
  EXPECT_TRUE(Tree().TopItem(0)->Expanded());
  EXPECT_EQ(List().Root(), kPaths.common_programs);
  // A node the program selects does not re-root the list.
  Tree().SetSelected(Tree().TopItem(0)->Item(5));
  EXPECT_EQ(List().Root(), kPaths.common_programs);
}

TEST_F(ListTest, ACategoryNamedLikeTheRootBehavesLikeTheRoot) {
  Tree().TopItem(0)->Item(2)->SetText("所有程序");
  ClickNode(3);
  EXPECT_EQ(List().Root(), kPaths.common_programs);
}

TEST_F(ListTest, TheFilterHidesCategoryNamesAtEveryLevelAndReadsTheStoreOncePerListing) {
  ClickNode(0);
  Tree().SetSelected(nullptr);
  List().SetRoot(kPaths.common_programs + "\\附件");
  counting.reads = 0;
  List().Refresh();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"记事本"}));
  int per_listing = counting.reads;
  EXPECT_EQ(per_listing, 7) << "LabelNum and six labels";
  for (int i = 0; i < 40; ++i) fs.AddFile(kPaths.common_programs + "\\附件\\p" + std::to_string(i) + ".lnk");
  counting.reads = 0;
  backend.FolderChanged(kPaths.common_programs + "\\附件");
  EXPECT_EQ(Shown().size(), 41u);
  EXPECT_EQ(counting.reads, per_listing) << "not once per entry";
}

TEST_F(ListTest, HidingAndShowingAgainReadsTheListAfresh) {
  ClickNode(1);
  form->Hide();
  fs.AddFile(kPaths.common_programs + "\\新.lnk");
  form->Show();
  EXPECT_EQ(List().Root(), kPaths.common_programs);
  EXPECT_NE(std::find(Shown().begin(), Shown().end(), "新"), Shown().end());
}

// --- detection -----------------------------------------------------------------------

class DetectionTest : public CategorisationTest {
 protected:
  void SetUp() override {
    Delivered();
    LayOutStartMenu(fs);
    Start();
    ASSERT_FALSE(form->Visible());
  }
  // One tick of TimerDetect; what the reminder showed, and the button pressed
  // in it ("" closes it with its title-bar button).
  std::string Tick(const std::string& press = "") {
    std::string seen;
    backend.Post([&, press] {
      for (ui::Form* f : app.Forms()) {
        auto* r = dynamic_cast<TFrmtx*>(f);
        if (!r || !r->Modal() || !r->Visible()) continue;
        seen = r->Caption() + "|" + r->Label1->Caption();
        if (press == kClassifyNow) r->BtnFenlei->Perform(ui::msg::kReflectCommand, 0);
        else if (press == kLater) r->BtnDelay->Perform(ui::msg::kReflectCommand, 0);
        else r->Perform(ui::msg::kClose);
      }
    });
    form->TimerDetect->Tick();
    backend.ProcessMessages();  // what the reminder left
    return seen;
  }
  static constexpr char kShown[] = "Corvane - 分类提醒...|您的「开始」菜单里有新增项目！";
};

TEST_F(DetectionTest, NothingNewNothingSaid) {
  EXPECT_EQ(Tick(), "");
  EXPECT_TRUE(system.beeps.empty());
  EXPECT_TRUE(form->TimerDetect->Enabled());
}

TEST_F(DetectionTest, ANewShortcutInTheUsersStartMenuRemindsAndLaterPausesUntilShown) {
  fs.AddFile(kPaths.user_start_menu + "\\新软件.lnk", "new");
  EXPECT_EQ(Tick(kLater), kShown);
  EXPECT_EQ(system.beeps, std::vector<unsigned>{0});
  EXPECT_FALSE(form->TimerDetect->Enabled()) << "paused";
  EXPECT_EQ(Tick(), "") << "a paused timer does not tick";
  EXPECT_TRUE(fs.Exists(kPaths.user_start_menu + "\\新软件.lnk")) << "nothing moved";
  form->Show();
  EXPECT_TRUE(form->TimerDetect->Enabled()) << "watching again";
  EXPECT_EQ(Tick(), "") << "never while the window is visible";
  form->Hide();
  EXPECT_EQ(Tick(), kShown) << "the counts are still above the stored ones";
  EXPECT_FALSE(form->TimerDetect->Enabled()) << "the title-bar button pauses as well";
}

TEST_F(DetectionTest, ClassifyNowMovesTheNewEntriesRecordsTheCountsAndShowsTheWindow) {
  fs.AddFile(kPaths.user_programs + "\\安装的软件\\程序.lnk", "installed");
  EXPECT_EQ(Tick(kClassifyNow), kShown);
  EXPECT_EQ(Read(kPaths.common_programs + "\\安装的软件\\程序.lnk"), "installed");
  EXPECT_FALSE(fs.Exists(kPaths.user_programs + "\\安装的软件"));
  CategoryStore store(profile, kStore);
  EXPECT_EQ(store.StoredCounts(), categories->Folders().CountAll());
  EXPECT_TRUE(form->Visible());
  EXPECT_TRUE(form->TimerDetect->Enabled());
  EXPECT_EQ(List().Root(), kPaths.common_programs);
  EXPECT_NE(std::find(Shown().begin(), Shown().end(), "安装的软件"), Shown().end());
  form->Hide();
  EXPECT_EQ(Tick(), "") << "recorded, so nothing is new";
}

TEST_F(DetectionTest, OnlyAGrowingCountIsNews) {
  // Into an existing folder: the top-level count stays.
  fs.AddFile(kPaths.common_programs + "\\新软件\\更多.lnk");
  EXPECT_EQ(Tick(), "");
  // Three gone and one new: still below the stored count.
  for (const char* gone : {"\\写字板.lnk", "\\只读.lnk", "\\Office\\Word.lnk"})
    fs.Delete(kPaths.common_programs + gone);
  fs.SetAttributes(kPaths.common_programs + "\\只读.lnk", attr::kArchive);
  fs.Delete(kPaths.common_programs + "\\只读.lnk");
  fs.RemoveFolder(kPaths.common_programs + "\\Office");
  fs.AddFile(kPaths.common_programs + "\\一个新的.lnk");
  EXPECT_EQ(Tick(), "");
  fs.AddFile(kPaths.common_start_menu + "\\a.lnk");
  fs.AddFile(kPaths.common_start_menu + "\\b.lnk");
  EXPECT_EQ(Tick(kLater), kShown) << "the common Start menu grew";
}

TEST_F(DetectionTest, ATickOverAnotherDialogOnlyCounts) {
  fs.AddFile(kPaths.user_start_menu + "\\新.lnk");
  std::string seen = "not run";
  TFrmJq other(nullptr);
  backend.Post([&] {
    seen = Tick();
    other.Close();
  });
  other.ShowModal();
  EXPECT_EQ(seen, "");
  EXPECT_TRUE(form->TimerDetect->Enabled());
}

// The ticks read classify.ini only when it changed: every five seconds for
// detection and every second for the tips, all day.
TEST_F(DetectionTest, TicksReadTheStoreOnlyWhenItChanged) {
  counting.stamped = true;
  ASSERT_TRUE(CategoryStore(profile, kStore).DismissTips());  // the tips tick on, to no effect
  form->Show();
  form->TimerJq->Tick();
  form->Hide();
  EXPECT_EQ(Tick(), "");
  counting.reads = 0;
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(Tick(), "");
    form->Show();
    form->TimerJq->Tick();
    form->Hide();
  }
  EXPECT_EQ(counting.reads, 0) << "read again with nothing changed";

  // Written by someone else: lower stored counts make the entries new.
  CategoryStore other(profile, kStore);
  ASSERT_TRUE(other.WriteCounts(EntryCounts{}));
  EXPECT_EQ(Tick(kClassifyNow), kShown);
  EXPECT_GT(counting.reads, 0);
  // Our own write (the recorded counts) is seen at once.
  form->Hide();
  EXPECT_EQ(Tick(), "");
  EXPECT_EQ(CategoryStore(profile, kStore).StoredCounts(), categories->Folders().CountAll());
}

// --- tips ------------------------------------------------------------------------------

class TipsTest : public CategorisationTest {
 protected:
  void SetUp() override { Start(); }
  // One tick of TimerJq; the dialog's caption if it showed, after ticking
  // its box or not and pressing its button (or its title-bar close).
  std::string Tick(bool tick_box, bool press = true) {
    std::string seen;
    backend.Post([&, tick_box, press] {
      for (ui::Form* f : app.Forms()) {
        auto* d = dynamic_cast<TFrmJq*>(f);
        if (!d || !d->Modal()) continue;
        seen = d->Caption();
        d->ChkbxZd->SetChecked(tick_box);
        if (press) d->BtnJq->Perform(ui::msg::kReflectCommand, 0);
        else d->Perform(ui::msg::kClose);
      }
    });
    form->TimerJq->Tick();
    backend.ProcessMessages();
    return seen;
  }
};

TEST_F(TipsTest, ShownOnceARunAndOnlyOnScreen) {
  EXPECT_EQ(Tick(false), "") << "hidden at start";
  EXPECT_TRUE(form->TimerJq->Enabled());
  form->Show();
  EXPECT_EQ(Tick(false), "程序分类技巧");
  EXPECT_FALSE(form->TimerJq->Enabled());
  EXPECT_EQ(Read(kStore).find("FenleiJq"), std::string::npos) << "a clear box writes nothing";
  EXPECT_EQ(Tick(false), "") << "once per run";
  Stop();
  Start();
  form->Show();
  EXPECT_EQ(Tick(true, false), "程序分类技巧") << "the next run shows them again";
  EXPECT_EQ(Read(kStore).find("FenleiJq"), std::string::npos) << "closed by its title bar";
  Stop();
  Start();
  form->Show();
  EXPECT_EQ(Tick(true), "程序分类技巧");
  EXPECT_NE(Read(kStore).find("FenleiJq=1\r\n"), std::string::npos);
  Stop();
  Start();
  form->Show();
  EXPECT_EQ(Tick(false), "") << "never again";
  EXPECT_TRUE(form->TimerJq->Enabled()) << "it keeps ticking without effect";
}

TEST(TipsDialog, HoldsItsTextsInPlace) {
  ui::HeadlessBackend backend;
  MemoryUserInteraction user;
  ui::Application app(backend, user);
  TFrmJq d(nullptr);
  EXPECT_EQ(d.ClientWidth(), 354);
  EXPECT_EQ(d.ClientHeight(), 152);
  EXPECT_EQ(d.Position(), ui::FormPosition::kMainFormCenter);
  EXPECT_EQ(d.Panel1->GetColor(), kSkyBlue);
  EXPECT_EQ(d.Label3->Caption(), "1  树形目录");
  EXPECT_TRUE(d.Label3->GetFont().bold);
  EXPECT_EQ(d.Label3->GetFont().color, ui::Rgb(0, 0, 255));
  EXPECT_FALSE(d.Label4->GetFont().bold);
  EXPECT_EQ(d.Label2->Caption(), "   将程序列表中的程序用鼠标拖入树形目录中进行分类即可；");
  EXPECT_EQ(d.Label2->BoundsRect(), ui::Rect::FromBounds(15, 75, 343, 13));
  EXPECT_EQ(d.ChkbxZd->Caption(), "我已经知道啦！不要再提醒我");
  EXPECT_FALSE(d.ChkbxZd->Checked());
  EXPECT_EQ(d.BtnJq->Caption(), "确   定");

  TFrmtx r(nullptr);
  EXPECT_EQ(r.ClientWidth(), 343);
  EXPECT_EQ(r.ClientHeight(), 127);
  EXPECT_EQ(r.Position(), ui::FormPosition::kScreenCenter);
  EXPECT_EQ(r.GetFont().name, "MS Sans Serif");
  EXPECT_EQ(r.Label1->GetFont(), (ui::Font{"楷体_GB2312", 19, ui::kGb2312Charset, true,
                                           ui::Rgb(0, 0, 255)}));
  EXPECT_EQ(r.BtnFenlei->BoundsRect(), ui::Rect::FromBounds(247, 85, 75, 25));
  EXPECT_EQ(r.BtnDelay->Caption(), "等下再说");
}


// --- the tree's menu and the category operations -------------------------------

class OperationsTest : public CategorisationTest {
 protected:
  void SetUp() override {
    Store(
        "[programs]\r\nLabelNum=3\r\nLabel1=办公应用\r\nLabel2=新分类1\r\nLabel3=新分类3\r\n"
        "[LabelIcon]\r\nLabelIcon0=root.ico\r\nLabelIcon1=office.ico\r\nLabelIcon2=n1.ico\r\n"
        "LabelIcon3=n3.ico\r\n");
    for (const char* i : {"root.ico", "office.ico", "n1.ico", "n3.ico"}) Icon(i);
    fs.AddFile(programs + "\\Word.lnk", "word");
    fs.AddFolder(programs + "\\工具 2.5");
    fs.AddFile(programs + "\\工具 2.5\\工具.lnk", "tool");
    fs.AddFolder(programs + "\\附件");
  }
  void StartShown() {
    Start();
    form->Show();
  }
  ui::TreeNode* Node(const std::string& text) {
    for (ui::TreeNode* n : Tree().AllNodes())
      if (n->Text() == text) return n;
    return nullptr;
  }
  void Select(const std::string& text) { Tree().SetSelected(Node(text)); }
  void Choose(ui::MenuItem* item) {
    backend.choose_menu_item = [item](ui::PopupMenu&) { return item; };
    Tree().Perform(ui::msg::kContextMenu, 0, ui::PackPoint(-1, -1));
  }
  // Confirms an edit of the node's label with the text.
  void Edit(const std::string& node, const std::string& text) {
    Select(node);
    Choose(form->MenuRename);
    ASSERT_EQ(Tree().Editing(), Node(node));
    Tree().EditEndedFromWindow(Node(node), &text);
  }
  std::string Ini() { return Read(kStore); }
  // One key's whole value in the store ("=1" must not pass for "=12").
  std::string IniValue(const std::string& key) {
    const std::string ini = Ini(), at = "\r\n" + key + "=";
    std::size_t p = ini.find(at);
    if (p == std::string::npos) return "(none)";
    p += at.size();
    return ini.substr(p, ini.find("\r\n", p) - p);
  }
  std::string Folder(const std::string& name) { return programs + "\\" + name; }
  // Drags the list's entry of that name onto the tree's row.
  void Drop(const std::string& entry, int row) {
    int i = 0;
    for (const ShellItem& e : List().Entries()) {
      if (e.display_name == entry) List().SetItemIndex(i);
      ++i;
    }
    categories->TrVewFenleiDragDrop(20, row * ui::TreeView::kRowHeight + 3);
  }

  // From here on the program's file system fails as it is told.
  testing::FaultyFileSystem& Faulty() {
    faulty = std::make_unique<testing::FaultyFileSystem>(fs);
    files = faulty.get();
    return *faulty;
  }
  // A fresh start-menu, store and run.
  void Again() {
    Stop();
    fs = MemoryFileSystem();
    fs.AddFolder("C:\\Corvane\\Icon");
    fs.AddFolder(programs);
    user.boxes.clear();
    SetUp();
  }
  ~OperationsTest() override { Stop(); }

  std::string programs = kPaths.common_programs;
  std::unique_ptr<testing::FaultyFileSystem> faulty;
};

TEST_F(OperationsTest, TheMenuHasItsFiveItemsAndOpensWithoutMovingTheSelection) {
  StartShown();
  std::vector<std::string> captions;
  for (ui::MenuItem* i : form->PopMenuSy->Items()) captions.push_back(i->Caption());
  EXPECT_EQ(captions, (std::vector<std::string>{"新建分类(&N)", "删除分类(&D)", "-",
                                                "更改图标(&G)", "重命名  (&R)"}));
  EXPECT_EQ(form->PopMenuSy->Items()[4], form->MenuRename);
  EXPECT_EQ(form->MenuChangeIcon->HotKey(), 'G');

  Select("办公应用");
  int y = 3 * ui::TreeView::kRowHeight + 3;  // 新分类3
  Tree().Perform(ui::msg::kRButtonDown, ui::msg::kMkRButton, ui::PackPoint(20, y));
  Tree().Perform(ui::msg::kRButtonUp, 0, ui::PackPoint(20, y));
  ASSERT_EQ(backend.popups().size(), 1u);
  EXPECT_EQ(backend.popups()[0].menu, form->PopMenuSy);
  EXPECT_EQ(backend.popups()[0].at, Tree().ClientToScreen({20, y}));
  EXPECT_EQ(Tree().Selected(), Node("办公应用"));
  // The context-menu key opens it below the selected row.
  Tree().Perform(ui::msg::kContextMenu, 0, ui::PackPoint(-1, -1));
  ASSERT_EQ(backend.popups().size(), 2u);
  EXPECT_EQ(backend.popups()[1].at.y, Tree().ClientToScreen({0, 2 * 18}).y);
}

TEST_F(OperationsTest, NewCategoriesCountPastTheHighestNumberAndTheDeletedNames) {
  StartShown();
  Choose(form->MenuNew);
  EXPECT_TRUE(fs.FolderExists(Folder("新分类4")));
  EXPECT_NE(Ini().find("LabelNum=4"), std::string::npos);
  EXPECT_NE(Ini().find("Label4=新分类4"), std::string::npos);
  EXPECT_NE(Ini().find("LabelIcon4=n3.ico"), std::string::npos);
  EXPECT_EQ(Tree().Selected(), Node("新分类4"));
  EXPECT_EQ(Node("新分类4")->ImageIndex(), Node("新分类3")->ImageIndex());
  EXPECT_EQ(List().Root(), programs);  // not re-rooted

  // Deleting 新分类4, 新分类3 and 新分类1 leaves "新分类4新分类3新分类1"
  // in the deleted names: the next is 新分类2, as nothing counts any more.
  for (const char* n : {"新分类4", "新分类3", "新分类1"}) {
    Select(n);
    Choose(form->MenuDel);
  }
  Choose(form->MenuNew);
  EXPECT_NE(Ini().find("Label2=新分类2"), std::string::npos);
  EXPECT_NE(Ini().find("LabelNum=2"), std::string::npos);
}

TEST_F(OperationsTest, ANameThatIsNotANumberStopsTheNewCategoryBeforeAnyWrite) {
  Store("[programs]\r\nLabelNum=1\r\nLabel1=新分类\r\n");
  StartShown();
  auto before = Everything();
  Choose(form->MenuNew);
  ASSERT_FALSE(user.boxes.empty());
  EXPECT_EQ(user.boxes.back().text, "'' is not a valid integer value");
  EXPECT_EQ(user.boxes.back().style, mb::kOk | mb::kIconError);
  EXPECT_EQ(Everything(), before);
  EXPECT_EQ(Tree().AllNodes().size(), 2u);
}

TEST_F(OperationsTest, TheFirstCategoryTakesTheRootsIcon) {
  Store("[LabelIcon]\r\nLabelIcon0=root.ico\r\n");
  StartShown();
  Choose(form->MenuNew);
  EXPECT_NE(Ini().find("LabelIcon1=root.ico"), std::string::npos);
  EXPECT_EQ(Node("新分类1")->ImageIndex(), Tree().TopItem(0)->ImageIndex());
}

TEST_F(OperationsTest, DeleteRefusesTheRootAndCategoriesWithProgramsAndAsksFirst) {
  fs.AddFile(Folder("办公应用") + "\\Excel.lnk");
  StartShown();
  auto before = Everything();
  std::string ini = Ini();
  Select("所有程序");
  Choose(form->MenuDel);
  Select("办公应用");
  Choose(form->MenuDel);
  user.answers = {mb::kIdCancel};
  Select("新分类1");
  Choose(form->MenuDel);
  EXPECT_EQ(Boxes(kCannotDelete), 1);
  EXPECT_EQ(Boxes(kCategoryHoldsPrograms), 1);
  EXPECT_EQ(Boxes(kConfirmDelete), 1);
  EXPECT_EQ(user.boxes.back().style, mb::kOkCancel | mb::kIconQuestion);
  EXPECT_EQ(Everything(), before);
  EXPECT_EQ(Ini(), ini);
  EXPECT_EQ(Tree().AllNodes().size(), 4u);
}

TEST_F(OperationsTest, DeletingTheSecondOfThreeRenumbersAndKeepsWhatTheListDidNotShow) {
  StartShown();
  // A hidden file and a folder named like a category: the list shows neither.
  fs.AddFile(Folder("新分类1") + "\\notes.txt", "mine");
  fs.SetAttributes(Folder("新分类1") + "\\notes.txt", attr::kHidden);
  Select("新分类1");
  Choose(form->MenuDel);
  EXPECT_FALSE(fs.Exists(Folder("新分类1")));
  EXPECT_EQ(Read(programs + "\\notes.txt"), "mine");
  EXPECT_NE(Ini().find("LabelNum=2"), std::string::npos);
  EXPECT_NE(Ini().find("Label2=新分类3"), std::string::npos);
  EXPECT_NE(Ini().find("LabelIcon2=n3.ico"), std::string::npos);
  EXPECT_EQ(Ini().find("Label3="), std::string::npos);
  EXPECT_EQ(Ini().find("LabelIcon3="), std::string::npos);
  EXPECT_EQ(Tree().Selected(), Tree().TopItem(0));
  EXPECT_EQ(Node("新分类1"), nullptr);
  EXPECT_EQ(categories->DeletedNames(), "新分类1");
}

TEST_F(OperationsTest, ANodeMatchingNoLabelTakesNoOtherEntryWithIt) {
  StartShown();
  Tree().Add(Tree().TopItem(0), "别的");
  std::string ini = Ini();
  Select("别的");
  Choose(form->MenuDel);
  EXPECT_EQ(Node("别的"), nullptr);
  for (const char* line : {"LabelNum=3", "Label1=办公应用", "Label3=新分类3", "LabelIcon3=n3.ico"})
    EXPECT_NE(Ini().find(line), std::string::npos) << line;
}

TEST_F(OperationsTest, AFolderThatCannotGoKeepsItsCategoryAndEveryFile) {
  StartShown();
  fs.AddFile(Folder("新分类1") + "\\hidden.dat", "keep");
  fs.SetAttributes(Folder("新分类1") + "\\hidden.dat", attr::kHidden);
  fs.AddFile(programs + "\\hidden.dat", "other");  // same name above: it stays
  fs.AddFile(Folder("新分类1") + "\\办公应用\\x.lnk", "x");  // so does a category's name
  std::string ini = Ini();
  Select("新分类1");
  Choose(form->MenuDel);
  EXPECT_EQ(Boxes(kFolderNotRemoved), 1);
  EXPECT_EQ(Read(Folder("新分类1") + "\\hidden.dat"), "keep");
  EXPECT_EQ(Read(programs + "\\hidden.dat"), "other");
  EXPECT_EQ(Ini(), ini);
  EXPECT_NE(Node("新分类1"), nullptr);
  EXPECT_TRUE(fs.FileExists(Folder("新分类1") + "\\Desktop.ini"));
}

TEST_F(OperationsTest, FaultsInADeleteLoseNothing) {
  std::vector<int> unreached;
  for (auto op : {testing::FaultyFileSystem::Op::kCopy, testing::FaultyFileSystem::Op::kDelete,
                  testing::FaultyFileSystem::Op::kRemoveFolder}) {
    for (auto mode : {testing::FaultyFileSystem::Mode::kRefuse,
                      testing::FaultyFileSystem::Mode::kLie,
                      testing::FaultyFileSystem::Mode::kDoThenFail}) {
      SCOPED_TRACE(static_cast<int>(op) * 10 + static_cast<int>(mode));
      Again();
      testing::FaultyFileSystem& f = Faulty();
      StartShown();
      fs.AddFile(Folder("新分类1") + "\\h.dat", "keep");
      fs.SetAttributes(Folder("新分类1") + "\\h.dat", attr::kHidden);
      f.FailAt(op, f.Calls(op), mode);
      Select("新分类1");
      Choose(form->MenuDel);
      // Each combination reaches its fault: a loop that never fails proves nothing.
      if (!f.Fired()) unreached.push_back(static_cast<int>(op) * 10 + static_cast<int>(mode));
      std::optional<std::string> kept = fs.ReadFile(Folder("新分类1") + "\\h.dat");
      if (!kept) kept = fs.ReadFile(programs + "\\h.dat");
      EXPECT_EQ(kept.value_or("lost"), "keep");
      // The category's icon file never lands in the Programs folder.
      EXPECT_FALSE(fs.Exists(programs + "\\Desktop.ini"));
      // Either the category went with its folder, or both stay.
      EXPECT_EQ(Node("新分类1") != nullptr, fs.Exists(Folder("新分类1")));
      EXPECT_EQ(Ini().find("Label2=新分类1") != std::string::npos,
                fs.Exists(Folder("新分类1")));
    }
  }
  EXPECT_EQ(unreached, std::vector<int>{});
}

TEST_F(OperationsTest, RenameMovesTheFolderAndTheLabelButNotTheIcon) {
  StartShown();
  Select("新分类1");
  categories->ShowCategory();
  Edit("新分类1", "影音");
  EXPECT_FALSE(fs.Exists(Folder("新分类1")));
  EXPECT_TRUE(fs.FileExists(Folder("影音") + "\\Desktop.ini"));
  EXPECT_NE(Ini().find("Label2=影音"), std::string::npos);
  EXPECT_NE(Ini().find("LabelIcon2=n1.ico"), std::string::npos);
  EXPECT_EQ(Node("影音"), Tree().Selected());
  EXPECT_TRUE(Tree().ReadOnly());
  EXPECT_EQ(List().Root(), programs);
  EXPECT_TRUE(user.boxes.empty());
}

TEST_F(OperationsTest, RenameRefusesNamesThatAreEmptyLeadOutsideOrAreTaken) {
  StartShown();
  auto before = Everything();
  std::string ini = Ini();
  for (const char* name : {"", "  ", "..\\..\\Windows", "a\\b", "..", "CON", "办公应用",
                           "新分类3", "所有程序", "附件", "Word.lnk"}) {
    SCOPED_TRACE(name);
    user.boxes.clear();
    Edit("新分类1", name);
    ASSERT_EQ(user.boxes.size(), 1u);
    EXPECT_EQ(user.boxes[0].caption, kNoticeCaption);
    EXPECT_EQ(Node("新分类1")->Text(), "新分类1");
    EXPECT_TRUE(Tree().ReadOnly());
  }
  EXPECT_EQ(Everything(), before);
  EXPECT_EQ(Ini(), ini);
  // The root is never edited.
  Select("所有程序");
  Choose(form->MenuRename);
  EXPECT_EQ(Tree().Editing(), nullptr);
}

TEST_F(OperationsTest, AFailedFolderRenameKeepsTheOldName) {
  testing::FaultyFileSystem& f = Faulty();
  StartShown();
  std::string ini = Ini();
  for (auto mode : {testing::FaultyFileSystem::Mode::kRefuse,
                    testing::FaultyFileSystem::Mode::kLie}) {
    f.FailAt(testing::FaultyFileSystem::Op::kRename, f.Calls(testing::FaultyFileSystem::Op::kRename),
             mode);
    user.boxes.clear();
    Edit("新分类1", "影音");
    EXPECT_EQ(Boxes(kRenameFailed), 1);
    EXPECT_EQ(Node("新分类1")->Text(), "新分类1");
    EXPECT_TRUE(fs.FolderExists(Folder("新分类1")));
    EXPECT_EQ(Ini(), ini);
  }
}

TEST_F(OperationsTest, ChangeIconCopiesRecordsAndWritesTheIconFile) {
  StartShown();
  fs.AddFile("D:\\pics\\n1.ico", IconBytes());  // same name as one in the icon folder
  backend.answer_open_dialog = [](ui::OpenDialog& d) {
    d.SetFileName("D:\\pics\\n1.ico");
    return true;
  };
  Select("新分类3");
  Choose(form->MenuChangeIcon);
  EXPECT_TRUE(fs.FileExists("C:\\Corvane\\icon\\n1.ico.ico"));
  EXPECT_NE(Ini().find("LabelIcon3=n1.ico.ico"), std::string::npos);
  EXPECT_NE(Read(Folder("新分类3") + "\\Desktop.ini").find("IconFile=C:\\Corvane\\icon\\n1.ico.ico"),
            std::string::npos);
  EXPECT_EQ(Node("新分类3")->ImageIndex(), form->ImgLstFenlei->Count() - 1);

  // The root: LabelIcon0, and the Programs folder becomes read-only.
  Select("所有程序");
  Choose(form->MenuChangeIcon);
  EXPECT_NE(Ini().find("LabelIcon0=n1.ico.ico"), std::string::npos);
  EXPECT_TRUE(fs.FileExists(programs + "\\Desktop.ini"));
  EXPECT_EQ(fs.Attributes(programs).value_or(0) & attr::kReadOnly, attr::kReadOnly);

  // A file that is no icon: said, still recorded, image 0.
  fs.AddFile("D:\\pics\\n1.ico", "not an icon");
  Select("办公应用");
  Choose(form->MenuChangeIcon);
  EXPECT_EQ(Boxes(kIconLoadFailed), 1);
  EXPECT_EQ(Node("办公应用")->ImageIndex(), 0);
  EXPECT_NE(Ini().find("LabelIcon1=n1.ico.ico"), std::string::npos);
}

// --- drag and drop ---------------------------------------------------------------

TEST_F(OperationsTest, ADropMovesAShortcutAndShowsTheTargetCategory) {
  StartShown();
  Drop("Word", 1);  // onto 办公应用
  EXPECT_FALSE(fs.Exists(programs + "\\Word.lnk"));
  EXPECT_EQ(Read(Folder("办公应用") + "\\Word.lnk"), "word");
  EXPECT_EQ(Tree().Selected(), Node("办公应用"));
  EXPECT_EQ(List().Root(), Folder("办公应用"));
  EXPECT_EQ(Shown(), std::vector<std::string>{"Word"});
  // Back onto the root: the count rises and is recorded at once.
  Drop("Word", 0);
  EXPECT_EQ(Read(programs + "\\Word.lnk"), "word");
  // Word.lnk, 工具 2.5, 附件 and the three category folders.
  EXPECT_EQ(IniValue("AllUsersKsCx"), "6");
  EXPECT_TRUE(user.boxes.empty());
}

TEST_F(OperationsTest, TheTreeTakesDragsFromTheProgramListOnlyAndALeftPressArmsThem) {
  StartShown();
  EXPECT_FALSE(Tree().DragOverFromWindow(*form->LblGg1, {20, 21}));
  EXPECT_TRUE(Tree().DragOverFromWindow(List(), {20, 21}));
  List().Perform(ui::msg::kRButtonDown, ui::msg::kMkRButton, ui::PackPoint(5, 5));
  EXPECT_FALSE(List().DragStartedFromWindow());
  List().Perform(ui::msg::kLButtonDown, ui::msg::kMkLButton, ui::PackPoint(5, 23));
  EXPECT_TRUE(List().DragStartedFromWindow());
  EXPECT_FALSE(List().DragStartedFromWindow());  // once per press
  Tree().DragDropFromWindow(List(), {20, 21});  // 工具 2.5 onto 办公应用
  EXPECT_EQ(List().Root(), Folder("办公应用"));
  EXPECT_EQ(Shown(), std::vector<std::string>{"工具 2.5"});
}

TEST_F(OperationsTest, AFolderWithADotMovesWholeAndProtectedNamesStay) {
  StartShown();
  Drop("工具 2.5", 2);
  EXPECT_EQ(Read(Folder("新分类1") + "\\工具 2.5\\工具.lnk"), "tool");
  EXPECT_FALSE(fs.Exists(programs + "\\工具 2.5"));
  Select("所有程序");
  categories->ShowCategory();
  auto before = Everything();
  Drop("附件", 1);
  EXPECT_EQ(Boxes(kProtectedEntry), 1);
  EXPECT_EQ(user.boxes.back().style, mb::kOk | mb::kIconExclamation);
  // Onto its own folder, or beside the nodes: nothing, said or done.
  Drop("Word", 0);
  Drop("Word", 9);
  EXPECT_EQ(Everything(), before);
  EXPECT_EQ(user.boxes.size(), 1u);
}

TEST_F(OperationsTest, FaultsInADropLoseNothing) {
  using F = testing::FaultyFileSystem;
  std::vector<std::string> unreached;
  for (auto op : {F::Op::kCopy, F::Op::kDelete, F::Op::kRemoveFolder, F::Op::kList}) {
    for (auto mode : {F::Mode::kRefuse, F::Mode::kLie, F::Mode::kGarble, F::Mode::kDoThenFail}) {
      for (const char* entry : {"Word", "工具 2.5"}) {
        if (op == F::Op::kRemoveFolder && std::string(entry) == "Word") continue;  // a file
        SCOPED_TRACE(std::string(entry) + " " + std::to_string(static_cast<int>(op) * 10 +
                                                               static_cast<int>(mode)));
        Again();
        F& f = Faulty();
        StartShown();
        f.FailAt(op, f.Calls(op), mode);
        Drop(entry, 1);
        if (!f.Fired())
          unreached.push_back(std::string(entry) + " " +
                              std::to_string(static_cast<int>(op) * 10 + static_cast<int>(mode)));
        std::string file = std::string(entry) == "Word" ? "\\Word.lnk" : "\\工具 2.5\\工具.lnk";
        std::string want = std::string(entry) == "Word" ? "word" : "tool";
        bool at_source = fs.ReadFile(programs + file) == want;
        bool at_target = fs.ReadFile(Folder("办公应用") + file) == want;
        EXPECT_TRUE(at_source || at_target);
        if (at_source && f.Fired()) {
          EXPECT_FALSE(user.boxes.empty());
        }
      }
    }
  }
  EXPECT_EQ(unreached, std::vector<std::string>{});
}

// --- issue 19: truthful messages, both same-named entries kept, names the store gives back,
// the root never renamed, failed writes undone and told ------------------------------

TEST_F(OperationsTest, ADropOfAFolderWithAnUnreadableFolderSaysItStayedNotToDeleteIt) {
  fs.AddFile(programs + "\\工具 2.5\\Locked\\x.lnk", "locked");
  fs.MarkUnenterable(programs + "\\工具 2.5\\Locked");
  StartShown();
  Drop("工具 2.5", 1);
  EXPECT_EQ(Boxes(kSourceNotRemoved), 0) << "nothing of it was copied: nothing to delete by hand";
  EXPECT_EQ(Boxes(kEntryNotMoved), 1);
  EXPECT_TRUE(fs.Exists(programs + "\\工具 2.5\\Locked"));
}

TEST_F(OperationsTest, ADropOfAnUnreadableFolderSaysItStayed) {
  fs.AddFolder(programs + "\\Locked");
  fs.MarkUnenterable(programs + "\\Locked");
  StartShown();
  Drop("Locked", 1);
  EXPECT_EQ(Boxes(kSourceNotRemoved), 0);
  EXPECT_EQ(Boxes(kEntryNotMoved), 1);
}

TEST_F(OperationsTest, ACopiedReadOnlyFileIsLeftToTheUserToDeleteAndSaidSo) {
  fs.AddFile(programs + "\\工具 2.5\\ro.lnk", "ro", attr::kReadOnly);
  StartShown();
  Drop("工具 2.5", 1);
  EXPECT_EQ(Boxes(kEntryNotMoved), 0) << "it was copied";
  EXPECT_EQ(Boxes(kSourceNotRemoved), 1);
  EXPECT_EQ(Read(Folder("办公应用") + "\\工具 2.5\\ro.lnk"), "ro");
  EXPECT_EQ(Read(Folder("办公应用") + "\\工具 2.5\\工具.lnk"), "tool");
}

TEST_F(OperationsTest, BothKindsLeftInOneDropAreToldApart) {
  fs.AddFile(programs + "\\工具 2.5\\ro.lnk", "ro", attr::kReadOnly);
  fs.AddFile(programs + "\\工具 2.5\\Locked\\x.lnk", "locked");
  fs.MarkUnenterable(programs + "\\工具 2.5\\Locked");
  StartShown();
  Drop("工具 2.5", 1);
  EXPECT_EQ(Boxes(kEntriesPartlyMoved), 1);
  EXPECT_EQ(user.boxes.size(), 1u);
}

TEST_F(OperationsTest, ADropKeepsASameNamedEntryOfTheCategory) {
  fs.AddFile(Folder("办公应用") + "\\Word.lnk", "an older word");
  fs.AddFile(Folder("办公应用") + "\\工具 2.5\\工具.lnk", "an older tool");
  StartShown();
  Drop("Word", 1);
  EXPECT_EQ(Read(Folder("办公应用") + "\\Word.lnk"), "an older word");
  EXPECT_EQ(Read(Folder("办公应用") + "\\Word (2).lnk"), "word");
  EXPECT_FALSE(fs.Exists(programs + "\\Word.lnk"));
  Select("所有程序");
  categories->ShowCategory();
  Drop("工具 2.5", 1);
  EXPECT_EQ(Read(Folder("办公应用") + "\\工具 2.5\\工具.lnk"), "an older tool");
  EXPECT_EQ(Read(Folder("办公应用") + "\\工具 2.5\\工具 (2).lnk"), "tool");
  EXPECT_TRUE(user.boxes.empty());
}

TEST_F(OperationsTest, FaultsInADropOntoASameNamedEntryLoseNeither) {
  using F = testing::FaultyFileSystem;
  for (auto op : {F::Op::kCopy, F::Op::kDelete, F::Op::kRemoveFolder, F::Op::kList}) {
    for (auto mode : {F::Mode::kRefuse, F::Mode::kLie, F::Mode::kGarble, F::Mode::kDoThenFail}) {
      SCOPED_TRACE(static_cast<int>(op) * 10 + static_cast<int>(mode));
      Again();
      fs.AddFile(Folder("办公应用") + "\\Word.lnk", "an older word");
      F& f = Faulty();
      StartShown();
      f.FailAt(op, f.Calls(op), mode);
      Drop("Word", 1);
      EXPECT_EQ(Read(Folder("办公应用") + "\\Word.lnk"), "an older word");
      bool at_source = fs.ReadFile(programs + "\\Word.lnk") == "word";
      bool at_target = fs.ReadFile(Folder("办公应用") + "\\Word (2).lnk") == "word";
      EXPECT_TRUE(at_source || at_target);
      if (at_source && f.Fired()) {
        EXPECT_FALSE(user.boxes.empty());
      }
    }
  }
}

TEST_F(OperationsTest, TheMergesLeftoversAreToldOnceWithWhereAndWhy) {
  LayOutStartMenu(fs);
  StartShown();
  ASSERT_EQ(user.boxes.size(), 1u);
  const std::string& text = user.boxes[0].text;
  EXPECT_EQ(user.boxes[0].caption, kNoticeCaption);
  EXPECT_EQ(text.rfind(kMergeLeftovers, 0), 0u);
  EXPECT_NE(text.find(kPaths.common_start_menu + "\\只读.lnk" + kLeftNotRemoved), std::string::npos)
      << text;
  EXPECT_NE(text.find(kPaths.user_programs + "\\Secret" + kLeftSkipped), std::string::npos);
  EXPECT_NE(text.find(kPaths.user_programs + "\\Link" + kLeftSkipped), std::string::npos);
  // The same leftovers at the next merge of this run are not told again.
  fs.AddFile(kPaths.user_start_menu + "\\新.lnk", "new");
  categories->ClassifyNow();
  EXPECT_EQ(user.boxes.size(), 1u);
  EXPECT_EQ(Read(programs + "\\新.lnk"), "new");
}

TEST_F(OperationsTest, LeftoversToldAtOneStartAreNotToldAgainUntilTheyChange) {
  LayOutStartMenu(fs);
  StartShown();
  ASSERT_EQ(user.boxes.size(), 1u);
  const std::string told = IniValue("MergeLeftovers");
  EXPECT_EQ(told.size(), 16u) << told;
  // The next start finds the same ones: nothing said, nothing written.
  Stop();
  user.boxes.clear();
  const std::string ini = Ini();
  StartShown();
  EXPECT_TRUE(user.boxes.empty());
  EXPECT_EQ(Ini(), ini);
  // One more that stays: told again, all of them, at the next start.
  fs.AddFile(kPaths.user_start_menu + "\\只读也.lnk", "ro", attr::kReadOnly);
  Stop();
  StartShown();
  ASSERT_EQ(user.boxes.size(), 1u);
  EXPECT_NE(user.boxes[0].text.find("\\只读也.lnk"), std::string::npos) << user.boxes[0].text;
  EXPECT_NE(user.boxes[0].text.find("\\Secret"), std::string::npos) << user.boxes[0].text;
  EXPECT_NE(IniValue("MergeLeftovers"), told);
}

TEST(MergeLeftoverTextTest, TheFingerprintIgnoresOrderButNotReasons) {
  MoveReport a, b, c;
  a.not_copied = {"C:\\x\\1", "C:\\x\\2"};
  b.not_copied = {"C:\\x\\2", "C:\\x\\1"};
  c.not_removed = {"C:\\x\\1", "C:\\x\\2"};
  EXPECT_EQ(MergeLeftoverFingerprint(a), MergeLeftoverFingerprint(b));
  EXPECT_NE(MergeLeftoverFingerprint(a), MergeLeftoverFingerprint(c));
  EXPECT_EQ(MergeLeftoverFingerprint(MoveReport{}), "");
}

TEST(MergeLeftoverTextTest, ManyAreCutShortWithHowManyMore) {
  MoveReport r;
  for (int i = 0; i < 20; ++i) r.not_copied.push_back("C:\\x\\" + std::to_string(i));
  std::vector<std::string> reported;
  std::string text = MergeLeftoverText(r, reported);
  EXPECT_NE(text.find("……另有 8 项。"), std::string::npos) << text;
  EXPECT_EQ(reported.size(), 20u);
  EXPECT_EQ(MergeLeftoverText(r, reported), "");
}

TEST_F(OperationsTest, NamesThatDoNotReadBackAsThemselvesAreRefused) {
  StartShown();
  std::string ini = Ini();
  for (const char* name : {" 影音", "'影音'", " '影音'", "  影 音"}) {
    SCOPED_TRACE(name);
    user.boxes.clear();
    Edit("新分类1", name);
    ASSERT_EQ(user.boxes.size(), 1u);
    EXPECT_EQ(user.boxes[0].text, kNameNotStorable);
    EXPECT_EQ(Node("新分类1")->Text(), "新分类1");
  }
  EXPECT_EQ(Ini(), ini);
  EXPECT_TRUE(fs.FolderExists(Folder("新分类1")));
  // Quotes inside a name are read back as they are.
  user.boxes.clear();
  Edit("新分类1", "'影音");
  EXPECT_TRUE(user.boxes.empty());
  EXPECT_NE(Ini().find("Label2='影音"), std::string::npos);
  CategoryStore store(profile, kStore);
  EXPECT_EQ(store.Label(2), "'影音");
}

TEST_F(OperationsTest, TheRootIsNeverRenamedWhicheverWayTheEditCame) {
  StartShown();
  auto before = Everything();
  std::string ini = Ini();
  // Escape, then F2: the edit ends on the root without the menu's check.
  std::string text = "影音";
  const std::string* shown = Tree().EditEndedFromWindow(Tree().TopItem(0), &text);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(*shown, "所有程序");
  EXPECT_EQ(Tree().TopItem(0)->Text(), "所有程序");
  EXPECT_EQ(Boxes(kCannotRename), 1);
  EXPECT_EQ(Everything(), before);
  EXPECT_EQ(Ini(), ini);
  Drop("Word", 0);  // drops onto the root still go to the Programs folder
  EXPECT_TRUE(fs.FileExists(programs + "\\Word.lnk"));
}

TEST_F(OperationsTest, AFailedStoreWriteUndoesARenameAndSaysSo) {
  StartShown();
  counting.fail_writes = true;
  Edit("新分类1", "影音");
  EXPECT_EQ(Boxes(kStoreNotWritten), 1);
  EXPECT_EQ(Node("新分类1")->Text(), "新分类1");
  EXPECT_TRUE(fs.FolderExists(Folder("新分类1"))) << "the folder has its old name back";
  EXPECT_FALSE(fs.Exists(Folder("影音")));
}

TEST_F(OperationsTest, AFailedStoreWriteAddsNoCategoryAndLeavesNoFolder) {
  StartShown();
  std::string ini = Ini();
  counting.fail_writes = true;
  Choose(form->MenuNew);
  EXPECT_EQ(Boxes(kStoreNotWritten), 1);
  EXPECT_EQ(Node("新分类4"), nullptr);
  EXPECT_FALSE(fs.Exists(Folder("新分类4")));
  EXPECT_EQ(Ini(), ini);
}

TEST_F(OperationsTest, AFailedStoreWriteKeepsADeletedCategory) {
  StartShown();
  counting.fail_writes = true;
  Select("新分类1");
  Choose(form->MenuDel);
  EXPECT_EQ(Boxes(kStoreNotWritten), 1);
  EXPECT_NE(Node("新分类1"), nullptr);
  EXPECT_TRUE(fs.FolderExists(Folder("新分类1"))) << "as the store still names it";
  EXPECT_EQ(categories->DeletedNames(), "");
}

TEST_F(OperationsTest, AFailedStoreWriteOrIconCopyPutsTheIconBack) {
  StartShown();
  fs.AddFile("D:\\pics\\x.ico", IconBytes());
  backend.answer_open_dialog = [](ui::OpenDialog& d) {
    d.SetFileName("D:\\pics\\x.ico");
    return true;
  };
  int image = Node("新分类3")->ImageIndex();
  std::string ini = Ini();
  counting.fail_writes = true;
  Select("新分类3");
  Choose(form->MenuChangeIcon);
  EXPECT_EQ(Boxes(kStoreNotWritten), 1);
  EXPECT_EQ(Node("新分类3")->ImageIndex(), image);
  EXPECT_EQ(Ini(), ini);
  counting.fail_writes = false;

  testing::FaultyFileSystem& f = Faulty();
  Stop();
  StartShown();
  user.boxes.clear();
  image = Node("新分类3")->ImageIndex();
  f.FailAt(testing::FaultyFileSystem::Op::kCopy, f.Calls(testing::FaultyFileSystem::Op::kCopy),
           testing::FaultyFileSystem::Mode::kRefuse);
  Select("新分类3");
  Choose(form->MenuChangeIcon);
  EXPECT_EQ(Boxes(kIconNotCopied), 1);
  EXPECT_EQ(Node("新分类3")->ImageIndex(), image);
  EXPECT_EQ(Ini().find("LabelIcon3=x.ico"), std::string::npos);
}

TEST_F(OperationsTest, ChangeIconOnANodeTheStoreNoLongerNamesWritesNoStrayEntry) {
  StartShown();
  fs.AddFile("D:\\pics\\x.ico", IconBytes());
  backend.answer_open_dialog = [](ui::OpenDialog& d) {
    d.SetFileName("D:\\pics\\x.ico");
    return true;
  };
  Tree().Add(Tree().TopItem(0), "别的");
  Select("别的");
  Choose(form->MenuChangeIcon);
  EXPECT_EQ(Ini().find("LabelIcon4="), std::string::npos) << Ini();
  EXPECT_EQ(Boxes(kStoreNotWritten), 1);
}

TEST_F(OperationsTest, EachNodeKeepsItsStoreIndexThroughDeleteRenameAndNew) {
  StartShown();
  EXPECT_EQ(Node("办公应用")->Data(), 1);
  EXPECT_EQ(Node("新分类3")->Data(), 3);
  Select("新分类1");
  Choose(form->MenuDel);
  EXPECT_EQ(Node("新分类3")->Data(), 2) << "moved down with its entry";
  Edit("新分类3", "影音");
  EXPECT_NE(Ini().find("Label2=影音"), std::string::npos) << Ini();
  Choose(form->MenuNew);
  EXPECT_EQ(Tree().Selected()->Data(), 3);
  EXPECT_NE(Ini().find("Label3=" + Tree().Selected()->Text()), std::string::npos) << Ini();
}

TEST_F(OperationsTest, OfTwoSameNamedEntriesTheNodesOwnIsRenamed) {
  Store("[programs]\r\nLabelNum=2\r\nLabel1=甲\r\nLabel2=甲\r\n");
  StartShown();
  std::vector<ui::TreeNode*> nodes = Tree().AllNodes();
  ASSERT_EQ(nodes.size(), 3u);
  Tree().SetSelected(nodes[2]);
  Choose(form->MenuRename);
  std::string text = "乙";
  Tree().EditEndedFromWindow(nodes[2], &text);
  CategoryStore store(profile, kStore);
  EXPECT_EQ(store.Label(1), "甲");
  EXPECT_EQ(store.Label(2), "乙");
}

// --- the category list in the store, without any window ---------------------------

TEST(CategoryStoreListTest, FindAppendRemoveAndTheNextNewName) {
  MemoryFileSystem fs;
  fs.AddFolder("C:\\Corvane");
  FileProfileStore profile(fs);
  CategoryStore store(profile, kStore);
  EXPECT_EQ(store.Find("甲"), 0);
  EXPECT_EQ(store.NextNewName("", nullptr), "新分类1");
  ASSERT_TRUE(store.Append("甲", "a.ico"));
  ASSERT_TRUE(store.Append("新分类1", "b.ico"));
  ASSERT_TRUE(store.Append("乙", "c.ico"));
  EXPECT_EQ(store.Find("乙"), 3);
  EXPECT_EQ(store.NextNewName("", nullptr), "新分类2");
  EXPECT_EQ(store.NextNewName("新分类2新分类3", nullptr), "新分类4");
  ASSERT_TRUE(store.Remove(2));
  EXPECT_EQ(store.Labels(), (std::vector<std::string>{"甲", "乙"}));
  EXPECT_EQ(store.LabelIcon(2), "c.ico");
  EXPECT_EQ(store.LabelNum(), 2);
  EXPECT_EQ(store.NextIndex(), 3);
  std::string bad;
  ASSERT_TRUE(store.Append("新分类x", "d.ico"));
  EXPECT_EQ(store.NextNewName("", &bad), "");
  EXPECT_EQ(bad, "x");
  EXPECT_FALSE(SurvivesStore(" a"));
  EXPECT_FALSE(SurvivesStore("'a'"));
  EXPECT_TRUE(SurvivesStore("a'"));
}

}  // namespace
}  // namespace corvane::categories
