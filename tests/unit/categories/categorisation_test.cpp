#include "categories/categorisation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <set>

#include "categories/frm_jiqiao.h"
#include "categories/frm_tixing.h"
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
    return inner_.WriteString(f, s, k, v);
  }
  bool DeleteKey(const std::string& f, const std::string& s, const std::string& k) override {
    return inner_.DeleteKey(f, s, k);
  }
  std::vector<std::string> ReadKeys(const std::string& f, const std::string& s) override {
    return inner_.ReadKeys(f, s);
  }
  int reads = 0;

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
  void Start() {
    categories = std::make_unique<Categorisation>(
        app, CategoryServices{fs, counting, system, shell, icons});
    app::TFrmMain::Steps steps;
    categories->FillSteps(steps);
    form = std::make_unique<app::TFrmMain>(app, app::MainServices{system, notify, power, registry},
                                           std::move(steps));
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
  EXPECT_TRUE(user.boxes.empty());
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
  EXPECT_EQ(categories->LastMerge().moved, 5);
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

TEST_F(CategorisationTest, AMissingLabelMakesACategoryCalledNull) {
  Icon("root.ico");
  Icon("a.ico");
  Store("[programs]\r\nLabelNum=3\r\nLabel1=甲\r\nLabel3=丙\r\n[LabelIcon]\r\nLabelIcon0=root.ico\r\n"
        "LabelIcon1=a.ico\r\nLabelIcon2=a.ico\r\nLabelIcon3=a.ico\r\n");
  Start();
  EXPECT_EQ(Nodes(), (std::vector<std::string>{"所有程序:0", "甲:1", "null:2", "丙:3"}));
  EXPECT_TRUE(fs.FolderExists(kPaths.common_programs + "\\null"));
  EXPECT_TRUE(fs.FileExists(kPaths.common_programs + "\\null\\Desktop.ini"));
}

TEST_F(CategorisationTest, AFailedIconKeepsThePreviousOneAndTheFolderStillNamesIt) {
  Icon("root.ico");
  Icon("b.ico");
  fs.AddFile(std::string(kIcons) + "broken.ico", "not an icon");
  Store("[programs]\r\nLabelNum=4\r\nLabel1=甲\r\nLabel2=乙\r\nLabel3=丙\r\nLabel4=丁\r\n"
        "[LabelIcon]\r\nLabelIcon0=root.ico\r\nLabelIcon1=missing.ico\r\nLabelIcon2=b.ico\r\n"
        "LabelIcon3=broken.ico\r\nLabelIcon4=b.ico\r\n");
  Start();
  EXPECT_EQ(Boxes(kIconLoadFailed), 2) << "one box per failing icon";
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
  EXPECT_EQ(Boxes(kIconLoadFailed), 3);
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
  categories = std::make_unique<Categorisation>(app, CategoryServices{fs, counting, system, shell, icons});
  app::TFrmMain::Steps steps;
  categories->FillSteps(steps);
  steps.category_startup = [this](app::TFrmMain& f) {
    categories->Attach(f);
    categories->BuildCategoryTree();
  };
  form = std::make_unique<app::TFrmMain>(app, app::MainServices{system, notify, power, registry},
                                         std::move(steps));
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

}  // namespace
}  // namespace corvane::categories
