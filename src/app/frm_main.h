// The main window: the Start-menu picture with its eight areas on the left,
// one settings panel at a time on the right, the tray icon, and the close
// path that hides the window instead of ending the program.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/notify_icon.h"
#include "core/power.h"
#include "core/registry.h"
#include "core/start_menu_area.h"
#include "core/system.h"
#include "skin/skin_data.h"
#include "strip/banner.h"
#include "ui/application.h"
#include "ui/components.h"
#include "ui/form.h"
#include "ui/graphic_controls.h"
#include "ui/list_view.h"
#include "ui/std_controls.h"
#include "ui/tree_view.h"

namespace corvane::app {

inline constexpr char kMainCaption[] = "Corvane V1.2";
inline constexpr char kTrayTip[] = "Corvane 1.2";
inline constexpr char kAreaHint[] = "单击进入此区域设置";
inline constexpr char kCategoryTreeHint[] = "单击显示该类别下的所有程序";
inline constexpr char kProgramListHint[] = "直接拖入上面分类中分类即可";
inline constexpr char kSlogan[] = "Corvane,让您的程序从此井井有条! ";
inline constexpr unsigned kTrayMessage = 2024;
inline constexpr unsigned kTrayIconId = 1;
// Started this soon after Windows (by its autostart value), the program
// comes up in the tray only.
inline constexpr std::uint32_t kStartHiddenUptime = 180000;

struct MainServices {
  SystemServices& system;
  NotifyIconService& notify_icons;
  PowerServices& power;
  RegistryBackend& registry;
  // The strip's banner browser; none where the system has no such control.
  strip::BannerBrowser* browser = nullptr;
};

class TFrmMain : public ui::Form {
 public:
  using Step = std::function<void(TFrmMain&)>;
  // The steps of creation and showing that other parts of the program fill
  // in, named after the step; an empty one is skipped.
  struct Steps {
    // Reading the form: the skin stream into SkinData and the component's
    // end of loading, before the creation steps, so that the first-run
    // dialog is skinned too.
    Step load_skin;
    // Creation 1, put off until the window has first shown: the banner's
    // browser is the costliest thing the first window can do without.
    Step request_banner;
    Step clear_deleted_categories;  // creation 2
    Step derive_paths;              // creation 4
    Step category_startup;          // creation 5: tree, icons, merge, counts
    Step version_check;             // creation 7: may show the first-run dialog
    Step expand_tree;               // showing 1
    Step refresh_program_list;      // showing 2
    Step read_autostart;            // showing 4
    // Each area's loading step, run by its click before the panel switch
    // (LblUserClick ... LblWdClick); All Programs has none.
    std::array<Step, kAreaCount> load_area;
  };

  // Builds and lays out the window; nothing of the steps runs yet.
  TFrmMain(ui::Application& app, MainServices services, Steps steps = {});
  ~TFrmMain() override;
  std::string ClassName() const override { return "TFrmMain"; }

  ui::Label* AreaLabel(Area a) const { return areas_[AreaIndex(a)].label; }
  ui::Bevel* AreaFrame(Area a) const { return areas_[AreaIndex(a)].frame; }
  ui::Panel* AreaPanel(Area a) const { return areas_[AreaIndex(a)].panel; }

  // The steps, to be filled or wrapped before Start.
  Steps& StartSteps() { return steps_; }
  // Reads the skin, then the creation steps in order (FormCreate).
  void Start();

  // Handlers. AreaClick(Area::kMyItems) is LblWdClick, AreaLabelMouseMove(kWd)
  // is LblWdMouseMove, AreaPanelMouseMove(kWd) is PnlWdMouseMove.
  void FormCreate();
  void FormShow();
  // Once, just after the window has first shown and painted (TimerShown's
  // one tick): what the first window can do without.
  void FormFirstShown();
  // Timers whose ticks only matter on screen wait while the window is hidden.
  void PauseScreenTimers(bool hidden);
  bool FormCloseQuery();
  void FormDestroy();
  void AreaClick(Area a);
  void AreaLabelMouseMove(Area a);
  void AreaPanelMouseMove(Area a);
  void LblGdMouseLeave();
  void ImgMenuMouseMove();
  void TrVewFenleiMouseMove();
  void ShellListViewFenleiMouseMove();
  void TrayIconNotify(ui::Message& m);
  void MenuExitClick();
  void MenuShowClick();
  void MenuAboutClick();
  void RestartComputer();

  // Set first by every area apply; the close asks about a restart once.
  void MarkSettingsChanged() { settings_changed_ = true; }
  bool SettingsChanged() const { return settings_changed_; }
  const NotifyIconRecord& TrayRecord() const { return tray_record_; }

  ui::Panel* PnlMain;
  ui::Panel* PnlDh;
  ui::Image* ImgMenu;
  ui::Label *LblUser, *LblGd, *LblLb, *LblSy, *LblOEM, *LblBz, *LblMb, *LblWd;
  ui::Bevel *BvlUser, *BvlGd, *BvlLb, *BvlSy, *BvlOEM, *BvlBz, *BvlMb, *BvlWd;
  ui::Image* ImgChkNo;
  ui::Image* ImgChkYes;
  ui::Panel *PnlUser, *PnlGd, *PnlCy, *PnlWd, *PnlMb, *PnlOEM, *PnlSy, *PnlBz;
  ui::TreeView* TrVewFenlei;
  ui::ShellListView* ShellListViewFenlei;
  ui::Label* LblGg1;
  ui::Label* LblGg2;
  ui::PopupMenu* PopMenuSy;
  ui::MenuItem *MenuNew, *MenuDel, *N1, *MenuChangeIcon, *MenuRename;
  ui::ImageList* ImgLstFenlei;
  ui::OpenPictureDialog* OpenPictureDialogIcon;
  ui::OpenDialog* OpnDilgProg;
  ui::Timer *TimerDetect, *TimerJq, *TimerClear, *TimerGetTime;
  // Ours: ticks once when the queue is first idle after the first showing.
  ui::Timer* TimerShown;
  ui::PopupMenu* PopMenuTp;
  ui::MenuItem *MenuExit, *MenuShow, *N5, *MenuAbout;
  ui::ApplicationEvents* ApplicationEvents;
  // The skin of every window of the program.
  skin::TSkinData SkinData;

 protected:
  void WndProc(ui::Message& m) override;

 private:
  struct AreaParts {
    ui::Label* label;
    ui::Bevel* frame;
    ui::Panel* panel;
  };
  void BuildPicture();
  void BuildPanels();
  void BuildCategoryControls();
  void BuildComponents();
  void ShowOnlyFrame(Area a);
  void HideAllFrames();
  void AddTrayIcon();
  void RemoveTrayIcon();
  void RunStep(const Step& s);

  ui::Application& app_;
  MainServices services_;
  Steps steps_;
  std::array<AreaParts, kAreaCount> areas_{};
  NotifyIconRecord tray_record_;
  bool tray_added_ = false;
  bool first_shown_ = false;
  bool settings_changed_ = false;
};

}  // namespace corvane::app
