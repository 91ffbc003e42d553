// Scroll bars drawn by the skin: a control's non-client bars, the
// stand-alone scroll-bar control, and a list view with its header.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "skin/win32/skin_control_walk.h"
#include "skin/win32/skin_scroll.h"
#include "skin/win32/skin_form.h"
#include "ui/win32/gdi.h"

namespace corvane::skin::win32 {

namespace {

constexpr int kDrawnThickness = 16;
constexpr int kLongestBar = 10000;

bool SameInfo(const SCROLLINFO& a, const SCROLLINFO& b) {
  return a.nMin == b.nMin && a.nMax == b.nMax && a.nPage == b.nPage && a.nPos == b.nPos;
}

SCROLLINFO ReadInfo(HWND window, int bar) {
  SCROLLINFO si = {};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  if (!GetScrollInfo(window, bar, &si)) si.nMin = si.nMax = 0;
  return si;
}

ScrollRange RangeOf(const SCROLLINFO& si) {
  return {si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos};
}

}  // namespace

// --- TSkinScrollBar ------------------------------------------------------------------

ThumbMetrics TSkinScrollBar::MetricsFor(bool vertical) const {
  ThumbMetrics m;
  m.arrow = GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
  m.system_thumb = GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
  m.win95 = (GetVersion() & 0x80000000u) != 0;
  return m;
}

void TSkinScrollBar::Layout() {
  RECT wr, cr;
  if (!GetWindowRect(window_, &wr) || !GetClientRect(window_, &cr)) return;
  POINT origin = {0, 0};
  ClientToScreen(window_, &origin);
  const Rect client = Rect::FromBounds(origin.x - wr.left, origin.y - wr.top, cr.right, cr.bottom);
  const LONG_PTR style = Style();
  const bool left = (GetWindowLongPtrA(window_, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  const ScrollBarRects b = PlaceScrollBars(client, (style & WS_HSCROLL) != 0,
                                           (style & WS_VSCROLL) != 0, left,
                                           GetSystemMetrics(SM_CXVSCROLL),
                                           GetSystemMetrics(SM_CYHSCROLL));
  bars_[0].rect = b.horz;
  bars_[0].present = (style & WS_HSCROLL) != 0;
  bars_[1].rect = b.vert;
  bars_[1].present = (style & WS_VSCROLL) != 0;
  corner_ = b.corner;
  for (int i = 0; i < 2; ++i) {
    Bar& bar = bars_[i];
    if (!bar.present || i == drag_bar_) continue;
    bar.seen = ReadInfo(window_, ScrollBarId(i));
    const bool vertical = Vertical(i);
    ComputeThumb(vertical ? bar.rect.Height() : bar.rect.Width(), RangeOf(bar.seen),
                 MetricsFor(vertical), &bar.thumb);
  }
}

bool TSkinScrollBar::ScrollInfoChanged() {
  const LONG_PTR style = Style();
  const bool present[2] = {(style & WS_HSCROLL) != 0, (style & WS_VSCROLL) != 0};
  for (int i = 0; i < 2; ++i) {
    if (present[i] != bars_[i].present) return true;
    if (present[i] && !SameInfo(ReadInfo(window_, ScrollBarId(i)), bars_[i].seen)) return true;
  }
  return false;
}

int TSkinScrollBar::BarIndexAt(POINT screen) const {
  RECT wr;
  GetWindowRect(window_, &wr);
  const Point p{screen.x - wr.left, screen.y - wr.top};
  for (int i = 0; i < 2; ++i)
    if (bars_[i].present && bars_[i].rect.Contains(p)) return i;
  return -1;
}

bool TSkinScrollBar::Filter(ui::Message& m) {
  switch (m.msg) {
    case WM_NCCALCSIZE:
      CallOwn(m);
      return false;
    case WM_NCMOUSEMOVE:
      if (m.wparam == HTHSCROLL || m.wparam == HTVSCROLL) {
        m.result = 0;
        return false;
      }
      return true;
    case WM_NCLBUTTONDOWN: {
      if (m.wparam != HTHSCROLL && m.wparam != HTVSCROLL) return true;
      Layout();
      const POINT screen = {GET_X_LPARAM(m.lparam), GET_Y_LPARAM(m.lparam)};
      const int index = m.wparam == HTVSCROLL ? 1 : 0;
      if (!bars_[index].present) return true;
      RECT wr;
      GetWindowRect(window_, &wr);
      const Rect& r = bars_[index].rect;
      const int along = index == 1 ? screen.y - wr.top - r.top : screen.x - wr.left - r.left;
      const ScrollPart part = HitTestBar(along, bars_[index].thumb);
      if (part == ScrollPart::kThumb) {
        TrackThumb(index, screen);
        m.result = 0;
        return false;
      }
      if (part == ScrollPart::kFirstArrow || part == ScrollPart::kSecondArrow) {
        pressed_part_ = index * 2 + (part == ScrollPart::kFirstArrow ? 1 : 2);
        PaintNow();
      }
      return true;  // arrows and pages: the control's own tracking
    }
    default: return true;
  }
}

void TSkinScrollBar::After(ui::Message& m) {
  switch (m.msg) {
    case WM_NCPAINT:
    case WM_PRINTCLIENT:
    case WM_HSCROLL:
    case WM_VSCROLL:
    // The system redraws its own bar when its hot tracking ends.
    case WM_NCMOUSELEAVE:
    case WM_CAPTURECHANGED:
    case WM_NCLBUTTONUP:
      PaintNow();
      return;
    case WM_NCLBUTTONDOWN:
      pressed_part_ = 0;
      PaintNow();
      return;
    case WM_NCDESTROY: TSkinControl::After(m); return;
    default: break;
  }
  TSkinControl::After(m);
  // The system draws its own bar when the control changes its scroll
  // information; ours goes back on top.
  if (attached_ && !Dragging() && m.msg != WM_PAINT && ScrollInfoChanged()) PaintNow();
}

void TSkinScrollBar::Paint(HDC) {
  if (!attached_ || !window_) return;
  GuardedPaint([&] {
    if (!Dragging()) Layout();
    const WindowDc dc = WindowDc::Whole(window_);
    detail::PaintCheckpoint(detail::kPaintControl);
    if (dc) Draw(dc.get(), {});
  });
}

void TSkinScrollBar::Draw(HDC dc, const Rect&) {
  for (int i = 0; i < 2; ++i)
    if (bars_[i].present) PaintBar(dc, i);
  if (!corner_.Empty()) FillFace(dc, corner_);
  ++paints_;
}

void TSkinScrollBar::PaintBar(HDC dc, int index) {
  const SkinModel& model = Model();
  const Bar& bar = bars_[index];
  const bool vertical = Vertical(index);
  const int length = vertical ? bar.rect.Height() : bar.rect.Width();
  const int thickness = vertical ? bar.rect.Width() : bar.rect.Height();
  if (length <= 0 || thickness <= 0 || length > kLongestBar) return;
  const bool enabled = (Style() & WS_DISABLED) == 0;
  constexpr int T = kDrawnThickness;
  auto along = [&](int from, int to) {
    return vertical ? Rect{0, from, T, to} : Rect{from, 0, to, T};
  };
  Bitmap32 pixels(vertical ? T : length, vertical ? length : T, SkinPixel(model.Colours.Scrollbar));
  const int a = ArrowLength(length, MetricsFor(vertical).arrow);
  // The track between the arrows.
  const std::optional<TDataSkinObject>& track = vertical ? model.VertScroll : model.HorzScroll;
  if (track && !track->Image.Empty()) {
    NinePart p = PieceParts(*track, 4, enabled ? 1 : 3);
    p.tile = model.HorzScroll && model.HorzScroll->Tile == 1;
    DrawNinePart(pixels, along(a, length - a), track->Image, p, track->Trans != 0);
  }
  // The arrows: left 1, right 5, up 9, down 13; the next image pressed, two
  // on disabled.
  if (model.Scrollbar && !model.Scrollbar->Image.Empty()) {
    const TDataSkinObject& sb = *model.Scrollbar;
    for (int k = 0; k < 2; ++k) {
      int image = (vertical ? 9 : 1) + 4 * k;
      if (!enabled)
        image += 2;
      else if (pressed_part_ == index * 2 + 1 + k)
        image += 1;
      DrawStateImage(pixels, k == 0 ? along(0, a) : along(length - a, length), sb.Image, 23, image,
                     sb.Trans != 0);
    }
  }
  // The thumb.
  const std::optional<TDataSkinObject>& thumb = vertical ? model.VertScrollThumb : model.HorzScrollThumb;
  if (enabled && bar.thumb.drawn && thumb && !thumb->Image.Empty()) {
    const int o = index == drag_bar_ ? drag_offset_ : bar.thumb.offset;
    const NinePart p = PieceParts(*thumb, std::max(thumb->FrameCount, 1), index == drag_bar_ ? 2 : 1);
    const bool trans = model.HorzScrollThumb && model.HorzScrollThumb->Trans != 0;
    const Rect at = along(a + o, a + o + bar.thumb.length);
    Blit(pixels, at.left, at.top, RenderThumb(at.Width(), at.Height(), thumb->Image, p, vertical), trans);
  }
  if (thickness == T) {
    BlitToDc(dc, bar.rect.left, bar.rect.top, pixels);
    return;
  }
  Bitmap32 sized(bar.rect.Width(), bar.rect.Height());
  StretchCopy(sized, {0, 0, sized.Width(), sized.Height()}, pixels,
              {0, 0, pixels.Width(), pixels.Height()});
  BlitToDc(dc, bar.rect.left, bar.rect.top, sized);
}

bool TSkinScrollBar::TrackThumb(int index, POINT press) {
  Bar& bar = bars_[index];
  const bool vertical = Vertical(index);
  const ScrollRange range = RangeOf(ReadInfo(window_, ScrollBarId(index)));
  const ThumbGeometry thumb = bar.thumb;
  const UINT scroll = vertical ? WM_VSCROLL : WM_HSCROLL;
  const HWND window = window_;
  int last = range.pos;
  drag_bar_ = index;
  drag_offset_ = thumb.offset;
  SetCapture(window);
  PaintNow();
  MSG msg;
  for (;;) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    if (!attached_ || !IsWindow(window) || GetCapture() != window) break;
    if (msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE) continue;
    POINT p = {GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    if (msg.message == WM_MOUSEMOVE) ClientToScreen(msg.hwnd, &p);
    const int travel = vertical ? p.y - press.y : p.x - press.x;
    int offset = 0;
    const int pos = DragPosition(thumb.offset, travel, thumb, range, &offset);
    if (pos == last) continue;
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_POS;
    si.nPos = pos;
    SetScrollInfo(window, ScrollBarId(index), &si, FALSE);
    drag_offset_ = offset;
    last = pos;
    SendMessageA(Notified(), scroll, MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(pos & 0xFFFF)),
                 NotifyParam());
    if (!attached_) break;
    PaintNow();
  }
  if (GetCapture() == window) ReleaseCapture();
  drag_bar_ = -1;
  if (!IsWindow(window)) return true;
  SendMessageA(Notified(), scroll, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(last & 0xFFFF)),
               NotifyParam());
  PostMessageA(Notified(), scroll, MAKEWPARAM(SB_ENDSCROLL, 0), NotifyParam());
  if (attached_) PaintNow();
  return true;
}

// --- TSkinScControl -------------------------------------------------------------------

bool TSkinScControl::Vertical(int) const { return (Style() & SBS_VERT) != 0; }

void TSkinScControl::Layout() {
  RECT cr;
  if (!GetClientRect(window_, &cr)) return;
  Bar& bar = bars_[0];
  bars_[1].present = false;
  corner_ = {};
  bar.present = (Style() & (SBS_SIZEBOX | SBS_SIZEGRIP)) == 0;
  bar.rect = {0, 0, cr.right, cr.bottom};
  if (!bar.present || drag_bar_ == 0) return;
  bar.seen = ReadInfo(window_, SB_CTL);
  const bool vertical = Vertical(0);
  ComputeThumb(vertical ? cr.bottom : cr.right, RangeOf(bar.seen), MetricsFor(vertical), &bar.thumb);
}

bool TSkinScControl::Filter(ui::Message& m) {
  switch (m.msg) {
    case WM_PAINT:
      PaintWhole(m);
      return false;
    case WM_ERASEBKGND:
      m.result = 1;
      return false;
    case WM_LBUTTONDOWN: {
      Layout();
      POINT p = {GET_X_LPARAM(m.lparam), GET_Y_LPARAM(m.lparam)};
      const ScrollPart part = HitTestBar(Vertical(0) ? p.y : p.x, bars_[0].thumb);
      if (part == ScrollPart::kThumb) {
        ClientToScreen(window_, &p);
        TrackThumb(0, p);
        m.result = 0;
        return false;
      }
      if (part == ScrollPart::kFirstArrow || part == ScrollPart::kSecondArrow) {
        pressed_part_ = part == ScrollPart::kFirstArrow ? 1 : 2;
        PaintNow();
      }
      return true;
    }
    default: return true;
  }
}

void TSkinScControl::After(ui::Message& m) {
  switch (m.msg) {
    case WM_LBUTTONDOWN:
      pressed_part_ = 0;
      PaintNow();
      return;
    case SBM_SETSCROLLINFO:
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
    case SBM_ENABLE_ARROWS:
    case WM_ENABLE:
    case WM_TIMER:
    case WM_LBUTTONUP:
      PaintNow();
      return;
    case WM_PAINT: return;
    default: TSkinControl::After(m);
  }
}

// --- TSkinHeader --------------------------------------------------------------------------

int TSkinHeader::ItemAt(LPARAM lp) const {
  HDHITTESTINFO hi = {};
  hi.pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  SendMessageA(window_, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hi));
  return (hi.flags & HHT_ONHEADER) ? hi.iItem : -1;
}

