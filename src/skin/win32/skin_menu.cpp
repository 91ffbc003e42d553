#include "skin/win32/skin_menu.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "core/text.h"
#include "skin/skin_rules.h"
#include "skin/win32/skin_form.h"
#include "skin/win32/skin_manage.h"
#include "ui/components.h"
#include "ui/win32/win32_menu_skin.h"

namespace corvane::skin::win32 {

namespace {

constexpr UINT kMnGetHMenu = 0x01E1;
constexpr std::size_t kMaxCaption = 80;

bool Has(const TSkinData& skin, TSkinControlType t) {
  return (skin.SkinControls & SkinControlBit(t)) != 0;
}

const TDataSkinObject* Piece(const std::optional<TDataSkinObject>& p) {
  return p && !p->Image.Empty() ? &*p : nullptr;
}

FontHandle MenuFont(bool bold) {
  NONCLIENTMETRICSA ncm = {};
  ncm.cbSize = sizeof ncm;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
    return Adopt(static_cast<HFONT>(nullptr));
  if (bold) ncm.lfMenuFont.lfWeight = FW_BOLD;
  return Adopt(CreateFontIndirectA(&ncm.lfMenuFont));
}

// The engine's menu glyphs (restore, maximise, minimise, close), 16 x 16
// each, white where they are clear; empty when the program carries none.
const Bitmap32& MenuGlyphs() {
  static const Bitmap32 glyphs = [] {
    Bitmap32 out;
    auto bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), "TAMBRELMENU", IMAGE_BITMAP, 0, 0, 0));
    if (!bitmap) return out;
    BITMAP bm = {};
    GetObjectA(bitmap, sizeof bm, &bm);
    if (bm.bmWidth > 0 && bm.bmHeight > 0 && bm.bmWidth <= 1024 && bm.bmHeight <= 64) {
      BITMAPINFO bi = TopDown32(bm.bmWidth, bm.bmHeight);
      std::vector<std::uint32_t> pixels(static_cast<std::size_t>(bm.bmWidth) *
                                        static_cast<std::size_t>(bm.bmHeight));
      const WindowDc screen = WindowDc::Client(nullptr);
      if (GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(bm.bmHeight), pixels.data(), &bi,
                    DIB_RGB_COLORS) == bm.bmHeight)
        out = Bitmap32(bm.bmWidth, bm.bmHeight, std::move(pixels));
    }
    DeleteObject(bitmap);
    return out;
  }();
  return glyphs;
}

// Glyph `index` of the strip drawn in `colour` into box.
void DrawGlyph(Bitmap32& dst, const Rect& box, int index, std::uint32_t colour) {
  const Bitmap32& g = MenuGlyphs();
  if (g.Empty() || index < 0 || (index + 1) * 16 > g.Width()) return;
  for (int y = 0; y < std::min(16, g.Height()); ++y)
    for (int x = 0; x < 16; ++x) {
      const int dx = box.left + (box.Width() - 16) / 2 + x, dy = box.top + (box.Height() - 16) / 2 + y;
      if (dx < 0 || dy < 0 || dx >= dst.Width() || dy >= dst.Height()) continue;
      if ((g.At(index * 16 + x, y) & 0xFFFFFFu) != 0xFFFFFFu) dst.Set(dx, dy, colour);
    }
}

// The check mark, 7 x 7, centred in box (+1, +1).
void DrawCheck(Bitmap32& dst, const Rect& box, std::uint32_t colour) {
  const int x0 = box.left + (box.Width() - 7) / 2 + 1, y0 = box.top + (box.Height() - 7) / 2 + 1;
  const int ys[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int x = 0; x < 7; ++x)
    for (int t = 0; t < 3; ++t) {
      const int px = x0 + x, py = y0 + ys[x] + t;
      if (px >= 0 && py >= 0 && px < dst.Width() && py < dst.Height()) dst.Set(px, py, colour);
    }
}

// A checked item with an image: the box dithered and sunk.
void DrawCheckedBox(Bitmap32& dst, const Rect& box) {
  const std::uint32_t face = PixelOf(GetSysColor(COLOR_BTNFACE));
  const std::uint32_t light = PixelOf(GetSysColor(COLOR_BTNHIGHLIGHT));
  const std::uint32_t shadow = PixelOf(GetSysColor(COLOR_BTNSHADOW));
  const Rect r = box.Intersect({0, 0, dst.Width(), dst.Height()});
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      std::uint32_t c = ((x + y) & 1) ? face : light;
      if (y == box.top || x == box.left) c = shadow;
      if (y == box.bottom - 1 || x == box.right - 1) c = light;
      dst.Set(x, y, c);
    }
}

struct ItemFacts {
  std::string caption;
  UINT type = 0;
  UINT state = 0;
  UINT id = 0;
  HMENU sub = nullptr;
  bool separator = false;
};

