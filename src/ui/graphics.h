// Colours, fonts, cursors, pictures and the drawing surface the controls
// paint on. A Canvas is realised over a device context on Windows and
// recorded in tests.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/geometry.h"

namespace corvane::ui {

// 0x00BBGGRR, or a system colour reference: top byte 0xFF, index in the low
// byte.
using Color = std::uint32_t;

constexpr Color Rgb(unsigned r, unsigned g, unsigned b) {
  return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr Color SystemColor(unsigned index) { return 0xFF000000u | (index & 0xFF); }
constexpr bool IsSystemColor(Color c) { return (c >> 24) == 0xFF; }

inline constexpr Color kClWindow = SystemColor(5);
inline constexpr Color kClWindowText = SystemColor(8);
inline constexpr Color kClBtnFace = SystemColor(15);
inline constexpr Color kClBtnShadow = SystemColor(16);
inline constexpr Color kClBtnText = SystemColor(18);
inline constexpr Color kClBtnHighlight = SystemColor(20);
inline constexpr Color kCl3DDkShadow = SystemColor(21);
inline constexpr Color kCl3DLight = SystemColor(22);
inline constexpr Color kClInfoBk = SystemColor(24);
inline constexpr Color kClWhite = Rgb(255, 255, 255);
inline constexpr Color kClBlack = Rgb(0, 0, 0);

inline constexpr int kDefaultCharset = 1;
inline constexpr int kGb2312Charset = 134;

struct Font {
  std::string name = "宋体";
  int height = 12;  // pixels (character height)
  int charset = kGb2312Charset;
  bool bold = false;
  Color color = kClWindowText;

  friend bool operator==(const Font& a, const Font& b) {
    return a.name == b.name && a.height == b.height && a.charset == b.charset && a.bold == b.bold &&
           a.color == b.color;
  }
  friend bool operator!=(const Font& a, const Font& b) { return !(a == b); }
};

enum class Cursor { kDefault, kArrow, kHandPoint, kIBeam, kHourGlass };

// An image the realisation loads: a bitmap or icon among the program's
// resources, or a file.
struct Picture {
  enum class Kind { kNone, kBitmapResource, kIconResource, kFile };
  Kind kind = Kind::kNone;
  std::string name;

  static Picture BitmapResource(std::string n) { return {Kind::kBitmapResource, std::move(n)}; }
  static Picture IconResource(std::string n) { return {Kind::kIconResource, std::move(n)}; }
  static Picture File(std::string path) { return {Kind::kFile, std::move(path)}; }
  bool Empty() const { return kind == Kind::kNone; }
  friend bool operator==(const Picture& a, const Picture& b) {
    return a.kind == b.kind && a.name == b.name;
  }
};

// Text layout flags; the values are those of DrawText so the realisation
// passes them through.
namespace text_flags {
inline constexpr unsigned kLeft = 0x0;
inline constexpr unsigned kCenter = 0x1;
inline constexpr unsigned kRight = 0x2;
inline constexpr unsigned kVCenter = 0x4;
inline constexpr unsigned kWordBreak = 0x10;
inline constexpr unsigned kSingleLine = 0x20;
inline constexpr unsigned kNoPrefix = 0x800;
}  // namespace text_flags

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void FillRect(const Rect& r, Color c) = 0;
  // A one-pixel edge: top and left lines in one colour, bottom and right in
  // the other.
  virtual void FrameEdge(const Rect& r, Color top_left, Color bottom_right) = 0;
  // The background is left as it is.
  virtual void DrawText(const Rect& r, std::string_view text, const Font& font, unsigned flags) = 0;
  // At the top-left corner of r: scaled to r when stretched, else in its
  // own size, clipped to r.
  virtual void DrawPicture(const Picture& p, const Rect& r, bool stretch) = 0;
  // Save, then clip to r and move the origin to its top-left corner; Restore
  // undoes the last Enter.
  virtual void Enter(const Rect& r) = 0;
  virtual void Restore() = 0;
  // The device context on Windows; 0 elsewhere.
  virtual std::uintptr_t NativeHandle() const { return 0; }
};

}  // namespace corvane::ui
