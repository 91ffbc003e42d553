// What the control library asks of the system it runs on. The Win32
// realisation implements it with windows; the headless one (headless.h)
// records what was asked, so forms can be driven in tests.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/geometry.h"
#include "ui/messages.h"

namespace corvane::ui {

class WinControl;
class Form;
class Timer;
class PopupMenu;
class MenuItem;
class OpenDialog;

// What changed on a control, for the window that shows it.
enum class Aspect {
  kBounds,
  kVisible,
  kEnabled,
  kText,
  kFont,
  kColor,
  kState,
  kZOrder,
  kItems,      // a view's items (or their images) changed
  kSelection,  // the program selected another item
  kEditLabel,  // the program started editing an item's label
};

// The window of one windowed control. Destroying the peer destroys the window.
class WindowPeer {
 public:
  virtual ~WindowPeer() = default;
  virtual WindowHandle Handle() const = 0;
  // The control holds the peer now: messages sent from here on reach the
  // window's own procedure, so the window can take the control's state.
  virtual void Attached() {}
  virtual void Sync(Aspect aspect) = 0;
  // Right below above among its siblings; on top of them for none.
  virtual void StackBelow(const WindowPeer* above) = 0;
  virtual void Invalidate(const Rect& r) = 0;  // client coordinates
  virtual void SetFocus() = 0;
  virtual Point ClientToScreen(Point p) const = 0;
  virtual std::string WindowText() const = 0;
  // The window's own handling of a message the control passed on.
  virtual void DefaultHandler(Message& m) = 0;
  // Whether the system's control behind the window does the work (selecting
  // on a click, say), or the library stands in for it.
  virtual bool IsSystemWindow() const { return false; }
};

// Watches one folder (not its subfolders) for entries being added, removed,
// renamed or changed; destroying it ends the watch.
class FolderWatch {
 public:
  virtual ~FolderWatch() = default;
};

class TimerPeer {
 public:
  virtual ~TimerPeer() = default;
  virtual void Sync() = 0;  // interval or enabled changed
};

class Backend {
 public:
  virtual ~Backend() = default;
  // Null keeps the control without a window.
  virtual std::unique_ptr<WindowPeer> CreateWindowPeer(WinControl& control) = 0;
  virtual std::unique_ptr<TimerPeer> CreateTimerPeer(Timer& timer) = 0;
  // Calls changed on this thread, from the message loop, after changes in
  // the folder; null when the folder cannot be watched.
  virtual std::unique_ptr<FolderWatch> WatchFolder(const std::string& folder,
                                                   std::function<void()> changed) = 0;

  virtual void TitleChanged(const std::string& title) = 0;
  // The hidden owner window that carries the taskbar button.
  virtual WindowHandle OwnerWindow() const = 0;
  virtual void ShowOwnerWindow(bool show) = 0;
  virtual void Minimize() = 0;

  // Waits for one message and handles it; false when the loop is to end (the
  // quit message, or nothing left to do when headless).
  virtual bool HandleMessage() = 0;
  // Handles what is pending, without waiting.
  virtual void ProcessMessages() = 0;
  virtual void Quit() = 0;

  virtual Point CursorPos() = 0;
  virtual void SetForeground(Form& form) = 0;
  // Disables (or enables again) the windows a modal form holds off.
  virtual void EnableOtherWindows(Form& modal, bool enable) = 0;
  // Shows the menu with its top-left corner at a screen point; the chosen
  // item or null.
  virtual MenuItem* TrackPopup(PopupMenu& menu, Point screen) = 0;
  virtual void ShowHint(const std::string& text, Point screen) = 0;
  virtual void HideHint() = 0;
  virtual bool ExecuteOpenDialog(OpenDialog& dialog) = 0;
  // The system's folder picker, owned by the form, from the desktop; true
  // with the chosen folder's path, false when the user cancelled or chose
  // something that is not a file-system folder.
  virtual bool BrowseForFolder(Form& owner, const std::string& title, unsigned flags,
                               std::string* path) = 0;
  // The executable's main icon (0 when there is none).
  virtual std::uintptr_t ApplicationIcon() = 0;
};

}  // namespace corvane::ui
