#include "skin/win32/skin_manage.h"

#include <algorithm>
#include <utility>

#include "core/text.h"
#include "ui/application.h"
#include "ui/form.h"

namespace corvane::skin::win32 {

namespace {

std::unique_ptr<TSkinManage>& TheManager() {
  static std::unique_ptr<TSkinManage> manager;
  return manager;
}

constexpr char kTimerClass[] = "CorvaneSkinManage";

BOOL CALLBACK CollectVisible(HWND window, LPARAM lp) {
  if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(window);
  return TRUE;
}

}  // namespace

TSkinManage* TSkinManage::Instance() { return TheManager().get(); }

TSkinManage& TSkinManage::Create(ui::Application* app) {
  auto& m = TheManager();
  if (!m) m.reset(new TSkinManage(app));
  return *m;
}

void TSkinManage::Destroy() {
  // Reset first, so nothing the shut-down sets off finds a half-gone manager.
  std::unique_ptr<TSkinManage> m = std::move(TheManager());
  m.reset();
}

TSkinManage::TSkinManage(ui::Application* app) : app_(app) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc = {};
  if (!GetClassInfoA(instance, kTimerClass, &wc)) {
    wc.lpfnWndProc = &TSkinManage::TimerWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kTimerClass;
    RegisterClassA(&wc);
  }
  // A message-only window: never shown, never activated, never skinned.
  timer_window_.reset(CreateWindowExA(0, kTimerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      instance, nullptr));
  timer_ = std::make_unique<WindowTimer>(timer_window_.get(), kCommandTimerId);
  InstallProgramMenuSkin();
}

TSkinManage::~TSkinManage() {
  RemoveProgramMenuSkin();
  queue_.activation_count = 4;
  if (timer_) timer_->Stop();
  // Newest window first, then the hook, then the timer.
  while (!forms_.empty()) {
    std::unique_ptr<TWinSkinForm> f = std::move(forms_.back());
    forms_.pop_back();
    if (f->InCall()) f->QuickDetach();  // freeing waits for its handler; the window may not
    ReleaseWhenIdle(f);
  }
  hook_.reset();
  timer_.reset();
  timer_window_.reset();
}

// --- Skins ------------------------------------------------------------------

void TSkinManage::Register(TSkinData* skin, HWND owner,
                           std::function<void(const std::string&, bool&)> on_form_skin) {
  RegisteredSkin r;
  r.data = skin;
  r.owner_window = reinterpret_cast<WindowId>(owner);
  r.on_form_skin = std::move(on_form_skin);
  skins_.push_back(std::move(r));
}

void TSkinManage::Unregister(TSkinData* skin) {
  auto it = std::find_if(skins_.begin(), skins_.end(),
                         [&](const RegisteredSkin& r) { return r.data == skin; });
  if (it != skins_.end()) skins_.erase(it);
  if (current_ == skin) current_ = nullptr;
}

bool TSkinManage::IsRegistered(const TSkinData* skin, RegisteredSkin* out) const {
  for (const RegisteredSkin& r : skins_) {
    if (r.data != skin) continue;
    if (out) *out = r;
    return true;
  }
  return false;
}

void TSkinManage::SkinLoaded(TSkinData* skin, HWND owner) {
  if (!IsRegistered(skin, nullptr)) Register(skin, owner);
  if (skin->SkinFormtype == sfMainform) {
    InstallHook();
    if (!skin->Active) return;
    if (skin->NotLoaded()) {
      skin->Active = false;  // no valid skin
      return;
    }
    current_ = skin;
    Queue(kCmdActivate);
    return;
  }
  queue_.active = true;
  ++queue_.activation_count;
  RegisteredSkin r;
  if (IsRegistered(skin, &r)) AttachOwnerOf(r);
}

void TSkinManage::SetSkinActive(TSkinData* skin, bool active) {
  if (skin->Active == active) return;
  skin->Active = active;
  if (skin->SkinFormtype == sfDialog) return;
  if (skin->SkinFormtype == sfOnlyThisForm) current_ = skin;
  if (active && skin->NotLoaded()) return;
  current_ = skin;
  Queue(active ? kCmdActivate : kCmdDeactivate);
}

Bitmap32 TSkinManage::MainAppIcon() const {
  Bitmap32 icon;
  for (const RegisteredSkin& r : skins_)
    if (r.data->SkinFormtype == sfMainform && !r.data->AppIcon.Empty()) icon = r.data->AppIcon;
  return icon;
}

