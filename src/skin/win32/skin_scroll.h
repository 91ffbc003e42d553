// The skinned controls that scroll: the non-client scroll bars of a
// scrolling control, the stand-alone scroll bar, list views with their
// header.
#pragma once
#include <windows.h>

#include <memory>

#include "skin/win32/skin_control.h"

namespace corvane::skin::win32 {

// The non-client scroll bars of a scrolling control, drawn and the thumb
// dragged by the skin object.
class TSkinScrollBar : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool Filter(ui::Message& m) override;
  void After(ui::Message& m) override;
  void Draw(HDC dc, const Rect& r) override;
  void Paint(HDC dc) override;

  bool Dragging() const { return drag_bar_ >= 0; }
  // The thumb of a bar (SB_HORZ or SB_VERT) as last painted.
  const ThumbGeometry& Thumb(int bar) const { return bars_[bar == SB_VERT ? 1 : 0].thumb; }

 protected:
  struct Bar {
    ThumbGeometry thumb;
    SCROLLINFO seen{};  // what the bar showed when painted
    Rect rect;          // in window coordinates
    bool present = false;
  };
  // The bars of the window, and their thumbs recomputed.
  virtual void Layout();
  virtual int ScrollBarId(int index) const { return index == 1 ? SB_VERT : SB_HORZ; }
  virtual bool Vertical(int index) const { return index == 1; }
  // Where the scroll messages go, and their lParam.
  virtual HWND Notified() const { return window_; }
  virtual LPARAM NotifyParam() const { return 0; }
  void PaintBar(HDC dc, int index);
  bool ScrollInfoChanged();
  // The thumb drag loop; true when the press was on a thumb.
  bool TrackThumb(int index, POINT screen);
  int BarIndexAt(POINT screen) const;

  void PaintNow() { Paint(nullptr); }
  ThumbMetrics MetricsFor(bool vertical) const;

  Bar bars_[2];
  Rect corner_;
  int drag_bar_ = -1;
  int drag_offset_ = 0;
  int pressed_part_ = 0;  // the arrow being pressed: bar * 2 + 1 first, + 2 second
};

// A stand-alone scroll-bar control.
class TSkinScControl : public TSkinScrollBar {
 public:
  using TSkinScrollBar::TSkinScrollBar;
  bool Filter(ui::Message& m) override;
  void After(ui::Message& m) override;

 protected:
  void Layout() override;
  int ScrollBarId(int) const override { return SB_CTL; }
  bool Vertical(int) const override;
  HWND Notified() const override { return GetParent(window_); }
  LPARAM NotifyParam() const override { return reinterpret_cast<LPARAM>(window_); }
};

// Header sections with hot and pressed states.
class TSkinHeader : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool Filter(ui::Message& m) override;
  void After(ui::Message& m) override;
  void Draw(HDC dc, const Rect& r) override;

 private:
  int ItemAt(LPARAM client_point) const;
  int hot_item_ = -1, pressed_item_ = -1;
};

// A list view: its scroll bars, and its header window gets a TSkinHeader.
class TSkinListView : public TSkinScrollBar {
 public:
  using TSkinScrollBar::TSkinScrollBar;
  void AttachToControl(ui::Control& control, TSkinData& skin, bool recolour) override;
  void AttachToWindow(HWND window, TSkinData& skin) override;
  void Detach() override;
  TSkinHeader* Header() const { return header_.get(); }

 private:
  void AttachHeader();
  std::unique_ptr<TSkinHeader> header_;
};

}  // namespace corvane::skin::win32
