#include "settings/area_panels.h"

#include "core/text.h"
#include "core/oem_link.h"
#include "ui/graphic_controls.h"

namespace corvane::settings {
namespace {

using ui::Rect;

enum class Kind { kCheck, kRadio, kLabel, kEdit, kSpin, kBrowse, kApply };

struct ControlLayout {
  Area area;
  Kind kind;
  const char* name;
  const char* caption;
  Rect bounds;  // in the panel's client area (321 x 356)
  const char* hint;
};

constexpr Rect At(int left, int top, int width, int height) {
  return Rect::FromBounds(left, top, width, height);
}

// One line of boxes every 30 pixels from the top; an as-menu box stands on
// its item's line at x 180; "应用" sits at the bottom right.
constexpr int Line(int n) { return 24 + 30 * n; }
constexpr Rect Item(int n) { return At(24, Line(n), 150, 17); }
constexpr Rect Wide(int n) { return At(24, Line(n), 285, 17); }
constexpr Rect AsMenu(int n) { return At(180, Line(n), 128, 17); }
constexpr Rect kApplyBounds = At(230, 317, 75, 25);
constexpr char kAsMenuCaption[] = "显示为菜单";

// clang-format off
constexpr ControlLayout kLayout[] = {
  {Area::kUserBar,       Kind::kCheck, "ChekBxUserXs",   "显示用户名文字", Wide(0), nullptr},
  {Area::kUserBar,       Kind::kApply, "BitBtnUserOk",   kApplyCaption, kApplyBounds, nullptr},

  {Area::kPinnedList,    Kind::kCheck, "ChekBxQuyuXs",   "显示此区域", Wide(0), nullptr},
  {Area::kPinnedList,    Kind::kCheck, "ChekBxFudaoXs",  "显示右键 \" 附到「开始」菜单 \" 选项", Wide(1), nullptr},
  {Area::kPinnedList,    Kind::kCheck, "ChekBxWjjFudao", "文件夹可附到「开始」菜单「shift+右键」", Wide(2), nullptr},
  {Area::kPinnedList,    Kind::kApply, "BitBtnGdOk",     kApplyCaption, kApplyBounds, nullptr},

  {Area::kMostUsedList,  Kind::kCheck, "ChekBxCyXs",     "显示此区域「经典菜单不适用」", Wide(0), nullptr},
  {Area::kMostUsedList,  Kind::kCheck, "ChekBxMin",      "显示为小图标", Wide(1), nullptr},
  {Area::kMostUsedList,  Kind::kLabel, "LblNum",         "程序数目：", At(24, Line(2) + 4, 62, 12), nullptr},
  {Area::kMostUsedList,  Kind::kSpin,  "SpnEdtNum",      nullptr, At(90, Line(2) - 2, 56, 21), nullptr},
  {Area::kMostUsedList,  Kind::kApply, "BitBtnCyOk",     kApplyCaption, kApplyBounds, nullptr},

  {Area::kMyItems,       Kind::kCheck, "ChekBxDn",       "显示我的电脑图标", Item(0), nullptr},
  {Area::kMyItems,       Kind::kCheck, "ChekBxDnMenu",   kAsMenuCaption, AsMenu(0), nullptr},
  {Area::kMyItems,       Kind::kCheck, "ChekBxWl",       "显示网上邻居图标", Item(1), nullptr},
  {Area::kMyItems,       Kind::kCheck, "ChekBxZj",       "显示我最近的文档", Item(2), nullptr},
  {Area::kMyItems,       Kind::kCheck, "ChekBxZjMenu",   kAsMenuCaption, AsMenu(2), nullptr},
  {Area::kMyItems,       Kind::kCheck, "ChekBxWd",       "显示我的文档图标", Item(3), nullptr},
  {Area::kMyItems,       Kind::kCheck, "ChekBxWdMenu",   kAsMenuCaption, AsMenu(3), nullptr},
  {Area::kMyItems,       Kind::kCheck, "ChekBxYy",       "显示我的音乐图标", Item(4), nullptr},
  {Area::kMyItems,       Kind::kCheck, "ChekBxYyMenu",   kAsMenuCaption, AsMenu(4), nullptr},
  {Area::kMyItems,       Kind::kCheck, "ChekBxTp",       "显示图片收藏图标", Item(5), nullptr},
  {Area::kMyItems,       Kind::kCheck, "ChekBxTpMenu",   kAsMenuCaption, AsMenu(5), nullptr},
  {Area::kMyItems,       Kind::kCheck, "ChekBxSc",       "显示收藏夹图标", Item(6), nullptr},
  {Area::kMyItems,       Kind::kCheck, "ChekBxScMenu",   kAsMenuCaption, AsMenu(6), nullptr},
  {Area::kMyItems,       Kind::kApply, "BitBtnWdOk",     kApplyCaption, kApplyBounds, nullptr},

  {Area::kSettingsItems, Kind::kCheck, "ChekBxNet",      "显示网络连接图标", Wide(0), nullptr},
  {Area::kSettingsItems, Kind::kCheck, "ChekBxPrint",    "显示打印机和传真图标", Wide(1), nullptr},
  {Area::kSettingsItems, Kind::kCheck, "ChekBxMoren",    "显示设定程序访问默认值图标", Wide(2), nullptr},
  {Area::kSettingsItems, Kind::kCheck, "ChekBxMb",       "显示控制面板图标", Item(3), nullptr},
  {Area::kSettingsItems, Kind::kCheck, "ChekBxMbMenu",   kAsMenuCaption, AsMenu(3), nullptr},
  {Area::kSettingsItems, Kind::kCheck, "ChekBxGl",       "显示管理工具图标", Item(4), nullptr},
  {Area::kSettingsItems, Kind::kCheck, "ChekBxGlMenu",   "在\"开始菜单\"显示", AsMenu(4), nullptr},
  {Area::kSettingsItems, Kind::kApply, "BitBtnMbOk",     kApplyCaption, kApplyBounds, nullptr},

  {Area::kHelpSearchRun, Kind::kCheck, "ChekBxBz",       "显示帮助和支持图标", Wide(0), nullptr},
  {Area::kHelpSearchRun, Kind::kCheck, "ChekBxSs",       "显示搜索图标", Wide(1), nullptr},
  {Area::kHelpSearchRun, Kind::kCheck, "ChekBxYx",       "显示运行图标", Wide(2), nullptr},
  {Area::kHelpSearchRun, Kind::kApply, "BitBtnBzOk",     kApplyCaption, kApplyBounds, nullptr},

  // The custom link fields stand indented under their box.
  {Area::kOemLink,       Kind::kCheck, "ChekBxOEM",      "显示此区域", At(24, 16, 200, 17), nullptr},
  {Area::kOemLink,       Kind::kCheck, "ChekBxSetOEM",   "设置自己的链接", At(24, 42, 200, 17), nullptr},
  {Area::kOemLink,       Kind::kLabel, "LblName",        "链接名称：", At(40, 75, 62, 12), nullptr},
  {Area::kOemLink,       Kind::kEdit,  "EdtOEMSetName",  nullptr, At(104, 70, 193, 21), nullptr},
  {Area::kOemLink,       Kind::kLabel, "LabelIcon",      "链接图标：", At(40, 105, 62, 12), nullptr},
  {Area::kOemLink,       Kind::kEdit,  "EditIcon",       nullptr, At(104, 100, 166, 21), "图标路径"},
  {Area::kOemLink,       Kind::kBrowse, "BtnIcon",       "...", At(274, 100, 23, 21), "浏览图标"},
  {Area::kOemLink,       Kind::kRadio, "RadoBtnUL",      "输入自定义的网址：", At(40, 132, 257, 17), nullptr},
  {Area::kOemLink,       Kind::kEdit,  "EdtOEMSetUL",    nullptr, At(40, 152, 257, 21), nullptr},
  {Area::kOemLink,       Kind::kRadio, "RadoBtnFolder",  "输入要打开的文件夹路径：", At(40, 182, 257, 17), nullptr},
  {Area::kOemLink,       Kind::kEdit,  "EdtOEMSetFolder", nullptr, At(40, 202, 230, 21), nullptr},
  {Area::kOemLink,       Kind::kBrowse, "BtnFolder",     "...", At(274, 202, 23, 21), "浏览文件夹"},
  {Area::kOemLink,       Kind::kRadio, "RadoBtnProg",    "输入要运行的程序路径：", At(40, 232, 257, 17), nullptr},
  {Area::kOemLink,       Kind::kEdit,  "EdtOEMSetProg",  nullptr, At(40, 252, 230, 21), nullptr},
  {Area::kOemLink,       Kind::kBrowse, "BtnProg",       "...", At(274, 252, 23, 21), "添加程序"},
  {Area::kOemLink,       Kind::kApply, "BitBtnOEMok",    kApplyCaption, kApplyBounds, nullptr},
};
// clang-format on

constexpr const char* kCustomFields[] = {
    "EdtOEMSetName", "BtnIcon",       "RadoBtnUL", "EdtOEMSetUL", "RadoBtnFolder",
    "EdtOEMSetFolder", "BtnFolder",   "RadoBtnProg", "EdtOEMSetProg", "BtnProg",
    "LblName",       "LabelIcon",     "EditIcon"};

template <class T>
T* Make(ui::Form& owner, ui::Panel* parent, const ControlLayout& l) {
  return ui::CreateControl<T>(owner, parent, l.name, l.bounds);
}

}  // namespace

AreaPanels::AreaPanels(ui::Application& app, RegistryBackend& registry, SystemServices& system,
                       PanelHost host)
    : app_(app),
      system_(system),
      host_(std::move(host)),
      engine_(registry, host_.form,
              [this](const std::string& message) { app_.ShowMessageBox(message); }) {
  Build();
  WirePairs();
  WireOem();
}

void AreaPanels::Build() {
  for (const ControlLayout& l : kLayout) {
    ui::Panel* parent = host_.panels[AreaIndex(l.area)];
    ui::Control* c = nullptr;
    switch (l.kind) {
      case Kind::kCheck:
        c = Make<ui::CheckBox>(host_.form, parent, l);
        break;
      case Kind::kRadio:
        c = Make<ui::RadioButton>(host_.form, parent, l);
        break;
      case Kind::kLabel:
        c = Make<ui::Label>(host_.form, parent, l);
        break;
      case Kind::kEdit:
        c = Make<ui::Edit>(host_.form, parent, l);
        break;
      case Kind::kSpin: {
        auto* spin = Make<ui::SpinEdit>(host_.form, parent, l);
        spin->SetRange(0, 30);
        spin->SetValue(6);
        c = spin;
        break;
      }
      case Kind::kBrowse:
        c = Make<ui::Button>(host_.form, parent, l);
        break;
      case Kind::kApply: {
        auto* button = Make<ui::BitBtn>(host_.form, parent, l);
        button->SetDefault(true);
        Area a = l.area;
        wiring_.Connect(*button, button->OnClick, [this, a](ui::Control&) { ApplyClick(a); });
        apply_buttons_[AreaIndex(a)] = button;
        c = button;
        break;
      }
    }
    if (l.caption) c->SetCaption(l.caption);
    if (l.hint) {
      c->SetHint(l.hint);
      c->SetShowHint(true);
    }
  }
}

void AreaPanels::WirePairs() {
  for (const Row& row : SettingRows()) {
    if (!row.menu) continue;
    auto* item = host_.form.Find<ui::CheckBox>(row.control);
    auto* menu = host_.form.Find<ui::CheckBox>(row.menu);
    // ChekBxDnClick ... ChekBxGlClick.
    if (item && menu)
      item->OnClick = [item, menu](ui::Control&) { MapEngine::FollowItem(*item, *menu); };
  }
}

void AreaPanels::WireOem() {
  ui::Form& f = host_.form;
  ChekBxOEM = f.Find<ui::CheckBox>("ChekBxOEM");
  ChekBxSetOEM = f.Find<ui::CheckBox>("ChekBxSetOEM");
  LblName = f.Find<ui::Label>("LblName");
  LabelIcon = f.Find<ui::Label>("LabelIcon");
  EdtOEMSetName = f.Find<ui::Edit>("EdtOEMSetName");
  EditIcon = f.Find<ui::Edit>("EditIcon");
  EdtOEMSetUL = f.Find<ui::Edit>("EdtOEMSetUL");
  EdtOEMSetFolder = f.Find<ui::Edit>("EdtOEMSetFolder");
  EdtOEMSetProg = f.Find<ui::Edit>("EdtOEMSetProg");
  BtnIcon = f.Find<ui::Button>("BtnIcon");
  BtnFolder = f.Find<ui::Button>("BtnFolder");
  BtnProg = f.Find<ui::Button>("BtnProg");
  RadoBtnUL = f.Find<ui::RadioButton>("RadoBtnUL");
  RadoBtnFolder = f.Find<ui::RadioButton>("RadoBtnFolder");
  RadoBtnProg = f.Find<ui::RadioButton>("RadoBtnProg");
  for (std::size_t i = 0; i < custom_fields_.size(); ++i)
    custom_fields_[i] = f.Find<ui::Control>(kCustomFields[i]);

  RadoBtnUL->SetChecked(true);  // the form's state, before the reactions exist
  auto click = [this](ui::Control* c, void (AreaPanels::*handler)()) {
    wiring_.Connect(*c, c->OnClick, [this, handler](ui::Control&) { (this->*handler)(); });
  };
  click(ChekBxSetOEM, &AreaPanels::ChekBxSetOEMClick);
  click(RadoBtnUL, &AreaPanels::RadoBtnULClick);
  click(RadoBtnFolder, &AreaPanels::RadoBtnFolderClick);
  click(RadoBtnProg, &AreaPanels::RadoBtnProgClick);
  click(BtnFolder, &AreaPanels::BtnFolderClick);
  click(BtnProg, &AreaPanels::BtnProgClick);
  click(BtnIcon, &AreaPanels::BtnIconClick);
}

void AreaPanels::EnableTargetKind(ui::RadioButton* kind) {
  EdtOEMSetUL->SetEnabled(kind == RadoBtnUL);
  EdtOEMSetFolder->SetEnabled(kind == RadoBtnFolder);
  BtnFolder->SetEnabled(kind == RadoBtnFolder);
  EdtOEMSetProg->SetEnabled(kind == RadoBtnProg);
  BtnProg->SetEnabled(kind == RadoBtnProg);
}

void AreaPanels::ChekBxSetOEMClick() {
  if (!ChekBxSetOEM->Checked()) {
    for (ui::Control* c : custom_fields_) c->SetEnabled(false);
    return;
  }
  for (ui::Control* c : std::initializer_list<ui::Control*>{
           EdtOEMSetName, BtnIcon, LblName, RadoBtnFolder, RadoBtnProg, RadoBtnUL, LabelIcon,
           EditIcon})
    c->SetEnabled(true);
  EnableTargetKind(RadoBtnUL->Checked()       ? RadoBtnUL
                   : RadoBtnFolder->Checked() ? RadoBtnFolder
                                              : RadoBtnProg);
}

void AreaPanels::Load(Area area) {
  engine_.Load(area);
  if (area != Area::kOemLink) return;
  // Every opening starts locked; what was typed stays.
  ChekBxSetOEM->SetChecked(false);
  for (ui::Control* c : custom_fields_) c->SetEnabled(false);
}

void AreaPanels::ApplyClick(Area area) {
  if (host_.settings_changed) host_.settings_changed();
  engine_.Apply(area);
  if (area == Area::kOemLink) ApplyOemLink();
}

void AreaPanels::ApplyOemLink() {
  if (!ChekBxSetOEM->Checked()) return;
  const std::string& name = EdtOEMSetName->Text();
  const std::string& icon = EditIcon->Text();
  if (text::Trim(name).empty() || text::Trim(icon).empty()) {
    app_.ShowMessageBox(kOemFieldsEmpty, kNoticeCaption, mb::kOk | mb::kIconExclamation);
    return;
  }
  // Written as typed: the trimming only decides emptiness.
  const std::string& target = RadoBtnUL->Checked()       ? EdtOEMSetUL->Text()
                              : RadoBtnFolder->Checked() ? EdtOEMSetFolder->Text()
                                                         : EdtOEMSetProg->Text();
  OemLink link{name, name, name, target, icon};
  engine_.Guarded(true, [&link](RegistryAccessor& reg) { WriteOemLink(reg, link); });
}

void AreaPanels::BtnFolderClick() {
  std::string path;
  if (app_.GetBackend().BrowseForFolder(host_.form, kFolderBrowseTitle, kFolderBrowseFlags, &path))
    EdtOEMSetFolder->SetText(path);
}

void AreaPanels::BtnProgClick() {
  host_.program_dialog.SetInitialDir(system_.ExecutableFolder());
  if (host_.program_dialog.Execute()) EdtOEMSetProg->SetText(host_.program_dialog.FileName());
}

void AreaPanels::BtnIconClick() {
  host_.icon_dialog.SetInitialDir(system_.ExecutableFolder() + kIconFolder);
  if (host_.icon_dialog.Execute()) EditIcon->SetText(host_.icon_dialog.FileName());
}

}  // namespace corvane::settings