// --- Hook ------------------------------------------------------------------------

bool TSkinManage::InstallHook() {
  if (!hook_) hook_ = InstallThreadCbtHook(&TSkinManage::HookProc);
  return static_cast<bool>(hook_);
}

LRESULT CALLBACK TSkinManage::HookProc(int code, WPARAM wp, LPARAM lp) {
  TSkinManage* m = Instance();
  if (m && code == HCBT_CREATEWND) {
    auto* cbt = reinterpret_cast<CBT_CREATEWNDA*>(lp);
    const std::string cls = ClassNameOf(reinterpret_cast<HWND>(wp));
    const auto style = static_cast<std::uint32_t>(cbt->lpcs->style);
    if (RefuseSizeGrip(cls, style, m->FindForm(cbt->lpcs->hwndParent) != nullptr)) return 10;
    if (text::SameText(cls, "#32768")) m->SkinPopup(reinterpret_cast<HWND>(wp));
  } else if (m && code == HCBT_DESTROYWND) {
    m->popups_.Remove(reinterpret_cast<HWND>(wp));
  } else if (m && code == HCBT_ACTIVATE) {
    if (m->queue_.activation_count == 0) m->queue_.activation_count = 1;
    m->Attach(reinterpret_cast<HWND>(wp));
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

ui::Form* TSkinManage::FormOf(HWND window) const {
  return app_ ? app_->FindForm(reinterpret_cast<ui::WindowHandle>(window)) : nullptr;
}

bool TSkinManage::Attach(HWND window) {
  if (!IsWindow(window)) return false;
  AttachFacts f;
  f.manager_active = queue_.active;
  f.answers_skinned = SendMessageA(window, kMsgSkinned, 0, 0) == 1;
  f.already_listed = FindForm(window) != nullptr;
  ui::Form* form = FormOf(window);
  f.has_form = form != nullptr;
  f.form_tag = form ? form->Tag() : 0;
  f.is_child = (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) != 0;
  f.parent_class = ClassNameOf(GetParent(window));
  f.attach_mdi_children = attach_mdi_children_;
  RECT r;
  GetWindowRect(window, &r);
  f.width = r.right - r.left;
  f.height = r.bottom - r.top;
  f.class_name = ClassNameOf(window);
  f.window = reinterpret_cast<WindowId>(window);
  const AttachDecision d = DecideAttach(f, skins_);
  if (!d.Accepted()) return false;
  auto skinned = std::make_unique<TWinSkinForm>(this, *skins_[static_cast<std::size_t>(d.skin)].data,
                                                window);
  if (form) {
    skinned->AttachAsForm(*form);
  } else {
    skinned->AttachAsWindow();
  }
  if (!skinned->Attached()) return false;
  forms_.push_back(std::move(skinned));
  PostMessageA(window, kMsgFinishAttach, 0, 1000);
  return true;
}

TSkinData* TSkinManage::PopupSkin() const {
  const int i = ChooseSkin(skins_, 0, "#32768");
  return i < 0 ? nullptr : skins_[static_cast<std::size_t>(i)].data;
}

void TSkinManage::SkinPopup(HWND popup) {
  PopupFacts f;
  f.manager_active = queue_.active;
  // A window being created answers nothing yet; only a skin of ours could.
  f.has_popup_skin = popups_.Find(popup) != nullptr;
  f.window = reinterpret_cast<WindowId>(popup);
  const int i = DecidePopupSkin(f, skins_);
  if (i >= 0) popups_.Add(*skins_[static_cast<std::size_t>(i)].data, popup);
}

bool TSkinManage::AttachMdiChild(HWND child) {
  const bool was = std::exchange(attach_mdi_children_, true);
  const bool attached = Attach(child);
  attach_mdi_children_ = was;
  return attached;
}

void TSkinManage::SetMdiMaximised(bool on) {
  if (mdi_maximised_ == on) return;
  mdi_maximised_ = on;
  for (std::size_t i = 0; i < forms_.size(); ++i)
    if (forms_[i]->MdiChild()) forms_[i]->MdiMaximisedChanged(on);
}

std::size_t TSkinManage::SkinnedMdiChildren() const {
  return static_cast<std::size_t>(std::count_if(forms_.begin(), forms_.end(), [](const auto& f) {
    return f->MdiChild() && f->State() != kSkinDestroyed && f->State() != kSkinDetaching;
  }));
}

TWinSkinForm* TSkinManage::FindForm(HWND window) const {
  return window ? SkinRegistry::FindAs<TWinSkinForm>(window, SkinnedWindow::Kind::kForm) : nullptr;
}

void TSkinManage::DropTitleButtons() {
  for (const auto& f : forms_) f->DropTitleButtons();
}

// --- Commands ----------------------------------------------------------------------

void TSkinManage::Queue(int command, unsigned interval) {
  queue_.Queue(command, interval);
  if (queue_.timer_running && timer_) timer_->Start(interval);
}

LRESULT CALLBACK TSkinManage::TimerWindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == kCommandTimerId) {
    if (TSkinManage* m = Instance()) m->OnTimer();
    return 0;
  }
  return DefWindowProcA(window, msg, wp, lp);
}

