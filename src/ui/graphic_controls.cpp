#include "ui/graphic_controls.h"

namespace corvane::ui {

Label::Label(Component* owner) : GraphicControl(owner) { SetParentColor(true); }

void Label::SetTransparent(bool t) {
  transparent_ = t;
  Invalidate();
}

void Label::SetAlignment(Alignment a) {
  alignment_ = a;
  Invalidate();
}

void Label::SetWordWrap(bool w) {
  word_wrap_ = w;
  Invalidate();
}

void Label::Paint(Canvas& canvas) {
  Rect r = ClientRect();
  if (!transparent_) canvas.FillRect(r, GetColor());
  if (Caption().empty()) return;
  unsigned flags = text_flags::kNoPrefix;
  if (alignment_ == Alignment::kCenter) flags |= text_flags::kCenter;
  if (alignment_ == Alignment::kRight) flags |= text_flags::kRight;
  if (word_wrap_) flags |= text_flags::kWordBreak;
  Font font = GetFont();
  if (!Enabled()) font.color = kClBtnShadow;
  canvas.DrawText(r, Caption(), font, flags);
}

void Bevel::SetShape(Shape s) {
  shape_ = s;
  Invalidate();
}

void Bevel::SetStyle(Style s) {
  style_ = s;
  Invalidate();
}

void Bevel::Paint(Canvas& canvas) {
  Rect r = ClientRect();
  bool raised = style_ == Style::kRaised;
  if (shape_ == Shape::kBox) {
    // A two-pixel edge, like a raised or sunken button face.
    canvas.FrameEdge(r, raised ? kCl3DLight : kClBtnShadow,
                     raised ? kCl3DDkShadow : kClBtnHighlight);
    canvas.FrameEdge(r.Inflate(-1, -1), raised ? kClBtnHighlight : kCl3DDkShadow,
                     raised ? kClBtnShadow : kCl3DLight);
  } else {
    // An etched line: the two edges in opposite senses.
    Color a = raised ? kClBtnHighlight : kClBtnShadow;
    Color b = raised ? kClBtnShadow : kClBtnHighlight;
    canvas.FrameEdge(r, a, b);
    canvas.FrameEdge(r.Inflate(-1, -1), b, a);
  }
}

void Image::SetPicture(Picture p) {
  picture_ = std::move(p);
  Invalidate();
}

void Image::SetStretch(bool s) {
  stretch_ = s;
  Invalidate();
}

void Image::Paint(Canvas& canvas) {
  if (!picture_.Empty()) canvas.DrawPicture(picture_, ClientRect(), stretch_);
}

}  // namespace corvane::ui
