// TWinSkinForm: one skinned window. It replaces the window's procedure, takes
// the frame thickness from the skin, paints the frame pieces, the title text
// and the title-bar buttons, shapes the window by the pieces' magenta pixels
// and does what the system's caption did: hit testing, hot and pressed
// buttons, the buttons' actions, double-click and the system menu. The
// decisions and the pixels come from the portable core.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/skin_caption.h"
#include "skin/skin_data.h"
#include "skin/skin_geometry.h"
#include "skin/win32/skin_form_caption.h"
#include "skin/win32/skin_mdi.h"
#include "skin/win32/skin_owners.h"
#include "skin/win32/skin_registry.h"
#include "ui/messages.h"
#include "ui/win32/gdi.h"

namespace corvane::ui {
class Form;
}

namespace corvane::skin::win32 {

class TSkinManage;
class TWinSkinMenu;
class SkinControls;

enum SkinState {
  kSkinAttaching = 0,
  kSkinRunning = 1,
  kSkinRefreshing = 3,
  kSkinDetaching = 4,
  kSkinFirstSizing = 5,
  kSkinDestroyed = 6,
};

inline constexpr UINT_PTR kHoverTimerId = 0x3510;
inline constexpr UINT kHoverInterval = 250;

// A skin colour as GDI takes it: system-colour references resolved.
COLORREF ResolveColour(SkinColour c);
// A GDI colour, or a skin colour, as an opaque pixel of a Bitmap32.
std::uint32_t PixelOf(COLORREF c);
std::uint32_t SkinPixel(SkinColour c);
// Draws a portable bitmap at (x, y) of a DC.
void BlitToDc(HDC dc, int x, int y, const Bitmap32& b);
// The window's class name; empty for no window.
std::string ClassNameOf(HWND window);

class TWinSkinForm : public NcForm, public SkinnedWindow {
 public:
  // manager may be null (a window skinned without the manager, in tests).
  TWinSkinForm(TSkinManage* manager, TSkinData& skin, HWND window);
  ~TWinSkinForm() override;
  TWinSkinForm(const TWinSkinForm&) = delete;
  TWinSkinForm& operator=(const TWinSkinForm&) = delete;

  // Only once; the manager posts kMsgFinishAttach afterwards.
  void AttachAsWindow();
  // A form of the control library: its message method is hooked as well,
  // and it shows the skin's ButtonFace while attached.
  void AttachAsForm(ui::Form& form);
  // Skinning switched off: the window gets its own frame, size and look back.
  void FullDetach();
  // The window is going or the manager shuts down: procedures restored and
  // the skinned parts freed, the window not resized.
  void QuickDetach();
  // After the skin changed: metrics, buttons, size and shape again.
  void Refresh();
  void DropTitleButtons();
  void RecomputeMetricsAndButtons();

  // An MDI child when the manager's MDI-maximised flag changes.
  void MdiMaximisedChanged(bool on);

  HWND Window() const { return window_; }
  TSkinManage* Manager() const { return manager_; }
  TSkinData& Skin() const { return skin_; }
  ui::Form* HostForm() const { return form_; }
  int State() const { return skin_state_; }
  bool Attached() const { return attached_; }
  const FrameMetrics& Metrics() const { return metrics_; }
  WindowFrameKind FrameKindOf() const { return frame_kind_; }
  int WindowStateOf() const { return window_state_; }
  bool ActiveFlag() const { return active_; }
  bool HoverRunning() const { return hover_ && hover_->Running(); }
  bool MdiChild() const { return mdi_.Child(); }
  bool MdiParent() const { return mdi_.Parent(); }
  bool MdiClientSubclassed() const { return mdi_.ClientSubclassed(); }
  std::size_t ButtonCount() const { return buttons_.size(); }
  TWinSysButton& Button(std::size_t i) { return *buttons_[i]; }
  // Frame paints so far, for the tests.
  int FramePaints() const { return frame_paints_; }
  // The painted title bar (W x top), empty before the first paint.
  const Bitmap32& TitleBar() const { return title_bar_; }
  // The last laid-out title text box, in window coordinates.
  const Rect& TitleTextBox() const { return text_box_; }
  // The skinned menu bar, for a window with a menu.
  TWinSkinMenu* MenuBar() const { return menu_bar_.get(); }

  void PaintSysButton(const TWinSysButton& button, int image) override;

  // The skinned controls of the window, with its hot control; made on
  // first use.
  SkinControls& Controls();

  // A form is not freed while one of its handlers is on the stack (a modal
  // loop can run a manager's command): InCall and FreeWhenIdle.

 private:
  friend class FormCaption;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  LRESULT SecondStage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Own(UINT msg, WPARAM wp, LPARAM lp);
  bool NonClientHandled() const;
  // A maximised or minimised MDI child: the system's caption is drawn.
  bool MdiChildNotNormal() const;

