#include "ui/win32/win32_peer.h"

#include <commctrl.h>

#include <climits>
#include <vector>

#include "ui/application.h"
#include "ui/form.h"
#include "ui/list_view.h"
#include "ui/std_controls.h"
#include "ui/tree_view.h"
#include "ui/win32/win32_backend.h"
#include "ui/win32/win32_canvas.h"
#include "ui/win32/win32_menu_skin.h"

namespace corvane::ui::win32 {
namespace {

constexpr char kPeerProperty[] = "CorvanePeer";
constexpr int kUpDownWidth = 16;
Win32Peer* g_creating = nullptr;  // the peer whose window is being made

template <class F>
void ForEachControl(WinControl& parent, F f) {
  for (Control* c : parent.Controls()) {
    f(*c);
    if (c->IsWindowed()) ForEachControl(static_cast<WinControl&>(*c), f);
  }
}

// The showing, enabled push button of the form with the given role.
Button* FindButton(Form& form, bool want_default) {
  Button* found = nullptr;
  ForEachControl(form, [&](Control& c) {
    auto* b = dynamic_cast<Button*>(&c);
    if (!found && b && b->Showing() && b->Enabled() && (want_default ? b->Default() : b->Cancel()))
      found = b;
  });
  return found;
}

LPCSTR CursorResource(Cursor c) {
  switch (c) {
    case Cursor::kHandPoint:
      return MAKEINTRESOURCEA(32649);  // IDC_HAND
    case Cursor::kIBeam:
      return MAKEINTRESOURCEA(32513);
    case Cursor::kHourGlass:
      return MAKEINTRESOURCEA(32514);
    default:
      return MAKEINTRESOURCEA(32512);  // IDC_ARROW
  }
}

}  // namespace

Win32Peer::Win32Peer(Win32Backend& backend, WinControl& control)
    : backend_(backend), control_(control) {
  if (dynamic_cast<Form*>(&control))
    kind_ = Kind::kForm;
  else if (dynamic_cast<Panel*>(&control))
    kind_ = Kind::kPanel;
  else if (dynamic_cast<CheckBox*>(&control))
    kind_ = Kind::kCheckBox;
  else if (dynamic_cast<RadioButton*>(&control))
    kind_ = Kind::kRadioButton;
  else if (dynamic_cast<BitBtn*>(&control))
    kind_ = Kind::kBitBtn;
  else if (dynamic_cast<Button*>(&control))
    kind_ = Kind::kButton;
  else if (dynamic_cast<SpinEdit*>(&control))
    kind_ = Kind::kSpinEdit;
  else if (dynamic_cast<Memo*>(&control))
    kind_ = Kind::kMemo;
  else if (dynamic_cast<Edit*>(&control))
    kind_ = Kind::kEdit;
  else if (dynamic_cast<TreeView*>(&control))
    kind_ = Kind::kTreeView;
  else if (dynamic_cast<ListView*>(&control))
    kind_ = Kind::kListView;
  else
    kind_ = Kind::kCustom;
}

Win32Peer::~Win32Peer() {
  routing_ = false;
  updown_.reset();
  if (hwnd_) DestroyWindow(hwnd_);  // Forget() runs on its last message
  // The image lists go after the window that showed them.
  tree_.reset();
  list_.reset();
}

const char* Win32Peer::BaseClass() const {
  switch (kind_) {
    case Kind::kCheckBox:
    case Kind::kRadioButton:
    case Kind::kButton:
    case Kind::kBitBtn:
      return "BUTTON";
    case Kind::kEdit:
    case Kind::kMemo:
    case Kind::kSpinEdit:
      return "EDIT";
    case Kind::kTreeView:
      return WC_TREEVIEWA;
    case Kind::kListView:
      return WC_LISTVIEWA;
    default:
      return nullptr;
  }
}

bool Win32Peer::PaintsItself() const { return BaseClass() == nullptr; }

DWORD Win32Peer::Style() const {
  if (kind_ == Kind::kForm) {
    auto& f = static_cast<const Form&>(control_);
    unsigned icons = f.BorderIcons();
    DWORD s = WS_CLIPCHILDREN;
    switch (f.GetBorderStyle()) {
      case FormBorderStyle::kNone:
        return s | WS_POPUP;
      case FormBorderStyle::kDialog:
        s |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
        icons &= border_icons::kSystemMenu;
        break;
      case FormBorderStyle::kSingle:
        s |= WS_OVERLAPPED | WS_CAPTION;
        break;
      case FormBorderStyle::kSizeable:
        s |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
        break;
    }
    if (icons & border_icons::kSystemMenu) s |= WS_SYSMENU;
    if (icons & border_icons::kMinimize) s |= WS_MINIMIZEBOX;
    if (icons & border_icons::kMaximize) s |= WS_MAXIMIZEBOX;
    return s;
  }
  DWORD s = WS_CHILD | WS_CLIPSIBLINGS;
  if (control_.Visible()) s |= WS_VISIBLE;
  if (control_.TabStop()) s |= WS_TABSTOP;
  switch (kind_) {
    case Kind::kPanel:
      s |= WS_CLIPCHILDREN;
      if (static_cast<const Panel&>(control_).GetBorderStyle() == BorderStyle::kSingle)
        s |= WS_BORDER;
      break;
    case Kind::kCheckBox:
      s |= BS_CHECKBOX;
      break;
    case Kind::kRadioButton:
      s |= BS_RADIOBUTTON;
      break;
    case Kind::kBitBtn:
      if (!static_cast<const BitBtn&>(control_).Glyph().Empty()) {
        s |= BS_OWNERDRAW;
        break;
      }
      [[fallthrough]];
    case Kind::kButton:
      s |= static_cast<const Button&>(control_).Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
      break;
    case Kind::kEdit:
    case Kind::kSpinEdit:
      s |= ES_AUTOHSCROLL;
      break;
    case Kind::kMemo:
      s |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
      if (static_cast<const Memo&>(control_).GetScrollBars() == Memo::ScrollBars::kVertical)
        s |= WS_VSCROLL;
      break;
    case Kind::kTreeView:
      s |= TreeViewStyle(static_cast<const TreeView&>(control_));
      break;
    case Kind::kListView:
      s |= ListViewStyle(static_cast<const ListView&>(control_));
      break;
    default:
      s |= WS_CLIPCHILDREN;
      break;
  }
  if (auto* e = dynamic_cast<const Edit*>(&control_); e && e->ReadOnly()) s |= ES_READONLY;
  return s;
}

DWORD Win32Peer::ExStyle() const {
  switch (kind_) {
    case Kind::kForm:
      return WS_EX_CONTROLPARENT |
             (static_cast<const Form&>(control_).GetBorderStyle() == FormBorderStyle::kDialog
                  ? WS_EX_DLGMODALFRAME
                  : 0);
    case Kind::kPanel:
    case Kind::kCustom:
      return WS_EX_CONTROLPARENT;
    case Kind::kEdit:
    case Kind::kMemo:
    case Kind::kSpinEdit:
    case Kind::kTreeView:
    case Kind::kListView:
      return WS_EX_CLIENTEDGE;
    default:
      return 0;
  }
}

bool Win32Peer::Create() {
  std::string cls = control_.ClassName();
  HICON icon = kind_ == Kind::kForm ? reinterpret_cast<HICON>(backend_.ApplicationIcon()) : nullptr;
  base_ = backend_.RegisterClassFor(cls, BaseClass(), icon, &Win32Peer::Proc);
  if (!base_) return false;

  Rect b = control_.BoundsRect();
  HWND parent;
  HMENU menu = nullptr;
  if (kind_ == Kind::kForm) {
    parent = reinterpret_cast<HWND>(backend_.OwnerWindow());
    auto& f = static_cast<Form&>(control_);
    RECT r{0, 0, f.ClientWidth(), f.ClientHeight()};
    AdjustWindowRectEx(&r, Style(), FALSE, ExStyle());
    b = Rect::FromBounds(b.left, b.top, r.right - r.left, r.bottom - r.top);
  } else {
    parent = reinterpret_cast<HWND>(control_.Parent()->Handle());
    id_ = backend_.NextId();
    menu = reinterpret_cast<HMENU>(id_);
    if (kind_ == Kind::kSpinEdit) b.right -= kUpDownWidth;
  }
  if (!parent && kind_ != Kind::kForm) return false;

  g_creating = this;
  HWND h = CreateWindowExA(ExStyle(), cls.c_str(), control_.Caption().c_str(), Style(), b.left,
                           b.top, b.Width(), b.Height(), parent, menu, backend_.Instance(), this);
  g_creating = nullptr;
  if (!h) return false;
  hwnd_ = h;
  SetPropA(hwnd_, kPeerProperty, this);

  if (kind_ == Kind::kSpinEdit) {
    updown_.reset(CreateWindowExA(0, UPDOWN_CLASSA, nullptr,
                                  WS_CHILD | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS |
                                      (control_.Visible() ? WS_VISIBLE : 0),
                                  b.right, b.top, kUpDownWidth, b.Height(), parent, nullptr,
                                  backend_.Instance(), nullptr));
    if (updown_) SendMessageA(updown_.get(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(hwnd_), 0);
  }
  return true;
}

void Win32Peer::Attached() {
  if (!hwnd_) return;
  routing_ = true;
  ++syncing_;
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(backend_.FontFor(control_.GetFont())),
               FALSE);
  if (kind_ == Kind::kTreeView)
    tree_ = std::make_unique<TreeViewWindow>(backend_, static_cast<TreeView&>(control_), hwnd_);
  if (kind_ == Kind::kListView)
    list_ = std::make_unique<ListViewWindow>(static_cast<ListView&>(control_), hwnd_);
  if (kind_ != Kind::kForm && kind_ != Kind::kPanel) SyncState();
  if (tree_) tree_->SyncItems();
  if (list_) list_->SyncItems();
  if (!control_.Enabled()) EnableWindow(hwnd_, FALSE);
  --syncing_;
  if (kind_ == Kind::kForm) WindowMoved();
}

Win32Peer* Win32Peer::FromWindow(HWND h) {
  return h ? static_cast<Win32Peer*>(GetPropA(h, kPeerProperty)) : nullptr;
}

LRESULT CALLBACK Win32Peer::Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  Win32Peer* p = FromWindow(h);
  if (!p && g_creating) {
    p = g_creating;
    g_creating = nullptr;
    p->hwnd_ = h;
    SetPropA(h, kPeerProperty, p);
  }
  if (!p) return DefWindowProcA(h, m, w, l);
  return p->Receive(m, w, l);
}

