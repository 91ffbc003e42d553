// The skinned tab controls, track bars, up-down arrows, progress bars and
// status bars.
#pragma once
#include <windows.h>

#include "skin/win32/skin_control.h"

namespace corvane::skin::win32 {

// Tab controls: the tabs and the page border.
class TSkinTab : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool Filter(ui::Message& m) override;
  void After(ui::Message& m) override;
  void Draw(HDC dc, const Rect& r) override;

 protected:
  int hot_item_ = -1;
};

// The same for a tab set; the class library has none, so nothing makes one
// but a host's own skinning handler.
class TSkinTab31 : public TSkinTab {
 public:
  using TSkinTab::TSkinTab;
};

// Track bars: the thumb from the Trackbar pieces.
class TSkinTrackBar : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool Filter(ui::Message& m) override;
  void After(ui::Message& m) override;
  void Draw(HDC dc, const Rect& r) override;
};

// Up-down controls: both arrow buttons with hot and pressed states.
class TSkinUpDown : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool Filter(ui::Message& m) override;
  void After(ui::Message& m) override;
  void Draw(HDC dc, const Rect& r) override;

 private:
  int PartAt(LPARAM client_point) const;
  int hot_part_ = 0, pressed_part_ = 0;  // 1 first, 2 second
};

// Progress bars: the frame and the chunks.
class TSkinProgress : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool Filter(ui::Message& m) override;
  void Draw(HDC dc, const Rect& r) override;
};

// Status bars: the bar and its panel edges.
class TSkinStatusBar : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool Filter(ui::Message& m) override;
  void Draw(HDC dc, const Rect& r) override;
};

}  // namespace corvane::skin::win32
