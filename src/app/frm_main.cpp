#include "app/frm_main.h"

#include "app/frm_about.h"
#include "app/restart.h"

namespace corvane::app {
namespace {

using ui::CreateControl;
using ui::Rect;

constexpr ui::Color kCream = ui::Rgb(255, 251, 240);
constexpr unsigned kLeftButtonUp = 0x0202;
constexpr unsigned kRightButtonUp = 0x0205;

struct AreaLayout {
  Area area;
  const char* label_name;
  ui::Label* TFrmMain::*label;
  const char* frame_name;
  ui::Bevel* TFrmMain::*frame;
  Rect bounds;  // on PnlDh
};

// The regions of the picture, with the label and frame of each.
constexpr AreaLayout kAreaLayout[] = {
    {Area::kUserBar, "LblUser", &TFrmMain::LblUser, "BvlUser", &TFrmMain::BvlUser,
     Rect::FromBounds(1, 1, 190, 39)},
    {Area::kPinnedList, "LblGd", &TFrmMain::LblGd, "BvlGd", &TFrmMain::BvlGd,
     Rect::FromBounds(1, 40, 93, 56)},
    {Area::kMostUsedList, "LblLb", &TFrmMain::LblLb, "BvlLb", &TFrmMain::BvlLb,
     Rect::FromBounds(1, 98, 93, 205)},
    {Area::kAllPrograms, "LblSy", &TFrmMain::LblSy, "BvlSy", &TFrmMain::BvlSy,
     Rect::FromBounds(1, 304, 93, 21)},
    {Area::kOemLink, "LblOEM", &TFrmMain::LblOEM, "BvlOEM", &TFrmMain::BvlOEM,
     Rect::FromBounds(95, 304, 96, 21)},
    {Area::kHelpSearchRun, "LblBz", &TFrmMain::LblBz, "BvlBz", &TFrmMain::BvlBz,
     Rect::FromBounds(95, 247, 96, 56)},
    {Area::kSettingsItems, "LblMb", &TFrmMain::LblMb, "BvlMb", &TFrmMain::BvlMb,
     Rect::FromBounds(95, 172, 96, 71)},
    {Area::kMyItems, "LblWd", &TFrmMain::LblWd, "BvlWd", &TFrmMain::BvlWd,
     Rect::FromBounds(95, 40, 96, 128)},
};

struct PanelLayout {
  Area area;
  const char* name;
  ui::Panel* TFrmMain::*panel;
};

// The panels, in the order they lie on the form.
constexpr PanelLayout kPanelOrder[] = {
    {Area::kUserBar, "PnlUser", &TFrmMain::PnlUser}, {Area::kPinnedList, "PnlGd", &TFrmMain::PnlGd},
    {Area::kMostUsedList, "PnlCy", &TFrmMain::PnlCy},       {Area::kMyItems, "PnlWd", &TFrmMain::PnlWd},
    {Area::kSettingsItems, "PnlMb", &TFrmMain::PnlMb},       {Area::kOemLink, "PnlOEM", &TFrmMain::PnlOEM},
    {Area::kAllPrograms, "PnlSy", &TFrmMain::PnlSy},       {Area::kHelpSearchRun, "PnlBz", &TFrmMain::PnlBz},
};

}  // namespace

TFrmMain::TFrmMain(ui::Application& app, MainServices services, Steps steps)
    : ui::Form(nullptr), app_(app), services_(services), steps_(std::move(steps)) {
  SetName("FrmMain");
  SetCaption(kMainCaption);
  SetBorderStyle(ui::FormBorderStyle::kSingle);
  SetBorderIcons(ui::border_icons::kSystemMenu | ui::border_icons::kMinimize);
  SetPosition(ui::FormPosition::kScreenCenter);
  SetFont(ui::Font{"宋体", 12, ui::kGb2312Charset});
  SetClientSize(530, 386);

  PnlMain = Create<ui::Panel>("PnlMain");
  PnlMain->SetParent(this);
  PnlMain->SetBevelOuter(ui::BevelKind::kNone);
  PnlMain->SetAlign(ui::Align::kClient);
  BuildPicture();
  BuildPanels();
  BuildCategoryControls();
  LblGg1 = CreateControl<ui::Label>(*this, PnlMain, "LblGg1", Rect::FromBounds(5, 369, 234, 12));
  LblGg1->SetCaption(kSlogan);
  LblGg1->Hide();
  LblGg2 = CreateControl<ui::Label>(*this, PnlMain, "LblGg2", Rect::FromBounds(319, 369, 206, 13));
  LblGg2->SetAlignment(ui::Alignment::kRight);
  LblGg2->Hide();
  BuildComponents();

  OnShow = [this](ui::Form&) { FormShow(); };
  OnHide = [this](ui::Form&) { PauseScreenTimers(true); };
  PauseScreenTimers(true);  // created hidden
  OnCloseQuery = [this](ui::Form&, bool& can_close) { can_close = FormCloseQuery(); };
  app_.SetMainForm(this);
  SkinData.Active = true;
  SkinData.SkinFormtype = skin::sfMainform;
  app_.OnTaskbarCreated = [this] {
    // Explorer came back without our icon (or was not there at start).
    tray_added_ = false;
    AddTrayIcon();
  };
}

void TFrmMain::Start() {
  RunStep(steps_.load_skin);
  FormCreate();
}

TFrmMain::~TFrmMain() {
  app_.OnTaskbarCreated = nullptr;
  FormDestroy();
}

void TFrmMain::BuildPicture() {
  PnlDh = CreateControl<ui::Panel>(*this, PnlMain, "PnlDh", Rect::FromBounds(5, 6, 196, 358));
  PnlDh->SetBorderStyle(ui::BorderStyle::kSingle);
  PnlDh->SetBevelOuter(ui::BevelKind::kNone);
  PnlDh->SetColor(kCream);
  ImgMenu = CreateControl<ui::Image>(*this, PnlDh, "ImgMenu", Rect::FromBounds(1, 0, 190, 352));
  ImgMenu->SetPicture(ui::Picture::BitmapResource("STARTMENU"));
  ImgMenu->OnMouseMove = [this](ui::Control&, unsigned, int, int) { ImgMenuMouseMove(); };

  for (const AreaLayout& l : kAreaLayout) {
    AreaParts& parts = areas_[AreaIndex(l.area)];
    parts.label = this->*l.label = CreateControl<ui::Label>(*this, PnlDh, l.label_name, l.bounds);
    parts.label->SetTransparent(true);
    parts.label->SetCursor(ui::Cursor::kHandPoint);
    parts.label->SetHint(kAreaHint);
    parts.label->SetShowHint(true);
    Area a = l.area;
    parts.label->OnClick = [this, a](ui::Control&) { AreaClick(a); };
    parts.label->OnMouseMove = [this, a](ui::Control&, unsigned, int, int) {
      AreaLabelMouseMove(a);
    };
    // The frame lies above its label until the label is brought forward.
    parts.frame = this->*l.frame = CreateControl<ui::Bevel>(*this, PnlDh, l.frame_name, l.bounds);
    parts.frame->SetShape(ui::Bevel::Shape::kBox);
    parts.frame->SetStyle(ui::Bevel::Style::kRaised);
    parts.frame->SetCursor(ui::Cursor::kHandPoint);
    parts.frame->SetHint(kAreaHint);
    parts.frame->SetShowHint(true);
    parts.frame->Hide();
  }
  LblGd->OnMouseLeave = [this](ui::Control&) { LblGdMouseLeave(); };

  ImgChkNo = CreateControl<ui::Image>(*this, PnlDh, "ImgChkNo", Rect::FromBounds(5, 331, 65, 15));
  ImgChkNo->SetPicture(ui::Picture::BitmapResource("AUTOSTART_NO"));
  ImgChkNo->SetCursor(ui::Cursor::kHandPoint);
  ImgChkNo->Hide();
  ImgChkYes = CreateControl<ui::Image>(*this, PnlDh, "ImgChkYes", Rect::FromBounds(5, 331, 65, 15));
  ImgChkYes->SetPicture(ui::Picture::BitmapResource("AUTOSTART_YES"));
  ImgChkYes->SetCursor(ui::Cursor::kHandPoint);
}

void TFrmMain::BuildPanels() {
  for (const PanelLayout& l : kPanelOrder) {
    ui::Panel* p =
        CreateControl<ui::Panel>(*this, PnlMain, l.name, Rect::FromBounds(202, 6, 323, 358));
    p->SetBorderStyle(ui::BorderStyle::kSingle);
    p->SetBevelOuter(ui::BevelKind::kNone);
    p->SetVisible(l.area == Area::kAllPrograms);
    areas_[AreaIndex(l.area)].panel = this->*l.panel = p;
    if (l.area == Area::kAllPrograms) continue;  // covered by the tree and the list
    Area a = l.area;
    p->OnMouseMove = [this, a](ui::Control&, unsigned, int, int) { AreaPanelMouseMove(a); };
  }
}

void TFrmMain::BuildCategoryControls() {
  // The category tree above the program list; the categorisation fills them.
  TrVewFenlei =
      CreateControl<ui::TreeView>(*this, PnlSy, "TrVewFenlei", Rect::FromBounds(1, 1, 316, 150));
  TrVewFenlei->SetIndent(19);
  TrVewFenlei->SetReadOnly(true);
  TrVewFenlei->SetRowSelect(true);
  TrVewFenlei->SetShowButtons(false);
  TrVewFenlei->SetShowLines(false);
  TrVewFenlei->SetShowRoot(false);
  TrVewFenlei->SetHideSelection(false);
  TrVewFenlei->SetHint(kCategoryTreeHint);
  TrVewFenlei->SetShowHint(true);
  TrVewFenlei->OnMouseMove = [this](ui::Control&, unsigned, int, int) { TrVewFenleiMouseMove(); };
  ShellListViewFenlei = CreateControl<ui::ShellListView>(*this, PnlSy, "ShellListViewFenlei",
                                                         Rect::FromBounds(1, 152, 316, 200));
  ShellListViewFenlei->SetHideSelection(false);
  ShellListViewFenlei->SetHint(kProgramListHint);
  ShellListViewFenlei->SetShowHint(true);
  ShellListViewFenlei->OnMouseMove = [this](ui::Control&, unsigned, int, int) {
    ShellListViewFenleiMouseMove();
  };
}

void TFrmMain::BuildComponents() {
  // The category operations fill in the clicks.
  PopMenuSy = Create<ui::PopupMenu>("PopMenuSy");
  MenuNew = PopMenuSy->Add("MenuNew", "新建分类(&N)");
  MenuDel = PopMenuSy->Add("MenuDel", "删除分类(&D)");
  N1 = PopMenuSy->Add("N1", "-");
  MenuChangeIcon = PopMenuSy->Add("MenuChangeIcon", "更改图标(&G)");
  MenuRename = PopMenuSy->Add("MenuRename", "重命名  (&R)");
  TrVewFenlei->SetPopupMenu(PopMenuSy);
  ImgLstFenlei = Create<ui::ImageList>("ImgLstFenlei");
  TrVewFenlei->SetImages(ImgLstFenlei);
  OpenPictureDialogIcon = Create<ui::OpenPictureDialog>("OpenPictureDialogIcon");
  OpenPictureDialogIcon->SetFilter("图标文件|*.ico");
  OpnDilgProg = Create<ui::OpenDialog>("OpnDilgProg");
  OpnDilgProg->SetFilter("exe文件(*.exe)|*.exe");
  auto timer = [this](const char* name, unsigned interval) {
    ui::Timer* t = Create<ui::Timer>(name);
    t->SetInterval(interval);
    t->SetEnabled(true);
    return t;
  };
  TimerDetect = timer("TimerDetect", 5000);
  TimerJq = timer("TimerJq", 1000);
  TimerClear = timer("TimerClear", 2000);
  TimerGetTime = timer("TimerGetTime", 1000);
  // A timer's message comes only once the window's paints are done.
  TimerShown = timer("TimerShown", 1);
  TimerShown->SetEnabled(false);
  TimerShown->OnTimer = [this](ui::Timer&) { FormFirstShown(); };

  PopMenuTp = Create<ui::PopupMenu>("PopMenuTp");
  MenuExit = PopMenuTp->Add("MenuExit", "退出程序(&X)", [this](ui::MenuItem&) { MenuExitClick(); });
  MenuShow = PopMenuTp->Add("MenuShow", "打开窗口(&O)", [this](ui::MenuItem&) { MenuShowClick(); });
  N5 = PopMenuTp->Add("N5", "-");
  MenuAbout = PopMenuTp->Add("MenuAbout", "关于(&A)", [this](ui::MenuItem&) { MenuAboutClick(); });
  ApplicationEvents = Create<ui::ApplicationEvents>("ApplicationEvents");
}

void TFrmMain::RunStep(const Step& s) {
  if (s) s(*this);
}

void TFrmMain::FormCreate() {
  // The windows first, as the banner's browser used to make them: the tree
  // and the list are then filled in place, which under Wine costs less than
  // making them already filled.
  HandleNeeded();
  RunStep(steps_.clear_deleted_categories);
  if (services_.system.TickCount() < kStartHiddenUptime) app_.SetShowMainForm(false);
  RunStep(steps_.derive_paths);
  RunStep(steps_.category_startup);
  tray_record_.window = Handle();
  tray_record_.id = kTrayIconId;
  tray_record_.flags = notify_icon::kMessageIconTip;
  tray_record_.callback_message = kTrayMessage;
  tray_record_.icon = app_.GetBackend().ApplicationIcon();
  tray_record_.tip = kTrayTip;
  AddTrayIcon();
  RunStep(steps_.version_check);
}

void TFrmMain::FormShow() {
  RunStep(steps_.expand_tree);
  RunStep(steps_.refresh_program_list);
  TimerDetect->SetEnabled(true);
  RunStep(steps_.read_autostart);
  PauseScreenTimers(false);
  if (!first_shown_) TimerShown->SetEnabled(true);
}

void TFrmMain::FormFirstShown() {
  TimerShown->SetEnabled(false);
  if (first_shown_) return;
  first_shown_ = true;
  RunStep(steps_.request_banner);
}

void TFrmMain::PauseScreenTimers(bool hidden) {
  // The tips tick does nothing unless the window shows; the clock line is
  // brought up to date as the window comes back. The trimming timer pauses
  // itself after its first tick once the window is hidden.
  TimerJq->SetPaused(hidden);
  TimerGetTime->SetPaused(hidden);
  if (hidden) return;
  TimerClear->SetPaused(false);
  TimerGetTime->Tick();
}

bool TFrmMain::FormCloseQuery() {
  if (settings_changed_ && app_.ShowMessageBox(kRestartPrompt, kRestartCaption,
                                               mb::kOkCancel | mb::kIconQuestion) == mb::kIdOk)
    RestartComputer();
  settings_changed_ = false;
  app_.SetShowMainForm(false);
  app_.ShowOwnerWindow(false);
  Hide();
  // The close stays pending until the application is told to end; the loop
  // then returns and the window goes with the program.
  return false;
}

void TFrmMain::FormDestroy() { RemoveTrayIcon(); }

void TFrmMain::AddTrayIcon() {
  if (tray_added_ || tray_record_.id == 0) return;
  services_.notify_icons.Notify(notify_icon::kAdd, tray_record_);
  tray_added_ = true;
}

void TFrmMain::RemoveTrayIcon() {
  if (!tray_added_) return;
  services_.notify_icons.Notify(notify_icon::kDelete, tray_record_);
  tray_added_ = false;
}

void TFrmMain::AreaClick(Area a) {
  RunStep(steps_.load_area[AreaIndex(a)]);
  AreaPanel(a)->Show();
  for (const AreaParts& p : areas_)
    if (p.panel != AreaPanel(a)) p.panel->Hide();
}

void TFrmMain::ShowOnlyFrame(Area a) {
  // The others go first, so two frames are never up at once.
  for (const AreaParts& p : areas_)
    if (p.frame != AreaFrame(a)) p.frame->Hide();
  AreaFrame(a)->Show();
}

void TFrmMain::HideAllFrames() {
  for (const AreaParts& p : areas_) p.frame->Hide();
}

void TFrmMain::AreaLabelMouseMove(Area a) {
  ShowOnlyFrame(a);
  // Above its frame, so the label keeps getting the clicks.
  AreaLabel(a)->BringToFront();
}

void TFrmMain::AreaPanelMouseMove(Area a) { ShowOnlyFrame(a); }

void TFrmMain::LblGdMouseLeave() { ShowOnlyFrame(Area::kPinnedList); }

void TFrmMain::ImgMenuMouseMove() { HideAllFrames(); }

void TFrmMain::TrVewFenleiMouseMove() { ShowOnlyFrame(Area::kAllPrograms); }

void TFrmMain::ShellListViewFenleiMouseMove() { ShowOnlyFrame(Area::kAllPrograms); }

void TFrmMain::WndProc(ui::Message& m) {
  if (m.msg == kTrayMessage) {
    TrayIconNotify(m);
    return;
  }
  if (m.msg == ui::msg::kEndSession && m.wparam) {
    // The session ends now; the process will not get to its normal end.
    RemoveTrayIcon();
    app_.Terminate();
  }
  ui::Form::WndProc(m);
}

void TFrmMain::TrayIconNotify(ui::Message& m) {
  ui::Backend& backend = app_.GetBackend();
  switch (static_cast<unsigned>(m.lparam)) {
    case kLeftButtonUp:
      backend.SetForeground(*this);
      if (Visible())
        Hide();
      else
        Show();
      break;
    case kRightButtonUp: {
      ui::Point at = backend.CursorPos();
      backend.SetForeground(*this);
      PopMenuTp->Popup(at);
      break;
    }
    default:
      break;
  }
  m.result = 0;
}

void TFrmMain::MenuExitClick() { app_.Terminate(); }

void TFrmMain::MenuShowClick() { Show(); }

void TFrmMain::MenuAboutClick() {
  TFrmAbout about(nullptr);
  about.ShowModal();
}

void TFrmMain::RestartComputer() { app::RestartComputer(services_.power); }

}  // namespace corvane::app
