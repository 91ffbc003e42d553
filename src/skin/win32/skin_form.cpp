#include "skin/win32/skin_form.h"

#include <algorithm>
#include <utility>

#include "skin/skin_rules.h"
#include "skin/skin_shape.h"
#include "skin/win32/skin_control_walk.h"
#include "skin/win32/skin_manage.h"
#include "skin/win32/skin_menu.h"
#include "skin/win32/skin_mdi.h"
#include "ui/form.h"

namespace corvane::skin::win32 {

namespace {

Bitmap32 Crop(const Bitmap32& src, const Rect& r) {
  Bitmap32 out(r.Width(), r.Height());
  Blit(out, -r.left, -r.top, src, false);
  return out;
}

bool HasControl(const TSkinData& skin, TSkinControlType t) {
  return (skin.SkinControls & SkinControlBit(t)) != 0;
}

}  // namespace

COLORREF ResolveColour(SkinColour c) {
  if ((c >> 24) == 0xFF) return GetSysColor(static_cast<int>(c & 0xFF));
  return c & 0xFFFFFFu;
}

std::uint32_t PixelOf(COLORREF c) {
  return 0xFF000000u | static_cast<std::uint32_t>(GetRValue(c)) << 16 |
         static_cast<std::uint32_t>(GetGValue(c)) << 8 | GetBValue(c);
}

std::uint32_t SkinPixel(SkinColour c) { return PixelOf(ResolveColour(c)); }

void BlitToDc(HDC dc, int x, int y, const Bitmap32& b) {
  if (b.Empty()) return;
  BITMAPINFO bi = TopDown32(b.Width(), b.Height());
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(b.Width()), static_cast<DWORD>(b.Height()), 0, 0,
                    0, static_cast<UINT>(b.Height()), b.Pixels().data(), &bi, DIB_RGB_COLORS);
}

std::string ClassNameOf(HWND window) {
  char buf[101] = {};
  if (window) GetClassNameA(window, buf, sizeof buf);
  return buf;
}

TWinSkinForm::TWinSkinForm(TSkinManage* manager, TSkinData& skin, HWND window)
    : SkinnedWindow(Kind::kForm),
      manager_(manager),
      skin_(skin),
      window_(window),
      mdi_(*this),
      caption_(*this) {}

TWinSkinForm::~TWinSkinForm() {
  if (attached_) {
    skin_state_ = kSkinDetaching;
    QuickDetach();
  }
  Unsubclass();
}

// --- Attach ------------------------------------------------------------------

void TWinSkinForm::AttachAsForm(ui::Form& form) {
  form_ = &form;
  AttachAsWindow();
  if (!attached_) return;
  form_colour_ = form.GetColor();
  form.SetColor(skin_.Model().Colours.ButtonFace);
  const bool frame = HasControl(skin_, xcMainMenu);
  form_own_method_ = form.WindowProc();
  form.SetWindowProc([this, frame](ui::Message& m) {
    form_own_method_(m);
    if (m.msg == ui::msg::kWindowMade) {
      Controls().WindowsMade();
    } else if (frame && m.msg == ui::msg::kSetText) {
      SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    } else if (frame && m.msg == kMsgReReadSkin) {
      Refresh();
    }
  });
}

