// The windowless controls: label, bevel and image.
#pragma once
#include <string>

#include "ui/control.h"

namespace corvane::ui {

enum class Alignment { kLeft, kRight, kCenter };

class Label : public GraphicControl {
 public:
  explicit Label(Component* owner);
  std::string ClassName() const override { return "TLabel"; }

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool t);
  Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment a);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool w);

 protected:
  void Paint(Canvas& canvas) override;

 private:
  bool transparent_ = false;
  Alignment alignment_ = Alignment::kLeft;
  bool word_wrap_ = false;
};

class Bevel : public GraphicControl {
 public:
  enum class Shape { kBox, kFrame };
  enum class Style { kLowered, kRaised };
  using GraphicControl::GraphicControl;
  std::string ClassName() const override { return "TBevel"; }

  Shape GetShape() const { return shape_; }
  void SetShape(Shape s);
  Style GetStyle() const { return style_; }
  void SetStyle(Style s);

 protected:
  void Paint(Canvas& canvas) override;

 private:
  Shape shape_ = Shape::kBox;
  Style style_ = Style::kLowered;
};

class Image : public GraphicControl {
 public:
  using GraphicControl::GraphicControl;
  std::string ClassName() const override { return "TImage"; }

  const Picture& GetPicture() const { return picture_; }
  void SetPicture(Picture p);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool s);

 protected:
  void Paint(Canvas& canvas) override;

 private:
  Picture picture_;
  bool stretch_ = false;
};

}  // namespace corvane::ui
