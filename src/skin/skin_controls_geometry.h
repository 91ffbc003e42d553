// The arithmetic of the skinned controls, apart from the windows: which
// state image a control shows, where a check box's box goes, how a bitmap
// button places its glyph and caption, and the scroll bar's thumb, hit test
// and thumb drag.
#pragma once
#include <cstdint>

#include "core/geometry.h"
#include "skin/skin_render.h"

namespace corvane::skin {

// State images of the control pieces.
enum ControlStateImage { kImgNormal = 1, kImgPressed = 2, kImgDisabled = 3, kImgHot = 4 };

// A push button: disabled wins, then pressed, then focused or hot.
int ButtonStateImage(bool pressed, bool focused, bool hot, bool enabled);

// Check boxes and radio buttons: 1 unchecked, 2 checked, disabled adds 2;
// an indeterminate box shows image 4.
enum CheckState { kUnchecked = 0, kChecked = 1, kIndeterminate = 2 };
int CheckStateImage(CheckState state, bool enabled);

// Where the box of a check box or radio button goes in a control of the
// given size: vertically centred, at the right end when the text is on the
// left; an image narrower than 15 pixels is centred in a 14-pixel cell.
struct CheckBoxPlace {
  Rect cell;   // filled with ButtonFace
  Rect image;  // the state image
};
CheckBoxPlace PlaceCheckBox(int width, int height, int image_width, int image_height,
                            bool text_left);

// The glyph and caption of a bitmap button, as the button itself lays them
// out. Margin -1 centres the pair; Spacing -1 spreads it evenly.
enum class GlyphLayout { kLeft, kRight, kTop, kBottom };
struct BitButtonPlace {
  Point glyph;
  Rect text;
};
BitButtonPlace PlaceBitButton(const Rect& client, int glyph_width, int glyph_height,
                              int text_width, int text_height, GlyphLayout layout, int margin,
                              int spacing);

// MulDiv as Windows rounds it: to the nearest, halves away from zero; -1
// when divided by 0.
int MulDivRound(int a, int b, int c);

// One scroll bar's scroll information.
struct ScrollRange {
  int min = 0, max = 0, page = 0, pos = 0;
};

// The thumb along a bar: arrow length a, track length L between the arrows,
// thumb length t and offset o from the end of the first arrow.
struct ThumbGeometry {
  int arrow = 0;
  int track = 0;
  int length = 0;
  int offset = 0;
  bool drawn = false;  // the track holds the thumb
};

struct ThumbMetrics {
  int arrow = 16;        // SM_CXHSCROLL
  int system_thumb = 16; // SM_CXHTHUMB, for a page of 0
  bool win95 = false;    // the 95 family: minimum thumb a / 2, else 8
};

// The thumb for a bar of the given length. false (and *out unchanged) when
// the range is empty: the thumb from before stays.
bool ComputeThumb(int bar_length, const ScrollRange& r, const ThumbMetrics& m,
                  ThumbGeometry* out);

// The arrow length: the system's, or half the bar when the bar is shorter
// than two arrows.
int ArrowLength(int bar_length, int system_arrow);

enum class ScrollPart { kNone, kFirstArrow, kPageBefore, kThumb, kPageAfter, kSecondArrow };
// x measured from the bar's start.
ScrollPart HitTestBar(int x, const ThumbGeometry& g);

// A thumb drag: the offset at the press plus the pointer's travel along the
// bar gives the new offset and the position. The offset is stored in
// *offset.
int DragPosition(int offset_at_press, int travel, const ThumbGeometry& g, const ScrollRange& r,
                 int* offset);

// The bars of a window with scroll bars, in window coordinates, from its
// client rectangle (also in window coordinates).
struct ScrollBarRects {
  Rect horz, vert, corner;  // empty when absent
};
ScrollBarRects PlaceScrollBars(const Rect& client, bool horz, bool vert, bool left_vert,
                               int vert_width, int horz_height);

// Progress chunks from the start of the inner rectangle (from the bottom
// when vertical), each chunk_size long, as many as fit in the filled part;
// a smooth bar has one chunk as long as the filled part.
struct ProgressFill {
  Rect filled;  // the part the position covers
  int chunks = 0;
};
ProgressFill FillProgress(const Rect& inner, int min, int max, int pos, bool vertical,
                          bool smooth, int chunk_size);
// Chunk i of a progress fill.
Rect ProgressChunk(const ProgressFill& f, int i, bool vertical, bool smooth, int chunk_size);

// The two buttons of an up-down control: up and down (vertical) or left
// and right (horizontal).
void SplitUpDown(const Rect& client, bool horizontal, Rect* first, Rect* second);

// A scroll-bar thumb w x h from state image k of n side by side: the ends
// kept, the middle filled with its first column (row when vertical) and the
// middle itself, the grip, laid at the centre at its own length, so a long
// thumb does not stretch its grip into bands.
Bitmap32 RenderThumb(int w, int h, const Bitmap32& src, const NinePart& parts, bool vertical);

}  // namespace corvane::skin
