#include "skin/win32/skin_control.h"

#include <algorithm>
#include <utility>

#include "skin/win32/skin_control_walk.h"
#include "skin/win32/skin_form.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/std_controls.h"
#include "ui/win32/gdi.h"
#include "ui/win32/win32_backend.h"
#include "ui/win32/win32_peer.h"

namespace corvane::skin::win32 {

// --- Drawing helpers -------------------------------------------------------------

HFONT WindowFont(HWND window) {
  auto f = window ? reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)) : nullptr;
  return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void BlitWithText(HDC dc, KeptSurface& kept, const Bitmap32& pixels, HFONT font, COLORREF colour,
                  const std::function<void(HDC)>& text) {
  DibSurface* surface = kept.For(dc, pixels.Width(), pixels.Height());
  if (!surface) return;
  surface->Load(pixels);
  {
    ui::win32::Selection selected(surface->Dc(), font);
    SetBkMode(surface->Dc(), TRANSPARENT);
    SetTextColor(surface->Dc(), colour);
    text(surface->Dc());
  }
  BitBlt(dc, 0, 0, pixels.Width(), pixels.Height(), surface->Dc(), 0, 0, SRCCOPY);
}

void PaintSolid(HDC dc, const Rect& r, COLORREF colour, bool frame_only) {
  // The DC's own brush, recoloured: no brush is made per paint.
  const COLORREF was = SetDCBrushColor(dc, colour);
  auto brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
  RECT rc = {r.left, r.top, r.right, r.bottom};
  if (frame_only)
    FrameRect(dc, &rc, brush);
  else
    FillRect(dc, &rc, brush);
  SetDCBrushColor(dc, was);
}

NinePart PieceParts(const TDataSkinObject& piece, int frames, int image) {
  NinePart p;
  p.n = frames;
  p.k = image;
  p.stacking = Stacking::kSideBySide;
  p.left = piece.LeftWidth;
  p.top = piece.TopHeight;
  p.right = piece.RightWidth;
  p.bottom = piece.BottomHeight;
  p.tile = piece.Tile == 1;
  return p;
}

// --- TSkinControl ------------------------------------------------------------------

TSkinControl::~TSkinControl() {
  // Normally detached already; the control itself is not touched here but
  // to end the watch: a freed control has told us and is no longer held.
  if (control_) control_->UnwatchFree(this);
  if (link_) link_->self = nullptr;
  Unsubclass();
  if (list_) list_->DropHot(this);
}

void TSkinControl::TakeHostControl(ui::Control& control) {
  control_ = &control;
  control.WatchFree(this, [this] {
    // Only the pointer is left: nothing of the control is given back.
    control_ = nullptr;
    window_ = nullptr;
    if (link_) link_->self = nullptr;
    if (list_) list_->Discard(this);  // may free this
  });
}