ItemFacts ReadItem(HMENU menu, UINT position) {
  ItemFacts f;
  char buf[256] = {};
  MENUITEMINFOA mii = {};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_STRING | MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
  mii.dwTypeData = buf;
  mii.cch = sizeof buf - 1;
  if (!GetMenuItemInfoA(menu, position, TRUE, &mii)) return f;
  f.caption = text::TruncateChars(buf, kMaxCaption);
  f.type = mii.fType;
  f.state = mii.fState;
  f.id = mii.wID;
  f.sub = mii.hSubMenu;
  f.separator = (mii.fType & MFT_SEPARATOR) != 0 || f.caption == "-";
  if (f.separator) f.caption = "-";
  return f;
}

// The caption as DrawText measures it; an empty caption or "&" alone gets
// a blank so it has a height.
SIZE MeasureCaption(HDC dc, std::string caption) {
  if (caption.empty() || caption == "&") caption += " ";
  RECT r = {0, 0, 0, 0};
  DrawTextA(dc, caption.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  return {r.right - r.left, r.bottom - r.top};
}

// --- Owner-drawn items ---------------------------------------------------------------

// The records of every owner-drawn menu by address: an item's data is
// looked up, never followed, until it is found here.
std::unordered_set<ULONG_PTR>& LiveRecords() {
  static std::unordered_set<ULONG_PTR> live;
  return live;
}

OwnerDrawnMenu::Record* LiveRecord(ULONG_PTR data) {
  return LiveRecords().count(data) ? reinterpret_cast<OwnerDrawnMenu::Record*>(data) : nullptr;
}

// Where a record's item stands now: the owner may have inserted or
// removed items while the menu was open.
UINT PositionOf(const OwnerDrawnMenu::Record& r) {
  const int n = GetMenuItemCount(r.menu);
  for (int k = 0; k < n; ++k) {
    const UINT at = (r.position + static_cast<UINT>(k)) % static_cast<UINT>(n);
    MENUITEMINFOA now = {};
    now.cbSize = sizeof now;
    now.fMask = MIIM_DATA;
    if (GetMenuItemInfoA(r.menu, at, TRUE, &now) &&
        now.dwItemData == reinterpret_cast<ULONG_PTR>(&r))
      return at;
  }
  return r.position;
}

bool Win95Family() {
  OSVERSIONINFOA v = {};
  v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  return GetVersionExA(&v) && v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
#pragma GCC diagnostic pop
}

bool MeasureItem(MEASUREITEMSTRUCT& mi) {
  OwnerDrawnMenu::Record* rec = LiveRecord(mi.itemData);
  if (!rec) return false;
  const ItemFacts item = ReadItem(rec->menu, PositionOf(*rec));
  const TDataSkinObject* piece = Piece(rec->skin->Model().MenuItem);
  SIZE text = {0, 0};
  if (HDC dc = rec->owner->MeasureDc()) {
    ui::win32::Selection sel(dc, rec->owner->Font((item.state & MFS_DEFAULT) != 0));
    text = MeasureCaption(dc, item.caption);
  }
  ItemSize s = MeasurePlainMenuItem(text.cx, text.cy, item.separator, piece, Win95Family());
  if (rec->kind == MenuKind::kHost) s.width = MeasureFormMenuItemWidth(text.cx, piece, false);
  // The glyph box (16 at top + 1) must fit whatever the font.
  if (!item.separator) s.height = std::max(s.height, 18);
  mi.itemWidth = static_cast<UINT>(std::max(s.width, 0));
  mi.itemHeight = static_cast<UINT>(std::max(s.height, 0));
  return true;
}

TSkinManage* Manager() { return TSkinManage::Instance(); }

bool DrawItem(const DRAWITEMSTRUCT& d) {
  OwnerDrawnMenu::Record* rec = LiveRecord(d.itemData);
  if (!rec || d.CtlType != ODT_MENU) return false;
  const SkinModel& m = rec->skin->Model();
  const ItemFacts item = ReadItem(rec->menu, PositionOf(*rec));
  const Rect r{d.rcItem.left, d.rcItem.top, d.rcItem.right, d.rcItem.bottom};
  const int w = r.Width(), h = r.Height();
  if (w <= 0 || h <= 0) return true;
  const bool selected = (d.itemState & ODS_SELECTED) != 0 && !item.separator;
  const bool disabled = (d.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  const bool checked = (d.itemState & ODS_CHECKED) != 0;
  const bool rtl = (item.type & MFT_RIGHTORDER) != 0;
  const TDataSkinObject* piece = Piece(m.MenuItem);

  // The background: the popup's rendered MenuBackground under the item.
  Bitmap32 canvas(w, h, SkinPixel(m.Colours.Menu));
  TWinSkinPopMenu* popup = Manager() ? Manager()->Popups().ForMenu(rec->menu) : nullptr;
  if (!piece) {
    if (selected) canvas = Bitmap32(w, h, SkinPixel(m.Colours.Hilight));
  } else {
    if (popup && !popup->Background().Empty()) {
      const POINT o = popup->ClientOffset();
      Blit(canvas, -(r.left + o.x), -(r.top + o.y), popup->Background(), false);
    }
    if (item.separator) {
      DrawSeparatorStrip(canvas, {0, 0, w, h}, *piece);
    } else {
      DrawMenuItemPiece(canvas, {0, 0, w, h}, *piece, selected);
    }
  }

  // Text colour.
  COLORREF colour = ResolveColour(m.Colours.MenuText);
  if (disabled) {
    colour = m.Colours.ButtonShadow == m.Colours.MenuText ? GetSysColor(COLOR_BTNSHADOW)
                                                          : ResolveColour(m.Colours.ButtonShadow);
  } else if (selected) {
    colour = ResolveColour(m.Colours.HilightText);
  }

  // The pixels are composed off-screen; the text goes straight onto the
  // menu's DC, so it is rendered as the system renders menu text.
  HDC dc = d.hDC;
  const SavedDc saved(dc);
  SelectObject(dc, rec->owner->Font((item.state & MFS_DEFAULT) != 0));
  detail::PaintCheckpoint(detail::kPaintMenuItem);
  const CaptionParts parts = SplitShortcut(item.caption);
  const SIZE text = MeasureCaption(dc, parts.text);
  MenuItemContentInput in;
  in.item = {0, 0, w, h};
  in.item_piece = piece;
  in.image_width = rec->kind == MenuKind::kSystem ? 16 : 0;
  in.checked = checked;
  in.separator = item.separator;
  in.caption_width = text.cx;
  in.caption_height = text.cy;
  in.right_to_left = rtl;
  const MenuItemContent c = LayOutMenuItem(in);
  const bool content = !item.separator || !piece;
  if (content && !item.separator) {
    const int image = rec->kind == MenuKind::kSystem && item.id >= 1 && item.id <= 4
                          ? static_cast<int>(item.id) - 1
                          : -1;
    if (image >= 0) {
      if (checked) DrawCheckedBox(canvas, c.glyph);
      DrawGlyph(canvas, c.glyph, image, PixelOf(colour));
    } else if (checked) {
      DrawCheck(canvas, c.glyph, PixelOf(disabled ? colour : GetSysColor(COLOR_BTNTEXT)));
    }
  }
  BlitToDc(dc, r.left, r.top, canvas);
  if (content) {
    if (item.separator) {
      RECT line = {r.left + c.separator.left, r.top + c.separator.top, r.left + c.separator.right,
                   r.top + c.separator.bottom};
      DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    } else {
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, colour);
      const UINT hide = (d.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0;
      const Rect cap = c.caption.Offset(r.left, r.top), key = c.shortcut.Offset(r.left, r.top);
      RECT cr = {cap.left, cap.top, cap.right, cap.bottom};
      DrawTextA(dc, parts.text.c_str(), -1, &cr,
                DT_SINGLELINE | DT_EXPANDTABS | hide | (rtl ? DT_RIGHT | DT_RTLREADING : DT_LEFT));
      if (!parts.shortcut.empty()) {
        RECT sr = {key.left, key.top, key.right, key.bottom};
        DrawTextA(dc, parts.shortcut.c_str(), -1, &sr,
                  DT_SINGLELINE | DT_NOPREFIX | (rtl ? DT_LEFT : DT_RIGHT));
      }
    }
  }
  return true;
}

}  // namespace

OwnerDrawnMenu::OwnerDrawnMenu(HMENU menu, TSkinData& skin, MenuKind kind, bool recursive)
    : skin_(skin), kind_(kind) {
  Convert(menu, recursive, 0);
}

HDC OwnerDrawnMenu::MeasureDc() const {
  if (!measure_dc_) measure_dc_ = std::make_unique<WindowDc>(WindowDc::Client(nullptr));
  return measure_dc_->get();
}

HFONT OwnerDrawnMenu::Font(bool bold) const {
  // Made on first use: a menu whose entries are never drawn makes none.
  FontHandle& font = bold ? bold_font_ : font_;
  if (!font) font = MenuFont(bold);
  return font.get();
}

void OwnerDrawnMenu::Convert(HMENU menu, bool recursive, int depth) {
  const int n = menu && depth < 16 ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < n; ++i) {
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &mii)) continue;
    if (mii.fType & (MFT_OWNERDRAW | MFT_BITMAP)) continue;  // drawn by someone already
    auto rec = std::make_unique<Record>(Record{menu, static_cast<UINT>(i), kind_, &skin_, mii.fType,
                                               mii.dwItemData, this});
    MENUITEMINFOA set = {};
    set.cbSize = sizeof set;
    set.fMask = MIIM_FTYPE | MIIM_DATA;  // the string stays
    set.fType = mii.fType | MFT_OWNERDRAW;
    set.dwItemData = reinterpret_cast<ULONG_PTR>(rec.get());
    if (!SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &set)) continue;
    LiveRecords().insert(reinterpret_cast<ULONG_PTR>(rec.get()));
    records_.push_back(std::move(rec));
    if (recursive && mii.hSubMenu) Convert(mii.hSubMenu, true, depth + 1);
  }
}