void Win32Peer::Forget() {
  if (!hwnd_) return;
  RemovePropA(hwnd_, kPeerProperty);
  hwnd_ = nullptr;
  routing_ = false;
}

LRESULT Win32Peer::CallBase(UINT m, WPARAM w, LPARAM l) {
  return CallWindowProcA(base_, hwnd_, m, w, l);
}

LRESULT Win32Peer::Deliver(UINT m, WPARAM w, LPARAM l) {
  Message msg;
  msg.msg = m;
  msg.wparam = w;
  msg.lparam = l;
  msg.window = reinterpret_cast<WindowHandle>(hwnd_);
  control_.Perform(msg);
  return msg.result;
}

void Win32Peer::DefaultHandler(Message& m) {
  if (hwnd_) m.result = CallBase(m.msg, m.wparam, m.lparam);
}

LRESULT Win32Peer::Receive(UINT m, WPARAM w, LPARAM l) {
  if (!routing_) {
    LRESULT r = CallBase(m, w, l);
    if (m == WM_NCDESTROY) Forget();
    return r;
  }
  if (RoutePopupMenuItemMessage(m, l)) return TRUE;  // a skinned popup menu's item
  switch (m) {
    case WM_COMMAND:
      if (Win32Peer* child = FromWindow(reinterpret_cast<HWND>(l))) {
        child->Deliver(msg::kReflectBase + m, w, l);
        return 0;
      }
      if (!l && kind_ == Kind::kForm && DialogCommand(LOWORD(w))) return 0;
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<const NMHDR*>(l);
      if (Win32Peer* child = header ? FromWindow(header->hwndFrom) : nullptr)
        return child->Notified(*header);
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      if (Win32Peer* child = FromWindow(reinterpret_cast<HWND>(l)))
        return child->ControlColor(reinterpret_cast<HDC>(w));
      break;
    case WM_DRAWITEM: {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(l);
      Win32Peer* child = d && d->CtlType == ODT_BUTTON ? FromWindow(d->hwndItem) : nullptr;
      if (child && child->kind_ == Kind::kBitBtn) {
        child->DrawBitButton(*d);
        return TRUE;
      }
      break;
    }
    case WM_PAINT:
      if (PaintsItself()) {
        Paint();
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      if (PaintsItself()) return 1;
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(w) == hwnd_ && LOWORD(l) == HTCLIENT && SetCursorFromControl())
        return TRUE;
      break;
    case WM_MOUSEMOVE:
      TrackLeave();
      break;
    case WM_MOUSELEAVE:
      tracking_ = false;
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (PaintsItself()) SetCapture(hwnd_);
      if (list_ && m == WM_LBUTTONDOWN) {
        LRESULT r = Deliver(m, w, l);
        if (list_) list_->Pressed(l);
        return r;
      }
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (PaintsItself() && GetCapture() == hwnd_) ReleaseCapture();
      break;
    case WM_WINDOWPOSCHANGED:
      if (!syncing_) WindowMoved();
      break;
    case WM_ACTIVATE: {
      LRESULT r = Deliver(m, w, l);
      if (kind_ == Kind::kForm) Activated(w);
      return r;
    }
    case DM_GETDEFID:
      if (kind_ == Kind::kForm) return DefaultButtonId();
      break;
    case WM_NCDESTROY: {
      LRESULT r = Deliver(m, w, l);
      Forget();
      return r;
    }
    default:
      break;
  }
  return Deliver(m, w, l);
}

