#include "ui/win32/win32_views.h"

#include <shellapi.h>

#include <string>

#include "ui/components.h"
#include "ui/list_view.h"
#include "ui/tree_view.h"
#include "ui/win32/win32_backend.h"
#include "ui/win32/win32_peer.h"

namespace corvane::ui::win32 {
namespace {

// An edited label as the program's text, whichever form the window sent.
std::string LabelText(const void* text, bool wide) {
  if (!wide) return static_cast<const char*>(text);
  const wchar_t* w = static_cast<const wchar_t*>(text);
  int n = WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string s(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, w, -1, &s[0], n, nullptr, nullptr);
  s.resize(static_cast<std::size_t>(n - 1));
  return s;
}

HICON LoadSmallIcon(HINSTANCE instance, const Picture& p, int w, int h) {
  switch (p.kind) {
    case Picture::Kind::kFile:
      return static_cast<HICON>(
          LoadImageA(nullptr, p.name.c_str(), IMAGE_ICON, w, h, LR_LOADFROMFILE));
    case Picture::Kind::kIconResource:
      return static_cast<HICON>(LoadImageA(instance, p.name.c_str(), IMAGE_ICON, w, h, 0));
    default:
      return nullptr;
  }
}

// The system's image list of small file icons; the shell owns it.
HIMAGELIST SystemSmallImages() {
  SHFILEINFOA info{};
  return reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA("x", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                     SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

void SetStyleBits(HWND hwnd, DWORD mask, DWORD bits) {
  DWORD old = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
  DWORD now = (old & ~mask) | (bits & mask);
  if (now == old) return;
  SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(now));
  InvalidateRect(hwnd, nullptr, TRUE);
}

constexpr DWORD kTreeStyles = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS |
                              TVS_SHOWSELALWAYS | TVS_FULLROWSELECT;
constexpr DWORD kListStyles = LVS_TYPEMASK | LVS_EDITLABELS | LVS_SHOWSELALWAYS;

}  // namespace

DWORD TreeViewStyle(const TreeView& v) {
  DWORD s = TVS_NOTOOLTIPS;
  if (v.ShowButtons()) s |= TVS_HASBUTTONS;
  if (v.ShowLines()) s |= TVS_HASLINES;
  if (v.ShowRoot()) s |= TVS_LINESATROOT;
  if (!v.ReadOnly()) s |= TVS_EDITLABELS;
  if (!v.HideSelection()) s |= TVS_SHOWSELALWAYS;
  if (v.RowSelect()) s |= TVS_FULLROWSELECT;
  return s;
}

DWORD ListViewStyle(const ListView& v) {
  DWORD s = LVS_SINGLESEL | LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE;
  switch (v.GetViewStyle()) {
    case ListView::ViewStyle::kIcon:
      s |= LVS_ICON;
      break;
    case ListView::ViewStyle::kSmallIcon:
      s |= LVS_SMALLICON;
      break;
    case ListView::ViewStyle::kList:
      s |= LVS_LIST;
      break;
    case ListView::ViewStyle::kReport:
      s |= LVS_REPORT;
      break;
  }
  if (!v.ReadOnly()) s |= LVS_EDITLABELS;
  if (!v.HideSelection()) s |= LVS_SHOWSELALWAYS;
  return s;
}

// --- image lists ---------------------------------------------------------------

HIMAGELIST ImageListCache::For(const ImageList* images, bool* renewed) {
  *renewed = false;
  if (!images) {
    *renewed = list_.get() != nullptr;
    list_.reset();
    source_ = nullptr;
    return nullptr;
  }
  if (list_ && images == source_ && images->Revision() == revision_) return list_.get();
  int w = images->Width(), h = images->Height();
  ImageListHandle list(ImageList_Create(w, h, ILC_COLOR32 | ILC_MASK, images->Count(), 4));
  if (!list) return nullptr;
  // Every slot exists, so an image that will not load keeps the others in
  // their places.
  ImageList_SetImageCount(list.get(), static_cast<UINT>(images->Count()));
  for (int i = 0; i < images->Count(); ++i) {
    IconHandle icon(LoadSmallIcon(backend_.Instance(), images->Get(i), w, h));
    if (icon) ImageList_ReplaceIcon(list.get(), i, icon.get());
  }
  list_ = std::move(list);
  source_ = images;
  revision_ = images->Revision();
  *renewed = true;
  return list_.get();
}

// --- tree ------------------------------------------------------------------------

void TreeViewWindow::SyncState() {
  SetStyleBits(hwnd_, kTreeStyles, TreeViewStyle(view_));
  SendMessageA(hwnd_, TVM_SETINDENT, static_cast<WPARAM>(view_.Indent()), 0);
}

HTREEITEM TreeViewWindow::Insert(TreeNode* node, HTREEITEM parent) {
  TVINSERTSTRUCTA ins{};
  ins.hParent = parent;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  ins.item.pszText = const_cast<char*>(node->Text().c_str());
  ins.item.iImage = node->ImageIndex();
  ins.item.iSelectedImage = node->SelectedIndex();
  ins.item.lParam = reinterpret_cast<LPARAM>(node);
  auto h = reinterpret_cast<HTREEITEM>(
      SendMessageA(hwnd_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
  if (!h) return nullptr;
  items_[node] = h;
  for (int i = 0; i < node->Count(); ++i) Insert(node->Item(i), h);
  return h;
}

void TreeViewWindow::SyncItems() {
  SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
  bool renewed = false;
  HIMAGELIST list = images_.For(view_.Images(), &renewed);
  if (renewed) SendMessageA(hwnd_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
  SendMessageA(hwnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  items_.clear();
  for (int i = 0; i < view_.TopCount(); ++i) Insert(view_.TopItem(i), TVI_ROOT);
  for (TreeNode* n : view_.AllNodes())
    if (n->Expanded() && n->Count() > 0)
      SendMessageA(hwnd_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(items_[n]));
  SyncSelection();
  SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void TreeViewWindow::SyncSelection() {
  auto it = items_.find(view_.Selected());
  HTREEITEM h = it == items_.end() ? nullptr : it->second;
  SendMessageA(hwnd_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(h));
}

void TreeViewWindow::StartEdit() {
  auto it = items_.find(view_.Editing());
  if (it == items_.end()) return;
  SetFocus(hwnd_);
  SendMessageA(hwnd_, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(it->second));
}

TreeNode* TreeViewWindow::NodeOf(LPARAM param) const {
  auto* node = reinterpret_cast<TreeNode*>(param);
  return items_.count(node) ? node : nullptr;
}

LRESULT TreeViewWindow::Notified(const NMHDR& header, bool syncing) {
  switch (header.code) {
    case NM_CLICK:
      view_.ClickedFromWindow();
      return 0;
    case NM_RCLICK: {
      // The menu comes from here, at the pointer, whatever the system's
      // tree would do after the notice; the selection stays.
      DWORD pos = GetMessagePos();
      SendMessageA(hwnd_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd_),
                   MAKELPARAM(LOWORD(pos), HIWORD(pos)));
      return TRUE;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      // The item parts of the A and W forms lie at the same places.
      if (!syncing)
        view_.SelectedFromWindow(NodeOf(reinterpret_cast<const NMTREEVIEWA&>(header).itemNew.lParam));
      return 0;
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW: {
      auto& tv = reinterpret_cast<const NMTREEVIEWA&>(header);
      if (TreeNode* n = NodeOf(tv.itemNew.lParam))
        view_.ExpandedFromWindow(n, (tv.action & TVE_EXPAND) != 0);
      return 0;
    }
    case TVN_BEGINLABELEDITA:
    case TVN_BEGINLABELEDITW:
      return view_.ReadOnly() ? TRUE : FALSE;
    case TVN_ENDLABELEDITA:
    case TVN_ENDLABELEDITW: {
      auto& info = reinterpret_cast<const NMTVDISPINFOA&>(header);
      TreeNode* node = NodeOf(info.item.lParam);
      std::string text;
      const std::string* edited = nullptr;
      if (info.item.pszText) {
        text = LabelText(info.item.pszText, header.code == TVN_ENDLABELEDITW);
        edited = &text;
      }
      const std::string* now = view_.EditEndedFromWindow(node, edited);
      if (now) {
        TVITEMA item{};
        item.mask = TVIF_TEXT;
        item.hItem = info.item.hItem;
        item.pszText = const_cast<char*>(now->c_str());
        SendMessageA(hwnd_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
      }
      return FALSE;  // the text, if any, is set above
    }
    default:
      return 0;
  }
}

// --- list --------------------------------------------------------------------------

void ListViewWindow::SyncState() { SetStyleBits(hwnd_, kListStyles, ListViewStyle(view_)); }

void ListViewWindow::SyncItems() {
  SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
  if (view_.SystemImages())
    SendMessageA(hwnd_, LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(SystemSmallImages()));
  SendMessageA(hwnd_, LVM_DELETEALLITEMS, 0, 0);
  SendMessageA(hwnd_, LVM_SETITEMCOUNT, static_cast<WPARAM>(view_.Count()), 0);
  int i = 0;
  for (const ListItem& it : view_.Items()) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = i;
    item.pszText = const_cast<char*>(it.caption.c_str());
    // The list asks for the image when it first draws the item.
    item.iImage = it.image == ListItem::kImageWhenShown ? I_IMAGECALLBACK : it.image;
    item.lParam = i;
    SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    ++i;
  }
  SyncSelection();
  SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListViewWindow::SyncSelection() {
  LVITEMA clear{};
  clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
  auto set = [this](int index, UINT state) {
    if (index < 0) return;
    LVITEMA s{};
    s.stateMask = state;
    s.state = state;
    SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&s));
  };
  set(view_.ItemFocused(), LVIS_FOCUSED);
  set(view_.ItemIndex(), LVIS_SELECTED);
}

namespace {

// The program's control under a screen point, and the point in its client
// coordinates.
Control* ControlAtScreen(POINT pt, Point* client) {
  HWND h = WindowFromPoint(pt);
  Win32Peer* peer = h ? Win32Peer::FromWindow(h) : nullptr;
  if (!peer) return nullptr;
  ScreenToClient(h, &pt);
  *client = {pt.x, pt.y};
  return &peer->Owner();
}

}  // namespace

void ListViewWindow::Pressed(LPARAM at) {
  if (GetKeyState(VK_LBUTTON) >= 0) return;  // released while the list had it
  POINT pt{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  // Some lists mark the pressed item only on the release: the entry that
  // would be dragged is the one under the press.
  int pressed = -1;
  for (int i = 0; i < view_.Count() && pressed < 0; ++i) {
    RECT r{};
    r.left = LVIR_BOUNDS;
    if (SendMessageA(hwnd_, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)) &&
        PtInRect(&r, pt))
      pressed = i;
  }
  bool armed = view_.DragStartedFromWindow();
  if (pressed < 0 || !armed) return;
  if (view_.ItemFocused() != pressed) view_.SetItemIndex(pressed);
  POINT screen = pt;
  ClientToScreen(hwnd_, &screen);
  if (DragDetect(hwnd_, screen)) {
    TrackDrag();
  } else {
    // The release went to the detection: the list still has to see it.
    PostMessageA(hwnd_, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  }
}

void ListViewWindow::TrackDrag() {
  // Held here until the button comes up: the move cursor over a control
  // that takes the entry, the no-entry sign elsewhere. Escape, or losing
  // the mouse to another window, ends it without a drop.
  SetCapture(hwnd_);
  HCURSOR move = LoadCursorA(nullptr, MAKEINTRESOURCEA(32646));  // IDC_SIZEALL
  HCURSOR refuse = LoadCursorA(nullptr, MAKEINTRESOURCEA(32648));  // IDC_NO
  MSG m;
  Control* target = nullptr;
  Point at;
  bool drop = false;
  while (GetCapture() == hwnd_ && GetMessageA(&m, nullptr, 0, 0)) {
    if (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP) {
      POINT pt{static_cast<short>(LOWORD(m.lParam)), static_cast<short>(HIWORD(m.lParam))};
      ClientToScreen(m.hwnd, &pt);
      target = ControlAtScreen(pt, &at);
      bool accepted = target && target->DragOverFromWindow(view_, at);
      SetCursor(accepted ? move : refuse);
      if (m.message == WM_LBUTTONUP) {
        drop = accepted;
        // The list ends its own drag state on the release.
        DispatchMessageA(&m);
        break;
      }
      continue;
    }
    if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) break;
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  if (GetCapture() == hwnd_) ReleaseCapture();
  if (drop) target->DragDropFromWindow(view_, at);
}

LRESULT ListViewWindow::Notified(const NMHDR& header, bool syncing) {
  switch (header.code) {
    case LVN_ITEMCHANGED: {
      auto& lv = reinterpret_cast<const NMLISTVIEW&>(header);
      if (syncing || !(lv.uChanged & LVIF_STATE)) return 0;
      int selected = static_cast<int>(
          SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
      int focused = static_cast<int>(
          SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
      view_.SelectionFromWindow(selected, focused);
      return 0;
    }
    case LVN_BEGINDRAG:
      if (view_.DragStartedFromWindow()) TrackDrag();
      return 0;
    case LVN_GETDISPINFOA:
    case LVN_GETDISPINFOW: {
      // The image part is laid out alike in both forms.
      auto& info = const_cast<NMLVDISPINFOA&>(reinterpret_cast<const NMLVDISPINFOA&>(header));
      if (info.item.mask & LVIF_IMAGE) {
        info.item.iImage = view_.ShownImage(info.item.iItem);
        info.item.mask |= LVIF_DI_SETITEM;  // kept by the list from now on
      }
      return 0;
    }
    case LVN_BEGINLABELEDITA:
    case LVN_BEGINLABELEDITW:
      return view_.ReadOnly() ? TRUE : FALSE;
    case LVN_ENDLABELEDITA:
    case LVN_ENDLABELEDITW: {
      auto& info = reinterpret_cast<const NMLVDISPINFOA&>(header);
      if (!info.item.pszText) return FALSE;
      int index = info.item.iItem;
      std::string text = LabelText(info.item.pszText, header.code == LVN_ENDLABELEDITW);
      if (view_.EditedFromWindow(index, text) && index < view_.Count()) {
        const std::string& now = view_.Items()[static_cast<std::size_t>(index)].caption;
        LVITEMA item{};
        item.iSubItem = 0;
        item.pszText = const_cast<char*>(now.c_str());
        SendMessageA(hwnd_, LVM_SETITEMTEXTA, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
      }
      return FALSE;  // the shell's name, if any, is set above
    }
    default:
      return 0;
  }
}

}  // namespace corvane::ui::win32
