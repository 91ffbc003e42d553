#include <gtest/gtest.h>

#include "test_support.h"
#include "ui/components.h"
#include "ui/form.h"
#include "ui/graphic_controls.h"
#include "ui/std_controls.h"

namespace corvane::ui {
namespace {

using testing::AppFixture;
using testing::MouseMove;

struct Probe : Component {
  Probe(Component* owner, int* destroyed) : Component(owner), destroyed_(destroyed) {}
  ~Probe() override { ++*destroyed_; }
  int* destroyed_;
};

TEST(ComponentOwnership, OwnerDestroysWhatItOwnsAndAComponentLeavesItsOwner) {
  int destroyed = 0;
  auto owner = std::make_unique<Component>(nullptr);
  Probe* a = owner->Create<Probe>("A", &destroyed);
  owner->Create<Probe>("B", &destroyed);
  Probe* c = owner->Create<Probe>("C", &destroyed);
  c->Create<Probe>("Inner", &destroyed);
  ASSERT_EQ(owner->Components().size(), 3u);

  delete a;
  EXPECT_EQ(destroyed, 1);
  ASSERT_EQ(owner->Components().size(), 2u);
  EXPECT_EQ(owner->Components()[0]->Name(), "B");

  owner.reset();
  EXPECT_EQ(destroyed, 4);
}

TEST(ComponentOwnership, WatchersAreToldOnceAfterThePartsAndCanEndTheirWatch) {
  int destroyed = 0;
  auto watched = std::make_unique<Probe>(nullptr, &destroyed);
  watched->Create<Probe>("Part", &destroyed);
  Component* raw = watched.get();
  std::vector<std::string> told;
  int key_a = 0, key_b = 0, key_c = 0, key_d = 0;
  watched->WatchFree(&key_a, [&] { told.push_back("a"); });
  watched->WatchFree(&key_b, [&] { told.push_back("b"); });
  watched->WatchFree(&key_c, [&] {
    told.push_back("c after " + std::to_string(destroyed));
    raw->UnwatchFree(&key_d);  // a watcher gone meanwhile is not told
  });
  watched->WatchFree(&key_d, [&] { told.push_back("d"); });
  watched->WatchFree(&key_b, [&] { told.push_back("b again"); });  // replaces b's
  watched->UnwatchFree(&key_a);
  watched.reset();
  // After the parts and the object's own destructor, once each, in order.
  EXPECT_EQ(told, (std::vector<std::string>{"c after 2", "b again"}));
}

TEST(ComponentOwnership, FindsByNameWithoutRegardToCase) {
  Component owner(nullptr);
  Timer* t = owner.Create<Timer>("TimerDetect");
  EXPECT_EQ(owner.FindComponent("timerdetect"), t);
  EXPECT_EQ(owner.Find<Timer>("TIMERDETECT"), t);
  EXPECT_EQ(owner.Find<PopupMenu>("TimerDetect"), nullptr);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
}

TEST(ComponentWalk, AFormListsItsComponentsInCreationOrderWithClassNamesAndTags) {
  AppFixture f;
  Form form(nullptr);
  Panel* p = form.Create<Panel>("Pnl");
  p->SetParent(&form);
  CheckBox* box = form.Create<CheckBox>("Chk");
  box->SetParent(p);
  box->SetTag(199);
  form.Create<BitBtn>("Ok")->SetParent(p);
  form.Create<Label>("Lbl")->SetParent(p);
  form.Create<Timer>("Tmr");
  form.Create<Memo>("Mem")->SetParent(p);
  form.Create<SpinEdit>("Spn")->SetParent(p);

  std::vector<std::string> names;
  for (Component* c : form.Components()) names.push_back(c->ClassName() + ":" + c->Name());
  EXPECT_EQ(names,
            (std::vector<std::string>{"TPanel:Pnl", "TCheckBox:Chk", "TBitBtn:Ok", "TLabel:Lbl",
                                      "TTimer:Tmr", "TMemo:Mem", "TSpinEdit:Spn"}));
  EXPECT_EQ(form.Components()[1]->Tag() % 100, 99);
  // The kinds a skin tells apart by class are real subclasses too.
  EXPECT_NE(dynamic_cast<Button*>(form.Components()[2]), nullptr);
  EXPECT_NE(dynamic_cast<Edit*>(form.Components()[5]), nullptr);
  EXPECT_EQ(p->Controls().size(), 5u);
}

TEST(MessageMethod, AReplacementSeesMessagesFirstChainsAndCanBeGivenBack) {
  AppFixture f;
  Form form(nullptr);
  Label* lbl = form.Create<Label>("Lbl");
  lbl->SetParent(&form);
  lbl->SetBounds(0, 0, 50, 20);
  std::vector<std::string> seen;
  lbl->OnMouseMove = [&](Control&, unsigned, int x, int y) {
    seen.push_back("event " + std::to_string(x) + "," + std::to_string(y));
  };

  MessageMethod original = lbl->WindowProc();
  lbl->SetWindowProc([&, original](Message& m) {
    if (m.msg == msg::kMouseMove) seen.push_back("hook");
    if (m.msg == msg::kLButtonDown) return;  // swallowed
    original(m);
  });
  bool clicked = false;
  lbl->OnClick = [&](Control&) { clicked = true; };

  MouseMove(form, 7, 8);  // through the parent, as from a window
  testing::LeftClick(*lbl, 1, 1);
  EXPECT_EQ(seen, (std::vector<std::string>{"hook", "event 7,8"}));
  EXPECT_FALSE(clicked) << "the press never reached the label";

  lbl->SetWindowProc(original);
  seen.clear();
  MouseMove(*lbl, 1, 2);
  testing::LeftClick(*lbl, 1, 1);
  EXPECT_EQ(seen, (std::vector<std::string>{"event 1,2"}));
  EXPECT_TRUE(clicked);
}

TEST(MessageMethod, TwoReplacementsChainInOrderAndUnwind) {
  AppFixture f;
  Form form(nullptr);
  std::string trail;
  MessageMethod own = form.WindowProc();
  form.SetWindowProc([&, own](Message& m) {
    trail += "a";
    own(m);
  });
  MessageMethod first = form.WindowProc();
  form.SetWindowProc([&, first](Message& m) {
    trail += "b";
    first(m);
  });
  form.Perform(msg::kUser);
  EXPECT_EQ(trail, "ba");
  form.SetWindowProc(first);
  form.Perform(msg::kUser);
  EXPECT_EQ(trail, "baa");
  form.SetWindowProc(nullptr);  // back to the library's own
  form.Perform(msg::kUser);
  EXPECT_EQ(trail, "baa");
}

TEST(TimerComponent, TicksOnlyWhileEnabledWithAnInterval) {
  Component owner(nullptr);
  Timer* t = owner.Create<Timer>("T");
  int ticks = 0;
  t->OnTimer = [&](Timer&) { ++ticks; };
  t->Tick();
  t->SetEnabled(false);
  t->Tick();
  t->SetEnabled(true);
  t->SetInterval(0);
  t->Tick();
  EXPECT_EQ(ticks, 1);
  // Paused, it keeps its enabled state and ticks again once resumed.
  t->SetInterval(1000);
  t->SetPaused(true);
  t->Tick();
  EXPECT_TRUE(t->Enabled());
  EXPECT_FALSE(t->Running());
  t->SetPaused(false);
  t->Tick();
  EXPECT_EQ(ticks, 2);
  t->SetEnabled(false);
  EXPECT_FALSE(t->Running());
}

TEST(PopupMenuComponent, RunsTheChosenItemAndFindsItemsByHotKey) {
  AppFixture f;
  Component owner(nullptr);
  auto* menu = owner.Create<PopupMenu>("Pop");
  std::string ran;
  menu->Add("MenuExit", "退出程序(&X)", [&](MenuItem& i) { ran += i.Name(); });
  menu->Add("N5", "-");
  MenuItem* about = menu->Add("MenuAbout", "关于(&A)", [&](MenuItem& i) { ran += i.Name(); });
  menu->Add("Amp", "R&&D (&d)");

  EXPECT_EQ(menu->Items()[0]->HotKey(), 'X');
  EXPECT_EQ(menu->Items()[1]->HotKey(), 0);
  EXPECT_TRUE(menu->Items()[1]->IsSeparator());
  EXPECT_EQ(menu->Items()[3]->HotKey(), 'D');
  EXPECT_EQ(menu->ItemForHotKey('a'), about);
  // "\x81\x26" is a double-byte character whose trail byte is '&'.
  MenuItem* dbcs = menu->Add("Dbcs", "\x81\x26Q");
  EXPECT_EQ(dbcs->HotKey(), 0);

  f.backend.choose_menu_item = [&](PopupMenu& m) { return m.Items()[2]; };
  menu->Popup({300, 400});
  EXPECT_EQ(ran, "MenuAbout");
  ASSERT_EQ(f.backend.popups().size(), 1u);
  EXPECT_EQ(f.backend.popups()[0].at, (Point{300, 400}));

  about->SetEnabled(false);
  menu->Popup({0, 0});
  EXPECT_EQ(ran, "MenuAbout") << "a disabled item does not run";
}

}  // namespace
}  // namespace corvane::ui
