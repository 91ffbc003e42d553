// The seven settings panels of the main window: their controls, the item and
// as-menu pairs, the OEM link panel with its custom link fields, and the
// loads and applies that the area clicks and the "应用" buttons run.
#pragma once
#include <array>
#include <functional>
#include <string>

#include "core/registry.h"
#include "core/system.h"
#include "settings/map_engine.h"
#include "settings/setting_map.h"
#include "ui/application.h"
#include "ui/components.h"
#include "ui/connections.h"
#include "ui/form.h"
#include "ui/std_controls.h"

namespace corvane::settings {

inline constexpr char kApplyCaption[] = "应用";
inline constexpr char kFolderBrowseTitle[] = "请选择要打开的文件夹路径";
inline constexpr unsigned kFolderBrowseFlags = 0x50;  // edit box, new dialog style
inline constexpr char kOemFieldsEmpty[] = "链接名称或图标路径不能为空！";
inline constexpr char kNoticeCaption[] = "提醒...";
inline constexpr char kIconFolder[] = "Icon";

// What the panels need of the main window.
struct PanelHost {
  ui::Form& form;  // owns the controls; the folder picker's owner
  std::array<ui::Panel*, kAreaCount> panels;  // by Area; none for All Programs
  ui::OpenDialog& program_dialog;             // OpnDilgProg
  ui::OpenDialog& icon_dialog;                // OpenPictureDialogIcon
  std::function<void()> settings_changed;     // set first by every apply
};

class AreaPanels {
 public:
  AreaPanels(ui::Application& app, RegistryBackend& registry, SystemServices& system,
             PanelHost host);

  // The loading part of LblUserClick ... LblOEMClick: reads the registry into
  // the panel (the main window then shows it).
  void Load(Area area);
  // BitBtnUserOkClick ... BitBtnOEMokClick.
  void ApplyClick(Area area);

  void ChekBxSetOEMClick();
  void RadoBtnULClick() { EnableTargetKind(RadoBtnUL); }
  void RadoBtnFolderClick() { EnableTargetKind(RadoBtnFolder); }
  void RadoBtnProgClick() { EnableTargetKind(RadoBtnProg); }
  void BtnFolderClick();
  void BtnProgClick();
  void BtnIconClick();

  ui::BitBtn* ApplyButton(Area area) const { return apply_buttons_[AreaIndex(area)]; }

  ui::CheckBox *ChekBxOEM, *ChekBxSetOEM;
  ui::Label *LblName, *LabelIcon;
  ui::Edit *EdtOEMSetName, *EditIcon, *EdtOEMSetUL, *EdtOEMSetFolder, *EdtOEMSetProg;
  ui::Button *BtnIcon, *BtnFolder, *BtnProg;
  ui::RadioButton *RadoBtnUL, *RadoBtnFolder, *RadoBtnProg;

 private:
  void Build();
  void WirePairs();
  void WireOem();
  // The enabling of the link target kind whose radio button is given.
  void EnableTargetKind(ui::RadioButton* kind);
  void ApplyOemLink();

  ui::Application& app_;
  SystemServices& system_;
  PanelHost host_;
  MapEngine engine_;
  std::array<ui::BitBtn*, kAreaCount> apply_buttons_{};
  // The thirteen custom link fields, in the order a load disables them.
  std::array<ui::Control*, 13> custom_fields_{};
  // Last: the handlers go before what they use.
  ui::Connections wiring_;
};

}  // namespace corvane::settings
