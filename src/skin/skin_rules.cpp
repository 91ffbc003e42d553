#include "skin/skin_rules.h"

#include <algorithm>

#include "core/text.h"

namespace corvane::skin {

namespace {

bool Has(TSkinControlTypes set, TSkinControlType t) { return (set & SkinControlBit(t)) != 0; }

int FirstOfType(const std::vector<RegisteredSkin>& skins, TSkinFormType type) {
  for (std::size_t i = 0; i < skins.size(); ++i)
    if (skins[i].data && skins[i].data->SkinFormtype == type) return static_cast<int>(i);
  return -1;
}

bool Loaded(const std::vector<RegisteredSkin>& skins, int i) {
  return i >= 0 && skins[static_cast<std::size_t>(i)].data &&
         !skins[static_cast<std::size_t>(i)].data->NotLoaded();
}

}  // namespace

bool PassesClassFilter(const std::vector<RegisteredSkin>& skins, const std::string& class_name) {
  int main = FirstOfType(skins, sfMainform);
  if (main < 0) return true;
  const RegisteredSkin& s = skins[static_cast<std::size_t>(main)];
  if (s.on_form_skin) {
    bool do_skin = true;
    s.on_form_skin(class_name, do_skin);
    return do_skin;
  }
  if (text::SameText(class_name, "SysMonthCal32")) return false;
  // Case matters: "TFrmMain" is not a report class.
  return !(Has(s.data->SkinControls, xcFastReport) && class_name.compare(0, 3, "Tfr") == 0);
}

int ChooseSkin(const std::vector<RegisteredSkin>& skins, WindowId window,
               const std::string& class_name) {
  auto last_where = [&](auto pred) {
    int found = -1;
    for (std::size_t i = 0; i < skins.size(); ++i)
      if (skins[i].data && pred(skins[i])) found = static_cast<int>(i);
    return found;
  };
  int i = last_where([&](const RegisteredSkin& s) {
    return s.data->SkinFormtype == sfOnlyThisForm && window != 0 && s.owner_window == window;
  });
  if (i >= 0) return i;
  const std::string lower = text::LowerCase(class_name);
  if (lower == "tmessageform" || lower == "#32770") {
    i = last_where([](const RegisteredSkin& s) { return s.data->SkinFormtype == sfDialog; });
    if (i >= 0) return i;
  }
  i = last_where([](const RegisteredSkin& s) { return s.data->SkinFormtype == sfMainform; });
  if (i >= 0) return i;
  return skins.empty() ? -1 : 0;
}

AttachDecision DecideAttach(const AttachFacts& f, const std::vector<RegisteredSkin>& skins) {
  auto refuse = [](AttachRefusal r) { return AttachDecision{r, -1}; };
  if (!f.manager_active) return refuse(AttachRefusal::kManagerInactive);
  if (f.answers_skinned) return refuse(AttachRefusal::kAnswersSkinned);
  if (f.already_listed) return refuse(AttachRefusal::kAlreadyListed);
  // MDI children come with their parent, or with an activate command.
  if (!f.attach_mdi_children && f.is_child && text::LowerCase(f.parent_class) == "mdiclient")
    return refuse(AttachRefusal::kMdiChild);
  if (f.width <= 0 || f.height <= 0) return refuse(AttachRefusal::kZeroSize);
  if (f.has_form && f.form_tag == 99) return refuse(AttachRefusal::kFormTag99);
  if (f.class_name == "TApplication") return refuse(AttachRefusal::kApplicationWindow);
  if (!PassesClassFilter(skins, f.class_name)) return refuse(AttachRefusal::kClassFilter);
  int skin = ChooseSkin(skins, f.window, f.class_name);
  if (skin < 0) return refuse(AttachRefusal::kNoSkin);
  if (!Loaded(skins, skin)) return refuse(AttachRefusal::kSkinNotLoaded);
  return {AttachRefusal::kNone, skin};
}

int DecidePopupSkin(const PopupFacts& f, const std::vector<RegisteredSkin>& skins) {
  if (!f.manager_active || f.answers_skinned || f.has_popup_skin) return -1;
  int skin = ChooseSkin(skins, f.window, "#32768");
  if (!Loaded(skins, skin)) return -1;
  if (!Has(skins[static_cast<std::size_t>(skin)].data->SkinControls, xcMainMenu)) return -1;
  return skin;
}

bool RefuseSizeGrip(std::string_view class_name, std::uint32_t style, bool parent_skinned) {
  return parent_skinned && (style & kSbsSizeGrip) != 0 && text::SameText(class_name, "ScrollBar");
}

void CommandQueue::Queue(int command, unsigned interval_ms) {
  pending = command;
  interval = interval_ms;
  if (activation_count != 0) {
    timer_running = true;
  } else if (command == kCmdActivate || command == kCmdDeactivate) {
    active = command == kCmdActivate;
  }
}

int CommandQueue::TakeOnTick() {
  timer_running = false;
  int command = pending;
  pending = kCmdNone;
  return command;
}

ControlPrecheck PrecheckControl(const ControlFacts& c, const ControlSkinSettings& s) {
  if (c.tag % 100 == s.disable_tag || c.has_skin_object) return ControlPrecheck::kSkip;
  if (c.windowed && !c.has_window)
    return c.in_preview_form ? ControlPrecheck::kSkip : ControlPrecheck::kCreateWindow;
  return ControlPrecheck::kContinue;
}

bool IsPrintPreviewForm(std::string_view form_name, std::string_view form_class) {
  return text::LowerCase(form_name).find("preview") != std::string::npos ||
         form_class == "TQRStandardPreview" || form_class == "TppPrintPreview" ||
         form_class == "TdxfmStdPreview";
}

bool Skin3rdKind(const std::vector<std::string>& list, std::string_view class_name,
                 std::string* kind) {
  const std::string key = text::LowerCase(class_name) + "=";
  for (const std::string& entry : list) {
    if (entry.size() < key.size() || text::LowerCase(entry.substr(0, key.size())) != key) continue;
    if (kind) *kind = entry.substr(key.size(), 50);
    return true;
  }
  return false;
}

namespace {

ControlDecision Decide(SkinObject object, int rule, bool recolour = false) {
  ControlDecision d;
  d.object = object;
  d.rule = rule;
  d.recolour = recolour;
  return d;
}

// A radio group or check group: its children first, then the group itself.
ControlDecision Group(SkinObject children, int rule) {
  ControlDecision d = Decide(SkinObject::kBox, rule, true);
  if (children != SkinObject::kNone) {
    d.children_parent_colour_off = true;
    d.child_object = children;
  }
  return d;
}

bool OneOf(std::string_view s, std::initializer_list<std::string_view> names) {
  return std::find(names.begin(), names.end(), s) != names.end();
}

}  // namespace

ControlDecision Skin3rdDecision(std::string_view kind_in, const ControlSkinSettings& s) {
  const std::string kind = text::LowerCase(kind_in);
  const TSkinControlTypes x = s.controls;
  ControlDecision d;
  if (kind == "combobox" && Has(x, xcCombo)) {
    d = Decide(SkinObject::kComBox, 6);
  } else if (kind == "edit" && Has(x, xcEdit)) {
    d = Decide(SkinObject::kEdit, 6);
    d.on_window = true;
  } else if (kind == "radiobutton" && Has(x, xcRadioButton)) {
    d = Decide(SkinObject::kRadioButton, 6, true);
  } else if (kind == "panel" && Has(x, xcPanel)) {
    d = Decide(SkinObject::kBox, 6, true);
    d.set_property = "Transparent";
  } else if (kind == "trackbar" && Has(x, xcButton)) {
    d = Decide(SkinObject::kTrackBar, 6);
    d.set_property = "Transparent";
  } else if (kind == "button" && Has(x, xcButton)) {
    d = Decide(SkinObject::kButton, 6);
  } else if (kind == "tab" && Has(x, xcTab) && s.has_tabs) {
    d = Decide(SkinObject::kTab, 6);
    d.on_window = true;
  } else if (kind == "progress" && Has(x, xcProgress)) {
    d = Decide(SkinObject::kProgress, 6);
  } else if (kind == "scrollbar" && Has(x, xcScrollbar)) {
    d = Decide(SkinObject::kScrollBar, 6);
    d.standalone = true;
  } else if (kind == "radiogroup" && Has(x, xcPanel)) {
    d = Group(Has(x, xcRadioButton) ? SkinObject::kRadioButton : SkinObject::kNone, 6);
  } else if (kind == "checkgroup" && Has(x, xcPanel)) {
    d = Group(Has(x, xcRadioButton) ? SkinObject::kCheckBox : SkinObject::kNone, 6);
  } else if (kind == "checkbox" && Has(x, xcCheckBox)) {
    d = Decide(SkinObject::kCheckBox, 6, true);
  }
  // A listed class is handled even when nothing applies: it stays as it is.
  d.rule = 6;
  d.from_skin3rd = true;
  return d;
}

ControlDecision MapFormControl(const ControlFacts& c, const ControlSkinSettings& s) {
  const std::string& n = c.class_upper;
  const std::uint32_t r = c.roles;
  const TSkinControlTypes x = s.controls;
  const long t = c.tag % 100;
  const bool tabs = Has(x, xcTab) && s.has_tabs;
  auto on_window = [](ControlDecision d) {
    d.on_window = true;
    return d;
  };

  if (OneOf(n, {"TDBCOMBOBOXEH", "TQRPREVIEW", "TFRDESIGNERPAGE", "TFRPBOX"}))
    return Decide(SkinObject::kNone, 3);
  if (n == "TTOOLBAR") {
    ControlDecision d = Decide(SkinObject::kNone, 4);
    d.toolbar_option_on = true;
    d.colour_to_button_face = true;
    return d;
  }
  if ((r & kRolePageControl) && tabs) return on_window(Decide(SkinObject::kTab, 5));
  std::string kind;
  if (s.skin3rd && Skin3rdKind(*s.skin3rd, n, &kind)) return Skin3rdDecision(kind, s);
  if (n == "TTABSET" && tabs) return Decide(SkinObject::kTab31, 7);
  if (n == "TTABBEDNOTEBOOK" && tabs) return on_window(Decide(SkinObject::kTab, 7));
  if (n == "TMVCPANEL") {
    ControlDecision d = Decide(SkinObject::kNone, 7);
    d.recurse = true;
    return d;
  }
  if ((r & kRoleTabControl) && tabs) return on_window(Decide(SkinObject::kTab, 7));

  ControlDecision d;
  if ((r & kRoleCustomCheckBox) && Has(x, xcCheckBox)) {
    d = Decide(SkinObject::kCheckBox, 8, true);
  } else if (n == "TTRACKBAR" && Has(x, xcButton)) {
    d = Decide(SkinObject::kTrackBar, 8);
  } else if (n == "TUPDOWN" && Has(x, xcButton)) {
    d = Decide(SkinObject::kUpDown, 8);
  } else if ((r & kRoleRadioGroup) && Has(x, xcRadioButton)) {
    d = Group(SkinObject::kRadioButton, 8);
  } else if (n == "TDBNAVIGATOR" && Has(x, xcPanel)) {
    d = Decide(SkinObject::kBox, 8, true);
    d.set_property = "Flat";
  } else if ((r & kRoleGroupBox) && Has(x, xcPanel)) {
    d = Decide(SkinObject::kBox, 8, true);
    d.children_parent_colour_off = true;
    d.recurse = true;
  } else if ((r & kRoleRadioButton) && Has(x, xcRadioButton)) {
    d = Decide(SkinObject::kRadioButton, 8, true);
  } else if ((r & kRoleToolBar) && Has(x, xcToolbar)) {
    d = Decide(SkinObject::kBox, 8, true);
    d.set_property = "Flat";
  } else if ((r & kRoleStatusBar) && Has(x, xcStatusBar)) {
    d = Decide(SkinObject::kStatusBar, 8);
    d.statusbar_option_off = true;
  } else if ((r & kRoleProgressBar) && Has(x, xcProgress)) {
    d = Decide(SkinObject::kProgress, 8);
  } else if ((r & kRoleScrollBar) && Has(x, xcScrollbar)) {
    d = Decide(SkinObject::kScControl, 8);
  } else if (((r & kRoleComboBox) || t == 95) && Has(x, xcCombo)) {
    d = Decide(SkinObject::kComBox, 8);
  } else if (n == "TDATETIMEPICKER" && Has(x, xcEdit)) {
    d = Decide(c.date_time_up_down ? SkinObject::kEdit : SkinObject::kComBox, 8);
  } else if (OneOf(n, {"TRICHEDIT", "TWWDBRICHEDIT", "TDXDBMEMO"}) && Has(x, xcScrollbar)) {
    d = Decide(SkinObject::kScrollBar, 8);
  } else if ((r & kRoleBitBtn) && Has(x, xcBitBtn)) {
    d = Decide(SkinObject::kBitButton, 8);
  } else if ((r & kRoleSpeedButton) && Has(x, xcSpeedButton)) {
    d = Decide(SkinObject::kSpeedButton, 8);
  } else if ((r & kRoleCustomPanel) && Has(x, xcPanel)) {
    d = Decide(SkinObject::kBox, 8, true);
    d.recurse = true;
  } else if (OneOf(n, {"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}) && Has(x, xcScrollbar)) {
    d = Decide(SkinObject::kScrollBar, 8);
  } else if ((r & kRoleCustomListView) && Has(x, xcScrollbar)) {
    d = Decide(SkinObject::kListView, 8);
  } else if ((r & kRoleCustomMemo) && Has(x, xcScrollbar)) {
    d = Decide(SkinObject::kScrollBar, 8);
  } else if ((r & kRoleScrollingBox) && Has(x, xcScrollbar)) {
    d = Decide(SkinObject::kScrollBar, 8);
    d.colour_to_button_face = true;
  } else if ((t == 96 || (c.windowed && c.scroll_styles) || (r & kRoleMemo) ||
              (r & kRoleCustomTreeView) || c.tag == 55) &&
             Has(x, xcScrollbar)) {
    d = Decide(SkinObject::kScrollBar, 8);
  } else if ((r & kRoleButton) && Has(x, xcButton)) {
    d = Decide(SkinObject::kButton, 8);
  } else if (((r & kRoleCustomEdit) || t == 97) && Has(x, xcEdit)) {
    d = on_window(Decide(SkinObject::kEdit, 8));
  } else if (r & kRoleContainer) {
    d = Decide(SkinObject::kNone, 8);
    d.recurse = true;
  } else if (r & kRoleEmbeddedForm) {
    d = Decide(SkinObject::kNone, 8);
    d.colour_to_button_face = true;
    d.recurse = true;
  }
  return d;
}

ChildWindowDecision MapChildWindow(std::string_view class_name, std::uint32_t style,
                                   bool has_first_child) {
  const std::string c = text::LowerCase(class_name);
  ChildWindowDecision d;
  if (c == "button") {
    const std::uint32_t type = style & 0xF;
    if ((style & 7) == 7) return d;  // group box
    // An owner-drawn button keeps its owner's look.
    if (type == 0xB) return d;
    if ((style & 3) == 3 || (style & 2) || (style & 5) == 5) {
      d.object = SkinObject::kCheckBox;
    } else if ((style & 9) == 9 || (style & 4)) {
      d.object = SkinObject::kRadioButton;
    } else {
      d.object = SkinObject::kButton;
    }
  } else if (c == "combobox") {
    if ((style & 3) != 1) d.object = SkinObject::kComBox;
  } else if (c == "comboboxex32") {
    if (has_first_child) {
      d.object = SkinObject::kComBox;
      d.on_first_child = true;
    }
  } else if (c == "scrollbar") {
    d.object = SkinObject::kSizer;
  } else if (c == "systabcontrol32") {
    if (!(style & 0x2000)) d.object = SkinObject::kTab;
  } else if (c == "edit") {
    d.object = SkinObject::kEdit;
  }
  return d;
}

const std::vector<std::string>& BuiltInSkin3rd() {
  static const std::vector<std::string> list = {
    "TTBDock=Panel", "TTBToolbar=Panel", "TImageEnMView=scrollbar", "TImageEnView=scrollbar",
    "TRzButton=button", "TRzCheckGroup=CheckGroup", "TRzRadioGroup=Radiogroup",
    "TRzRadioButton=Radiobutton", "TRzCheckBox=Checkbox", "TRzButtonEdit=Edit",
    "TRzDBRadioGroup=Radiogroup", "TRzDBRadioButton=Radiobutton", "TRzDBCheckBox=Checkbox",
    "TDBCheckboxEh=Checkbox", "TDBCheckboxEh=Checkbox", "TLMDCHECKBOX=Checkbox",
    "TLMDDBCHECKBOX=Checkbox", "TLMDRadiobutton=Radiobutton", "TLMDGROUPBOX=Panel",
    "TLMDSIMPLEPANEL=Panel", "TLMDDBCalendar=Panel", "TLMDButtonPanel=Panel",
    "TLMDLMDCalculator=Panel", "TLMDHeaderPanel=Panel", "TLMDTechnicalLine=Panel",
    "TLMDLMDClock=Panel", "TLMDTrackbar=trackbar", "TLMDListCombobox=combobox",
    "TLMDCheckListCombobox=combobox", "TLMDHeaderListCombobox=combobox",
    "TLMDImageCombobox=combobox", "TLMDColorCombobox=combobox", "TLMDFontCombobox=combobox",
    "TLMDFontSizeCombobox=combobox", "TLMDFontSizeCombobox=combobox",
    "TLMDPrinterCombobox=combobox", "TLMDDriveCombobox=combobox",
    "TLMDCalculatorComboBox=combobox", "TLMDTrackBarComboBox=combobox",
    "TLMDCalendarComboBox=combobox", "TLMDRADIOGROUP=radiogroup", "TLMDCheckGroup=CheckGroup",
    "TLMDDBRADIOGROUP=radiogroup", "TLMDDBCheckGroup=CheckGroup", "TLMDEDIT=Edit",
    "TLMDMASKEDIT=Edit", "TLMDBROWSEEDIT=Edit", "TLMDEXTSPINEDIT=Edit", "TLMDCALENDAREDIT=Edit",
    "TLMDFILEOPENEDIT=Edit", "TLMDFILESAVEEDIT=Edit", "TLMDCOLOREDIT=Edit", "TLMDDBEDIT=Edit",
    "TLMDDBMASKEDIT=Edit", "TLMDDBEXTSPINEDIT=Edit", "TLMDDBSPINEDIT=Edit",
    "TLMDDBEDITDBLookup=Edit", "TLMDEDITDBLookup=Edit", "TDBLookupCombobox=Combobox",
    "TWWDBCombobox=Combobox", "TWWDBLookupCombo=Combobox", "TWWDBCombobox=Combobox",
    "TWWKeyCombo=Combobox", "TWWTempKeyCombo=combobox", "TWWDBDateTimePicker=Combobox",
    "TWWRADIOGROUP=radiogroup", "TDXDBPICKEDIT=Combobox", "TDXDBCALCEDIT=Combobox",
    "TDXDBIMAGEEDIT=Combobox", "TDXDBPOPUPEDIT=Combobox", "TDXDBEXTLOOKUPEDIT=Combobox",
    "TDXDBLOOKUPEDIT=Combobox", "TDXDBDATEEDIT=Combobox", "TDXDATEEDIT=Combobox",
    "TDXPICKEDIT=Combobox", "TDXPOPUPEDIT=Combobox", "TDXDBCURRENCYEDIT=Edit", "TDXDBEDIT=Edit",
    "TDXDBMASKEDIT=Edit", "TDXDBHYPERLINKEDIT=Edit", "TDXEDIT=Edit", "TDXMASKEDIT=Edit",
    "TWWDBEDIT=Edit", "TDXBUTTONEDIT=Edit", "TDXCURRENCYEDIT=Edit", "TDXHYPERLINKEDIT=Edit",
    "TOVCPICTUREFIELD=Edit", "TOVCDBPICTUREFIELD=Edit", "TOVCSLIDEREDIT=Edit",
    "TOVCDBSLIDEREDIT=Edit", "TOVCSIMPLEFIELD=Edit", "TOVCDBSIMPLEFIELD=Edit",
    "TO32DBFLEXEDIT=Edit", "TOVCNUMERICFIELD=Edit", "TOVCDBNUMERICFIELD=Edit",
  };
  return list;
}

}  // namespace corvane::skin