LRESULT Win32Peer::Notified(const NMHDR& header) {
  if (tree_) return tree_->Notified(header, syncing_ > 0);
  if (list_) return list_->Notified(header, syncing_ > 0);
  return 0;
}

void Win32Peer::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  // What shows of the update once child windows are clipped out; nothing,
  // when children cover it (a client-aligned panel over its form).
  RECT box;
  if (!dc || GetClipBox(dc, &box) == NULLREGION) {
    EndPaint(hwnd_, &ps);
    return;
  }
  RECT cr;
  GetClientRect(hwnd_, &cr);
  // Drawn off-screen and copied in one go, so frames and pictures do not
  // flicker as the mouse moves.
  PaintSurfaces::Lease lease(backend_.Surfaces(), dc, cr.right, cr.bottom);
  if (HDC mem = lease.dc()) {
    int saved = SaveDC(mem);
    IntersectClipRect(mem, box.left, box.top, box.right, box.bottom);
    Win32Canvas canvas(backend_, mem);
    Deliver(msg::kCanvasPaint, reinterpret_cast<WPARAM>(static_cast<Canvas*>(&canvas)), 0);
    RestoreDC(mem, saved);
    BitBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, mem, box.left,
           box.top, SRCCOPY);
  } else {
    Win32Canvas canvas(backend_, dc);
    Deliver(msg::kCanvasPaint, reinterpret_cast<WPARAM>(static_cast<Canvas*>(&canvas)), 0);
  }
  EndPaint(hwnd_, &ps);
}