OwnerDrawnMenu::~OwnerDrawnMenu() {
  auto& live = LiveRecords();
  for (auto it = records_.rbegin(); it != records_.rend(); ++it) {
    Record* r = it->get();
    live.erase(reinterpret_cast<ULONG_PTR>(r));
    if (!IsMenu(r->menu)) continue;
    const UINT at = PositionOf(*r);
    MENUITEMINFOA now = {};
    now.cbSize = sizeof now;
    now.fMask = MIIM_DATA;
    if (!GetMenuItemInfoA(r->menu, at, TRUE, &now) ||
        now.dwItemData != reinterpret_cast<ULONG_PTR>(r))
      continue;  // gone with a change the owner made
    MENUITEMINFOA set = {};
    set.cbSize = sizeof set;
    set.fMask = MIIM_FTYPE | MIIM_DATA;
    set.fType = r->old_type;
    set.dwItemData = r->old_data;
    SetMenuItemInfoA(r->menu, at, TRUE, &set);
  }
}

bool SkinnedMenuItemMessage(UINT msg, LPARAM lp) {
  if (!lp) return false;
  // An item of ours whose drawing failed stays ours: nobody else can draw it.
  bool ours = false;
  if (msg == WM_MEASUREITEM) {
    auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    if (mi->CtlType != ODT_MENU) return false;
    if (!GuardedPaint([&] { ours = MeasureItem(*mi); })) return LiveRecord(mi->itemData) != nullptr;
    return ours;
  }
  if (msg == WM_DRAWITEM) {
    const auto& d = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (!GuardedPaint([&] { ours = DrawItem(d); })) return LiveRecord(d.itemData) != nullptr;
    return ours;
  }
  return false;
}

