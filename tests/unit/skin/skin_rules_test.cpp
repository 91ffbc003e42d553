#include <gtest/gtest.h>

#include <map>

#include "core/text.h"
#include "skin/skin_rules.h"
#include "skin_test_support.h"

namespace corvane::skin {
namespace {

// A skin whose package loaded (so its not-loaded flag is clear).
std::unique_ptr<TSkinData> LoadedSkin(TSkinFormType type) {
  auto d = std::make_unique<TSkinData>();
  d->SkinFormtype = type;
  EXPECT_TRUE(d->LoadPackage(testing::Packed({{"s.ini", ToBytes("[TitlebarSkin]\n")}})));
  return d;
}

struct Skins {
  std::vector<std::unique_ptr<TSkinData>> owned;
  std::vector<RegisteredSkin> list;
  RegisteredSkin& Add(TSkinFormType type, WindowId owner = 0, bool loaded = true) {
    owned.push_back(loaded ? LoadedSkin(type) : std::make_unique<TSkinData>());
    owned.back()->SkinFormtype = type;
    list.push_back({owned.back().get(), owner, nullptr});
    return list.back();
  }
};

AttachFacts Window(std::string cls = "TFrmMain") {
  AttachFacts f;
  f.manager_active = true;
  f.width = 300;
  f.height = 200;
  f.class_name = std::move(cls);
  f.window = 0x100;
  return f;
}

TEST(AttachDecision, ConditionsInOrder) {
  Skins s;
  s.Add(sfMainform);
  EXPECT_TRUE(DecideAttach(Window(), s.list).Accepted());
  EXPECT_EQ(DecideAttach(Window(), s.list).skin, 0);

  AttachFacts f = Window();
  f.manager_active = false;
  f.answers_skinned = true;  // the earlier condition is the one reported
  EXPECT_EQ(DecideAttach(f, s.list).refusal, AttachRefusal::kManagerInactive);
  f = Window();
  f.answers_skinned = true;
  EXPECT_EQ(DecideAttach(f, s.list).refusal, AttachRefusal::kAnswersSkinned);
  f = Window();
  f.already_listed = true;
  EXPECT_EQ(DecideAttach(f, s.list).refusal, AttachRefusal::kAlreadyListed);

  f = Window();
  f.is_child = true;
  f.parent_class = "MDIClient";
  f.width = 0;
  EXPECT_EQ(DecideAttach(f, s.list).refusal, AttachRefusal::kMdiChild);
  f.attach_mdi_children = true;
  EXPECT_EQ(DecideAttach(f, s.list).refusal, AttachRefusal::kZeroSize);
  f.width = 10;
  EXPECT_TRUE(DecideAttach(f, s.list).Accepted());
  f.height = 0;
  EXPECT_EQ(DecideAttach(f, s.list).refusal, AttachRefusal::kZeroSize);

  f = Window();
  f.has_form = true;
  f.form_tag = 99;
  EXPECT_EQ(DecideAttach(f, s.list).refusal, AttachRefusal::kFormTag99);
  f.form_tag = 199;  // exactly 99, not the disable-tag rule
  EXPECT_TRUE(DecideAttach(f, s.list).Accepted());

  EXPECT_EQ(DecideAttach(Window("TApplication"), s.list).refusal, AttachRefusal::kApplicationWindow);
  EXPECT_EQ(DecideAttach(Window("SysMonthCal32"), s.list).refusal, AttachRefusal::kClassFilter);
  EXPECT_EQ(DecideAttach(Window(), {}).refusal, AttachRefusal::kNoSkin);
  Skins unloaded;
  unloaded.Add(sfMainform, 0, false);
  EXPECT_EQ(DecideAttach(Window(), unloaded.list).refusal, AttachRefusal::kSkinNotLoaded);
}

TEST(AttachDecision, ClassFilter) {
  Skins s;
  s.Add(sfDialog);
  // No main skin: every class passes.
  EXPECT_TRUE(PassesClassFilter(s.list, "SysMonthCal32"));
  RegisteredSkin& main = s.Add(sfMainform);
  EXPECT_FALSE(PassesClassFilter(s.list, "SysMonthCal32"));
  EXPECT_TRUE(PassesClassFilter(s.list, "TfrPreviewForm"));
  main.data->SkinControls |= SkinControlBit(xcFastReport);
  EXPECT_FALSE(PassesClassFilter(s.list, "TfrPreviewForm"));
  EXPECT_TRUE(PassesClassFilter(s.list, "TFrmMain"));
  // The host's answer replaces the built-in tests.
  std::vector<std::string> asked;
  s.list[1].on_form_skin = [&](const std::string& cls, bool& skin) {
    asked.push_back(cls);
    skin = cls != "TFrmAbout";
  };
  EXPECT_TRUE(PassesClassFilter(s.list, "SysMonthCal32"));
  EXPECT_FALSE(PassesClassFilter(s.list, "TFrmAbout"));
  EXPECT_EQ(asked.size(), 2u);
}

TEST(SkinChoice, RulesAndLastMatch) {
  Skins s;
  EXPECT_EQ(ChooseSkin(s.list, 1, "#32770"), -1);
  s.Add(sfDialog);
  EXPECT_EQ(ChooseSkin(s.list, 1, "TFrmMain"), 0);  // only rule 4 applies
  s.Add(sfMainform);
  s.Add(sfMainform);
  s.Add(sfOnlyThisForm, 0x42);
  s.Add(sfDialog);
  EXPECT_EQ(ChooseSkin(s.list, 0x42, "#32770"), 3);
  EXPECT_EQ(ChooseSkin(s.list, 0x43, "#32770"), 4);
  EXPECT_EQ(ChooseSkin(s.list, 0x43, "TMessageForm"), 4);
  EXPECT_EQ(ChooseSkin(s.list, 0x43, "TFrmMain"), 2);
  EXPECT_EQ(ChooseSkin(s.list, 0, "TFrmMain"), 2);  // no window: no owner match
  Skins main_only;
  main_only.Add(sfMainform);
  EXPECT_EQ(ChooseSkin(main_only.list, 9, "#32770"), 0);
}

TEST(SkinChoice, PopupMenusAndSizeGrips) {
  Skins s;
  s.Add(sfMainform);
  PopupFacts p{true, false, false, 7};
  EXPECT_EQ(DecidePopupSkin(p, s.list), 0);
  s.owned[0]->SkinControls &= ~SkinControlBit(xcMainMenu);
  EXPECT_EQ(DecidePopupSkin(p, s.list), -1);
  s.owned[0]->SkinControls |= SkinControlBit(xcMainMenu);
  for (PopupFacts refused : {PopupFacts{false, false, false, 7}, PopupFacts{true, true, false, 7},
                             PopupFacts{true, false, true, 7}})
    EXPECT_EQ(DecidePopupSkin(refused, s.list), -1);
  Skins unloaded;
  unloaded.Add(sfMainform, 0, false);
  EXPECT_EQ(DecidePopupSkin(p, unloaded.list), -1);

  EXPECT_TRUE(RefuseSizeGrip("ScrollBar", 0x10, true));
  EXPECT_TRUE(RefuseSizeGrip("scrollbar", 0x18, true));
  EXPECT_FALSE(RefuseSizeGrip("ScrollBar", 0x10, false));
  EXPECT_FALSE(RefuseSizeGrip("ScrollBar", 0x01, true));
  EXPECT_FALSE(RefuseSizeGrip("Button", 0x10, true));
}

TEST(Commands, ImmediateUntilFirstActivationThenTimed) {
  CommandQueue q;
  q.Queue(kCmdActivate, 250);
  EXPECT_TRUE(q.active);
  EXPECT_FALSE(q.timer_running);
  q.Queue(kCmdRefresh, 250);  // nothing to refresh before the first window
  EXPECT_FALSE(q.timer_running);
  q.Queue(kCmdDeactivate, 250);
  EXPECT_FALSE(q.active);
  q.activation_count = 1;
  q.Queue(kCmdActivate, 100);
  EXPECT_FALSE(q.active);  // the timer does it
  EXPECT_TRUE(q.timer_running);
  EXPECT_EQ(q.interval, 100u);
  EXPECT_EQ(q.TakeOnTick(), kCmdActivate);
  EXPECT_FALSE(q.timer_running);
  EXPECT_EQ(q.TakeOnTick(), kCmdNone);  // each queued command runs once
}

TEST(FormControls, TagCodesAndDisableTag) {
  ControlSkinSettings s;
  ControlFacts c;
  c.class_upper = "TCHECKBOX";
  c.roles = kRoleCustomCheckBox;
  for (long tag : {99L, 199L, 299L}) {
    c.tag = tag;
    EXPECT_EQ(PrecheckControl(c, s), ControlPrecheck::kSkip) << tag;
  }
  s.disable_tag = 5;
  c.tag = 105;
  EXPECT_EQ(PrecheckControl(c, s), ControlPrecheck::kSkip);
  c.tag = 99;
  EXPECT_EQ(PrecheckControl(c, s), ControlPrecheck::kContinue);
  c.has_skin_object = true;
  EXPECT_EQ(PrecheckControl(c, s), ControlPrecheck::kSkip);
  c.has_skin_object = false;
  c.windowed = true;
  EXPECT_EQ(PrecheckControl(c, s), ControlPrecheck::kCreateWindow);
  c.in_preview_form = true;
  EXPECT_EQ(PrecheckControl(c, s), ControlPrecheck::kSkip);
  EXPECT_TRUE(IsPrintPreviewForm("FrmPrintPreView", "TFrmX"));
  EXPECT_TRUE(IsPrintPreviewForm("Frm", "TppPrintPreview"));
  EXPECT_FALSE(IsPrintPreviewForm("FrmMain", "TFrmMain"));

  ControlFacts plain;
  plain.class_upper = "TWIDGET";
  plain.tag = 195;
  EXPECT_EQ(MapFormControl(plain, s).object, SkinObject::kComBox);
  plain.tag = 96;
  EXPECT_EQ(MapFormControl(plain, s).object, SkinObject::kScrollBar);
  plain.tag = 97;
  EXPECT_EQ(MapFormControl(plain, s).object, SkinObject::kEdit);
  EXPECT_TRUE(MapFormControl(plain, s).on_window);
  plain.tag = 55;
  EXPECT_EQ(MapFormControl(plain, s).object, SkinObject::kScrollBar);
  plain.tag = 155;  // 55 is the exact tag, not a tag code
  EXPECT_EQ(MapFormControl(plain, s).object, SkinObject::kNone);
}

TEST(FormControls, TableOrderAndRequirements) {
  ControlSkinSettings s;
  auto map = [&](std::string cls, std::uint32_t roles) {
    ControlFacts c;
    c.class_upper = std::move(cls);
    c.roles = roles;
    c.windowed = true;
    c.has_window = true;
    return MapFormControl(c, s);
  };
  ControlDecision d = map("TCHECKBOX", kRoleCustomCheckBox);
  EXPECT_EQ(d.object, SkinObject::kCheckBox);
  EXPECT_TRUE(d.recolour);
  // A memo is a custom memo before it is an edit.
  EXPECT_EQ(map("TMEMO", kRoleCustomMemo | kRoleMemo | kRoleCustomEdit).object,
            SkinObject::kScrollBar);
  EXPECT_EQ(map("TEDIT", kRoleCustomEdit).object, SkinObject::kEdit);
  EXPECT_EQ(map("TBITBTN", kRoleBitBtn | kRoleButton).object, SkinObject::kBitButton);
  EXPECT_EQ(map("TBUTTON", kRoleButton).object, SkinObject::kButton);
  d = map("TPANEL", kRoleCustomPanel | kRoleContainer);
  EXPECT_EQ(d.object, SkinObject::kBox);
  EXPECT_TRUE(d.recurse);
  d = map("TRADIOGROUP", kRoleRadioGroup | kRoleCustomPanel);
  EXPECT_EQ(d.child_object, SkinObject::kRadioButton);
  EXPECT_TRUE(d.children_parent_colour_off);
  d = map("TGROUPBOX", kRoleGroupBox | kRoleContainer);
  EXPECT_EQ(d.object, SkinObject::kBox);
  EXPECT_EQ(d.child_object, SkinObject::kNone);
  EXPECT_TRUE(d.children_parent_colour_off && d.recurse);
  EXPECT_EQ(map("TDBNAVIGATOR", kRoleCustomPanel).set_property, "Flat");
  EXPECT_EQ(map("TQRPREVIEW", kRoleScrollingBox).rule, 3);
  d = map("TTOOLBAR", kRoleToolBar);
  EXPECT_TRUE(d.toolbar_option_on && d.colour_to_button_face);
  EXPECT_EQ(d.object, SkinObject::kNone);
  EXPECT_EQ(map("TTREEVIEW", kRoleCustomTreeView).object, SkinObject::kScrollBar);
  EXPECT_EQ(map("TLISTVIEW", kRoleCustomListView).object, SkinObject::kListView);
  ControlFacts picker;
  picker.class_upper = "TDATETIMEPICKER";
  EXPECT_EQ(MapFormControl(picker, s).object, SkinObject::kComBox);
  picker.date_time_up_down = true;
  EXPECT_EQ(MapFormControl(picker, s).object, SkinObject::kEdit);

  // Tabs need both the switch and the skin's Tabs piece.
  EXPECT_EQ(map("TPAGECONTROL", kRolePageControl | kRoleContainer).object, SkinObject::kNone);
  s.has_tabs = true;
  d = map("TPAGECONTROL", kRolePageControl | kRoleContainer);
  EXPECT_EQ(d.object, SkinObject::kTab);
  EXPECT_TRUE(d.on_window);
  EXPECT_EQ(map("TTABSET", 0).object, SkinObject::kTab31);

  // A switched-off kind falls through to the next line that applies.
  s.controls &= ~SkinControlBit(xcPanel);
  d = map("TPANEL", kRoleCustomPanel | kRoleContainer);
  EXPECT_EQ(d.object, SkinObject::kNone);
  EXPECT_TRUE(d.recurse);
  s.controls &= ~SkinControlBit(xcScrollbar);
  EXPECT_EQ(map("TMEMO", kRoleCustomMemo | kRoleMemo | kRoleCustomEdit).object, SkinObject::kEdit);
  d = map("TFRAMEX", kRoleEmbeddedForm);
  EXPECT_TRUE(d.recurse && d.colour_to_button_face);
}

TEST(Skin3rd, BuiltInListAndMatching) {
  const std::vector<std::string>& list = BuiltInSkin3rd();
  ASSERT_EQ(list.size(), 95u);
  std::map<std::string, int> kinds;
  for (const std::string& e : list) ++kinds[text::LowerCase(e.substr(e.find('=') + 1))];
  EXPECT_EQ(kinds, (std::map<std::string, int>{{"panel", 10}, {"scrollbar", 2}, {"button", 1},
                                               {"checkgroup", 3}, {"radiogroup", 5},
                                               {"radiobutton", 3}, {"checkbox", 6},
                                               {"trackbar", 1}, {"combobox", 30}, {"edit", 34}}));
  std::string kind;
  EXPECT_TRUE(Skin3rdKind(list, "TLMDEDIT", &kind));
  EXPECT_EQ(kind, "Edit");
  EXPECT_TRUE(Skin3rdKind(list, "tlmdedit", &kind));
  EXPECT_FALSE(Skin3rdKind(list, "TLMDED", &kind));  // the name must be followed by "="
  EXPECT_FALSE(Skin3rdKind(list, "TTBDOCKX", &kind));
  std::vector<std::string> custom = {"TFoo=panel", "TFoo=edit", "TBar=" + std::string(60, 'x')};
  EXPECT_TRUE(Skin3rdKind(custom, "TFOO", &kind));
  EXPECT_EQ(kind, "panel");  // the first entry wins
  EXPECT_TRUE(Skin3rdKind(custom, "TBar", &kind));
  EXPECT_EQ(kind.size(), 50u);
  // A new component carries the built-in list until it is given another.
  TSkinData fresh;
  EXPECT_EQ(fresh.Skin3rd, list);
  EXPECT_EQ(fresh.DisableTag, 99);
  EXPECT_EQ(fresh.SkinFormtype, sfMainform);
}

TEST(Skin3rd, ListedClassesAreDecidedByTheirKind) {
  ControlSkinSettings s;
  std::vector<std::string> list = {"TFANCYPANEL=panel", "TBUTTON=frobnicate", "TRG=RadioGroup",
                                   "TTABS=tab"};
  s.skin3rd = &list;
  ControlFacts c;
  c.class_upper = "TFANCYPANEL";
  ControlDecision d = MapFormControl(c, s);
  EXPECT_EQ(d.object, SkinObject::kBox);
  EXPECT_EQ(d.set_property, "Transparent");
  EXPECT_TRUE(d.recolour && d.from_skin3rd);
  // An unknown kind leaves the control as it is, without the built-in rules.
  c.class_upper = "TBUTTON";
  c.roles = kRoleButton;
  d = MapFormControl(c, s);
  EXPECT_EQ(d.object, SkinObject::kNone);
  EXPECT_TRUE(d.from_skin3rd);
  c.class_upper = "TRG";
  EXPECT_EQ(MapFormControl(c, s).child_object, SkinObject::kRadioButton);
  s.controls &= ~SkinControlBit(xcRadioButton);
  d = MapFormControl(c, s);
  EXPECT_EQ(d.object, SkinObject::kBox);
  EXPECT_FALSE(d.children_parent_colour_off);
  c.class_upper = "TTABS";
  EXPECT_EQ(MapFormControl(c, s).object, SkinObject::kNone);  // the skin has no Tabs
  EXPECT_EQ(Skin3rdDecision("ScrollBar", s).standalone, true);
  EXPECT_EQ(Skin3rdDecision("CheckGroup", ControlSkinSettings{}).child_object, SkinObject::kCheckBox);
}

TEST(PlainWindowChildren, ClassAndStyleTable) {
  const std::map<std::uint32_t, SkinObject> buttons = {
      {0, SkinObject::kButton},      {1, SkinObject::kButton},      {2, SkinObject::kCheckBox},
      {3, SkinObject::kCheckBox},    {4, SkinObject::kRadioButton}, {5, SkinObject::kCheckBox},
      {6, SkinObject::kCheckBox},    {7, SkinObject::kNone},        {8, SkinObject::kButton},
      {9, SkinObject::kRadioButton}, {0xB, SkinObject::kNone}};
  for (const auto& [style, object] : buttons) {
    EXPECT_EQ(MapChildWindow("Button", 0x50010000u | style, false).object, object) << style;
  }
  EXPECT_EQ(MapChildWindow("ComboBox", 1, false).object, SkinObject::kNone);  // simple
  EXPECT_EQ(MapChildWindow("COMBOBOX", 2, false).object, SkinObject::kComBox);
  EXPECT_EQ(MapChildWindow("ComboBoxEx32", 0, false).object, SkinObject::kNone);
  ChildWindowDecision ex = MapChildWindow("ComboBoxEx32", 0, true);
  EXPECT_EQ(ex.object, SkinObject::kComBox);
  EXPECT_TRUE(ex.on_first_child);
  EXPECT_EQ(MapChildWindow("ScrollBar", 0, false).object, SkinObject::kSizer);
  EXPECT_EQ(MapChildWindow("SysTabControl32", 0, false).object, SkinObject::kTab);
  EXPECT_EQ(MapChildWindow("SysTabControl32", 0x2000, false).object, SkinObject::kNone);
  EXPECT_EQ(MapChildWindow("Edit", 0, false).object, SkinObject::kEdit);
  EXPECT_EQ(MapChildWindow("Static", 0, false).object, SkinObject::kNone);
}

}  // namespace
}  // namespace corvane::skin
