#include "skin/win32/skin_mdi.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/text.h"
#include "skin/win32/skin_form.h"
#include "skin/win32/skin_manage.h"

namespace corvane::skin::win32 {

namespace {
BOOL CALLBACK FindMdiClient(HWND child, LPARAM lp) {
  if (text::SameText(ClassNameOf(child), "MDIClient")) {
    *reinterpret_cast<HWND*>(lp) = child;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

// --- FormMdi ------------------------------------------------------------------------

FormMdi::FormMdi(TWinSkinForm& form) : form_(form) {}

FormMdi::~FormMdi() = default;

void FormMdi::Attach(HWND window, bool mdi_child) {
  client_ = nullptr;
  EnumChildWindows(window, &FindMdiClient, reinterpret_cast<LPARAM>(&client_));
  role_ = mdi_child ? MdiRole::kChild : client_ ? MdiRole::kParent : MdiRole::kNone;
  if (role_ != MdiRole::kParent) return;
  client_skin_ = std::make_unique<MdiClientSkin>(form_, client_);
  if (!client_skin_->Installed()) client_skin_.reset();
}

void FormMdi::Release() { ReleaseWhenIdle(client_skin_); }

bool FormMdi::MaximisedNow() const { return form_.Manager() && form_.Manager()->MdiMaximised(); }

void FormMdi::SetMaximised(bool on) const {
  if (TSkinManage* m = form_.Manager()) m->SetMdiMaximised(on);
}

bool FormMdi::ActiveChildMaximised() const {
  bool maximised = false;
  if (client_skin_) client_skin_->ActiveChild(&maximised);
  return maximised;
}

void FormMdi::CommandActiveChild(UINT command) const {
  if (!Parent() || !client_) return;
  auto child = reinterpret_cast<HWND>(SendMessageA(client_, WM_MDIGETACTIVE, 0, 0));
  if (child) SendMessageA(child, WM_SYSCOMMAND, command, 0);
  if (MaximisedNow() && !ActiveChildMaximised()) SetMaximised(false);
}

void FormMdi::NoteMaximisedChild() const {
  if (Parent() && form_.Manager() && !MaximisedNow() && ActiveChildMaximised()) SetMaximised(true);
}

// --- MdiClientSkin ------------------------------------------------------------------

MdiClientSkin::MdiClientSkin(TWinSkinForm& parent, HWND client)
    : SkinnedWindow(Kind::kMdiClient),
      parent_(parent),
      client_(client),
      menu_update_at_attach_(parent.Skin().MenuUpdate) {
  Subclass(client);
}

MdiClientSkin::~MdiClientSkin() { Unsubclass(); }

HWND MdiClientSkin::ActiveChild(bool* maximised) const {
  BOOL max = FALSE;
  auto child = reinterpret_cast<HWND>(
      SendMessageA(client_, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&max)));
  if (maximised) *maximised = child && max;
  return child;
}

bool MdiClientSkin::FrameSkinned() const {
  return (parent_.Skin().SkinControls & SkinControlBit(xcMainMenu)) != 0;
}

LRESULT MdiClientSkin::Own(UINT msg, WPARAM wp, LPARAM lp) { return CallOwnProc(client_, msg, wp, lp); }

LRESULT MdiClientSkin::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  TSkinManage* manager = parent_.Manager();
  switch (msg) {
    case WM_NCDESTROY: {
      const LRESULT r = Own(msg, wp, lp);
      // The client is gone: a subclassing over ours leaves no orphan.
      DropSubclass();
      return r;
    }
    case WM_NCCALCSIZE:
      if (FrameSkinned()) {
        // Children beyond the client's edge would bring the system's scroll
        // bars, which the skin cannot draw.
        const LONG_PTR style = GetWindowLongPtrA(client_, GWL_STYLE);
        if (style & (WS_HSCROLL | WS_VSCROLL))
          SetWindowLongPtrA(client_, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_HSCROLL | WS_VSCROLL));
      }
      return Own(msg, wp, lp);
    case WM_MDICREATE: {
      parent_.Skin().MenuUpdate = false;
      const LRESULT r = Own(msg, wp, lp);
      created_ = reinterpret_cast<HWND>(r);
      return r;
    }
    case WM_MDIDESTROY: {
      const LRESULT r = Own(msg, wp, lp);
      if (FrameSkinned() && manager) {
        bool maximised = false;
        ActiveChild(&maximised);
        manager->SetMdiMaximised(maximised);
        // The menu bar takes the frame menu's changes again once no child
        // is left to change it.
        if (manager->SkinnedMdiChildren() == 0) parent_.Skin().MenuUpdate = menu_update_at_attach_;
      }
      return r;
    }
    case WM_MDICASCADE:
    case WM_MDITILE:
      if (FrameSkinned() && manager) manager->SetMdiMaximised(false);
      return Own(msg, wp, lp);
    case WM_MDIREFRESHMENU: {
      const LRESULT r = Own(msg, wp, lp);
      // The host refreshes the menu once a new child is complete.
      if (created_) {
        const HWND child = std::exchange(created_, nullptr);
        if (manager && IsWindow(child)) manager->AttachMdiChild(child);
        PostMessageA(parent_.Window(), kMsgRepaintFrame, 0, 0);
      }
      return r;
    }
    default: return Own(msg, wp, lp);
  }
}

}  // namespace corvane::skin::win32
