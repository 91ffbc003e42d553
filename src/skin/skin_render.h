// Drawing skin pieces into 32-bit pixel buffers: the nine-part renderer,
// state images, the transparent (magenta key) blit and the three-part strip
// behind the title text. The Win32 layer hands the results to GDI as DIBs.
#pragma once
#include <cstdint>

#include "core/geometry.h"
#include "skin/bmp.h"

namespace corvane::skin {

inline constexpr std::uint32_t kMagentaRgb = 0xFF00FF;
inline bool IsMagenta(std::uint32_t argb) { return (argb & 0xFFFFFFu) == kMagentaRgb; }

enum class Stacking { kVertical, kSideBySide };

// The part of src that holds state image k (1-based) of n. A k outside 1..n
// gives image 1; n below 1 counts as 1.
Rect StateImageRect(const Bitmap32& src, int n, int k, Stacking stacking);

// Copies the source rectangle, stretched (nearest pixel, as COLORONCOLOR), to
// the destination rectangle; both are clipped to their bitmaps.
void StretchCopy(Bitmap32& dst, const Rect& to, const Bitmap32& src, const Rect& from);
// Copies src at (x, y); with transparent set, magenta pixels are left out.
void Blit(Bitmap32& dst, int x, int y, const Bitmap32& src, bool transparent);

struct NinePart {
  int n = 1, k = 1;
  Stacking stacking = Stacking::kVertical;
  int left = 0, top = 0, right = 0, bottom = 0;
  bool tile = false;
};

// A w x h rendering of one state image: corners copied, edges and middle
// stretched (the middle tiled when asked). Margins that do not fit in the
// destination are dropped in pairs.
Bitmap32 RenderNinePart(int w, int h, const Bitmap32& src, const NinePart& p);

// Renders and draws into dst at rect, opaquely or with magenta transparent.
void DrawNinePart(Bitmap32& dst, const Rect& rect, const Bitmap32& src, const NinePart& p,
                  bool transparent);

// State image k of n side by side, stretched into rect.
void DrawStateImage(Bitmap32& dst, const Rect& rect, const Bitmap32& src, int n, int k,
                    bool transparent);

// The title text background: state image k of 2 stacked vertically; the
// left and right ends copied as they are, the middle slice repeated between
// them; magenta transparent.
void DrawThreePartStrip(Bitmap32& dst, const Rect& rect, const Bitmap32& src, int k,
                        int left_end, int right_end);

}  // namespace corvane::skin
