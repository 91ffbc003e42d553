// The common controls drawn by the skin: tabs, track bars, up-down
// buttons, progress bars and status bars.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "skin/win32/skin_bars_tabs.h"
#include "skin/win32/skin_control_walk.h"
#include "skin/win32/skin_form.h"
#include "ui/win32/gdi.h"

namespace corvane::skin::win32 {

namespace {

Rect ClientOf(HWND window) {
  RECT cr = {};
  GetClientRect(window, &cr);
  return {0, 0, cr.right, cr.bottom};
}

Rect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

bool HasImage(const std::optional<TDataSkinBorder>& p) { return p && !p->Image.Empty(); }
bool HasImage(const std::optional<TDataSkinObject>& p) { return p && !p->Image.Empty(); }

// A message the member answers alone, when its piece exists.
bool PaintsAlone(TSkinControl&, ui::Message& m, bool piece, const std::function<void()>& paint) {
  if (!piece) return true;
  if (m.msg == WM_PAINT) {
    paint();
    return false;
  }
  if (m.msg == WM_ERASEBKGND) {
    m.result = 1;
    return false;
  }
  return true;
}

// Each row and column swapped: a horizontal chunk stood on its end.
Bitmap32 Transposed(const Bitmap32& b) {
  Bitmap32 out(b.Height(), b.Width());
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) out.Set(y, x, b.At(x, y));
  return out;
}

}  // namespace

// --- TSkinTab -----------------------------------------------------------------------

bool TSkinTab::Filter(ui::Message& m) {
  return PaintsAlone(*this, m, HasImage(Model().Tabs), [&] { PaintWhole(m); });
}