LRESULT Win32Peer::ControlColor(HDC dc) {
  Color c = control_.GetColor();
  SetTextColor(dc, ToColorRef(control_.Enabled() ? control_.GetFont().color : kClBtnShadow));
  SetBkColor(dc, ToColorRef(c));
  return reinterpret_cast<LRESULT>(backend_.BrushFor(c));
}

void Win32Peer::DrawBitButton(const DRAWITEMSTRUCT& d) {
  auto& btn = static_cast<BitBtn&>(control_);
  RECT r = d.rcItem;
  bool pushed = d.itemState & ODS_SELECTED;
  UINT state = DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0) |
               ((d.itemState & ODS_DISABLED) ? DFCS_INACTIVE : 0);
  DrawFrameControl(d.hDC, &r, DFC_BUTTON, state);
  bool is_icon = false;
  HANDLE glyph = backend_.PictureFor(btn.Glyph(), &is_icon);
  int gw = 0, gh = 0;
  BITMAP bm{};
  if (glyph && !is_icon && GetObjectA(glyph, sizeof bm, &bm)) {
    gw = bm.bmWidth / btn.NumGlyphs();
    gh = bm.bmHeight;
  }
  Selection font(d.hDC, backend_.FontFor(btn.GetFont()));
  RECT tr{0, 0, 0, 0};
  const std::string& text = btn.Caption();
  DrawTextA(d.hDC, text.c_str(), static_cast<int>(text.size()), &tr, DT_CALCRECT | DT_SINGLELINE);
  int tw = tr.right, th = tr.bottom;
  bool horizontal = btn.GetLayout() == BitBtn::Layout::kGlyphLeft ||
                    btn.GetLayout() == BitBtn::Layout::kGlyphRight;
  int space = (gw && tw) ? (btn.Spacing() < 0 ? 4 : btn.Spacing()) : 0;
  int total = horizontal ? gw + space + tw : gh + space + th;
  int extent = horizontal ? r.right - r.left : r.bottom - r.top;
  int start = btn.Margin() < 0 ? (extent - total) / 2 : btn.Margin();
  int off = pushed ? 1 : 0;
  int gx, gy, tx, ty;
  int cx = (r.right - r.left), cy = (r.bottom - r.top);
  switch (btn.GetLayout()) {
    case BitBtn::Layout::kGlyphLeft:
      gx = start, tx = start + gw + space, gy = (cy - gh) / 2, ty = (cy - th) / 2;
      break;
    case BitBtn::Layout::kGlyphRight:
      tx = start, gx = start + tw + space, gy = (cy - gh) / 2, ty = (cy - th) / 2;
      break;
    case BitBtn::Layout::kGlyphTop:
      gy = start, ty = start + gh + space, gx = (cx - gw) / 2, tx = (cx - tw) / 2;
      break;
    default:
      ty = start, gy = start + th + space, gx = (cx - gw) / 2, tx = (cx - tw) / 2;
      break;
  }
  if (gw && gh) {
    // The glyph's bottom-left pixel is its transparent colour.
    HIMAGELIST list = ImageList_Create(gw, gh, ILC_COLOR24 | ILC_MASK, 1, 0);
    if (list) {
      MemoryDc src(CreateCompatibleDC(d.hDC));
      COLORREF key = CLR_DEFAULT;
      if (src) {
        Selection in(src.get(), glyph);
        key = GetPixel(src.get(), 0, bm.bmHeight - 1);
      }
      ImageList_AddMasked(list, static_cast<HBITMAP>(glyph), key);
      ImageList_Draw(list, 0, d.hDC, r.left + gx + off, r.top + gy + off, ILD_TRANSPARENT);
      ImageList_Destroy(list);
    }
  }
  RECT text_rect{r.left + tx + off, r.top + ty + off, r.left + tx + tw + off,
                 r.top + ty + th + off};
  SetBkMode(d.hDC, TRANSPARENT);
  SetTextColor(d.hDC, GetSysColor((d.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  DrawTextA(d.hDC, text.c_str(), static_cast<int>(text.size()), &text_rect, DT_SINGLELINE);
  if (d.itemState & ODS_FOCUS) {
    RECT f = r;
    InflateRect(&f, -4, -4);
    DrawFocusRect(d.hDC, &f);
  }
}

bool Win32Peer::SetCursorFromControl() {
  POINT pt;
  if (!GetCursorPos(&pt) || !ScreenToClient(hwnd_, &pt)) return false;
  Cursor c = control_.CursorAt({pt.x, pt.y});
  if (c == Cursor::kDefault) return false;
  ::SetCursor(LoadCursorA(nullptr, CursorResource(c)));
  return true;
}

void Win32Peer::TrackLeave() {
  if (tracking_) return;
  TRACKMOUSEEVENT t{};
  t.cbSize = sizeof t;
  t.dwFlags = TME_LEAVE;
  t.hwndTrack = hwnd_;
  tracking_ = TrackMouseEvent(&t) != FALSE;
}

void Win32Peer::WindowMoved() {
  if (kind_ != Kind::kForm || !hwnd_) return;
  RECT wr, cr;
  if (!GetWindowRect(hwnd_, &wr) || !GetClientRect(hwnd_, &cr)) return;
  control_.BoundsFromWindow({wr.left, wr.top, wr.right, wr.bottom});
  static_cast<Form&>(control_).ClientSizeFromWindow(cr.right, cr.bottom);
}

void Win32Peer::Activated(WPARAM w) {
  if (LOWORD(w) == WA_INACTIVE) {
    HWND f = GetFocus();
    if (f && IsChild(hwnd_, f)) focus_ = f;
    return;
  }
  if (IsIconic(hwnd_)) return;
  HWND f = focus_ && IsWindow(focus_) && IsChild(hwnd_, focus_) && IsWindowVisible(focus_) &&
                   IsWindowEnabled(focus_)
               ? focus_
               : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  if (f) ::SetFocus(f);
}

LRESULT Win32Peer::DefaultButtonId() {
  Button* b = FindButton(static_cast<Form&>(control_), true);
  auto* peer = b ? static_cast<Win32Peer*>(b->Peer()) : nullptr;
  return peer ? MAKELRESULT(peer->id_, DC_HASDEFID) : 0;
}

bool Win32Peer::DialogCommand(WORD id) {
  if (id != IDOK && id != IDCANCEL) return false;
  Button* b = FindButton(static_cast<Form&>(control_), id == IDOK);
  if (!b) return false;
  b->Click();
  return true;
}

void Win32Peer::Sync(Aspect aspect) {
  if (!hwnd_) return;
  ++syncing_;
  switch (aspect) {
    case Aspect::kBounds:
      SyncBounds();
      break;
    case Aspect::kVisible:
      SyncVisible();
      break;
    case Aspect::kEnabled:
      EnableWindow(hwnd_, control_.Enabled());
      if (updown_) EnableWindow(updown_.get(), control_.Enabled());
      break;
    case Aspect::kText:
      SetWindowTextA(hwnd_, control_.Caption().c_str());
      if (updown_)
        SendMessageA(updown_.get(), UDM_SETPOS32, 0,
                     static_cast<const SpinEdit&>(control_).Value());
      break;
    case Aspect::kFont:
      SendMessageA(hwnd_, WM_SETFONT,
                   reinterpret_cast<WPARAM>(backend_.FontFor(control_.GetFont())), TRUE);
      break;
    case Aspect::kColor:
      InvalidateRect(hwnd_, nullptr, TRUE);
      break;
    case Aspect::kState:
      SyncState();
      break;
    case Aspect::kZOrder:
      SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | (kind_ == Kind::kForm ? 0 : SWP_NOACTIVATE));
      break;
    case Aspect::kItems:
      if (tree_) tree_->SyncItems();
      if (list_) list_->SyncItems();
      break;
    case Aspect::kSelection:
      if (tree_) tree_->SyncSelection();
      if (list_) list_->SyncSelection();
      break;
    case Aspect::kEditLabel:
      // Notifications from the edit must reach the control, so this is not
      // counted as the program's own change.
      --syncing_;
      if (tree_) tree_->StartEdit();
      ++syncing_;
      break;
  }
  --syncing_;
}

void Win32Peer::SyncBounds() {
  Rect b = control_.BoundsRect();
  if (kind_ == Kind::kForm) {
    auto& f = static_cast<Form&>(control_);
    const SIZE frame = FrameExtra();
    SetWindowPos(hwnd_, nullptr, b.left, b.top, f.ClientWidth() + frame.cx,
                 f.ClientHeight() + frame.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    WindowMoved();
    return;
  }
  int w = b.Width();
  if (updown_) {
    w = std::max(w - kUpDownWidth, 0);
    SetWindowPos(updown_.get(), nullptr, b.left + w, b.top, kUpDownWidth, b.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetWindowPos(hwnd_, nullptr, b.left, b.top, w, b.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE Win32Peer::FrameExtra() const {
  // The frame the window has now: a skinned window draws its own, which the
  // style does not describe.
  RECT wr, cr;
  if (!IsIconic(hwnd_) && GetWindowRect(hwnd_, &wr) && GetClientRect(hwnd_, &cr) &&
      wr.right > wr.left)
    return {(wr.right - wr.left) - cr.right, (wr.bottom - wr.top) - cr.bottom};
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, GetWindowLongA(hwnd_, GWL_STYLE), FALSE,
                     GetWindowLongA(hwnd_, GWL_EXSTYLE));
  return {r.right - r.left, r.bottom - r.top};
}

void Win32Peer::SyncVisible() {
  bool v = control_.Visible();
  if (kind_ == Kind::kForm) {
    if (v && !placed_) {
      PlaceForm();
      placed_ = true;
    }
    ShowWindow(hwnd_, v ? SW_SHOW : SW_HIDE);
    if (!v) backend_.FormHidden();
    return;
  }
  ShowWindow(hwnd_, v ? SW_SHOW : SW_HIDE);
  if (updown_) ShowWindow(updown_.get(), v ? SW_SHOW : SW_HIDE);
}

void Win32Peer::PlaceForm() {
  auto& f = static_cast<Form&>(control_);
  RECT wr;
  GetWindowRect(hwnd_, &wr);
  int w = wr.right - wr.left, h = wr.bottom - wr.top;
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  switch (f.Position()) {
    case FormPosition::kDesigned:
      return;
    case FormPosition::kMainFormCenter: {
      Application* app = Application::Current();
      Form* main = app ? app->MainForm() : nullptr;
      if (main && main != &f && main->HandleAllocated())
        GetWindowRect(reinterpret_cast<HWND>(main->Handle()), &area);
      break;
    }
    case FormPosition::kScreenCenter:
      break;
  }
  int x = area.left + (area.right - area.left - w) / 2;
  int y = area.top + (area.bottom - area.top - h) / 2;
  x = std::max(0, std::min<int>(x, GetSystemMetrics(SM_CXSCREEN) - w));
  y = std::max(0, std::min<int>(y, GetSystemMetrics(SM_CYSCREEN) - h));
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  WindowMoved();
}

void Win32Peer::RestyleFrame(DWORD style, DWORD ex_style) {
  DWORD keep = WS_VISIBLE | WS_DISABLED | WS_MINIMIZE;
  SetWindowLongA(hwnd_, GWL_STYLE, (GetWindowLongA(hwnd_, GWL_STYLE) & keep) | (style & ~keep));
  SetWindowLongA(hwnd_, GWL_EXSTYLE, ex_style);
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Win32Peer::SyncState() {
  switch (kind_) {
    case Kind::kCheckBox:
    case Kind::kRadioButton:
      SendMessageA(
          hwnd_, BM_SETCHECK,
          static_cast<const ButtonControl&>(control_).Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case Kind::kButton:
    case Kind::kBitBtn:
      if ((GetWindowLongA(hwnd_, GWL_STYLE) & BS_TYPEMASK) != BS_OWNERDRAW)
        SendMessageA(hwnd_, BM_SETSTYLE, Style() & BS_TYPEMASK, TRUE);
      InvalidateRect(hwnd_, nullptr, TRUE);
      break;
    case Kind::kEdit:
    case Kind::kMemo:
    case Kind::kSpinEdit: {
      auto& e = static_cast<const Edit&>(control_);
      SendMessageA(hwnd_, EM_SETREADONLY, e.ReadOnly(), 0);
      SendMessageA(hwnd_, EM_LIMITTEXT, e.MaxLength(), 0);
      if (updown_) {
        auto& s = static_cast<const SpinEdit&>(control_);
        bool ranged = s.MaxValue() > s.MinValue();
        SendMessageA(updown_.get(), UDM_SETRANGE32, ranged ? s.MinValue() : INT_MIN / 2,
                     ranged ? s.MaxValue() : INT_MAX / 2);
        SendMessageA(updown_.get(), UDM_SETPOS32, 0, s.Value());
      }
      break;
    }
    case Kind::kForm:
    case Kind::kPanel:
      RestyleFrame(Style(), ExStyle());
      break;
    case Kind::kTreeView:
      if (tree_) tree_->SyncState();
      break;
    case Kind::kListView:
      if (list_) list_->SyncState();
      break;
    case Kind::kCustom:
      break;
  }
}

void Win32Peer::StackBelow(const WindowPeer* above) {
  HWND after = above ? reinterpret_cast<HWND>(above->Handle()) : HWND_TOP;
  SetWindowPos(hwnd_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Peer::Invalidate(const Rect& r) {
  if (!hwnd_) return;
  RECT rc{r.left, r.top, r.right, r.bottom};
  InvalidateRect(hwnd_, &rc, !PaintsItself());
}

void Win32Peer::SetFocus() {
  if (hwnd_) ::SetFocus(hwnd_);
}

Point Win32Peer::ClientToScreen(Point p) const {
  POINT pt{p.x, p.y};
  if (hwnd_) ::ClientToScreen(hwnd_, &pt);
  return {pt.x, pt.y};
}

std::string Win32Peer::WindowText() const {
  if (!hwnd_) return control_.Caption();
  int n = GetWindowTextLengthA(hwnd_);
  std::string s(static_cast<std::size_t>(n) + 1, '\0');
  n = GetWindowTextA(hwnd_, &s[0], n + 1);
  s.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return s;
}

}  // namespace corvane::ui::win32