void TSkinControl::AttachToControl(ui::Control& control, TSkinData& skin, bool recolour) {
  if (attached_) return;
  skin_ = &skin;
  TakeHostControl(control);
  if (auto* w = dynamic_cast<ui::WinControl*>(&control))
    window_ = reinterpret_cast<HWND>(w->Handle());
  link_ = std::make_shared<MethodLink>();
  link_->self = this;
  link_->own = control.WindowProc();
  control.SetWindowProc([link = link_](ui::Message& m) {
    // The link, not this method, is what stays alive while the message is
    // handled: the method may be replaced meanwhile.
    const std::shared_ptr<MethodLink> l = link;
    if (TSkinControl* self = l->self)
      Enter(self, [&] { self->Dispatch(m); });
    else
      l->own(m);
  });
  ReadState();
  if (recolour) {
    recolour_ = true;
    colour_before_ = control.GetColor();
    parent_colour_before_ = control.ParentColor();
    control.SetColor(Model().Colours.ButtonFace);
  }
  attached_ = true;
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void TSkinControl::AttachToWindow(HWND window, TSkinData& skin) {
  if (attached_ || !IsWindow(window)) return;
  skin_ = &skin;
  window_ = window;
  if (!Subclass(window)) return;
  own_proc_ = OwnProc();
  ReadState();
  attached_ = true;
  InvalidateRect(window_, nullptr, TRUE);
}

bool TSkinControl::WindowAlive() const {
  if (!window_) return control_ != nullptr;
  if (!IsWindow(window_)) return false;
  if (!control_) return true;
  // A control of the library is alive while its window is still its own.
  ui::win32::Win32Peer* peer = ui::win32::Win32Peer::FromWindow(window_);
  return peer && &peer->Owner() == control_;
}

bool TSkinControl::OwnerDetaching() const {
  return list_ && list_->Form() && list_->Form()->State() == kSkinDetaching;
}

void TSkinControl::Detach() {
  if (!attached_) return;
  attached_ = false;
  StopBeingHot();
  state_ = 0;
  const bool alive = WindowAlive();
  if (link_) {
    link_->self = nullptr;
    if (alive) control_->SetWindowProc(link_->own);
  }
  if (recolour_ && control_ && alive && !OwnerDetaching()) {
    control_->SetColor(colour_before_);
    if (parent_colour_before_) control_->SetParentColor(true);
  }
  if (Subclassed()) {
    // One that subclassed after us may still be on top: at WM_NCDESTROY
    // that no longer matters.
    if (destroying_)
      DropSubclass();
    else
      Unsubclass();
    if (IsWindow(window_)) InvalidateRect(window_, nullptr, TRUE);
  }
  surface_.Release();
}

LRESULT TSkinControl::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  ui::Message m;
  m.msg = msg;
  m.wparam = wp;
  m.lparam = lp;
  m.window = reinterpret_cast<ui::WindowHandle>(window_);
  Dispatch(m);
  return m.result;
}

void TSkinControl::Dispatch(ui::Message& m) {
  handled_ = false;
  if (!Filter(m)) return;
  CallOwn(m);
  if (attached_) After(m);
}

void TSkinControl::CallOwn(ui::Message& m) {
  if (link_) {
    const std::shared_ptr<MethodLink> l = link_;
    l->own(m);
    return;
  }
  const HWND h = window_;
  m.result = own_proc_ ? CallWindowProcA(own_proc_, h, m.msg, m.wparam, m.lparam)
                       : DefWindowProcA(h, m.msg, m.wparam, m.lparam);
}

LRESULT TSkinControl::Own(UINT msg, WPARAM wp, LPARAM lp) {
  ui::Message m;
  m.msg = msg;
  m.wparam = wp;
  m.lparam = lp;
  CallOwn(m);
  return m.result;
}

bool TSkinControl::Filter(ui::Message&) { return true; }

void TSkinControl::After(ui::Message& m) {
  switch (m.msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case kCmEnabledChanged:
      ReadState();
      focused_ = m.msg == WM_SETFOCUS || (m.msg != WM_KILLFOCUS && focused_);
      RepaintNow();
      break;
    case WM_SETTEXT:
      text_ = m.lparam ? reinterpret_cast<const char*>(m.lparam) : "";
      RepaintNow();
      break;
    case WM_PAINT: Paint(reinterpret_cast<HDC>(m.wparam)); break;
    case WM_NCDESTROY:
      destroying_ = true;
      Detach();
      if (list_) list_->Discard(this);  // may free this once the handler returns
      break;
    default: break;
  }
}

void TSkinControl::Paint(HDC dc) {
  if (!attached_ || !window_) return;
  RECT wr;
  if (!GetWindowRect(window_, &wr)) return;
  last_rect_ = {wr.left, wr.top, wr.right, wr.bottom};
  const Rect whole = {0, 0, wr.right - wr.left, wr.bottom - wr.top};
  // A broken piece must not take the control's painting down with it; the
  // control is no longer hot, as the frame's parts are after such a failure.
  const bool painted = GuardedPaint([&] {
    if (dc) {
      detail::PaintCheckpoint(detail::kPaintControl);
      Draw(dc, whole);
    } else if (const WindowDc own = WindowDc::Whole(window_)) {
      detail::PaintCheckpoint(detail::kPaintControl);
      Draw(own.get(), whole);
    }
  });
  if (!painted) {
    state_ &= ~(kBitHot | kBitPressed);
    StopBeingHot();
  }
}