// --- Popup menu windows ----------------------------------------------------------

TWinSkinPopMenu::TWinSkinPopMenu(TSkinData& skin, HWND popup, bool from_bar)
    : SkinnedWindow(Kind::kPopupMenu), skin_(skin), window_(popup), from_bar_(from_bar) {
  Subclass(popup);
}

TWinSkinPopMenu::~TWinSkinPopMenu() { Unsubclass(); }

HMENU TWinSkinPopMenu::Menu() {
  if (!menu_ && IsWindow(window_))
    menu_ = reinterpret_cast<HMENU>(SendMessageA(window_, kMnGetHMenu, 0, 0));
  return menu_;
}

POINT TWinSkinPopMenu::ClientOffset() const {
  POINT origin = {0, 0};
  ClientToScreen(window_, &origin);
  RECT wr;
  GetWindowRect(window_, &wr);
  return {origin.x - wr.left, origin.y - wr.top};
}

bool TWinSkinPopMenu::HasBackground() const {
  return !skin_.NotLoaded() && Piece(skin_.Model().MenuBackground) != nullptr;
}

void TWinSkinPopMenu::RenderBackground() {
  RECT wr;
  GetWindowRect(window_, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (background_.Width() == w && background_.Height() == h) return;
  background_ = RenderMenuBackground(w, h, *skin_.Model().MenuBackground);
  surface_.Release();
}

DibSurface* TWinSkinPopMenu::Surface(HDC reference) {
  // Made once per size: the popup is drawn again and again while open.
  const int w = background_.Width(), h = background_.Height();
  if (surface_.Fits(w, h)) return surface_.For(reference, w, h);
  DibSurface* surface = surface_.For(reference, w, h);
  if (surface) surface->Load(background_);
  return surface;
}

const Bitmap32& TWinSkinPopMenu::Background() {
  if (HasBackground()) RenderBackground();
  return background_;
}

void TWinSkinPopMenu::PaintRing(HDC dc) {
  const int w = background_.Width(), h = background_.Height();
  DibSurface* surface = Surface(dc);
  if (!surface) return;
  detail::PaintCheckpoint(detail::kPaintPopup);
  for (const Rect& r : BorderRing(w, h))
    BitBlt(dc, r.left, r.top, r.Width(), r.Height(), surface->Dc(), r.left, r.top, SRCCOPY);
}

void TWinSkinPopMenu::PaintWhole(HDC dc) {
  RenderBackground();
  const POINT o = ClientOffset();
  const int w = background_.Width(), h = background_.Height();
  DibSurface* surface = Surface(dc);
  detail::PaintCheckpoint(detail::kPaintPopup);
  if (surface) BitBlt(dc, -o.x, -o.y, w, h, surface->Dc(), 0, 0, SRCCOPY);
  // The items over it, kept off the border.
  const SavedDc saved(dc);
  IntersectClipRect(dc, 3 - o.x, 3 - o.y, w - 3 - o.x, h - 3 - o.y);
  SetBkMode(dc, TRANSPARENT);
  Own(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
}

LRESULT TWinSkinPopMenu::Own(UINT msg, WPARAM wp, LPARAM lp) { return CallOwnProc(window_, msg, wp, lp); }

LRESULT TWinSkinPopMenu::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kMsgSkinned) return 1;
  TSkinManage* m = Manager();
  if (m && !m->Active()) return Own(msg, wp, lp);
  switch (msg) {
    case WM_DESTROY: {
      const WNDPROC own = OwnProc();
      Unsubclass();
      background_.Clear();
      surface_.Release();
      return own ? CallWindowProcA(own, window_, msg, wp, lp) : DefWindowProcA(window_, msg, wp, lp);
    }
    case WM_NCPAINT: {
      if (!HasBackground()) return Own(msg, wp, lp);
      GuardedPaint([&] {
        RenderBackground();
        if (const WindowDc dc = WindowDc::Whole(window_)) PaintRing(dc.get());
      });
      return 0;
    }
    case WM_PRINTCLIENT:
      if (!HasBackground()) return Own(msg, wp, lp);
      GuardedPaint([&] { PaintWhole(reinterpret_cast<HDC>(wp)); });
      return 0;
    case WM_PAINT: {
      // Where the system draws the border inside the client area, the
      // ring must come after it: the whole popup is painted here.
      if (!HasBackground()) return Own(msg, wp, lp);
      const PaintDc dc(window_);
      if (dc.get()) GuardedPaint([&] { PaintWhole(dc.get()); });
      return 0;
    }
    case WM_ERASEBKGND:
      if (HasBackground()) return 1;
      return Own(msg, wp, lp);
    default: return Own(msg, wp, lp);
  }
}

