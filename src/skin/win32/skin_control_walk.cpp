// Which controls of a skinned window get which skin object: a form's
// components by the form rules, a plain window's children by their class.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "core/text.h"
#include "skin/win32/skin_control_walk.h"

#include "skin/win32/skin_bars_tabs.h"
#include "skin/win32/skin_scroll.h"
#include "skin/win32/skin_form.h"
#include "ui/form.h"
#include "ui/list_view.h"
#include "ui/std_controls.h"
#include "ui/tree_view.h"
#include "ui/win32/win32_peer.h"

namespace corvane::skin::win32 {

namespace {

std::vector<std::pair<const TSkinData*, OnSkinControlHandler>>& Handlers() {
  static std::vector<std::pair<const TSkinData*, OnSkinControlHandler>> handlers;
  return handlers;
}

const OnSkinControlHandler* HandlerFor(const TSkinData& skin) {
  for (auto& [s, h] : Handlers())
    if (s == &skin && h) return &h;
  return nullptr;
}

// The roles the rules test, played by the classes of our library.
std::uint32_t RolesOf(const ui::Control& c, bool top) {
  std::uint32_t r = 0;
  if (dynamic_cast<const ui::CheckBox*>(&c)) r |= kRoleCustomCheckBox;
  if (dynamic_cast<const ui::RadioButton*>(&c)) r |= kRoleRadioButton;
  if (dynamic_cast<const ui::BitBtn*>(&c)) r |= kRoleBitBtn;
  if (dynamic_cast<const ui::Button*>(&c)) r |= kRoleButton;
  if (dynamic_cast<const ui::Memo*>(&c)) r |= kRoleCustomMemo | kRoleMemo;
  if (dynamic_cast<const ui::Edit*>(&c)) r |= kRoleCustomEdit;
  if (dynamic_cast<const ui::TreeView*>(&c)) r |= kRoleCustomTreeView;
  if (dynamic_cast<const ui::ListView*>(&c)) r |= kRoleCustomListView;
  if (dynamic_cast<const ui::Panel*>(&c)) r |= kRoleCustomPanel | kRoleContainer;
  if (c.IsForm() && !top) r |= kRoleEmbeddedForm;
  if (c.ClassName() == "TWinControl") r |= kRoleContainer;
  // The library has no speed button; a windowless control of that class
  // (a host's own) plays the role.
  if (c.ClassName() == "TSpeedButton" && !c.IsWindowed()) r |= kRoleSpeedButton;
  return r;
}

HWND HandleOf(ui::Control& c) {
  auto* w = dynamic_cast<ui::WinControl*>(&c);
  return w ? reinterpret_cast<HWND>(w->Handle()) : nullptr;
}

// The arrow window a spin edit keeps beside itself.
HWND UpDownOf(HWND edit) {
  for (HWND h = GetWindow(GetParent(edit), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
    if (text::SameText(ClassNameOf(h), UPDOWN_CLASSA) &&
        reinterpret_cast<HWND>(SendMessageA(h, UDM_GETBUDDY, 0, 0)) == edit)
      return h;
  return nullptr;
}

}  // namespace

void SetOnSkinControl(const TSkinData& skin, OnSkinControlHandler handler) {
  auto& all = Handlers();
  for (auto& [s, h] : all) {
    if (s != &skin) continue;
    h = std::move(handler);
    return;
  }
  if (handler) all.emplace_back(&skin, std::move(handler));
}

std::unique_ptr<TSkinControl> MakeSkinObject(SkinObject kind, SkinControls* list) {
  switch (kind) {
    case SkinObject::kButton: return std::make_unique<TSkinButton>(list);
    case SkinObject::kBitButton: return std::make_unique<TSkinBitButton>(list);
    case SkinObject::kSpeedButton: return std::make_unique<TSkinSpeedButton>(list);
    case SkinObject::kCheckBox: return std::make_unique<TSkinCheckBox>(list);
    case SkinObject::kRadioButton: return std::make_unique<TSkinRadioButton>(list);
    case SkinObject::kEdit: return std::make_unique<TSkinEdit>(list);
    case SkinObject::kComBox: return std::make_unique<TSkinComBox>(list);
    case SkinObject::kBox: return std::make_unique<TSkinBox>(list);
    case SkinObject::kSizer: return std::make_unique<TSkinSizer>(list);
    case SkinObject::kScrollBar: return std::make_unique<TSkinScrollBar>(list);
    case SkinObject::kScControl: return std::make_unique<TSkinScControl>(list);
    case SkinObject::kListView: return std::make_unique<TSkinListView>(list);
    case SkinObject::kTab: return std::make_unique<TSkinTab>(list);
    case SkinObject::kTab31: return std::make_unique<TSkinTab31>(list);
    case SkinObject::kTrackBar: return std::make_unique<TSkinTrackBar>(list);
    case SkinObject::kUpDown: return std::make_unique<TSkinUpDown>(list);
    case SkinObject::kProgress: return std::make_unique<TSkinProgress>(list);
    case SkinObject::kStatusBar: return std::make_unique<TSkinStatusBar>(list);
    case SkinObject::kNone: break;
  }
  return nullptr;
}

// --- SkinControls -----------------------------------------------------------------

void SkinControls::SkinChildren(ui::WinControl* form, HWND window) {
  if (skin_.NotLoaded()) return;
  if (form)
    SkinForm(*form);
  else if (window)
    SkinWindowChildren(window);
}

void SkinControls::SkinForm(ui::WinControl& container) {
  // Skinning creates windows, never components; the copy guards anyway.
  const std::vector<ui::Component*> components = container.Components();
  for (ui::Component* comp : components)
    if (auto* c = dynamic_cast<ui::Control*>(comp)) SkinOne(container, *c);
}

void SkinControls::SkinOne(ui::WinControl& container, ui::Control& c) {
  const bool top = form_ && form_->HostForm() == &c;
  if (top) return;
  ControlFacts f;
  f.class_upper = text::UpperCase(c.ClassName());
  f.tag = c.Tag();
  f.roles = RolesOf(c, top);
  f.has_skin_object = Find(&c) != nullptr;
  auto* windowed = dynamic_cast<ui::WinControl*>(&c);
  f.windowed = windowed != nullptr;
  f.has_window = windowed && windowed->HandleAllocated();
  if (ui::Form* form = c.ParentForm()) f.in_preview_form = IsPrintPreviewForm(form->Name(), form->ClassName());
  const std::vector<std::string>& skin3rd = skin_.Skin3rd.empty() ? BuiltInSkin3rd() : skin_.Skin3rd;
  ControlSkinSettings s;
  s.disable_tag = skin_.DisableTag;
  s.controls = skin_.SkinControls;
  s.has_tabs = skin_.Model().Tabs && !skin_.Model().Tabs->Image.Empty();
  s.skin3rd = &skin3rd;
  switch (PrecheckControl(f, s)) {
    case ControlPrecheck::kSkip: return;
    case ControlPrecheck::kCreateWindow:
      // A hidden panel's windows are made when it first shows, and skinned then.
      if (form_ && windowed->WindowPutOff()) {
        put_off_.emplace_back(&container, &c);
        c.WatchFree(&put_off_, [this, &c] {
          put_off_.erase(std::remove_if(put_off_.begin(), put_off_.end(),
                                        [&](const auto& p) { return p.second == &c; }),
                         put_off_.end());
        });
        return;
      }
      windowed->HandleNeeded();
      if (!windowed->HandleAllocated()) return;
      break;
    case ControlPrecheck::kContinue: break;
  }
  if (windowed && windowed->HandleAllocated()) {
    const LONG_PTR style = GetWindowLongPtrA(HandleOf(c), GWL_STYLE);
    f.scroll_styles = (style & (WS_HSCROLL | WS_VSCROLL)) != 0;
  }
  if (const OnSkinControlHandler* handler = HandlerFor(skin_); handler && form_) {
    if (std::unique_ptr<TSkinControl> own = (*handler)(*form_, skin_, container, c, f.class_upper)) {
      if (Contains(own.get())) {
        own.release();  // already ours
        return;
      }
      own->AttachToControl(c, skin_, false);
      Adopt(std::move(own));
      if (auto* panel = dynamic_cast<ui::Panel*>(&c)) SkinForm(*panel);
      return;
    }
  }
  ApplyDecision(MapFormControl(f, s), c);
}

void SkinControls::WindowsMade() {
  // In the walk's order, a panel before the controls on it, whichever of
  // their windows told first.
  std::vector<std::pair<ui::WinControl*, ui::Control*>> now;
  for (auto it = put_off_.begin(); it != put_off_.end();) {
    auto* w = static_cast<ui::WinControl*>(it->second);
    if (!w->HandleAllocated()) {
      ++it;
      continue;
    }
    w->UnwatchFree(&put_off_);
    now.push_back(*it);
    it = put_off_.erase(it);
  }
  for (auto& [container, control] : now) SkinOne(*container, *control);
}

void SkinControls::ApplyDecision(const ControlDecision& d, ui::Control& c) {
  const SkinColour face = skin_.Model().Colours.ButtonFace;
  if (d.colour_to_button_face) c.SetColor(face);
  // Properties set by name ("Flat", "Transparent") and the tool-bar and
  // status-bar options belong to classes our library does not have.
  auto* windowed = dynamic_cast<ui::WinControl*>(&c);
  if (windowed && (d.children_parent_colour_off || d.child_object != SkinObject::kNone)) {
    const std::vector<ui::Control*> children = windowed->Controls();
    for (ui::Control* child : children) {
      if (d.children_parent_colour_off) child->SetParentColor(false);
      if (d.child_object != SkinObject::kNone && !Find(child)) AttachControl(d.child_object, *child, true);
    }
  }
  if (d.object != SkinObject::kNone) {
    if (d.on_window || d.standalone) {
      if (HWND h = HandleOf(c)) AttachWindow(d.object, h);
    } else {
      AttachControl(d.object, c, d.recolour);
    }
  }
  // A spin edit's arrows are a window of their own beside it.
  if (dynamic_cast<ui::SpinEdit*>(&c) && (skin_.SkinControls & SkinControlBit(xcButton))) {
    if (auto* w = dynamic_cast<ui::WinControl*>(&c); w && w->HandleAllocated())
      if (HWND arrows = UpDownOf(HandleOf(c))) AttachWindow(SkinObject::kUpDown, arrows);
  }
  if (d.recurse && windowed) SkinForm(*windowed);
}

void SkinControls::SkinWindowChildren(HWND parent) {
  for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    const auto style = static_cast<std::uint32_t>(GetWindowLongPtrA(h, GWL_STYLE));
    if (!(style & WS_CHILD) || Find(h)) continue;
    HWND first = GetWindow(h, GW_CHILD);
    const ChildWindowDecision d = MapChildWindow(ClassNameOf(h), style, first != nullptr);
    SkinObject kind = d.object;
    if (kind == SkinObject::kNone) continue;
    // A scroll-bar child that is a real bar, not a size box, is drawn as one.
    if (kind == SkinObject::kSizer && !(style & (SBS_SIZEBOX | SBS_SIZEGRIP)))
      kind = SkinObject::kScControl;
    AttachWindow(kind, d.on_first_child ? first : h);
  }
}

TSkinControl* SkinControls::AttachWindow(SkinObject kind, HWND window) {
  if (!window) return nullptr;
  if (TSkinControl* existing = Find(window)) return existing;
  std::unique_ptr<TSkinControl> object = MakeSkinObject(kind, this);
  if (!object) return nullptr;
  object->AttachToWindow(window, skin_);
  if (!object->Attached()) return nullptr;
  return Adopt(std::move(object));
}

TSkinControl* SkinControls::AttachControl(SkinObject kind, ui::Control& control, bool recolour) {
  if (TSkinControl* existing = Find(&control)) return existing;
  std::unique_ptr<TSkinControl> object = MakeSkinObject(kind, this);
  if (!object) return nullptr;
  object->AttachToControl(control, skin_, recolour);
  if (!object->Attached()) return nullptr;
  return Adopt(std::move(object));
}

TSkinControl* SkinControls::Adopt(std::unique_ptr<TSkinControl> object) {
  if (!object) return nullptr;
  TSkinControl* o = object.get();
  members_.insert(o);
  if (const ui::Control* c = o->HostControl()) by_control_.emplace(c, o);
  objects_.push_back(std::move(object));
  return o;
}

void SkinControls::Forget(const TSkinControl* object) {
  members_.erase(object);
  for (auto it = by_control_.begin(); it != by_control_.end(); ++it) {
    if (it->second != object) continue;
    by_control_.erase(it);
    break;
  }
  DropHot(object);
}

void SkinControls::Release() {
  hot_ = nullptr;
  for (auto& [container, control] : put_off_) control->UnwatchFree(&put_off_);
  put_off_.clear();
  std::vector<std::unique_ptr<TSkinControl>> objects = std::move(objects_);
  objects_.clear();
  members_.clear();
  by_control_.clear();
  for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
    (*it)->Detach();
    // A handler still running frees its object when it returns.
    ReleaseWhenIdle(*it);
  }
}

void SkinControls::Discard(TSkinControl* object) {
  if (!Contains(object)) return;
  for (auto it = objects_.begin(); it != objects_.end(); ++it) {
    if (it->get() != object) continue;
    std::unique_ptr<TSkinControl> gone = std::move(*it);
    objects_.erase(it);
    Forget(object);
    gone->Detach();
    ReleaseWhenIdle(gone);
    return;
  }
}

void SkinControls::Refresh() {
  for (auto& o : objects_) o->Refresh();
}

void SkinControls::HoverTick() {
  // A control without a window hears of the mouse leaving from the library.
  if (!hot_ || !hot_->Window()) return;
  HWND h = hot_->Window();
  POINT pt;
  RECT wr;
  bool inside = false;
  if (h && IsWindow(h) && GetCursorPos(&pt) && GetWindowRect(h, &wr) && PtInRect(&wr, pt)) {
    HWND under = WindowFromPoint(pt);
    inside = under == h || IsChild(h, under);
  }
  if (!inside) hot_->MouseLeft();
}

void SkinControls::SetHot(TSkinControl* c) {
  if (hot_ == c) return;
  TSkinControl* old = hot_;
  hot_ = c;
  if (old) old->MouseLeft();
}

TSkinControl* SkinControls::Find(HWND window) const {
  if (!window) return nullptr;
  TSkinControl* o = SkinRegistry::FindAs<TSkinControl>(window, SkinnedWindow::Kind::kControl);
  if (o) return Contains(o) ? o : nullptr;
  // A control of the library is skinned through its message method, and
  // its peer knows it by its window.
  ui::win32::Win32Peer* peer = ui::win32::Win32Peer::FromWindow(window);
  return peer ? Find(&peer->Owner()) : nullptr;
}

TSkinControl* SkinControls::Find(const ui::Control* control) const {
  const auto it = by_control_.find(control);
  return it == by_control_.end() ? nullptr : it->second;
}

}  // namespace corvane::skin::win32
