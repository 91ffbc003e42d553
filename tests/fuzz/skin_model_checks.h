// What every loaded skin model must hold, whatever the package said.
#pragma once
#include <set>

#include "skin/skin_data.h"

namespace corvane::skin::fuzz {

template <typename F>
void ForEachImage(const SkinModel& m, F f) {
  auto piece = [&](const TDataSkinObject& p) { f(p.Image); };
  auto border = [&](const TDataSkinBorder& p) {
    f(p.Image);
    f(p.Image2);
  };
  for (const auto& p : m.Frames) border(p);
  piece(m.Title);
  for (const auto& b : m.SysButtons) piece(b);
  piece(m.Buttons);
  f(m.Buttons.CheckButton);
  f(m.Buttons.RadioButton);
  for (const auto* p : {&m.Tabs, &m.Progress, &m.UpDownHorz, &m.UpDownVert, &m.ComboButton})
    if (*p) border(**p);
  for (const auto* p : {&m.SunkEdge, &m.ExtraImages, &m.GroupBoxEdge, &m.Toolbars,
                        &m.StatusBarEdges, &m.Headerbar, &m.MenuBar, &m.MenuItem,
                        &m.MenuBackground, &m.Scrollbar, &m.HorzScroll, &m.VertScroll,
                        &m.HorzScrollThumb, &m.VertScrollThumb})
    if (*p) piece(**p);
  for (const auto& t : m.TrackbarThumbs)
    if (t) piece(*t);
}

// Painters divide by frame counts; the pixels held, each buffer counted
// once, stay within the budget of one skin.
inline void CheckModel(const SkinModel& m) {
  if (m.SysButtons.size() < 3 || m.Buttons.FrameCount != 5) __builtin_trap();
  for (const auto& f : m.Frames)
    if (f.FrameCount < 1) __builtin_trap();
  for (const auto& b : m.SysButtons)
    if (b.FrameCount < 1) __builtin_trap();
  std::set<const std::uint32_t*> buffers;
  std::int64_t pixels = 0;
  ForEachImage(m, [&](const Bitmap32& image) {
    if (image.Empty() != image.Pixels().empty()) __builtin_trap();
    if (!image.Empty() && buffers.insert(image.Pixels().data()).second) pixels += image.PixelCount();
  });
  if (pixels > kMaxSkinPixels) __builtin_trap();
}

}  // namespace corvane::skin::fuzz
