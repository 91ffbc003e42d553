// The window of one windowed control. Every window message goes to the
// control's message method; what the control passes on reaches the window's
// own procedure. Notifications a child sends its parent come back to the
// child as reflected messages.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "ui/backend.h"
#include "ui/win32/gdi.h"
#include "ui/win32/win32_views.h"

namespace corvane::ui {
class WinControl;
}

namespace corvane::ui::win32 {

class Win32Backend;

class Win32Peer : public WindowPeer {
 public:
  Win32Peer(Win32Backend& backend, WinControl& control);
  ~Win32Peer() override;
  Win32Peer(const Win32Peer&) = delete;
  Win32Peer& operator=(const Win32Peer&) = delete;

  // False when the system refused the window.
  bool Create();
  static Win32Peer* FromWindow(HWND h);
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l);

  WindowHandle Handle() const override { return reinterpret_cast<WindowHandle>(hwnd_); }
  void Attached() override;
  void Sync(Aspect aspect) override;
  void StackBelow(const WindowPeer* above) override;
  void Invalidate(const Rect& r) override;
  void SetFocus() override;
  Point ClientToScreen(Point p) const override;
  std::string WindowText() const override;
  void DefaultHandler(Message& m) override;
  bool IsSystemWindow() const override { return !PaintsItself(); }
  WinControl& Owner() const { return control_; }

 private:
  enum class Kind {
    kForm,
    kPanel,
    kCheckBox,
    kRadioButton,
    kButton,
    kBitBtn,
    kEdit,
    kMemo,
    kSpinEdit,
    kTreeView,
    kListView,
    kCustom
  };

  LRESULT Receive(UINT m, WPARAM w, LPARAM l);
  LRESULT Notified(const NMHDR& header);
  LRESULT Deliver(UINT m, WPARAM w, LPARAM l);
  LRESULT CallBase(UINT m, WPARAM w, LPARAM l);
  void Forget();
  bool PaintsItself() const;
  DWORD Style() const;
  DWORD ExStyle() const;
  const char* BaseClass() const;
  void Paint();
  LRESULT ControlColor(HDC dc);
  void DrawBitButton(const DRAWITEMSTRUCT& d);
  bool SetCursorFromControl();
  void TrackLeave();
  void WindowMoved();
  void Activated(WPARAM w);
  LRESULT DefaultButtonId();
  bool DialogCommand(WORD id);
  void SyncBounds();
  SIZE FrameExtra() const;  // window size minus client size
  void SyncVisible();
  void SyncState();
  void PlaceForm();
  void RestyleFrame(DWORD style, DWORD ex_style);

  Win32Backend& backend_;
  WinControl& control_;
  Kind kind_;
  HWND hwnd_ = nullptr;
  WNDPROC base_ = DefWindowProcA;
  UINT_PTR id_ = 0;
  bool routing_ = false;  // window messages go to the control
  bool tracking_ = false;
  int syncing_ = 0;
  bool placed_ = false;
  HWND focus_ = nullptr;
  OwnedWindow updown_;
  std::unique_ptr<TreeViewWindow> tree_;
  std::unique_ptr<ListViewWindow> list_;
};

}  // namespace corvane::ui::win32