bool TSkinHeader::Filter(ui::Message& m) {
  if (!Model().Headerbar || Model().Headerbar->Image.Empty()) return true;
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

void TSkinHeader::After(ui::Message& m) {
  switch (m.msg) {
    case WM_MOUSEMOVE: {
      const int item = ItemAt(m.lparam);
      if (item != hot_item_) {
        hot_item_ = item;
        if (item >= 0) BecomeHot();
        RepaintNow();
      }
      return;
    }
    case WM_LBUTTONDOWN:
      pressed_item_ = ItemAt(m.lparam);
      RepaintNow();
      return;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (pressed_item_ >= 0) {
        pressed_item_ = -1;
        RepaintNow();
      }
      return;
    case kCmMouseLeave:
      hot_item_ = pressed_item_ = -1;
      state_ = 0;
      StopBeingHot();
      RepaintNow();
      return;
    default: TSkinControl::After(m);
  }
}

void TSkinHeader::Draw(HDC dc, const Rect& r) {
  const SkinModel& model = Model();
  if (!model.Headerbar || model.Headerbar->Image.Empty() || r.Empty()) return;
  const TDataSkinObject& piece = *model.Headerbar;
  RECT cr;
  GetClientRect(window_, &cr);
  const Rect area{0, 0, cr.right, cr.bottom};
  if (area.Empty()) return;
  const bool enabled = (Style() & WS_DISABLED) == 0;
  Bitmap32 pixels(area.Width(), area.Height(), SkinPixel(model.Colours.ButtonFace));
  const int count = static_cast<int>(SendMessageA(window_, HDM_GETITEMCOUNT, 0, 0));
  int right = 0;
  std::vector<Rect> items;
  for (int i = 0; i < count; ++i) {
    RECT ir = {};
    SendMessageA(window_, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&ir));
    const Rect item{ir.left, ir.top, ir.right, ir.bottom};
    items.push_back(item);
    right = std::max(right, item.right);
    const int image = !enabled ? 3 : i == pressed_item_ ? 2 : i == hot_item_ ? 4 : 1;
    DrawNinePart(pixels, item, piece.Image, PieceParts(piece, 5, image), piece.Trans != 0);
  }
  if (right < area.right)
    DrawNinePart(pixels, {right, 0, area.right, area.bottom}, piece.Image,
                 PieceParts(piece, 5, enabled ? 1 : 3), piece.Trans != 0);
  const COLORREF colour = enabled ? ResolveColour(model.Colours.ButtonText) : GetSysColor(COLOR_GRAYTEXT);
  BlitWithText(dc, surface_, pixels, WindowFont(window_), colour, [&](HDC text_dc) {
    for (int i = 0; i < count; ++i) {
      char text[261] = {};
      HDITEMA hd = {};
      hd.mask = HDI_TEXT | HDI_FORMAT;
      hd.pszText = text;
      hd.cchTextMax = sizeof text - 1;
      SendMessageA(window_, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&hd));
      const int shift = i == pressed_item_ ? 1 : 0;
      RECT tr = {items[static_cast<std::size_t>(i)].left + 6 + shift, shift,
                 items[static_cast<std::size_t>(i)].right - 6 + shift, area.bottom + shift};
      const UINT align = (hd.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT    ? DT_RIGHT
                         : (hd.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER
                                                                    : DT_LEFT;
      DrawTextA(text_dc, text, -1, &tr, align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    }
  });
  ++paints_;
}

// --- TSkinListView ---------------------------------------------------------------------------

void TSkinListView::AttachToControl(ui::Control& control, TSkinData& skin, bool recolour) {
  TSkinScrollBar::AttachToControl(control, skin, recolour);
  AttachHeader();
}

void TSkinListView::AttachToWindow(HWND window, TSkinData& skin) {
  TSkinScrollBar::AttachToWindow(window, skin);
  AttachHeader();
}

void TSkinListView::AttachHeader() {
  if (!attached_ || header_) return;
  auto header = reinterpret_cast<HWND>(SendMessageA(window_, LVM_GETHEADER, 0, 0));
  if (!header) return;
  header_ = std::make_unique<TSkinHeader>(list_);
  header_->AttachToWindow(header, *skin_);
}

void TSkinListView::Detach() {
  if (header_) {
    header_->Detach();
    ReleaseWhenIdle(header_);
  }
  TSkinScrollBar::Detach();
}

}  // namespace corvane::skin::win32