void TSkinTab::After(ui::Message& m) {
  switch (m.msg) {
    case WM_MOUSEMOVE: {
      TCHITTESTINFO hit = {};
      hit.pt = {GET_X_LPARAM(m.lparam), GET_Y_LPARAM(m.lparam)};
      const int item = static_cast<int>(SendMessageA(window_, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
      if (item != hot_item_) {
        hot_item_ = item;
        if (item >= 0) BecomeHot();
        RepaintNow();
      }
      return;
    }
    case kCmMouseLeave:
      hot_item_ = -1;
      state_ = 0;
      StopBeingHot();
      RepaintNow();
      return;
    case TCM_SETCURSEL:
    case WM_LBUTTONDOWN:
      RepaintNow();
      return;
    default: TSkinControl::After(m);
  }
}

void TSkinTab::Draw(HDC dc, const Rect&) {
  const SkinModel& model = Model();
  if (!HasImage(model.Tabs)) return;
  const TDataSkinBorder& piece = *model.Tabs;
  const Rect area = ClientOf(window_);
  if (area.Empty()) return;
  const bool enabled = (Style() & WS_DISABLED) == 0;
  const bool bottom = (Style() & TCS_BOTTOM) != 0;
  Bitmap32 pixels(area.Width(), area.Height(), SkinPixel(model.Colours.ButtonFace));
  const int count = static_cast<int>(SendMessageA(window_, TCM_GETITEMCOUNT, 0, 0));
  const int selected = static_cast<int>(SendMessageA(window_, TCM_GETCURSEL, 0, 0));
  std::vector<Rect> items;
  int row_edge = bottom ? area.bottom : 0;
  for (int i = 0; i < count; ++i) {
    RECT ir = {};
    SendMessageA(window_, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&ir));
    items.push_back(FromRect(ir));
    row_edge = bottom ? std::min(row_edge, static_cast<int>(ir.top)) : std::max(row_edge, static_cast<int>(ir.bottom));
  }
  // The page border below (or above) the row of tabs.
  if (!piece.Image2.Empty()) {
    NinePart border;
    border.left = border.top = border.right = border.bottom = 2;
    DrawNinePart(pixels, bottom ? Rect{0, 0, area.right, row_edge} : Rect{0, row_edge, area.right, area.bottom},
                 piece.Image2, border, false);
  }
  auto draw_tab = [&](int i) {
    Rect r = items[static_cast<std::size_t>(i)];
    const int image = !enabled ? 3 : i == selected ? 2 : i == hot_item_ ? 4 : 1;
    if (i == selected) r = bottom ? Rect{r.left - 2, r.top - 1, r.right + 2, r.bottom + 2}
                                  : Rect{r.left - 2, r.top - 2, r.right + 2, r.bottom + 1};
    if (bottom) {
      // Drawn upside down: the piece's top edge faces the page.
      Bitmap32 tab = RenderNinePart(r.Width(), r.Height(), piece.Image, PieceParts(piece, 5, image));
      Bitmap32 flipped(tab.Width(), tab.Height());
      for (int y = 0; y < tab.Height(); ++y)
        for (int x = 0; x < tab.Width(); ++x) flipped.Set(x, tab.Height() - 1 - y, tab.At(x, y));
      Blit(pixels, r.left, r.top, flipped, piece.Trans != 0);
    } else {
      DrawNinePart(pixels, r, piece.Image, PieceParts(piece, 5, image), piece.Trans != 0);
    }
  };
  for (int i = 0; i < count; ++i)
    if (i != selected) draw_tab(i);
  if (selected >= 0 && selected < count) draw_tab(selected);
  const COLORREF colour = enabled ? ResolveColour(model.Colours.ButtonText) : GetSysColor(COLOR_GRAYTEXT);
  BlitWithText(dc, surface_, pixels, WindowFont(window_), colour, [&](HDC text_dc) {
    for (int i = 0; i < count; ++i) {
      char text[261] = {};
      TCITEMA item = {};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = sizeof text - 1;
      SendMessageA(window_, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      const Rect& r = items[static_cast<std::size_t>(i)];
      RECT tr = {r.left, r.top + (i == selected && !bottom ? -1 : 1), r.right, r.bottom};
      DrawTextA(text_dc, text, -1, &tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
  });
  last_image_ = selected + 1;
  ++paints_;
}

// --- TSkinTrackBar ----------------------------------------------------------------------

bool TSkinTrackBar::Filter(ui::Message&) { return true; }

void TSkinTrackBar::After(ui::Message& m) {
  switch (m.msg) {
    case WM_MOUSEMOVE: {
      RECT tr = {};
      SendMessageA(window_, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&tr));
      const bool over = FromRect(tr).Contains({GET_X_LPARAM(m.lparam), GET_Y_LPARAM(m.lparam)});
      if (over != Hot()) {
        if (over) BecomeHot();
        else SetState(kBitHot, false);
        RepaintNow();
      }
      return;
    }
    case WM_LBUTTONDOWN:
      SetState(kBitPressed, GetCapture() == window_);
      RepaintNow();
      return;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (Pressed()) {
        SetState(kBitPressed, false);
        RepaintNow();
      }
      return;
    case kCmMouseLeave:
      state_ &= ~kBitHot;
      StopBeingHot();
      RepaintNow();
      return;
    default: TSkinControl::After(m);
  }
}

void TSkinTrackBar::Draw(HDC dc, const Rect&) {
  const SkinModel& model = Model();
  const LONG_PTR style = Style();
  const bool vertical = (style & TBS_VERT) != 0;
  const bool plain = (style & (TBS_BOTH | TBS_NOTICKS)) != 0;
  // Pointing at the ticks when they are on one side only.
  int which = vertical ? kThumbVert : kThumbHorz;
  if (!plain) which = vertical ? ((style & TBS_LEFT) ? kThumbLeft : kThumbRight)
                               : ((style & TBS_TOP) ? kThumbUp : kThumbDown);
  if (!HasImage(model.TrackbarThumbs[static_cast<std::size_t>(which)])) which = vertical ? kThumbVert : kThumbHorz;
  const std::optional<TDataSkinObject>& piece = model.TrackbarThumbs[static_cast<std::size_t>(which)];
  if (!HasImage(piece)) return;
  RECT tr = {}, ch = {};
  SendMessageA(window_, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&tr));
  SendMessageA(window_, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&ch));
  const Rect thumb = FromRect(tr);
  if (thumb.Empty()) return;
  ReadState();
  const int image = ButtonStateImage(Pressed(), focused_, Hot(), enabled_);
  // Under the thumb: the background and the piece of channel it covers.
  Bitmap32 pixels(thumb.Width(), thumb.Height(), SkinPixel(model.Colours.ButtonFace));
  Rect channel = FromRect(ch);
  if (vertical) channel = {channel.top, channel.left, channel.bottom, channel.right};
  const Rect under = channel.Intersect(thumb).Offset(-thumb.left, -thumb.top);
  const std::uint32_t shadow = SkinPixel(model.Colours.ButtonShadow);
  for (int y = std::max(under.top, 0); y < std::min(under.bottom, pixels.Height()); ++y)
    for (int x = std::max(under.left, 0); x < std::min(under.right, pixels.Width()); ++x) {
      const bool edge = vertical ? (x == under.left || x == under.right - 1)
                                 : (y == under.top || y == under.bottom - 1);
      pixels.Set(x, y, edge ? shadow : 0xFFFFFFFFu);
    }
  DrawStateImage(pixels, {0, 0, thumb.Width(), thumb.Height()}, piece->Image, 5, image, piece->Trans != 0);
  BlitToDc(dc, thumb.left, thumb.top, pixels);
  last_image_ = image;
  ++paints_;
}

// --- TSkinUpDown --------------------------------------------------------------------------

int TSkinUpDown::PartAt(LPARAM lp) const {
  Rect first, second;
  SplitUpDown(ClientOf(window_), (Style() & UDS_HORZ) != 0, &first, &second);
  const Point p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  return first.Contains(p) ? 1 : second.Contains(p) ? 2 : 0;
}

bool TSkinUpDown::Filter(ui::Message& m) {
  const bool horizontal = (Style() & UDS_HORZ) != 0;
  return PaintsAlone(*this, m, HasImage(horizontal ? Model().UpDownHorz : Model().UpDownVert),
                     [&] { PaintWhole(m); });
}

void TSkinUpDown::After(ui::Message& m) {
  switch (m.msg) {
    case WM_MOUSEMOVE: {
      const int part = PartAt(m.lparam);
      if (part != hot_part_) {
        hot_part_ = part;
        if (part) BecomeHot();
        RepaintNow();
      }
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      pressed_part_ = PartAt(m.lparam);
      RepaintNow();
      return;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (pressed_part_) {
        pressed_part_ = 0;
        RepaintNow();
      }
      return;
    case kCmMouseLeave:
      hot_part_ = 0;
      if (GetCapture() != window_) pressed_part_ = 0;
      state_ = 0;
      StopBeingHot();
      RepaintNow();
      return;
    default: TSkinControl::After(m);
  }
}

void TSkinUpDown::Draw(HDC dc, const Rect&) {
  const bool horizontal = (Style() & UDS_HORZ) != 0;
  const std::optional<TDataSkinBorder>& piece = horizontal ? Model().UpDownHorz : Model().UpDownVert;
  if (!HasImage(piece)) return;
  const Rect area = ClientOf(window_);
  if (area.Empty()) return;
  ReadState();
  Bitmap32 pixels(area.Width(), area.Height(), SkinPixel(Model().Colours.ButtonFace));
  Rect halves[2];
  SplitUpDown(area, horizontal, &halves[0], &halves[1]);
  for (int k = 0; k < 2; ++k) {
    const int part = k + 1;
    const int state = !enabled_ ? 3 : pressed_part_ == part ? 2 : hot_part_ == part ? 4 : 1;
    DrawNinePart(pixels, halves[k], piece->Image, PieceParts(*piece, 8, 4 * k + state), piece->Trans != 0);
    // The glyphs: first and second arrow, enabled then disabled.
    const Bitmap32& glyphs = piece->Image2;
    if (glyphs.Empty()) continue;
    const int gw = glyphs.Width() / 4, gh = glyphs.Height();
    const int shift = state == 2 ? 1 : 0;
    const Rect g = Rect::FromBounds(halves[k].left + (halves[k].Width() - gw) / 2 + shift,
                                    halves[k].top + (halves[k].Height() - gh) / 2 + shift, gw, gh);
    DrawStateImage(pixels, g, glyphs, 4, (enabled_ ? 1 : 3) + k, true);
  }
  BlitToDc(dc, 0, 0, pixels);
  last_image_ = pressed_part_ ? 2 : hot_part_ ? 4 : enabled_ ? 1 : 3;
  ++paints_;
}

// --- TSkinProgress ------------------------------------------------------------------------

bool TSkinProgress::Filter(ui::Message& m) {
  const std::optional<TDataSkinBorder>& p = Model().Progress;
  return PaintsAlone(*this, m, HasImage(p), [&] { PaintWhole(m); });
}

void TSkinProgress::Draw(HDC dc, const Rect&) {
  const TDataSkinBorder& piece = *Model().Progress;
  const Rect area = ClientOf(window_);
  if (area.Empty()) return;
  const LONG_PTR style = Style();
  const bool vertical = (style & PBS_VERTICAL) != 0;
  const bool smooth = (style & PBS_SMOOTH) != 0;
  Bitmap32 pixels(area.Width(), area.Height(), SkinPixel(Model().Colours.ButtonFace));
  DrawNinePart(pixels, area, piece.Image, PieceParts(piece, 2, vertical ? 2 : 1), piece.Trans != 0);
  const Rect inner{piece.LeftWidth, piece.TopHeight, area.right - piece.RightWidth,
                   area.bottom - piece.BottomHeight};
  PBRANGE range = {};
  SendMessageA(window_, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  const int pos = static_cast<int>(SendMessageA(window_, PBM_GETPOS, 0, 0));
  if (!piece.Image2.Empty() && !inner.Empty()) {
    const Bitmap32 chunk_source = vertical ? Transposed(piece.Image2) : piece.Image2;
    const int chunk = vertical ? chunk_source.Height() : chunk_source.Width();
    const ProgressFill fill = FillProgress(inner, range.iLow, range.iHigh, pos, vertical, smooth, chunk);
    // One chunk across the bar's thickness, cut where the fill ends.
    Bitmap32 one(vertical ? inner.Width() : chunk, vertical ? chunk : inner.Height());
    StretchCopy(one, {0, 0, one.Width(), one.Height()}, chunk_source,
                {0, 0, chunk_source.Width(), chunk_source.Height()});
    for (int i = 0; i < fill.chunks; ++i) {
      const Rect c = ProgressChunk(fill, i, vertical, smooth, chunk);
      if (smooth) {
        Bitmap32 stretched(c.Width(), c.Height());
        StretchCopy(stretched, {0, 0, c.Width(), c.Height()}, chunk_source,
                    {0, 0, chunk_source.Width(), chunk_source.Height()});
        Blit(pixels, c.left, c.top, stretched, piece.Trans != 0);
        continue;
      }
      const int ox = vertical ? c.left : c.left, oy = vertical ? c.bottom - chunk : c.top;
      for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x) {
          const std::uint32_t v = one.At(x - ox, y - oy);
          if (!(piece.Trans != 0 && IsMagenta(v))) pixels.Set(x, y, v);
        }
    }
  }
  BlitToDc(dc, 0, 0, pixels);
  ++paints_;
}

// --- TSkinStatusBar ------------------------------------------------------------------------

bool TSkinStatusBar::Filter(ui::Message& m) {
  return PaintsAlone(*this, m, HasImage(Model().StatusBarEdges), [&] { PaintWhole(m); });
}

void TSkinStatusBar::Draw(HDC dc, const Rect&) {
  const TDataSkinObject& piece = *Model().StatusBarEdges;
  const Rect area = ClientOf(window_);
  if (area.Empty()) return;
  const bool grip = (Style() & SBARS_SIZEGRIP) != 0;
  Bitmap32 pixels(area.Width(), area.Height(), SkinPixel(Model().Colours.ButtonFace));
  DrawNinePart(pixels, area, piece.Image, PieceParts(piece, 3, 1), false);
  struct Part {
    Rect rect;
    std::string text;
  };
  std::vector<Part> parts;
  auto text_of = [&](int i) {
    const LRESULT info = SendMessageA(window_, SB_GETTEXTLENGTHA, static_cast<WPARAM>(i), 0);
    if (HIWORD(info) & SBT_OWNERDRAW) return std::string();
    // The length may count characters rather than bytes: room for both.
    const int length = LOWORD(info);
    if (length > 1000) return std::string();
    std::string t(static_cast<std::size_t>(length) * 2 + 2, '\0');
    SendMessageA(window_, SB_GETTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(t.data()));
    t.resize(std::strlen(t.c_str()));
    return t;
  };
  if (SendMessageA(window_, SB_ISSIMPLE, 0, 0)) {
    parts.push_back({area, text_of(SB_SIMPLEID)});
  } else {
    const int n = static_cast<int>(SendMessageA(window_, SB_GETPARTS, 0, 0));
    for (int i = 0; i < std::min(n, 256); ++i) {
      RECT r = {};
      SendMessageA(window_, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
      parts.push_back({FromRect(r).Intersect(area), text_of(i)});
    }
  }
  for (std::size_t i = 0; i < parts.size(); ++i) {
    Rect r = parts[i].rect;
    const bool last = i + 1 == parts.size();
    if (last && grip) r.right = area.right;
    if (r.Empty()) continue;
    DrawNinePart(pixels, r, piece.Image, PieceParts(piece, 3, 2), piece.Trans != 0);
    if (last && grip) {
      // The grip keeps its size in the corner.
      const int gw = std::min(piece.Image.Width() / 3, r.Width());
      DrawStateImage(pixels, {r.right - gw, r.top, r.right, r.bottom}, piece.Image, 3, 3, piece.Trans != 0);
    }
  }
  const COLORREF colour = ResolveColour(Model().Colours.ButtonText);
  BlitWithText(dc, surface_, pixels, WindowFont(window_), colour, [&](HDC text_dc) {
    for (const Part& p : parts) {
      RECT tr = {p.rect.left + 4, p.rect.top, p.rect.right - 4, p.rect.bottom};
      DrawTextA(text_dc, p.text.c_str(), -1, &tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    }
  });
  ++paints_;
}

}  // namespace corvane::skin::win32
