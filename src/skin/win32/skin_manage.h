// TSkinManage: the process-wide skin manager. It keeps the registered skins
// and the skinned windows, watches the UI thread's windows through a CBT
// hook, attaches a TWinSkinForm to each window the attach rules accept and
// runs the activate, deactivate, refresh and purge commands from a 250 ms
// timer.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/skin_rules.h"
#include "skin/win32/skin_form.h"
#include "skin/win32/skin_menu.h"
#include "skin/win32/skin_owners.h"
#include "ui/win32/gdi.h"

namespace corvane::ui {
class Application;
}

namespace corvane::skin::win32 {

inline constexpr UINT_PTR kCommandTimerId = 1;
inline constexpr unsigned kCommandInterval = 250;

class TSkinManage {
 public:
  // The manager, or null before the first skin finished loading.
  static TSkinManage* Instance();
  // Makes the manager when there is none. With an application, its forms
  // are the ones attached as forms and walked by the activate command;
  // without one, the thread's visible top-level windows are.
  static TSkinManage& Create(ui::Application* app = nullptr);
  // Shut-down: every skinned window quick-detached (newest first), then the
  // hook removed and the timer freed.
  static void Destroy();

  ~TSkinManage();
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  void Register(TSkinData* skin, HWND owner_window = nullptr,
                std::function<void(const std::string&, bool&)> on_form_skin = {});
  void Unregister(TSkinData* skin);  // the first occurrence only
  // The skin's end of loading: registers it; a main skin installs the hook
  // and, when Active, activates (an unloaded one is switched off instead);
  // the others activate at once and attach their owner window.
  void SkinLoaded(TSkinData* skin, HWND owner_window = nullptr);
  // Active at run time for a main or only-this-form skin.
  void SetSkinActive(TSkinData* skin, bool active);

  bool InstallHook();
  bool Attach(HWND window);
  void Queue(int command, unsigned interval_ms = kCommandInterval);
  void SetCurrentSkin(TSkinData* skin) { current_ = skin; }
  void DropTitleButtons();
  // The application icon of the main skins (the last one that has one).
  Bitmap32 MainAppIcon() const;

  // An MDI child, attached by its parent (the attach rules leave MDI
  // children to their parent).
  bool AttachMdiChild(HWND child);
  // On: every skinned MDI child shows the system's caption (a maximised
  // child's controls are the parent's); off: they get the skin again.
  void SetMdiMaximised(bool on);
  bool MdiMaximised() const { return mdi_maximised_; }
  std::size_t SkinnedMdiChildren() const;

  // The attached form of a window, from the engine's one table of
  // skinned windows.
  TWinSkinForm* FindForm(HWND window) const;
  // The skins of the popup menu windows ("#32768") and the menu-tracking flag.
  PopupMenuSkins& Popups() { return popups_; }
  // The skin a popup menu gets, or null.
  TSkinData* PopupSkin() const;
  std::size_t SkinnedCount() const { return forms_.size(); }
  bool Active() const { return queue_.active; }
  int ActivationCount() const { return queue_.activation_count; }
  bool TimerRunning() const { return timer_ && timer_->Running(); }
  bool Hooked() const { return static_cast<bool>(hook_); }

  // Fired after each command with the skin it applied to.
  std::function<void(TSkinData*)> OnSkinChanged;

 private:
  explicit TSkinManage(ui::Application* app);
  static LRESULT CALLBACK HookProc(int code, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK TimerWindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
  void OnTimer();
  void RunCommand(int command);
  void ActivateAll();
  void DeactivateAll(TSkinData* only);
  void RemoveForm(std::size_t index);
  void AttachOwnerOf(const RegisteredSkin& skin);
  void SkinPopup(HWND popup);
  std::vector<HWND> ApplicationWindows() const;
  ui::Form* FormOf(HWND window) const;
  bool IsRegistered(const TSkinData* skin, RegisteredSkin* out) const;

  ui::Application* app_;
  std::vector<RegisteredSkin> skins_;
  CommandQueue queue_;
  bool attach_mdi_children_ = false;
  bool mdi_maximised_ = false;
  TSkinData* current_ = nullptr;

  // Declared in creation order; destroyed in reverse.
  ui::win32::OwnedWindow timer_window_;
  std::unique_ptr<WindowTimer> timer_;
  HookHandle hook_;
  // The forms the manager owns, in the order they came: its commands and
  // the shut-down walk them in that order (lookups go through SkinRegistry).
  std::vector<std::unique_ptr<TWinSkinForm>> forms_;
  PopupMenuSkins popups_;
};

}  // namespace corvane::skin::win32