void TWinSkinForm::AttachAsWindow() {
  if (attached_ || !IsWindow(window_)) return;
  // 1. Timer and caption font.
  hover_ = std::make_unique<WindowTimer>(window_, kHoverTimerId);
  NONCLIENTMETRICSA ncm = {};
  ncm.cbSize = sizeof ncm;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
    caption_font_ = Adopt(CreateFontIndirectA(&ncm.lfCaptionFont));
  // 2. Style, direction, icon, sizes.
  style_ = style_at_attach_ = GetWindowLongPtrA(window_, GWL_STYLE);
  ex_style_ = GetWindowLongPtrA(window_, GWL_EXSTYLE);
  right_to_left_ = (ex_style_ & WS_EX_LEFTSCROLLBAR) != 0;
  small_icon_ = SmallIconBitmap();
  RECT wr, cr;
  GetWindowRect(window_, &wr);
  GetClientRect(window_, &cr);
  extra_width_ = (wr.right - wr.left) - cr.right;
  extra_height_ = (wr.bottom - wr.top) - cr.bottom;
  // 3. Icons, system menu, state, MDI role, frame kind.
  const auto s = static_cast<std::uint32_t>(style_), ex = static_cast<std::uint32_t>(ex_style_);
  border_icons_ = BorderIcons(s, GetSystemMenu(window_, FALSE) != nullptr);
  caption_.BuildSystemMenu();
  ReadWindowState();
  mdi_.Attach(window_, (ex & style::kExMdiChild) != 0);
  frame_kind_ = FrameKind(s, ex);
  // 4. Frame skinning.
  if (HasControl(skin_, xcMainMenu)) {
    if (!mdi_.Child() && GetMenu(window_))
      menu_bar_ = std::make_shared<TWinSkinMenu>(*this, skin_, window_);
    if (window_state_ != kStateMinimised) RemoveCaptionButtons();
    RecomputeMetricsAndButtons();
  }
  // 5. The procedure.
  if (!Subclass(window_)) {
    // Not ours after all (another process's window): it keeps its caption.
    ReleaseParts();
    RestoreCaptionButtons();
    return;
  }
  attached_ = true;
  // 6.
  Controls().SkinChildren(form_, window_);
  // 7. The client too: a plain window's background is the skin's now.
  RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TWinSkinForm::FinishAttach() {
  hover_wanted_ = true;
  if (skin_state_ == kSkinAttaching && mdi_.Child() && mdi_.MaximisedNow()) {
    // A maximised sibling: this child shows the system's caption for now.
    RestoreCaptionButtons();
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  } else if (skin_state_ == kSkinAttaching && window_state_ != kStateMinimised &&
             frame_kind_ != kFrameBare) {
    skin_state_ = kSkinFirstSizing;
    ResizeToSkinMetrics();
    skin_state_ = kSkinRunning;
    BuildShape(true);
  }
  skin_state_ = kSkinRunning;
  if (active_) hover_->Start(kHoverInterval);
  RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

void TWinSkinForm::RecomputeMetricsAndButtons() {
  if (skin_.NotLoaded()) return;
  pieces_ = {};
  title_key_ = {};
  metrics_ = ComputeFrameMetrics(skin_.Model(), frame_kind_,
                                 menu_bar_ ? GetSystemMetrics(SM_CYMENU) : 0);
  buttons_.clear();
  SetHot(nullptr);
  for (const TDataSkinSysButton& b :
       WindowTitleButtons(skin_.Model().SysButtons, small_icon_, skin_.AppIcon))
    buttons_.push_back(std::make_unique<TWinSysButton>(*this, b));
}

void TWinSkinForm::DropTitleButtons() {
  SetHot(nullptr);
  buttons_.clear();
}

// --- Detach ------------------------------------------------------------------

void TWinSkinForm::ReleaseForm() {
  if (!form_) return;
  if (form_own_method_) form_->SetWindowProc(std::move(form_own_method_));
  form_own_method_ = nullptr;
  if (skin_state_ != kSkinDetaching) form_->SetColor(form_colour_);
}

SkinControls& TWinSkinForm::Controls() {
  if (!controls_) controls_ = std::make_unique<SkinControls>(this, skin_);
  return *controls_;
}

void TWinSkinForm::ReleaseParts() {
  if (controls_) controls_->Release();
  // The window shows its own menu again; a window that is going takes the
  // menu with the bar.
  if (menu_bar_) menu_bar_->Release(!destroying_);
  menu_bar_.reset();
  mdi_.Release();
  StopHover();
  hover_.reset();
  DropTitleButtons();
  caption_.Release();
  title_bar_.Clear();
  title_clean_.Clear();
  pieces_ = {};
  title_key_ = {};
  title_surface_.Release();
  clip_.reset();
  face_brush_.reset();
  caption_font_.reset();
}

void TWinSkinForm::QuickDetach() {
  if (!attached_) return;
  ReleaseForm();
  Unsubclass();
  ReleaseParts();
  shape_.Clear(false);
  if (!destroying_ && IsWindow(window_)) {
    // The system's frame again, at the window's present size.
    RestoreCaptionButtons();
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  attached_ = false;
}

void TWinSkinForm::FullDetach() {
  if (!attached_) return;
  if (!HasControl(skin_, xcMainMenu)) {
    ReleaseForm();
    Unsubclass();
    ReleaseParts();
    attached_ = false;
    if (skin_state_ != kSkinDetaching && IsWindow(window_)) {
      ShowWindow(window_, SW_MINIMIZE);
      ShowWindow(window_, SW_RESTORE);
    }
    return;
  }
  StopHover();
  ReleaseForm();
  Unsubclass();
  RestoreCaptionButtons();
  ReleaseParts();
  if (skin_state_ != kSkinDetaching && (mdi_.Child() || !(style_ & WS_CHILD)) &&
      IsWindow(window_)) {
    RECT cr;
    GetClientRect(window_, &cr);
    SetWindowPos(window_, nullptr, 0, 0, cr.right + extra_width_, cr.bottom + extra_height_,
                 SWP_NOMOVE | SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  shape_.Clear(true);
  attached_ = false;
}

void TWinSkinForm::Refresh() {
  if (!attached_) return;
  skin_state_ = kSkinRefreshing;
  DropTitleButtons();
  RecomputeMetricsAndButtons();
  if (form_) form_->SetColor(skin_.Model().Colours.ButtonFace);
  if (controls_) controls_->Refresh();
  face_brush_.reset();
  title_bar_.Clear();
  title_key_ = {};
  if (menu_bar_) menu_bar_->DropBackground();
  ResizeToSkinMetrics();
  BuildShape(true);
  skin_state_ = kSkinRunning;
  RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

// --- Window procedure ----------------------------------------------------------

LRESULT TWinSkinForm::Own(UINT msg, WPARAM wp, LPARAM lp) { return CallOwnProc(window_, msg, wp, lp); }

LRESULT TWinSkinForm::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return OnEraseBackground(wp, lp);
    case WM_STYLECHANGED:
      if (static_cast<int>(wp) == GWL_STYLE)
        style_ = static_cast<LONG_PTR>(reinterpret_cast<const STYLESTRUCT*>(lp)->styleNew);
      return Own(msg, wp, lp);
    case WM_NCDESTROY: return OnNcDestroy(wp, lp);
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: return OnCtlColor(msg, wp, lp);
    case kMsgSkinned: return 1;
    default:
      if (!HasControl(skin_, xcMainMenu)) return Own(msg, wp, lp);
      return SecondStage(msg, wp, lp);
  }
}

bool TWinSkinForm::MdiChildNotNormal() const { return mdi_.Child() && window_state_ != kStateNormal; }

bool TWinSkinForm::NonClientHandled() const {
  if (window_state_ == kStateMinimised || skin_state_ == kSkinAttaching) return false;
  return !MdiChildNotNormal();
}

LRESULT TWinSkinForm::SecondStage(UINT msg, WPARAM wp, LPARAM lp) {
  if ((style_ & WS_CHILD) && !mdi_.Child()) return Own(msg, wp, lp);
  switch (msg) {
    case WM_SIZE: return OnSize(wp, lp);
    case WM_ACTIVATE:
      active_ = LOWORD(wp) != WA_INACTIVE;
      return Own(msg, wp, lp);
    case WM_GETMINMAXINFO: return OnGetMinMaxInfo(wp, lp);
    case WM_WINDOWPOSCHANGED:
      ReadWindowState();
      return Own(msg, wp, lp);
    case WM_COMMAND:
      if (lp == 0 && IsSystemCommand(LOWORD(wp))) {
        PostMessageA(window_, WM_SYSCOMMAND, LOWORD(wp), 0);
        return 0;
      }
      return Own(msg, wp, lp);
    case WM_SYSCOMMAND: return OnSysCommand(wp, lp);
    case WM_SETTEXT: {
      // The system would paint its own caption with the new text. A form's
      // message method has recalculated the frame already, which painted it.
      const LRESULT r = Own(msg, wp, lp);
      if (NonClientHandled() && !form_own_method_) PaintFrame();
      return r;
    }
    case WM_TIMER:
      if (wp == kHoverTimerId) {
        OnHoverTimer();
        return 0;
      }
      return Own(msg, wp, lp);
    case kMsgFinishAttach: FinishAttach(); return 0;
    default: break;
  }
  if (msg == WM_NCACTIVATE) active_ = wp != FALSE;
  if (!NonClientHandled()) return Own(msg, wp, lp);
  switch (msg) {
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (SkinnedMenuItemMessage(msg, lp)) return TRUE;
      return Own(msg, wp, lp);
    case WM_NCCALCSIZE: return OnNcCalcSize(wp, lp);
    case WM_NCHITTEST: return OnNcHitTest(wp, lp);
    case WM_NCPAINT:
      if (!skin_.PaintFrames) return 0;
      if (frame_kind_ == kFrameBare) return Own(msg, wp, lp);
      PaintFrame(reinterpret_cast<HRGN>(wp));
      return 0;
    case WM_NCACTIVATE: return OnNcActivate(wp, lp);
    case WM_NCMOUSEMOVE: return OnNcMouseMove(wp, lp);
    case WM_NCLBUTTONDOWN: return OnNcLButtonDown(wp, lp);
    case WM_NCLBUTTONUP: return OnNcLButtonUp(wp, lp);
    case WM_NCLBUTTONDBLCLK: return OnNcLButtonDblClk(wp, lp);
    case WM_NCRBUTTONDOWN: return OnNcRButtonDown(wp, lp);
    case kMsgRepaintFrame: PaintFrame(); return 0;
    default: return Own(msg, wp, lp);
  }
}

// --- First-stage handlers ----------------------------------------------------------

LRESULT TWinSkinForm::OnEraseBackground(WPARAM wp, LPARAM lp) {
  const LRESULT r = Own(WM_ERASEBKGND, wp, lp);
  if (form_) return r;
  if (!face_brush_) face_brush_ = Adopt(CreateSolidBrush(ResolveColour(skin_.Model().Colours.ButtonFace)));
  RECT cr;
  GetClientRect(window_, &cr);
  FillRect(reinterpret_cast<HDC>(wp), &cr, face_brush_.get());
  return 1;
}

LRESULT TWinSkinForm::OnNcDestroy(WPARAM wp, LPARAM lp) {
  skin_state_ = kSkinDetaching;
  destroying_ = true;
  const WNDPROC own = OwnProc();
  // No message follows: a subclassing made over ours has nothing left to
  // pass on, so none stays behind as an orphan.
  DropSubclass();
  QuickDetach();
  const LRESULT r = own ? CallWindowProcA(own, window_, WM_NCDESTROY, wp, lp)
                        : DefWindowProcA(window_, WM_NCDESTROY, wp, lp);
  skin_state_ = kSkinDestroyed;
  if (manager_) {
    manager_->SetCurrentSkin(&skin_);
    manager_->Queue(kCmdPurge);
  }
  return r;
}

LRESULT TWinSkinForm::OnCtlColor(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT r = Own(msg, wp, lp);
  if (form_) return r;
  SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
  if (msg == WM_CTLCOLORSTATIC) {
    if (!face_brush_)
      face_brush_ = Adopt(CreateSolidBrush(ResolveColour(skin_.Model().Colours.ButtonFace)));
    r = reinterpret_cast<LRESULT>(face_brush_.get());
  }
  return r;
}

// --- Second-stage handlers ----------------------------------------------------------

LRESULT TWinSkinForm::OnSize(WPARAM wp, LPARAM lp) {
  const LRESULT r = Own(WM_SIZE, wp, lp);
  if (wp == SIZE_RESTORED) window_state_ = kStateNormal;
  else if (wp == SIZE_MINIMIZED) window_state_ = kStateMinimised;
  else if (wp == SIZE_MAXIMIZED) window_state_ = kStateMaximised;
  const bool mdi_other = mdi_.Child() && (window_state_ != kStateNormal || mdi_.MaximisedNow());
  if (window_state_ != kStateMinimised && !mdi_other &&
      (skin_state_ == kSkinRunning || skin_state_ == kSkinRefreshing))
    BuildShape(false);
  // The parent's bar shows a maximised child's controls.
  if (mdi_.Child() && skin_state_ == kSkinRunning)
    if (HWND client = GetParent(window_)) PostMessageA(GetParent(client), kMsgRepaintFrame, 0, 0);
  return r;
}

LRESULT TWinSkinForm::OnGetMinMaxInfo(WPARAM wp, LPARAM lp) {
  const LRESULT r = Own(WM_GETMINMAXINFO, wp, lp);
  ReadWindowState();
  if (window_state_ == kStateMinimised) {
    RestoreCaptionButtons();
  } else if (!mdi_.Child()) {
    RemoveCaptionButtons();
  } else if (window_state_ == kStateNormal) {
    if (mdi_.MaximisedNow()) mdi_.SetMaximised(false);
    RemoveCaptionButtons();
  } else {
    RestoreCaptionButtons();
  }
  auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
  mmi->ptMaxTrackSize.x = GetSystemMetrics(SM_CXMAXIMIZED);
  mmi->ptMaxTrackSize.y = GetSystemMetrics(SM_CYMAXIMIZED);
  return r;
}

LRESULT TWinSkinForm::OnSysCommand(WPARAM wp, LPARAM lp) {
  KeyMenuFacts k;
  k.command = static_cast<unsigned>(wp);
  k.key = static_cast<unsigned>(lp);
  k.mouse_captured = GetCapture() != nullptr;
  k.menu_tracking = menu_bar_ && menu_bar_->Tracking();
  k.key_is_menu_accelerator = menu_bar_ && menu_bar_->AcceleratorItem(k.key) >= 0;
  if (menu_bar_ && ConsumeKeyMenu(k)) {
    menu_bar_->OpenByKey(k.key);
    return 1;
  }
  if (ConsumeKeyMenu(k)) return 1;
  switch (wp & 0xFFF0) {
    case SC_MINIMIZE:
      window_state_ = kStateMinimised;
      if (mdi_.Child()) RestoreCaptionButtons();
      break;
    case SC_MAXIMIZE: window_state_ = kStateMaximised; break;
    case SC_RESTORE:
      window_state_ = kStateNormal;
      if (mdi_.Child()) RemoveCaptionButtons();
      break;
    default: break;
  }
  return Own(WM_SYSCOMMAND, wp, lp);
}

// --- Non-client ------------------------------------------------------------------

LRESULT TWinSkinForm::OnNcCalcSize(WPARAM wp, LPARAM lp) {
  const LRESULT own = Own(WM_NCCALCSIZE, wp, lp);
  if (!wp) {
    // The plain form asks for the client rectangle of a window rectangle;
    // the system's answer would use its own frame.
    auto* r = reinterpret_cast<RECT*>(lp);
    if (frame_kind_ == kFrameBare) return own;
    const Rect c = ClientRectForWindow({r->left, r->top, r->right, r->bottom}, metrics_);
    *r = {c.left, c.top, c.right, c.bottom};
    return 0;
  }
  auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lp);
  if (MdiChildNotNormal() || frame_kind_ == kFrameBare) {
    p->rgrc[1] = p->rgrc[0];
    return WVR_REDRAW;
  }
  const WINDOWPOS* pos = p->lppos;
  const Rect c = ClientRectForWindow({pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy}, metrics_);
  p->rgrc[0] = p->rgrc[1] = {c.left, c.top, c.right, c.bottom};
  return WVR_REDRAW;
}

LRESULT TWinSkinForm::OnNcHitTest(WPARAM wp, LPARAM lp) {
  const int own = static_cast<int>(Own(WM_NCHITTEST, wp, lp));
  if (own != HTNOWHERE) return own;
  POINT pt = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  ScreenToClient(window_, &pt);
  const Point w = ClientToWindowPoint({pt.x, pt.y}, metrics_, window_state_ == kStateMinimised);
  return CaptionHitTest(own, w.y, metrics_.top);
}

LRESULT TWinSkinForm::OnNcActivate(WPARAM wp, LPARAM) {
  active_ = wp != FALSE;
  if (active_ && hover_wanted_ && hover_) hover_->Start(kHoverInterval);
  if (!active_) StopHover();
  if (!MdiChildNotNormal()) PaintFrame();
  return TRUE;
}

Point TWinSkinForm::ScreenToWindow(LPARAM lp) const {
  RECT wr;
  GetWindowRect(window_, &wr);
  return {static_cast<short>(LOWORD(lp)) - wr.left, static_cast<short>(HIWORD(lp)) - wr.top};
}

TNCObject* TWinSkinForm::ElementAtPoint(Point p) const {
  std::vector<TWinSysButton*> buttons;
  for (const auto& b : buttons_) buttons.push_back(b.get());
  return ElementAt(buttons, menu_bar_ ? menu_bar_->Elements() : std::vector<TNCObject*>{}, p);
}

LRESULT TWinSkinForm::OnNcMouseMove(WPARAM wp, LPARAM lp) {
  if (!active_) return Own(WM_NCMOUSEMOVE, wp, lp);
  if (TNCObject* e = ElementAtPoint(ScreenToWindow(lp))) {
    e->MouseMove();
    return 0;
  }
  if (TNCObject* hot = Hot()) hot->MouseLeave();
  return Own(WM_NCMOUSEMOVE, wp, lp);
}

LRESULT TWinSkinForm::OnNcLButtonDown(WPARAM wp, LPARAM lp) {
  if (TNCObject* e = ElementAtPoint(ScreenToWindow(lp))) {
    if (!active_) SetForegroundWindow(window_);
    e->MouseDown();
    if (TMenuBtn* item = menu_bar_ ? menu_bar_->ItemOf(e) : nullptr) menu_bar_->Open(*item);
    return 0;
  }
  const int code = ButtonDownHitCode(static_cast<int>(wp), window_state_ == kStateMaximised, active_);
  return Own(WM_NCLBUTTONDOWN, static_cast<WPARAM>(code), lp);
}

LRESULT TWinSkinForm::OnNcLButtonUp(WPARAM wp, LPARAM lp) {
  TNCObject* e = ElementAtPoint(ScreenToWindow(lp));
  if (!e) return Own(WM_NCLBUTTONUP, wp, lp);
  if (e == Hot()) {
    e->MouseUp();
    for (const auto& b : buttons_) {
      if (b.get() != e) continue;
      caption_.RunButtonAction(b->Data().Action,
                      {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
      break;  // the action may have rebuilt the buttons
    }
  }
  return 0;
}

LRESULT TWinSkinForm::OnNcLButtonDblClk(WPARAM, LPARAM lp) {
  // A double-click on a button is its second click, not a click on the title.
  if (TNCObject* e = ElementAtPoint(ScreenToWindow(lp))) {
    e->MouseDown();
    return 0;
  }
  const WindowCommand c = TitleDoubleClick(window_state_, (border_icons_ & kBiMaximize) != 0);
  if (c.command) caption_.SendWindowCommand(c);
  return 0;
}

LRESULT TWinSkinForm::OnNcRButtonDown(WPARAM wp, LPARAM lp) {
  if (wp == HTCAPTION && !mdi_.Child()) {
    caption_.OpenSystemMenu({static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
    return 0;
  }
  return Own(WM_NCRBUTTONDOWN, wp, lp);
}

void TWinSkinForm::OnHoverTimer() {
  if (!active_ || (menu_bar_ && menu_bar_->Tracking())) return;
  if (controls_) controls_->HoverTick();
  POINT pt;
  GetCursorPos(&pt);
  RECT wr;
  GetWindowRect(window_, &wr);
  TNCObject* hot = Hot();
  if (HoverShouldLeave(hot, {pt.x - wr.left, pt.y - wr.top})) hot->MouseLeave();
}

void TWinSkinForm::StopHover() {
  if (hover_) hover_->Stop();
}

// --- Caption -------------------------------------------------------------------

// --- State and style -------------------------------------------------------------

void TWinSkinForm::ReadWindowState() {
  WINDOWPLACEMENT wp = {};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(window_, &wp)) return;
  window_state_ = wp.showCmd == SW_SHOWMAXIMIZED ? kStateMaximised
                  : wp.showCmd == SW_SHOWMINIMIZED ? kStateMinimised
                                                   : kStateNormal;
  if (IsIconic(window_)) window_state_ = kStateMinimised;
  else if (IsZoomed(window_)) window_state_ = kStateMaximised;
}

void TWinSkinForm::SetStyle(LONG_PTR s) {
  if (s == GetWindowLongPtrA(window_, GWL_STYLE)) return;
  SetWindowLongPtrA(window_, GWL_STYLE, s);
  style_ = s;
}

void TWinSkinForm::MdiMaximisedChanged(bool on) {
  if (!attached_ || !mdi_.Child() || !IsWindow(window_)) return;
  // The window grew or shrank inside its old shape: all of it is drawn anew.
  const UINT redraw = RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN;
  if (on) {
    shape_.Clear(false);
    shape_width_ = shape_height_ = -1;
    RestoreCaptionButtons();
  } else if (window_state_ == kStateMinimised) {
    RestoreCaptionButtons();
  } else {
    window_state_ = kStateNormal;
    RemoveCaptionButtons();
    BuildShape(true);
    if (!shape_.Shaped())
      SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  RedrawWindow(window_, nullptr, nullptr, redraw);
}

void TWinSkinForm::RemoveCaptionButtons() {
  if (mdi_.Child() && mdi_.MaximisedNow()) return;
  SetStyle(static_cast<LONG_PTR>(
      WithoutCaptionButtons(static_cast<std::uint32_t>(GetWindowLongPtrA(window_, GWL_STYLE)))));
}

void TWinSkinForm::RestoreCaptionButtons() {
  SetStyle(static_cast<LONG_PTR>(
      WithCaptionButtons(static_cast<std::uint32_t>(GetWindowLongPtrA(window_, GWL_STYLE)),
                         static_cast<std::uint32_t>(style_at_attach_))));
}

// --- Sizes and shape -------------------------------------------------------------

void TWinSkinForm::ResizeToSkinMetrics() {
  if (window_state_ == kStateMaximised) {
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return;
  }
  RECT cr, wr;
  GetClientRect(window_, &cr);
  GetWindowRect(window_, &wr);
  const Size s = WindowSizeForClient({cr.right, cr.bottom}, metrics_);
  if (skin_state_ == kSkinFirstSizing && !(style_ & WS_CHILD)) {
    // The window was placed with the system's frame: growing or shrinking it
    // about its centre keeps a centred window centred.
    const int x = wr.left - (s.width - (wr.right - wr.left)) / 2;
    const int y = wr.top - (s.height - (wr.bottom - wr.top)) / 2;
    SetWindowPos(window_, nullptr, x, y, s.width, s.height,
                 SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  SetWindowPos(window_, nullptr, 0, 0, s.width, s.height,
               SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void TWinSkinForm::BuildShape(bool force) {
  RECT wr;
  GetWindowRect(window_, &wr);
  ShapeRebuildFacts f;
  f.width = wr.right - wr.left;
  f.height = wr.bottom - wr.top;
  f.built_width = shape_width_;
  f.built_height = shape_height_;
  f.mdi_child = mdi_.Child();
  f.normal = window_state_ == kStateNormal;
  f.skin_state = force ? kSkinRefreshing : skin_state_;
  if (!ShapeNeedsRebuild(f) || frame_kind_ == kFrameBare) return;
  ShapeInput in;
  in.width = f.width;
  in.height = f.height;
  in.frame = metrics_;
  in.frame_kind = frame_kind_;
  in.active = active_;
  if (title_bar_.Width() == f.width && title_bar_.Height() == metrics_.top) in.title_bar = &title_bar_;
  // Before the region goes in: the WM_SIZE it causes finds the shape built.
  shape_width_ = f.width;
  shape_height_ = f.height;
  shape_.Set(window_, ShapeRegion(skin_.Model(), in), true);
}

// --- Painting ------------------------------------------------------------------

ButtonWindowFacts TWinSkinForm::ButtonFacts() const {
  ButtonWindowFacts w;
  w.frame_kind = frame_kind_;
  w.border_icons = border_icons_;
  w.maximised = window_state_ == kStateMaximised;
  w.active = active_;
  w.menu_bar_height = metrics_.menu_bar;
  w.mdi_child_maximised = mdi_.ActiveChildMaximised();
  return w;
}

void TWinSkinForm::LayOutButtons(int width) {
  std::vector<TDataSkinSysButton> data;
  for (const auto& b : buttons_) data.push_back(b->Data());
  ButtonLayoutInput in;
  in.window_width = width;
  in.frame = metrics_;
  in.text_box = text_box_;
  in.right_to_left = right_to_left_;
  in.menu_bar_left_width = skin_.Model().MenuBar ? skin_.Model().MenuBar->LeftWidth : 0;
  const std::vector<ButtonPlace> places = LayoutButtons(data, ButtonFacts(), in, &right_buttons_left_);
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    buttons_[i]->visible = places[i].visible && !places[i].rect.Empty();
    buttons_[i]->rect = places[i].rect;
  }
}

void TWinSkinForm::ComposeTitleBar(HDC reference, int width, const Bitmap32& left, const Bitmap32& right) {
  const SkinModel& m = skin_.Model();
  const int top = metrics_.top;
  // Title text: measured with three trailing blanks, drawn after two.
  char text_buf[1001] = {};
  GetWindowTextA(window_, text_buf, sizeof text_buf);
  TitleKey key;
  key.width = width;
  key.active = active_;
  key.window_state = window_state_;
  key.mdi_child_maximised = mdi_.ActiveChildMaximised();
  key.right_buttons_left = right_buttons_left_;
  key.text = text_buf;
  if (key == title_key_ && title_bar_.Width() == width && title_bar_.Height() == top) {
    for (const auto& b : buttons_) b->state = kNcNormal;
    return;
  }
  title_key_ = {};  // until it is composed
  Bitmap32 title(width, top);
  // The corners are the top rows of the side pieces as painted at the
  // window's full height; the title bar lies between them.
  Blit(title, 0, 0, left, false);
  Blit(title, width - metrics_.right, 0, right, false);
  Blit(title, metrics_.left, 0, RenderFramePiece(m, kFrameTop, width, top, metrics_, active_), false);

  const std::string& text = key.text;
  DibSurface* kept = title_surface_.For(reference, width, top);
  if (!kept) {
    title_bar_ = title_clean_ = std::move(title);
    return;
  }
  DibSurface& surface = *kept;
  HDC dc = surface.Dc();
  ui::win32::Selection font(dc, caption_font_.get());
  const std::string measured = text + "   ";
  RECT calc = {metrics_.left, 0, width - metrics_.right, top};
  DrawTextA(dc, measured.c_str(), -1, &calc, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
  TitleTextInput in;
  in.window_width = width;
  in.frame = metrics_;
  in.text_width = calc.right - calc.left;
  in.text_height = calc.bottom - calc.top;
  in.popup = (style_ & WS_POPUP) != 0;
  in.right_to_left = right_to_left_;
  in.right_buttons_left = right_buttons_left_;
  const TitleTextLayout layout = LayoutTitleText(m.Title, in);
  text_box_ = layout.box;
  if (!m.Title.Image.Empty())
    DrawThreePartStrip(title, {layout.box.left, layout.title.top, layout.box.right, layout.title.bottom},
                       m.Title.Image, active_ ? 1 : 2, m.Title.TXTBackleft, m.Title.TXTBackRight);
  surface.Load(title);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ResolveColour(active_ ? m.Colours.TitleTextActive : m.Colours.TitleTextNoActive));
  RECT tr = {layout.text.left, layout.text.top, layout.text.right, layout.text.bottom};
  const std::string shown = "  " + text;
  DrawTextA(dc, shown.c_str(), -1, &tr,
            DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | (right_to_left_ ? DT_RIGHT : 0));
  surface.Store(title);
  title_clean_ = title;

  LayOutButtons(width);
  for (const auto& b : buttons_) {
    const TDataSkinSysButton& d = b->Data();
    b->state = kNcNormal;
    if (!b->visible || d.Visibility == 100) continue;
    DrawStateImage(title, b->rect, d.Image, d.FrameCount, PaintStateImage(d, active_), true);
  }
  title_bar_ = std::move(title);
  // The layout may have moved the right-aligned buttons the text keeps to.
  key.right_buttons_left = right_buttons_left_;
  title_key_ = std::move(key);
}

const TWinSkinForm::FramePieces& TWinSkinForm::Pieces(int w, int h) {
  FramePieces& p = pieces_;
  if (p.width == w && p.height == h && p.active == active_) return p;
  const SkinModel& m = skin_.Model();
  p.left = RenderFramePiece(m, kFrameLeft, w, h, metrics_, active_);
  p.right = RenderFramePiece(m, kFrameRight, w, h, metrics_, active_);
  p.bottom = RenderFramePiece(m, kFrameBottom, w, h, metrics_, active_);
  p.width = w;
  p.height = h;
  p.active = active_;
  return p;
}

bool TWinSkinForm::ClipToUpdate(HDC dc, HRGN update, const RECT& wr) {
  if (reinterpret_cast<ULONG_PTR>(update) <= 1) return true;  // the whole frame
  // The system's region stays the system's: a copy of ours, made once, is
  // what the DC keeps to.
  if (!clip_) clip_ = Adopt(CreateRectRgn(0, 0, 0, 0));
  if (!clip_ || CombineRgn(clip_.get(), update, nullptr, RGN_COPY) == ERROR) return true;
  OffsetRgn(clip_.get(), -wr.left, -wr.top);
  return SelectClipRgn(dc, clip_.get()) != NULLREGION;  // a fresh window DC: nothing to keep
}

void TWinSkinForm::PaintFrame(HRGN update) {
  if (!skin_.PaintFrames || frame_kind_ == kFrameBare || !attached_) return;
  if (skin_state_ != kSkinRunning && skin_state_ != kSkinRefreshing) return;
  if (MdiChildNotNormal()) return;
  RECT wr;
  GetWindowRect(window_, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (w <= 0 || h <= 0) return;
  ++frame_paints_;
  GuardedPaint([&] {
    const WindowDc window_dc = WindowDc::Whole(window_);
    if (!window_dc) return;
    HDC dc = window_dc.get();
    const SavedDc saved(dc);
    if (!ClipToUpdate(dc, update, wr)) return;
    const FramePieces& p = Pieces(w, h);
    BlitToDc(dc, 0, 0, p.left);
    BlitToDc(dc, w - metrics_.right, 0, p.right);
    BlitToDc(dc, metrics_.left, h - metrics_.bottom, p.bottom);
    detail::PaintCheckpoint(detail::kPaintFrame);
    if (metrics_.top > 0) {
      ComposeTitleBar(dc, w, p.left, p.right);
      BlitToDc(dc, 0, 0, title_bar_);
    }
    if (menu_bar_) {
      // A maximised MDI child's buttons (Visibility 100) stand on the bar.
      menu_bar_->Paint(dc, {metrics_.left, metrics_.top, w - metrics_.right, metrics_.top + metrics_.menu_bar},
                       active_, [&](Bitmap32& canvas, const Rect& bar) {
                         for (const auto& b : buttons_) {
                           const TDataSkinSysButton& d = b->Data();
                           if (!b->visible || d.Visibility != 100) continue;
                           DrawStateImage(canvas, b->rect.Offset(-bar.left, -bar.top), d.Image,
                                          d.FrameCount, 1, true);
                         }
                       });
    }
  });
  // Painted or not, the hot element ends with a frame paint.
  SetHot(nullptr);
  mdi_.NoteMaximisedChild();
}

void TWinSkinForm::PaintSysButton(const TWinSysButton& button, int image) {
  const TDataSkinSysButton& d = button.Data();
  // An MDI child's button stands on the menu bar, the others on the title.
  const bool on_bar = d.Visibility == 100 && menu_bar_;
  const Rect r = on_bar ? button.rect
                        : button.rect.Intersect({0, 0, title_clean_.Width(), title_clean_.Height()});
  if (r.Empty() || !button.visible || skin_state_ != kSkinRunning) return;
  const bool painted = GuardedPaint([&] {
    Bitmap32 piece = on_bar ? menu_bar_->BackgroundUnder(r) : Crop(title_clean_, r);
    if (piece.Empty()) return;
    DrawStateImage(piece, {button.rect.left - r.left, button.rect.top - r.top,
                           button.rect.right - r.left, button.rect.bottom - r.top},
                   d.Image, d.FrameCount, image, true);
    const WindowDc dc = WindowDc::Whole(window_);
    detail::PaintCheckpoint(detail::kPaintTitleButton);
    if (dc) BlitToDc(dc.get(), r.left, r.top, piece);
  });
  if (!painted) SetHot(nullptr);
}

Bitmap32 TWinSkinForm::SmallIconBitmap() {
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  auto icon = reinterpret_cast<HICON>(SendMessageA(window_, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(window_, WM_GETICON, ICON_BIG, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window_, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window_, GCLP_HICON));
  if (!icon) {
    if (!skin_.AppIcon.Empty()) return skin_.AppIcon;
    if (manager_) return manager_->MainAppIcon();
    return {};
  }
  // Drawn once on black and once on white: where the two differ the icon
  // is (partly) transparent. Half-transparent edges become the key, so no
  // pink fringe is blended in.
  Bitmap32 on_black(cx, cy, 0xFF000000u), on_white(cx, cy, 0xFFFFFFFFu);
  {
    const WindowDc screen = WindowDc::Client(nullptr);
    DibSurface surface(screen.get(), cx, cy);
    if (surface.Valid()) {
      for (Bitmap32* b : {&on_black, &on_white}) {
        surface.Load(*b);
        DrawIconEx(surface.Dc(), 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
        surface.Store(*b);
      }
    }
  }
  Bitmap32 out(cx, cy, 0xFF000000u | kMagentaRgb);
  for (int y = 0; y < cy; ++y) {
    for (int x = 0; x < cx; ++x) {
      const std::uint32_t k = on_black.At(x, y), w = on_white.At(x, y);
      const int see_through = static_cast<int>((w >> 8) & 0xFF) - static_cast<int>((k >> 8) & 0xFF);
      if (see_through < 128) out.Set(x, y, 0xFF000000u | (k & 0xFFFFFFu));
    }
  }
  return out;
}

}  // namespace corvane::skin::win32
