// Controls: components with a place on a parent. Every message a control
// gets goes through its message method, which can be replaced by another
// that chains to it; the events are raised from the default method, so they
// come the same way whether the message came from a window or from a test.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/backend.h"
#include "ui/component.h"
#include "ui/graphics.h"
#include "ui/messages.h"

namespace corvane::ui {

class WinControl;
class Form;
class PopupMenu;

enum class Align { kNone, kClient };
enum class MouseButton { kLeft, kRight, kMiddle };

using MessageMethod = std::function<void(Message&)>;

class Control : public Component {
 public:
  explicit Control(Component* owner);
  ~Control() override;
  std::string ClassName() const override { return "TControl"; }

  WinControl* Parent() const { return parent_; }
  void SetParent(WinControl* parent);
  // The form the control lies on (itself for a form), or null.
  Form* ParentForm();

  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.Width(); }
  int Height() const { return bounds_.Height(); }
  Rect BoundsRect() const { return bounds_; }
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
  void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
  // The area children are placed in, in the control's own coordinates.
  virtual Rect ClientRect() const { return {0, 0, Width(), Height()}; }
  Align GetAlign() const { return align_; }
  void SetAlign(Align a);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and so is every parent up to a visible form.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

  Color GetColor() const;
  void SetColor(Color c);
  bool ParentColor() const { return parent_color_; }
  void SetParentColor(bool p);
  const Font& GetFont() const;
  void SetFont(const Font& f);
  bool ParentFont() const { return parent_font_; }

  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint) { hint_ = std::move(hint); }
  bool ShowHint() const { return show_hint_; }
  void SetShowHint(bool s) { show_hint_ = s; }
  Cursor GetCursor() const { return cursor_; }
  void SetCursor(Cursor c) { cursor_ = c; }
  // Opened by a context-menu request (right click, context-menu key).
  PopupMenu* GetPopupMenu() const { return popup_menu_; }
  void SetPopupMenu(PopupMenu* menu) { popup_menu_ = menu; }

  // Top of the parent's stacking order (for a form: of the screen).
  virtual void BringToFront();
  virtual bool IsWindowed() const { return false; }
  virtual bool IsForm() const { return false; }
  Point ClientToScreen(Point p) const;

  // The message method. Replace it with one that chains to the one it
  // replaced; give that back to undo.
  const MessageMethod& WindowProc() const { return window_proc_; }
  void SetWindowProc(MessageMethod m);
  void Perform(Message& m) { window_proc_(m); }
  std::intptr_t Perform(unsigned msg, std::uintptr_t wparam = 0, std::intptr_t lparam = 0);

  // Runs the click reaction.
  virtual void Click();

  // For the realisation: the window was moved or sized by the system.
  void BoundsFromWindow(const Rect& r);

  std::function<void(Control&)> OnClick;
  std::function<void(Control&, unsigned shift, int x, int y)> OnMouseMove;
  std::function<void(Control&, MouseButton, unsigned shift, int x, int y)> OnMouseDown;
  std::function<void(Control&, MouseButton, unsigned shift, int x, int y)> OnMouseUp;
  std::function<void(Control&)> OnMouseEnter;
  std::function<void(Control&)> OnMouseLeave;
  std::function<void(Control&, Canvas&)> OnPaint;
  // A drag the program began over this control: whether it takes the
  // source here (starts true), and the drop.
  std::function<void(Control& sender, Control& source, int x, int y, bool& accept)> OnDragOver;
  std::function<void(Control& sender, Control& source, int x, int y)> OnDragDrop;

  // For the realisation: whether the control takes a drag of source at a
  // client point (never without OnDragOver), and the drop there.
  bool DragOverFromWindow(Control& source, Point p);
  void DragDropFromWindow(Control& source, Point p);

 protected:
  // The library's handling of a message; ends with DefaultHandler.
  virtual void WndProc(Message& m);
  virtual void DefaultHandler(Message&) {}
  // The control's own look, before its paint event.
  virtual void Paint(Canvas&) {}
  // Whether a press and release of the left button inside is a click.
  virtual bool ClicksOnRelease() const { return true; }
  // Where a menu asked for from the keyboard opens, in client coordinates.
  virtual Point KeyboardMenuPoint() const { return {0, 0}; }
  virtual void VisibleChanged();
  // Tells the window that shows the control.
  virtual void Changed(Aspect aspect);
  void FontOrColorInherited(Aspect aspect);
  // For constructors: forms start hidden.
  void InitVisible(bool v) { visible_ = v; }
  // Keeps a caption the window already shows.
  void StoreCaption(std::string caption) { caption_ = std::move(caption); }

 private:
  friend class WinControl;
  void HandleMouse(Message& m);

  WinControl* parent_ = nullptr;
  Rect bounds_;
  Align align_ = Align::kNone;
  bool visible_ = true;
  bool enabled_ = true;
  std::string caption_;
  Color color_ = kClBtnFace;
  bool parent_color_ = false;
  Font font_;
  bool parent_font_ = true;
  std::string hint_;
  bool show_hint_ = false;
  Cursor cursor_ = Cursor::kDefault;
  PopupMenu* popup_menu_ = nullptr;
  bool pressed_ = false;
  MessageMethod window_proc_;
};