void TSkinControl::PaintWhole(ui::Message& m) {
  auto dc = reinterpret_cast<HDC>(m.wparam);
  if (dc) {
    Paint(dc);
  } else {
    const PaintDc painting(window_);
    if (painting.get()) Paint(painting.get());
  }
  m.result = 0;
}

void TSkinControl::Draw(HDC, const Rect&) {}

void TSkinControl::Refresh() {
  if (!attached_) return;
  if (recolour_ && control_ && WindowAlive()) control_->SetColor(Model().Colours.ButtonFace);
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void TSkinControl::RepaintNow() {
  if (!window_) return;
  InvalidateRect(window_, nullptr, FALSE);
  UpdateWindow(window_);
}

void TSkinControl::ReadState() {
  if (!window_) return;
  focused_ = GetFocus() == window_;
  enabled_ = (Style() & WS_DISABLED) == 0;
  char buf[1001] = {};
  GetWindowTextA(window_, buf, sizeof buf);
  text_ = buf;
  if (text_.empty() && control_) text_ = control_->Caption();
}

void TSkinControl::MouseLeft() {
  if (!WindowAlive()) return;
  if (control_ && link_ && link_->self == this)
    control_->Perform(kCmMouseLeave);
  else if (window_)
    SendMessageA(window_, kCmMouseLeave, 0, 0);
}

void TSkinControl::BecomeHot() {
  SetState(kBitHot, true);
  if (list_) list_->SetHot(this);
}

void TSkinControl::StopBeingHot() {
  if (list_) list_->DropHot(this);
}

void TSkinControl::FillFace(HDC dc, const Rect& r) const {
  PaintSolid(dc, r, ResolveColour(Model().Colours.ButtonFace), false);
}

// --- TSkinButton ------------------------------------------------------------------

bool TSkinButton::Filter(ui::Message& m) {
  const bool skinned = !Model().Buttons.Image.Empty();
  switch (m.msg) {
    case WM_PAINT:
      // Without the piece the button keeps its own look.
      if (!skinned) return true;
      PaintWhole(m);
      return false;
    case WM_ERASEBKGND:
      if (!skinned) return true;
      m.result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (GetFocus() != window_) SetFocus(window_);
      SetState(kBitPressed, true);
      RepaintNow();
      m.result = 0;
      return false;
    default: return true;
  }
}

void TSkinButton::After(ui::Message& m) {
  switch (m.msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (m.wparam == VK_SPACE) {
        SetState(kBitPressed, m.msg == WM_KEYDOWN);
        RepaintNow();
      }
      break;
    case WM_MOUSEMOVE:
      if (!Hot() && enabled_) {
        BecomeHot();
        RepaintNow();
      }
      break;
    case WM_LBUTTONUP:
      if (Pressed()) {
        SetState(kBitPressed, false);
        RepaintNow();
        Click();
      }
      break;
    case kCmMouseEnter:
      if (enabled_) {
        BecomeHot();
        RepaintNow();
      }
      break;
    case kCmMouseLeave:
      if (enabled_) {
        state_ &= ~(kBitHot | kBitPressed);
        RepaintNow();
        StopBeingHot();
      }
      break;
    // The system's button draws these straight away, outside WM_PAINT.
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_UPDATEUISTATE:
      RepaintNow();
      break;
    default: TSkinControl::After(m);
  }
}

void TSkinButton::Click() {
  if (control_) {
    if (WindowAlive()) control_->Click();
    return;
  }
  const auto id = static_cast<WORD>(GetDlgCtrlID(window_));
  PostMessageA(GetParent(window_), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(window_));
}

void TSkinButton::Draw(HDC dc, const Rect& r) {
  const TDataSkinButton& b = Model().Buttons;
  if (b.Image.Empty() || r.Empty()) return;
  ReadState();
  const int image = ButtonStateImage(Pressed(), focused_, Hot(), enabled_);
  Bitmap32 pixels(r.Width(), r.Height(), SkinPixel(Model().Colours.ButtonFace));
  DrawNinePart(pixels, {0, 0, r.Width(), r.Height()}, b.Image, PieceParts(b, 5, image),
               b.Trans != 0);
  COLORREF text = ResolveColour(image == kImgPressed ? b.PressedColour2
                                : image == kImgHot   ? b.MouseOverColour2
                                                     : b.NormalColour2);
  if (!enabled_) text = GetSysColor(COLOR_BTNSHADOW);
  DibSurface* surface = surface_.For(dc, r.Width(), r.Height());
  if (!surface) return;
  surface->Load(pixels);
  {
    ui::win32::Selection font(surface->Dc(), WindowFont(window_));
    DrawFace(*surface, pixels, {0, 0, r.Width(), r.Height()}, text);
  }
  BitBlt(dc, r.left, r.top, r.Width(), r.Height(), surface->Dc(), 0, 0, SRCCOPY);
  last_image_ = image;
  last_text_colour_ = text;
  ++paints_;
}

void TSkinButton::DrawFace(DibSurface& surface, Bitmap32&, const Rect& r, COLORREF text_colour) {
  HDC dc = surface.Dc();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text_colour);
  RECT tr = {r.left, r.top, r.right, r.bottom};
  DrawTextA(dc, text_.c_str(), -1, &tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// --- TSkinSpeedButton ---------------------------------------------------------------

namespace {

bool OwnsComponent(const ui::Component& root, const ui::Component* c) {
  for (const ui::Component* child : root.Components())
    if (child == c || OwnsComponent(*child, c)) return true;
  return false;
}

}  // namespace

bool TSkinSpeedButton::WindowAlive() const {
  // No window to ask: a control freed meanwhile is no longer among the
  // components of the skinned form.
  if (!control_) return false;
  ui::Control* form = list_ && list_->Form() ? list_->Form()->HostForm() : nullptr;
  return !form || OwnsComponent(*form, control_);
}

void TSkinSpeedButton::ReadState() {
  if (!control_) return;
  focused_ = false;
  enabled_ = control_->Enabled();
  text_ = control_->Caption();
}

void TSkinSpeedButton::RepaintNow() {
  auto* g = dynamic_cast<ui::GraphicControl*>(control_);
  if (!g || !WindowAlive()) return;
  g->Invalidate();
  if (ui::WinControl* parent = g->Parent(); parent && parent->HandleAllocated())
    UpdateWindow(reinterpret_cast<HWND>(parent->Handle()));
}

void TSkinSpeedButton::Refresh() {
  if (attached_) RepaintNow();
}

void TSkinSpeedButton::Paint(HDC dc) {
  if (!attached_ || !dc || !control_) return;
  GuardedPaint([&] {
    detail::PaintCheckpoint(detail::kPaintControl);
    Draw(dc, {0, 0, control_->Width(), control_->Height()});
  });
}

bool TSkinSpeedButton::Filter(ui::Message& m) {
  switch (m.msg) {
    case ui::msg::kCanvasPaint: {
      if (Model().Buttons.Image.Empty() || !m.wparam) return true;
      auto* canvas = reinterpret_cast<ui::Canvas*>(m.wparam);
      Paint(reinterpret_cast<HDC>(canvas->NativeHandle()));
      m.result = 0;
      return false;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // No focus to take: the press alone.
      SetState(kBitPressed, true);
      RepaintNow();
      m.result = 0;
      return false;
    default: return true;
  }
}

void TSkinSpeedButton::After(ui::Message& m) {
  switch (m.msg) {
    case kCmButtonPressed:
    case kCmEnabledChanged:
    case kCmTextChanged:
      ReadState();
      RepaintNow();
      return;
    case WM_NCDESTROY: Detach(); return;
    default: TSkinButton::After(m);
  }
}

// --- TSkinBitButton ---------------------------------------------------------------

namespace {

// A bitmap's pixels, through a 32-bit DIB.
Bitmap32 BitmapPixels(HDC reference, HBITMAP bitmap) {
  BITMAP bm = {};
  if (!GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0 ||
      bm.bmWidth > kMaxBitmapSide || bm.bmHeight > kMaxBitmapSide)
    return {};
  std::vector<std::uint32_t> px(static_cast<std::size_t>(bm.bmWidth) *
                                static_cast<std::size_t>(bm.bmHeight));
  BITMAPINFO bi = TopDown32(bm.bmWidth, bm.bmHeight);
  if (!GetDIBits(reference, bitmap, 0, static_cast<UINT>(bm.bmHeight), px.data(), &bi,
                 DIB_RGB_COLORS))
    return {};
  for (auto& p : px) p |= 0xFF000000u;
  return Bitmap32(bm.bmWidth, bm.bmHeight, std::move(px));
}

}  // namespace

void TSkinBitButton::DrawFace(DibSurface& surface, Bitmap32& pixels, const Rect& r,
                              COLORREF text_colour) {
  auto* button = dynamic_cast<ui::BitBtn*>(control_);
  ui::Application* app = ui::Application::Current();
  auto* backend = app ? dynamic_cast<ui::win32::Win32Backend*>(&app->GetBackend()) : nullptr;
  if (!button || !backend || !WindowAlive()) {
    TSkinButton::DrawFace(surface, pixels, r, text_colour);
    return;
  }
  HDC dc = surface.Dc();
  bool is_icon = false;
  HANDLE glyph = button->Glyph().Empty() ? nullptr : backend->PictureFor(button->Glyph(), &is_icon);
  int gw = 0, gh = 0;
  Bitmap32 glyph_pixels;
  if (glyph && is_icon) {
    gw = GetSystemMetrics(SM_CXICON);
    gh = GetSystemMetrics(SM_CYICON);
  } else if (glyph) {
    glyph_pixels = BitmapPixels(dc, static_cast<HBITMAP>(glyph));
    gw = glyph_pixels.Width() / std::max(button->NumGlyphs(), 1);
    gh = glyph_pixels.Height();
  }
  RECT calc = {0, 0, 0, 0};
  DrawTextA(dc, text_.c_str(), -1, &calc, DT_CALCRECT | DT_SINGLELINE);
  const auto layout = static_cast<GlyphLayout>(button->GetLayout());
  const BitButtonPlace place = PlaceBitButton(r, gw, gh, calc.right, calc.bottom, layout,
                                              button->Margin(), button->Spacing());
  if (glyph && is_icon) {
    DrawIconEx(dc, place.glyph.x, place.glyph.y, static_cast<HICON>(glyph), gw, gh, 0, nullptr,
               DI_NORMAL);
  } else if (!glyph_pixels.Empty()) {
    // The first glyph, its top-left colour transparent.
    surface.Store(pixels);
    const std::uint32_t key = glyph_pixels.At(0, 0);
    for (int y = 0; y < gh; ++y) {
      for (int x = 0; x < gw; ++x) {
        const int px = place.glyph.x + x, py = place.glyph.y + y;
        if (px < 0 || py < 0 || px >= pixels.Width() || py >= pixels.Height()) continue;
        const std::uint32_t v = glyph_pixels.At(x, y);
        if (v != key) pixels.Set(px, py, v);
      }
    }
    surface.Load(pixels);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text_colour);
  RECT tr = {place.text.left, place.text.top, place.text.right, place.text.bottom};
  const UINT align = layout == GlyphLayout::kLeft    ? DT_LEFT
                     : layout == GlyphLayout::kRight ? DT_RIGHT
                                                     : DT_CENTER;
  DrawTextA(dc, text_.c_str(), -1, &tr, align | DT_SINGLELINE | DT_NOCLIP);
}

// --- TSkinCheckBox, TSkinRadioButton ------------------------------------------------

void TSkinCheckBox::After(ui::Message& m) {
  switch (m.msg) {
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_UPDATEUISTATE:
    case kCmTextChanged:
    case kCmCheckChanged:
      RepaintNow();
      break;
    default: TSkinControl::After(m);
  }
}

const Bitmap32& TSkinCheckBox::BoxImage(int* frames) const {
  *frames = Model().Buttons.CheckButtonFrame;
  return Model().Buttons.CheckButton;
}

const Bitmap32& TSkinRadioButton::BoxImage(int* frames) const {
  *frames = Model().Buttons.RadioButtonFrame;
  return Model().Buttons.RadioButton;
}

CheckState TSkinCheckBox::ReadCheck() const {
  // The control's own Checked wins over what its window says.
  if (auto* b = dynamic_cast<ui::ButtonControl*>(control_); b && WindowAlive())
    return b->Checked() ? kChecked : kUnchecked;
  const LRESULT s = SendMessageA(window_, BM_GETSTATE, 0, 0) & 3;
  return s == BST_CHECKED ? kChecked : s == BST_INDETERMINATE ? kIndeterminate : kUnchecked;
}

void TSkinCheckBox::Draw(HDC dc, const Rect& r) {
  int frames = 0;
  const Bitmap32& img = BoxImage(&frames);
  if (img.Empty() || frames < 1 || img.Width() < frames) return;
  ReadState();
  const int iw = img.Width() / frames, ih = img.Height();
  const int image = CheckStateImage(ReadCheck(), enabled_);
  const CheckBoxPlace place = PlaceCheckBox(r.Width(), r.Height(), iw, ih, (Style() & BS_LEFTTEXT) != 0);
  Bitmap32 cell(place.cell.Width(), place.cell.Height(), SkinPixel(Model().Colours.ButtonFace));
  DrawStateImage(cell, place.image.Offset(-place.cell.left, -place.cell.top), img, frames, image, true);
  BlitToDc(dc, r.left + place.cell.left, r.top + place.cell.top, cell);
  last_image_ = image;
  ++paints_;
}

// --- TSkinEdit ------------------------------------------------------------------------

void TSkinEdit::After(ui::Message& m) {
  TSkinControl::After(m);
  switch (m.msg) {
    case WM_NCPAINT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SIZE:
      Paint(nullptr);
      break;
    default: break;
  }
}

void TSkinEdit::Draw(HDC dc, const Rect& r) {
  const LONG_PTR ex = GetWindowLongPtrA(window_, GWL_EXSTYLE);
  const int ring = (ex & WS_EX_CLIENTEDGE) ? 2 : (Style() & WS_BORDER) ? 1 : 0;
  if (ring == 0 || r.Width() < 2 * ring || r.Height() < 2 * ring) return;
  PaintSolid(dc, r, ResolveColour(Model().Colours.ButtonShadow), true);
  if (ring > 1) {
    RECT inner = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    FrameRect(dc, &inner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ++paints_;
}

// --- TSkinComBox ------------------------------------------------------------------------

bool TSkinComBox::Filter(ui::Message&) { return true; }

void TSkinComBox::After(ui::Message& m) {
  switch (m.msg) {
    case WM_MOUSEMOVE:
      if (!Hot()) {
        BecomeHot();
        Paint(nullptr);
      }
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetState(kBitPressed, true);
      Paint(nullptr);
      return;
    case WM_LBUTTONUP:
      SetState(kBitPressed, false);
      Paint(nullptr);
      return;
    case kCmMouseEnter:
      BecomeHot();
      Paint(nullptr);
      return;
    case kCmMouseLeave:
      state_ &= ~(kBitHot | kBitPressed);
      StopBeingHot();
      Paint(nullptr);
      return;
    case WM_PAINT:
    case WM_NCPAINT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CB_SETCURSEL:
    case CB_SHOWDROPDOWN:
    case WM_CAPTURECHANGED:
      ReadState();
      Paint(nullptr);
      return;
    default: TSkinControl::After(m);
  }
}

void TSkinComBox::Draw(HDC dc, const Rect& r) {
  const SkinModel& model = Model();
  if (r.Empty()) return;
  ReadState();
  const bool dropped = SendMessageA(window_, CB_GETDROPPEDSTATE, 0, 0) != 0;
  const int image = ButtonStateImage(Pressed() || dropped, focused_, Hot(), enabled_);
  if (model.SunkEdge && !model.SunkEdge->Image.Empty()) {
    // Only the ring: the inside is the control's own.
    const TDataSkinObject& e = *model.SunkEdge;
    Bitmap32 edge = RenderNinePart(r.Width(), r.Height(), e.Image, PieceParts(e, 4, image));
    const int t = std::max({e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight, 1});
    auto strip = [&](const Rect& s) {
      Bitmap32 part(s.Width(), s.Height());
      Blit(part, -s.left, -s.top, edge, false);
      BlitToDc(dc, r.left + s.left, r.top + s.top, part);
    };
    const int w = r.Width(), h = r.Height();
    strip({0, 0, w, std::min(t, h)});
    strip({0, std::max(h - t, 0), w, h});
    strip({0, 0, std::min(t, w), h});
    strip({std::max(w - t, 0), 0, w, h});
  }
  COMBOBOXINFO ci = {};
  ci.cbSize = sizeof ci;
  if (!model.ComboButton || model.ComboButton->Image.Empty() || !GetComboBoxInfo(window_, &ci))
    return;
  const Rect button{ci.rcButton.left, ci.rcButton.top, ci.rcButton.right, ci.rcButton.bottom};
  if (button.Empty()) return;
  const TDataSkinBorder& piece = *model.ComboButton;
  // A button on the left (a right-to-left box) uses the mirrored image.
  const bool left = button.left < r.Width() / 2;
  const Bitmap32& img = left && !piece.Image2.Empty() ? piece.Image2 : piece.Image;
  const int shown = left && !piece.Image2.Empty() ? 5 - image : image;
  Bitmap32 pixels(button.Width(), button.Height(), SkinPixel(SysColour(COLOR_WINDOW)));
  DrawNinePart(pixels, {0, 0, button.Width(), button.Height()}, img, PieceParts(piece, 4, shown),
               piece.Trans != 0);
  BlitToDc(dc, r.left + button.left, r.top + button.top, pixels);
  last_image_ = image;
  ++paints_;
}

// --- TSkinBox ---------------------------------------------------------------------------

void TSkinBox::AttachToControl(ui::Control& control, TSkinData& skin, bool recolour) {
  if (attached_) return;
  skin_ = &skin;
  TakeHostControl(control);
  if (auto* w = dynamic_cast<ui::WinControl*>(&control))
    window_ = w->HandleAllocated() ? reinterpret_cast<HWND>(w->Handle()) : nullptr;
  if (recolour) {
    recolour_ = true;
    colour_before_ = control.GetColor();
    parent_colour_before_ = control.ParentColor();
    control.SetColor(Model().Colours.ButtonFace);
  }
  attached_ = true;
}

void TSkinBox::AttachToWindow(HWND window, TSkinData& skin) {
  if (attached_) return;
  skin_ = &skin;
  window_ = window;
  attached_ = true;
}

void TSkinBox::Detach() {
  if (!attached_) return;
  attached_ = false;
  const bool alive = control_ && (window_ ? WindowAlive() : true);
  if (recolour_ && alive && !OwnerDetaching()) {
    control_->SetColor(colour_before_);
    if (parent_colour_before_) control_->SetParentColor(true);
  }
}

// --- TSkinSizer -------------------------------------------------------------------------

bool TSkinSizer::Filter(ui::Message& m) {
  if (m.msg == WM_PAINT) {
    PaintWhole(m);
    return false;
  }
  if (m.msg == WM_ERASEBKGND) {
    m.result = 1;
    return false;
  }
  return true;
}

void TSkinSizer::Draw(HDC dc, const Rect& r) {
  FillFace(dc, r);
  const COLORREF shadow = ResolveColour(Model().Colours.ButtonShadow);
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  // The DC's own pen, recoloured: no pen is made per paint.
  const ui::win32::Selection pen(dc, GetStockObject(DC_PEN));
  const COLORREF was = GetDCPenColor(dc);
  // Three pairs of diagonal strokes in the bottom-right corner.
  const int size = std::min(r.Width(), r.Height());
  for (int i = 0; i < 3; ++i) {
    const int d = 4 * i + 2;
    if (d + 2 > size) break;
    for (int k = 0; k < 2; ++k) {
      SetDCPenColor(dc, k == 0 ? light : shadow);
      MoveToEx(dc, r.right - 1, r.bottom - 1 - d - k - 1, nullptr);
      LineTo(dc, r.right - 1 - d - k - 2, r.bottom + 0);
    }
  }
  SetDCPenColor(dc, was);
  ++paints_;
}

}  // namespace corvane::skin::win32
