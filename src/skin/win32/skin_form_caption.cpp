#include "skin/win32/skin_form_caption.h"

#include <string>
#include <utility>

#include "skin/skin_rules.h"
#include "skin/win32/skin_form.h"
#include "skin/win32/skin_menu.h"

namespace corvane::skin::win32 {

void FormCaption::SendWindowCommand(const WindowCommand& c) {
  form_.window_state_ = c.new_state;
  form_.SetHot(nullptr);
  PostMessageA(form_.window_, WM_SYSCOMMAND, c.command, 0);
}

void FormCaption::RunButtonAction(int action, POINT pt) {
  switch (ActionFor(action)) {
    case CaptionAction::kClose:
      form_.StopHover();
      PostMessageA(form_.window_, WM_CLOSE, 0, 0);
      break;
    case CaptionAction::kMaximiseToggle: SendWindowCommand(MaximiseToggle(form_.window_state_)); break;
    case CaptionAction::kMinimiseToggle: SendWindowCommand(MinimiseToggle(form_.window_state_)); break;
    case CaptionAction::kSystemMenu: OpenSystemMenu({pt.x + 1, pt.y + 1}); break;
    case CaptionAction::kMdiMinimise: form_.mdi_.CommandActiveChild(SC_MINIMIZE); break;
    case CaptionAction::kMdiRestore: form_.mdi_.CommandActiveChild(SC_RESTORE); break;
    case CaptionAction::kMdiClose: form_.mdi_.CommandActiveChild(SC_CLOSE); break;
    case CaptionAction::kPostAction:
      PostMessageA(form_.window_, kMsgSkinned, static_cast<WPARAM>(action), 0);
      break;
  }
}

void FormCaption::BuildSystemMenu() {
  system_menu_.reset(CreatePopupMenu());
  if (!system_menu_) return;
  for (const SystemMenuItem& item : SystemMenuItems(form_.border_icons_)) {
    if (item.tag == 100) {
      AppendMenuA(system_menu_.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::string caption = item.caption;
    if (!item.shortcut.empty()) caption += "\t" + item.shortcut;
    AppendMenuA(system_menu_.get(), MF_STRING, static_cast<UINT_PTR>(item.tag + 1), caption.c_str());
  }
}

void FormCaption::OpenSystemMenu(POINT pt) {
  if (!clock_.Open(GetTickCount(), GetDoubleClickTime())) {
    // Double-clicking the window icon closes the window.
    form_.StopHover();
    PostMessageA(form_.window_, WM_CLOSE, 0, 0);
    return;
  }
  form_.SetHot(nullptr);
  if ((form_.skin_.SkinControls & SkinControlBit(xcSystemMenu)) != 0 && !form_.mdi_.Child() && system_menu_) {
    for (int tag = 0; tag <= 3; ++tag)
      EnableMenuItem(system_menu_.get(), static_cast<UINT>(tag + 1),
                     MF_BYCOMMAND | (SystemMenuItemEnabled(tag, form_.window_state_) ? MF_ENABLED : MF_GRAYED));
    // The menu is this call's while it is open: a detach meanwhile (the
    // window destroyed, the skin switched off) must not free it under
    // TrackPopupMenu.
    ui::win32::MenuHandle menu = std::move(system_menu_);
    int chosen = 0;
    {
      OwnerDrawnMenu drawn(menu.get(), form_.skin_, MenuKind::kSystem, false);
      chosen = static_cast<int>(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x,
                                               pt.y, 0, form_.window_, nullptr));
    }
    if (!form_.attached_) return;  // the menu goes with this call
    system_menu_ = std::move(menu);
    switch (ChooseSystemMenuItem(chosen - 1)) {
      case SystemMenuChoice::kRestore:
        SendWindowCommand({SC_RESTORE, kStateNormal});
        break;
      case SystemMenuChoice::kMaximiseToggle: SendWindowCommand(MaximiseToggle(form_.window_state_)); break;
      case SystemMenuChoice::kMinimiseToggle: SendWindowCommand(MinimiseToggle(form_.window_state_)); break;
      case SystemMenuChoice::kClose:
        form_.StopHover();
        PostMessageA(form_.window_, WM_CLOSE, 0, 0);
        break;
      case SystemMenuChoice::kNone: break;
    }
    return;
  }
  // The window's own system menu; its commands come back as WM_COMMAND.
  if (HMENU own = GetSystemMenu(form_.window_, FALSE))
    TrackPopupMenu(own, TPM_RIGHTBUTTON, pt.x, pt.y, 0, form_.window_, nullptr);
}

}  // namespace corvane::skin::win32