PopupMenuSkins::~PopupMenuSkins() {
  while (!popups_.empty()) popups_.pop_back();
}

void PopupMenuSkins::Add(TSkinData& skin, HWND popup) {
  auto p = std::make_unique<TWinSkinPopMenu>(skin, popup, tracking);
  if (p->Attached()) popups_.push_back(std::move(p));
}

void PopupMenuSkins::Remove(HWND popup) {
  // Every window of the thread passes here on its way out; only the open
  // popups are looked at.
  for (std::size_t i = 0; i < popups_.size(); ++i) {
    if (popups_[i]->Window() != popup) continue;
    ReleaseWhenIdle(popups_[i]);
    popups_.erase(popups_.begin() + static_cast<std::ptrdiff_t>(i));
    if (popups_.empty()) tracking = false;
    return;
  }
}

TWinSkinPopMenu* PopupMenuSkins::Find(HWND popup) const {
  return SkinRegistry::FindAs<TWinSkinPopMenu>(popup, SkinnedWindow::Kind::kPopupMenu);
}

TWinSkinPopMenu* PopupMenuSkins::ForMenu(HMENU menu) const {
  if (!menu) return nullptr;
  for (const auto& p : popups_)
    if (p->Menu() == menu) return p.get();
  return nullptr;
}

std::vector<TWinSkinPopMenu*> PopupMenuSkins::Open() const {
  std::vector<TWinSkinPopMenu*> out;
  for (const auto& p : popups_) out.push_back(p.get());
  return out;
}

// --- The program's popup menus ------------------------------------------------------

namespace {

class ProgramMenus : public ui::win32::PopupMenuSkin {
 public:
  std::shared_ptr<void> Begin(ui::PopupMenu& menu, HMENU built) override {
    TSkinManage* m = Manager();
    TSkinData* skin = m && m->Active() ? m->PopupSkin() : nullptr;
    if (!skin || skin->NotLoaded() || !Has(*skin, xcMainMenu) || !Has(*skin, xcPopupMenu))
      return nullptr;
    if (menu.Tag() % 100 == skin->DisableTag) return nullptr;
    return std::make_shared<OwnerDrawnMenu>(built, *skin, MenuKind::kHost, true);
  }
  bool ItemMessage(UINT msg, LPARAM lp) override { return SkinnedMenuItemMessage(msg, lp); }
};

ProgramMenus g_program_menus;

}  // namespace

void InstallProgramMenuSkin() { ui::win32::SetPopupMenuSkin(&g_program_menus); }

void RemoveProgramMenuSkin() {
  if (ui::win32::CurrentPopupMenuSkin() == &g_program_menus) ui::win32::SetPopupMenuSkin(nullptr);
}

// --- The menu bar ----------------------------------------------------------------

void TMenuBtn::Redraw() { bar_.RedrawItem(*this); }