  // Handlers.
  LRESULT OnEraseBackground(WPARAM wp, LPARAM lp);
  LRESULT OnNcDestroy(WPARAM wp, LPARAM lp);
  LRESULT OnCtlColor(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnSize(WPARAM wp, LPARAM lp);
  LRESULT OnGetMinMaxInfo(WPARAM wp, LPARAM lp);
  LRESULT OnSysCommand(WPARAM wp, LPARAM lp);
  LRESULT OnNcCalcSize(WPARAM wp, LPARAM lp);
  LRESULT OnNcHitTest(WPARAM wp, LPARAM lp);
  LRESULT OnNcActivate(WPARAM wp, LPARAM lp);
  LRESULT OnNcMouseMove(WPARAM wp, LPARAM lp);
  LRESULT OnNcLButtonDown(WPARAM wp, LPARAM lp);
  LRESULT OnNcLButtonUp(WPARAM wp, LPARAM lp);
  LRESULT OnNcLButtonDblClk(WPARAM wp, LPARAM lp);
  LRESULT OnNcRButtonDown(WPARAM wp, LPARAM lp);
  void OnHoverTimer();
  void FinishAttach();

  // Frame.
  // The side and bottom pieces as last rendered: again only for another
  // size, activation or skin.
  struct FramePieces {
    int width = -1, height = -1;
    bool active = false;
    Bitmap32 left, right, bottom;
  };
  const FramePieces& Pieces(int w, int h);
  // update: the region WM_NCPAINT gives (screen coordinates), or null or 1
  // for the whole frame.
  void PaintFrame(HRGN update = nullptr);
  // Limits dc to update; false when the frame lies wholly outside it.
  bool ClipToUpdate(HDC dc, HRGN update, const RECT& window_rect);
  // The title bar composed again only when what it shows changed.
  void ComposeTitleBar(HDC reference, int width, const Bitmap32& left, const Bitmap32& right);
  void LayOutButtons(int width);
  void ResizeToSkinMetrics();
  void BuildShape(bool force);
  void ReadWindowState();
  void RemoveCaptionButtons();
  void RestoreCaptionButtons();
  void SetStyle(LONG_PTR style);
  Bitmap32 SmallIconBitmap();
  Point ScreenToWindow(LPARAM lp) const;
  TNCObject* ElementAtPoint(Point window_point) const;
  ButtonWindowFacts ButtonFacts() const;

  // Caption.
  void StopHover();
  void ReleaseForm();
  void ReleaseParts();

  TSkinManage* manager_;
  TSkinData& skin_;
  HWND window_;
  ui::Form* form_ = nullptr;
  std::function<void(ui::Message&)> form_own_method_;
  std::uint32_t form_colour_ = 0;
  bool attached_ = false;

  // Owned, released in reverse order by ReleaseParts and the destructor.
  std::unique_ptr<WindowTimer> hover_;
  FontHandle caption_font_;
  GdiHandle<HBRUSH> face_brush_;
  WindowShape shape_;
  std::vector<std::unique_ptr<TWinSysButton>> buttons_;
  std::shared_ptr<TWinSkinMenu> menu_bar_;
  std::unique_ptr<SkinControls> controls_;
  FormMdi mdi_;
  FormCaption caption_;

  // Kind and state.
  LONG_PTR style_ = 0, style_at_attach_ = 0, ex_style_ = 0;
  WindowFrameKind frame_kind_ = kFrameSizeable;
  unsigned border_icons_ = 0;
  bool right_to_left_ = false;
  bool active_ = true;
  int window_state_ = kStateNormal;
  int skin_state_ = kSkinAttaching;
  bool hover_wanted_ = false;
  int frame_paints_ = 0;
  bool destroying_ = false;

  // Metrics.
  FrameMetrics metrics_;
  int extra_width_ = 0, extra_height_ = 0;  // non-client size at attach
  int right_buttons_left_ = 0;
  Rect text_box_;
  int shape_width_ = -1, shape_height_ = -1;

  FramePieces pieces_;
  // What the composed title bar shows; another value composes it again.
  struct TitleKey {
    int width = -1;
    bool active = false;
    int window_state = 0;
    bool mdi_child_maximised = false;
    int right_buttons_left = 0;
    std::string text;
    bool operator==(const TitleKey& o) const {
      return width == o.width && active == o.active && window_state == o.window_state &&
             mdi_child_maximised == o.mdi_child_maximised &&
             right_buttons_left == o.right_buttons_left && text == o.text;
    }
  };
  TitleKey title_key_;
  KeptSurface title_surface_;  // where the title text is drawn
  RegionHandle clip_;          // the update region, in window coordinates
  Bitmap32 small_icon_;
  Bitmap32 title_bar_;    // with text and buttons: the shape's top
  Bitmap32 title_clean_;  // before the buttons: under a redrawn button
};

}  // namespace corvane::skin::win32
