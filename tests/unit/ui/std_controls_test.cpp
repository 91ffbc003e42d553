#include "ui/std_controls.h"

#include <gtest/gtest.h>

#include "test_support.h"
#include "ui/form.h"

namespace corvane::ui {
namespace {

using testing::AppFixture;
using testing::WindowClick;

class Controls : public ::testing::Test {
 protected:
  Controls() {
    panel = form.Create<Panel>("Pnl");
    panel->SetParent(&form);
  }
  template <class T>
  T* Add(const char* name) {
    T* c = form.Create<T>(name);
    c->SetParent(panel);
    return c;
  }
  AppFixture f;
  Form form{nullptr};
  Panel* panel;
};

TEST_F(Controls, SettingCheckedToANewValueRunsTheClickReactionLikeAClick) {
  auto* box = Add<CheckBox>("ChekBxDn");
  std::vector<bool> seen;
  box->OnClick = [&](Control& c) { seen.push_back(static_cast<CheckBox&>(c).Checked()); };
  box->SetChecked(true);
  box->SetChecked(true);  // no change, no reaction
  WindowClick(*box);      // the user's click toggles and reacts
  WindowClick(*box);
  box->SetChecked(true);
  EXPECT_EQ(seen, (std::vector<bool>{true, false, true}));
  EXPECT_TRUE(box->Checked());
}

TEST_F(Controls, ARadioButtonTurnsItsSiblingsOffAndReactsOnlyWhenChecked) {
  auto* ul = Add<RadioButton>("RadoBtnUL");
  auto* folder = Add<RadioButton>("RadoBtnFolder");
  auto* other_panel = form.Create<Panel>("Other");
  other_panel->SetParent(&form);
  auto* elsewhere = form.Create<RadioButton>("Elsewhere");
  elsewhere->SetParent(other_panel);
  std::string clicks;
  for (RadioButton* r : {ul, folder, elsewhere})
    r->OnClick = [&](Control& c) { clicks += c.Name() + ";"; };
  ul->SetChecked(true);
  elsewhere->SetChecked(true);
  WindowClick(*folder);
  WindowClick(*folder);  // already checked: stays checked, no reaction
  EXPECT_FALSE(ul->Checked());
  EXPECT_TRUE(folder->Checked());
  EXPECT_TRUE(elsewhere->Checked()) << "another parent is another group";
  EXPECT_EQ(clicks, "RadoBtnUL;Elsewhere;RadoBtnFolder;");
}

TEST_F(Controls, ButtonsClickFromTheWindowAndSetTheModalResult) {
  auto* ok = Add<Button>("BtnOk");
  int clicks = 0;
  ok->OnClick = [&](Control&) { ++clicks; };
  ok->SetModalResult(kMrOk);
  testing::LeftClick(*ok, 3, 3);  // the window's own mouse handling clicks, not the library
  EXPECT_EQ(clicks, 0);
  WindowClick(*ok);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form.ModalResult(), kMrOk);
}

TEST(EditControl, ReportsEachChangeOnce) {
  AppFixture windows(true);  // with stand-in windows, which echo the text
  Form f2(nullptr);
  auto* e = f2.Create<Edit>("EdtOEMSetName");
  e->SetParent(&f2);
  f2.Handle();
  ASSERT_TRUE(e->HandleAllocated());
  int changes = 0;
  e->OnChange = [&](Control&) { ++changes; };
  e->SetText("Corvane");
  // The window answers a programmatic change with its change notification.
  e->Perform(msg::kReflectCommand, static_cast<std::uintptr_t>(msg::kEditChange) << 16);
  e->SetText("Corvane");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(e->Text(), "Corvane");
}

TEST_F(Controls, SpinEditKeepsItsValueInRange) {
  auto* spin = Add<SpinEdit>("SpnEdtNum");
  spin->SetValue(45);
  EXPECT_EQ(spin->Value(), 45) << "no range yet";
  spin->SetRange(0, 30);
  EXPECT_EQ(spin->Value(), 30);
  spin->SetValue(6);
  EXPECT_EQ(spin->Text(), "6");
  spin->SetValue(-3);
  EXPECT_EQ(spin->Value(), 0);
}

TEST_F(Controls, MemoLinesJoinWithCarriageReturnLineFeed) {
  auto* memo = Add<Memo>("MemoAbout");
  memo->SetLines({"", "a", "", "b"});
  EXPECT_EQ(memo->Text(), "\r\na\r\n\r\nb");
  EXPECT_EQ(memo->Lines(), (std::vector<std::string>{"", "a", "", "b"}));
  memo->SetText("x\ry\r\n");
  EXPECT_EQ(memo->Lines(), (std::vector<std::string>{"x\ry"}));
}

TEST(ControlWindows, EveryWindowIsMadeWithItsFormAndReleasedWithIt) {
  AppFixture f(true);
  {
    Form form(nullptr);
    auto* p = form.Create<Panel>("P");
    p->SetParent(&form);
    auto* box = form.Create<CheckBox>("Box");
    box->SetParent(p);
    form.Create<Label>("L")->SetParent(p);  // windowless
    EXPECT_EQ(f.backend.live_windows(), 0) << "nothing before the form needs its window";
    form.Show();
    EXPECT_EQ(f.backend.live_windows(), 3);
    // Added later to a parent that has its window: made at once.
    auto* e = form.Create<Edit>("E");
    e->SetParent(p);
    EXPECT_EQ(f.backend.live_windows(), 4);
    delete e;
    EXPECT_EQ(f.backend.live_windows(), 3);

    f.backend.ClearSyncs();
    box->SetChecked(true);
    p->SetFont(Font{"宋体", 14});
    EXPECT_EQ(f.backend.SyncsOf("Box"), (std::vector<Aspect>{Aspect::kState, Aspect::kFont}));
    // Moving a control to another parent remakes its window under it.
    box->SetParent(&form);
    EXPECT_EQ(f.backend.live_windows(), 3);
    EXPECT_EQ(f.backend.windows_made(), 5);
  }
  EXPECT_EQ(f.backend.live_windows(), 0);
}

TEST(ControlWindows, AChildAskedForItsWindowFirstIsMadeOnce) {
  AppFixture f(true);
  Form form(nullptr);
  auto* p = form.Create<Panel>("P");
  p->SetParent(&form);
  auto* box = form.Create<CheckBox>("Box");
  box->SetParent(p);
  // The form's window makes the panel's; the panel must keep that one, or
  // the box's window goes with the first and is never made again.
  WindowHandle h = p->Handle();
  EXPECT_NE(h, 0u);
  EXPECT_EQ(f.backend.windows_made(), 3);
  EXPECT_EQ(f.backend.live_windows(), 3);
  EXPECT_EQ(p->Handle(), h);
}

}  // namespace
}  // namespace corvane::ui
