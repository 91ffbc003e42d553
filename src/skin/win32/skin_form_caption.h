// The caption's commands of a skinned form: the title-bar buttons' actions,
// the maximise, restore and minimise commands, and the skinned system menu
// (built at attach, opened on the title, the icon button or Alt+Space).
#pragma once
#include <windows.h>

#include "skin/skin_caption.h"
#include "ui/win32/gdi.h"

namespace corvane::skin::win32 {

class TWinSkinForm;

class FormCaption {
 public:
  explicit FormCaption(TWinSkinForm& form) : form_(form) {}
  FormCaption(const FormCaption&) = delete;
  FormCaption& operator=(const FormCaption&) = delete;

  // The system menu's items for the form's border icons.
  void BuildSystemMenu();
  void Release() { system_menu_.reset(); }
  // A title-bar button's action, run on mouse up over it.
  void RunButtonAction(int action, POINT screen_point);
  // Maximise, restore or minimise: the form's state at once, the system's
  // command posted.
  void SendWindowCommand(const WindowCommand& c);
  // A second opening within the double-click time closes the window.
  void OpenSystemMenu(POINT screen_point);

 private:
  TWinSkinForm& form_;
  ui::win32::MenuHandle system_menu_;
  SystemMenuClock clock_;
};

}  // namespace corvane::skin::win32