void TSkinManage::OnTimer() {
  timer_->Stop();
  const int command = queue_.TakeOnTick();
  if (!current_) return;
  RunCommand(command);
  TSkinData* skin = current_;
  current_ = nullptr;
  if (OnSkinChanged) OnSkinChanged(skin);
}

std::vector<HWND> TSkinManage::ApplicationWindows() const {
  std::vector<HWND> out;
  if (app_) {
    for (ui::Form* f : app_->Forms())
      if (f->HandleAllocated()) out.push_back(reinterpret_cast<HWND>(f->Handle()));
    return out;
  }
  EnumThreadWindows(GetCurrentThreadId(), &CollectVisible, reinterpret_cast<LPARAM>(&out));
  std::reverse(out.begin(), out.end());  // bottom of the Z order first, like creation order
  // MDI children are windows of the program as well; they come after
  // their parent.
  for (std::size_t i = 0, n = out.size(); i < n; ++i) {
    HWND client = FindWindowExA(out[i], nullptr, "MDIClient", nullptr);
    for (HWND c = client ? GetWindow(client, GW_CHILD) : nullptr; c; c = GetWindow(c, GW_HWNDNEXT))
      if (GetWindowLongPtrA(c, GWL_EXSTYLE) & WS_EX_MDICHILD) out.push_back(c);
  }
  return out;
}

void TSkinManage::AttachOwnerOf(const RegisteredSkin& skin) {
  if (skin.owner_window) Attach(reinterpret_cast<HWND>(skin.owner_window));
}

void TSkinManage::RemoveForm(std::size_t index) {
  std::unique_ptr<TWinSkinForm> f = std::move(forms_[index]);
  forms_.erase(forms_.begin() + static_cast<std::ptrdiff_t>(index));
  ReleaseWhenIdle(f);  // inside a handler, its procedure frees it on the way out
}

void TSkinManage::DeactivateAll(TSkinData* only) {
  if (!only) mdi_maximised_ = false;
  for (std::size_t i = forms_.size(); i-- > 0;) {
    TWinSkinForm& f = *forms_[i];
    if (only && &f.Skin() != only) continue;
    const HWND window = f.Window();
    f.FullDetach();
    RedrawWindow(window, nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RemoveForm(i);
    if (only) return;
  }
}

void TSkinManage::ActivateAll() {
  queue_.active = true;
  attach_mdi_children_ = true;
  std::vector<HWND> windows = ApplicationWindows();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) Attach(*it);
  attach_mdi_children_ = false;
}

void TSkinManage::RunCommand(int command) {
  RegisteredSkin only;
  const bool this_form = current_->SkinFormtype == sfOnlyThisForm && IsRegistered(current_, &only);
  switch (command) {
    case kCmdActivate:
      if (this_form) {
        queue_.active = true;
        attach_mdi_children_ = true;
        AttachOwnerOf(only);
        attach_mdi_children_ = false;
      } else {
        ActivateAll();
      }
      break;
    case kCmdDeactivate:
      queue_.active = false;
      DeactivateAll(this_form ? current_ : nullptr);
      break;
    case kCmdRefresh: {
      std::vector<TWinSkinForm*> using_skin;
      for (const auto& f : forms_)
        if (&f->Skin() == current_) using_skin.push_back(f.get());
      if (this_form && using_skin.size() > 1) using_skin.resize(1);
      for (TWinSkinForm* f : using_skin) {
        f->DropTitleButtons();
        f->RecomputeMetricsAndButtons();
      }
      for (TWinSkinForm* f : using_skin) f->Refresh();
      break;
    }
    case kCmdPurge:
      for (std::size_t i = forms_.size(); i-- > 0;)
        if (forms_[i]->State() == kSkinDestroyed) RemoveForm(i);
      break;
    default: break;
  }
}

}  // namespace corvane::skin::win32