// A windowless control: its parent paints it and finds it under the mouse.
class GraphicControl : public Control {
 public:
  using Control::Control;
  std::string ClassName() const override { return "TGraphicControl"; }
  void Invalidate();

 protected:
  void WndProc(Message& m) override;
  void Changed(Aspect aspect) override;
};

// A control with a window of its own (when the library runs with windows)
// and children.
class WinControl : public Control {
 public:
  explicit WinControl(Component* owner);
  ~WinControl() override;
  std::string ClassName() const override { return "TWinControl"; }
  bool IsWindowed() const override { return true; }

  // Stacking order: the first is at the bottom.
  const std::vector<Control*>& Controls() const { return controls_; }
  // The topmost visible, enabled windowless child at a client point.
  Control* ControlAtPos(Point p) const;
  Cursor CursorAt(Point p) const;

  // Width of the border around the client area.
  virtual int BorderWidth() const { return 0; }
  Rect ClientRect() const override;
  // Where client-aligned children go.
  virtual Rect AlignRect() const { return ClientRect(); }

  // The window, created on first use; 0 without one.
  WindowHandle Handle();
  bool HandleAllocated() const { return peer_ != nullptr; }
  WindowPeer* Peer() const { return peer_.get(); }
  void HandleNeeded();
  // Hidden, or in a hidden parent: its window waits until it shows.
  bool WindowPutOff() const;
  // Destroys the windows of the children and then this one's.
  void DestroyHandle();

  void InvalidateRect(const Rect& r);
  void Invalidate() { InvalidateRect(ClientRect()); }
  void SetFocus();
  bool TabStop() const { return tab_stop_; }
  void SetTabStop(bool t) { tab_stop_ = t; }

  // Paints the background, the control's own look, its paint event and the
  // windowless children in stacking order.
  void PaintWindow(Canvas& canvas);
  void AlignControls();

 protected:
  void WndProc(Message& m) override;
  void DefaultHandler(Message& m) override;
  void Changed(Aspect aspect) override;
  bool ClicksOnRelease() const override { return false; }
  // Whether the library paints the window (panels, forms) or the system does.
  virtual bool PaintsItself() const { return false; }

 private:
  static bool MadeWithParent(const Control* c);
  void StackAsMadeInOrder(WinControl& child);
  friend class Control;
  void InsertControl(Control* c);
  void RemoveControl(Control* c);
  void ChildToFront(Control* c);
  bool RouteMouse(Message& m);

  std::vector<Control*> controls_;
  std::unique_ptr<WindowPeer> peer_;
  Control* capture_ = nullptr;
  bool tab_stop_ = false;
  bool creating_ = false;
};

// A control owned by owner, lying on parent at bounds.
template <class T>
T* CreateControl(Component& owner, WinControl* parent, std::string name, const Rect& bounds) {
  T* c = owner.Create<T>(std::move(name));
  c->SetParent(parent);
  c->SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
  return c;
}

}  // namespace corvane::ui