namespace {
// The window's menu changes and its client area keeps its size.
void SetMenuKeepingClient(HWND window, HMENU menu) {
  RECT before, after, wr;
  GetClientRect(window, &before);
  SetMenu(window, menu);
  GetClientRect(window, &after);
  GetWindowRect(window, &wr);
  const int grown = after.bottom - before.bottom;
  if (grown != 0 && !IsZoomed(window) && !IsIconic(window))
    SetWindowPos(window, nullptr, 0, 0, wr.right - wr.left, wr.bottom - wr.top - grown,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

TWinSkinMenu::TWinSkinMenu(NcForm& form, TSkinData& skin, HWND window)
    : form_(form), skin_(skin), window_(window) {
  HMENU menu = GetMenu(window);
  if (!menu) return;
  menu_.reset(menu);
  ReadItems();
  // The system draws no bar any more.
  SetMenuKeepingClient(window, nullptr);
}

void TWinSkinMenu::ReadItems() {
  const int n = menu_ ? GetMenuItemCount(menu_.get()) : 0;
  if (n < 0 || static_cast<std::size_t>(n) != items_.size()) {
    form_.SetHot(nullptr);
    items_.clear();
    for (int i = 0; i < n; ++i) items_.push_back(std::make_unique<TMenuBtn>(form_, *this, i));
  }
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const ItemFacts f = ReadItem(menu_.get(), static_cast<UINT>(i));
    TMenuBtn& item = *items_[i];
    item.caption = f.separator ? std::string() : f.caption;
    item.enabled = (f.state & (MFS_GRAYED | MFS_DISABLED)) == 0;
    item.id = f.id;
    item.sub = f.sub;
  }
}

void TWinSkinMenu::TakeNewMenu() {
  HMENU now = GetMenu(window_);
  if (!now || tracking_) return;
  // The window set another menu: it shows in the bar; the one before stays
  // its owner's, as after any SetMenu.
  if (now != menu_.get()) {
    (void)menu_.release();
    menu_.reset(now);
  }
  SetMenu(window_, nullptr);
}

TWinSkinMenu::~TWinSkinMenu() {
  if (!released_) form_.SetHot(nullptr);
}

void TWinSkinMenu::Release(bool give_back) {
  if (released_) return;
  if (give_back) GiveBack();
  form_.SetHot(nullptr);
  items_.clear();
  background_.Clear();
  released_ = true;
}

void TWinSkinMenu::GiveBack() {
  if (menu_ && IsWindow(window_)) SetMenuKeepingClient(window_, menu_.release());
}

std::vector<TNCObject*> TWinSkinMenu::Elements() const {
  std::vector<TNCObject*> out;
  for (const auto& i : items_) out.push_back(i.get());
  return out;
}

TMenuBtn* TWinSkinMenu::ItemOf(const TNCObject* e) const {
  for (const auto& i : items_)
    if (i.get() == e) return i.get();
  return nullptr;
}

std::vector<MenuBarEntry> TWinSkinMenu::Entries() const {
  std::vector<MenuBarEntry> out;
  for (const auto& i : items_) out.push_back({i->caption, i->enabled, i->visible, i->sub != nullptr});
  return out;
}

bool TWinSkinMenu::RightToLeft() const {
  if (GetWindowLongPtrA(window_, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) return true;
  MENUITEMINFOA mii = {};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE;
  return menu_ && GetMenuItemInfoA(menu_.get(), 0, TRUE, &mii) && (mii.fType & MFT_RIGHTORDER);
}

void TWinSkinMenu::DrawCaption(HDC dc, const TMenuBtn& item, const Rect& r) const {
  if (item.caption.empty() || r.Empty()) return;
  const SkinModel& m = skin_.Model();
  SkinColour colour = item.enabled ? m.Colours.MenuBarText : m.Colours.ButtonShadow;
  if (item.state == kNcPressed && Piece(m.MenuItem)) colour = m.Colours.HilightText;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ResolveColour(colour));
  RECT tr = {r.left, r.top, r.right, r.bottom};
  DrawTextA(dc, item.caption.c_str(), -1, &tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TWinSkinMenu::DrawItemFace(Bitmap32& canvas, const TMenuBtn& item, const Rect& r) const {
  if (r.Empty() || (item.state != kNcPressed && item.state != kNcHot)) return;
  const SkinModel& m = skin_.Model();
  // The open item looks like a chosen menu entry; the hot one is raised.
  // (A frame of ButtonHilight alone vanishes on a light bar.)
  if (item.state == kNcPressed && Piece(m.MenuItem)) {
    DrawMenuItemPiece(canvas, r, *m.MenuItem, true);
    return;
  }
  const std::uint32_t light = SkinPixel(m.Colours.ButtonHilight);
  const std::uint32_t dark = SkinPixel(m.Colours.ButtonShadow);
  const std::uint32_t top_left = item.state == kNcPressed ? dark : light;
  const std::uint32_t bottom_right = item.state == kNcPressed ? light : dark;
  const Rect c = r.Intersect({0, 0, canvas.Width(), canvas.Height()});
  if (c.Empty()) return;
  for (int x = c.left; x < c.right; ++x) {
    canvas.Set(x, c.top, top_left);
    canvas.Set(x, c.bottom - 1, bottom_right);
  }
  for (int y = c.top; y < c.bottom; ++y) {
    canvas.Set(c.left, y, top_left);
    canvas.Set(c.right - 1, y, bottom_right);
  }
}

void TWinSkinMenu::Paint(HDC window_dc, const Rect& bar, bool active,
                         const std::function<void(Bitmap32&, const Rect&)>& over) {
  bar_ = bar;
  active_ = active;
  const int w = bar.Width(), h = bar.Height();
  if (w <= 0 || h <= 0) {
    background_.Clear();
    return;
  }
  // SetMenu, EnableMenuItem, ModifyMenu and the like followed by
  // DrawMenuBar show.
  TakeNewMenu();
  if (!tracking_) ReadItems();
  const SkinModel& m = skin_.Model();
  const TDataSkinObject* piece = Piece(m.MenuBar);
  // Rendered again only for another size or activation.
  if (background_.Width() != w || background_.Height() != h || background_active_ != active) {
    background_ = RenderMenuBarBackground(w, h, piece, active, SkinPixel(m.Colours.Menubar));
    background_active_ = active;
  }
  if (!font_) font_ = MenuFont(false);
  const SavedDc saved(window_dc);
  SelectObject(window_dc, font_.get());
  detail::PaintCheckpoint(detail::kPaintMenuBar);
  std::vector<int> widths;
  for (const auto& i : items_) {
    RECT r = {0, 0, 0, 0};
    if (!i->caption.empty())
      DrawTextA(window_dc, i->caption.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    widths.push_back(r.right - r.left);
  }
  const bool rtl = RightToLeft();
  const std::vector<Rect> rects =
      LayOutMenuBar({0, 0, w, h}, widths, Entries(), FirstTextPosition(w, piece, rtl), rtl);
  Bitmap32 canvas = background_;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    TMenuBtn& item = *items_[i];
    item.rect = rects[i].Offset(bar.left, bar.top);
    item.state = static_cast<int>(i) == open_ ? kNcPressed : kNcNormal;
    DrawItemFace(canvas, item, rects[i]);
  }
  if (over) over(canvas, bar);
  BlitToDc(window_dc, bar.left, bar.top, canvas);
  for (const auto& i : items_) DrawCaption(window_dc, *i, i->rect);
}

void TWinSkinMenu::RedrawItem(const TMenuBtn& item) {
  const Rect r = item.rect.Offset(-bar_.left, -bar_.top)
                     .Intersect({0, 0, background_.Width(), background_.Height()});
  if (r.Empty() || background_.Empty() || !IsWindow(window_)) return;
  const bool painted = GuardedPaint([&] {
    Bitmap32 canvas(r.Width(), r.Height());
    Blit(canvas, -r.left, -r.top, background_, false);
    DrawItemFace(canvas, item, {0, 0, r.Width(), r.Height()});
    const WindowDc dc = WindowDc::Whole(window_);
    if (!dc) return;
    HDC window_dc = dc.get();
    if (!font_) font_ = MenuFont(false);
    const SavedDc saved(window_dc);
    detail::PaintCheckpoint(detail::kPaintMenuBarItem);
    BlitToDc(window_dc, item.rect.left, item.rect.top, canvas);
    SelectObject(window_dc, font_.get());
    DrawCaption(window_dc, item, item.rect);
  });
  if (!painted) form_.SetHot(nullptr);
}

Bitmap32 TWinSkinMenu::BackgroundUnder(const Rect& r) const {
  if (background_.Empty()) return {};
  Bitmap32 out(r.Width(), r.Height());
  Blit(out, bar_.left - r.left, bar_.top - r.top, background_, false);
  return out;
}

int TWinSkinMenu::AcceleratorItem(unsigned key) const {
  if (key == 0 || key > 0x7F) return -1;
  return FindAcceleratorEntry(Entries(), static_cast<char>(key));
}

// --- Tracking ------------------------------------------------------------------

// One bar tracks at a time: the message-filter hook and what it knows.
struct MenuTracking {
  TWinSkinMenu* bar = nullptr;
  HookHandle hook;
  POINT last = {-1, -1};
  int switch_to = -1;
  bool switch_by_keyboard = false;
  bool switching = false;

  static MenuTracking& Now() {
    static MenuTracking t;
    return t;
  }
  static LRESULT CALLBACK Filter(int code, WPARAM wp, LPARAM lp);
  // The hook for the thread while one menu of the bar is open.
  struct Scope {
    explicit Scope(TWinSkinMenu* bar) {
      MenuTracking& t = Now();
      t.bar = bar;
      t.switch_to = -1;
      t.switching = false;
      GetCursorPos(&t.last);
      HHOOK hook = SetWindowsHookExA(WH_MSGFILTER, &Filter, nullptr, GetCurrentThreadId());
      if (hook) detail::Count(detail::kHooks, 1);
      t.hook = HookHandle(hook);
    }
    ~Scope() {
      MenuTracking& t = Now();
      t.hook.reset();
      t.bar = nullptr;
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
  };
  static TrackingKey KeyFacts(const TWinSkinMenu& bar, unsigned vk);
  static bool Switch(int target, bool keyboard);
};

namespace {

BOOL CALLBACK CollectPopups(HWND h, LPARAM lp) {
  char cls[16] = {};
  GetClassNameA(h, cls, sizeof cls);
  if (lstrcmpA(cls, "#32768") == 0 && IsWindowVisible(h))
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
  return TRUE;
}

int HilitedItem(HMENU menu) {
  const int n = menu ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < n; ++i)
    if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return i;
  return -1;
}

}  // namespace

TrackingKey MenuTracking::KeyFacts(const TWinSkinMenu& bar, unsigned vk) {
  TrackingKey k;
  k.vk = vk;
  k.open = bar.open_;
  const HMENU open_menu = bar.open_ >= 0 ? bar.items_[static_cast<std::size_t>(bar.open_)]->sub : nullptr;
  // The open popups, topmost (the deepest) first.
  std::vector<HWND> popups;
  EnumThreadWindows(GetCurrentThreadId(), &CollectPopups, reinterpret_cast<LPARAM>(&popups));
  if (popups.empty()) return k;
  auto menu_of = [](HWND h) { return reinterpret_cast<HMENU>(SendMessageA(h, kMnGetHMenu, 0, 0)); };
  const HMENU deepest = menu_of(popups[0]);
  const int hilited = HilitedItem(deepest);
  if (hilited >= 0) {
    k.has_current = true;
    k.current_in_open_menu = deepest == open_menu;
    k.current_has_sub_items = GetSubMenu(deepest, hilited) != nullptr;
  } else if (popups.size() > 1) {
    // A deeper menu opened by the mouse, nothing chosen in it yet: the keys
    // are its own.
    k.has_current = true;
    k.current_has_sub_items = true;
  }
  return k;
}

bool MenuTracking::Switch(int target, bool keyboard) {
  MenuTracking& t = Now();
  t.switch_to = target;
  t.switch_by_keyboard = keyboard;
  t.switching = true;
  EndMenu();
  return true;
}

LRESULT CALLBACK MenuTracking::Filter(int code, WPARAM wp, LPARAM lp) {
  MenuTracking& t = Now();
  auto* msg = reinterpret_cast<MSG*>(lp);
  // A released bar is only waiting for its menu to close.
  TWinSkinMenu* bar = t.bar && !t.bar->released_ ? t.bar : nullptr;
  if (code == MSGF_MENU && bar && msg && (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) &&
      bar->RightToLeft())
    msg->wParam = ArrowForDirection(static_cast<unsigned>(msg->wParam), true);
  const LRESULT r = CallNextHookEx(nullptr, code, wp, lp);
  if (r || code != MSGF_MENU || !bar || !msg || t.switch_to >= 0) return r;
  int target = -1;
  bool keyboard = false;
  switch (msg->message) {
    case WM_KEYDOWN:
      if (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) t.switching = false;
      if (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT) {
        target = ArrowTarget(KeyFacts(*bar, static_cast<unsigned>(msg->wParam)), bar->Entries());
        keyboard = true;
      }
      break;
    case WM_MOUSEMOVE: {
      if (msg->pt.x == t.last.x && msg->pt.y == t.last.y) break;
      t.last = msg->pt;
      RECT wr;
      GetWindowRect(bar->window_, &wr);
      std::vector<Rect> rects;
      for (const auto& i : bar->items_) rects.push_back(i->rect);
      const int at = EntryAt(rects, {msg->pt.x - wr.left, msg->pt.y - wr.top});
      const auto entries = bar->Entries();
      if (at >= 0 && entries[static_cast<std::size_t>(at)].has_sub &&
          entries[static_cast<std::size_t>(at)].enabled)
        target = at;
      break;
    }
    default: break;
  }
  if (target >= 0 && target != bar->open_) return Switch(target, keyboard) ? 1 : 0;
  return r;
}

void TWinSkinMenu::Open(TMenuBtn& item) {
  if (!item.sub) {
    // A command item acts at once; a disabled one does nothing.
    if (item.enabled) PostMessageA(window_, WM_COMMAND, item.id, 0);
    return;
  }
  if (!item.enabled) return;
  Track(item.Index(), false);
}

void TWinSkinMenu::OpenByKey(unsigned key) {
  int index = -1;
  if (key == 0) {
    const auto entries = Entries();
    for (std::size_t i = 0; i < entries.size() && index < 0; ++i)
      if (entries[i].enabled && entries[i].visible && entries[i].has_sub && !entries[i].caption.empty())
        index = static_cast<int>(i);
  } else {
    index = AcceleratorItem(key);
  }
  if (index < 0) return;
  TMenuBtn& item = *items_[static_cast<std::size_t>(index)];
  if (!item.sub) {
    Open(item);
    return;
  }
  Track(index, true);
}

void TWinSkinMenu::Track(int index, bool by_keyboard) {
  MenuTracking& t = MenuTracking::Now();
  if (t.bar || tracking_ || released_) return;  // one bar tracks at a time
  const std::shared_ptr<TWinSkinMenu> keep = shared_from_this();
  tracking_ = true;
  bool keyboard = by_keyboard;
  for (int next = index; next >= 0 && next < static_cast<int>(items_.size());) {
    TMenuBtn& item = *items_[static_cast<std::size_t>(next)];
    if (!item.sub || !item.enabled) break;
    open_ = next;
    if (form_.Hot() && form_.Hot() != &item) form_.Hot()->MouseLeave();
    item.state = kNcPressed;
    RedrawItem(item);
    {
      OwnerDrawnMenu drawn(item.sub, skin_, MenuKind::kBarSub, true);
      if (TSkinManage* m = Manager()) m->Popups().tracking = true;
      MenuTracking::Scope scope(this);
      // Opened from the keyboard, the menu starts with its first entry chosen.
      if (keyboard) PostMessageA(window_, WM_KEYDOWN, VK_DOWN, 0);
      RECT wr;
      GetWindowRect(window_, &wr);
      const bool rtl = RightToLeft();
      const int x = wr.left + (rtl ? item.rect.right : item.rect.left);
      TrackPopupMenu(item.sub, TPM_RIGHTBUTTON | (rtl ? TPM_RIGHTALIGN : TPM_LEFTALIGN), x,
                     wr.top + item.rect.bottom, 0, window_, nullptr);
    }
    // Released while the menu was open: the items and perhaps the window
    // and the form are gone.
    if (released_) break;
    next = t.switch_to;
    keyboard = t.switch_by_keyboard;
    t.switch_to = -1;
    item.state = kNcNormal;
    if (form_.Hot() == &item) form_.SetHot(nullptr);
    RedrawItem(item);
  }
  t.switch_to = -1;
  open_ = -1;
  tracking_ = false;
}

}  // namespace corvane::skin::win32
