// The classification tips (TFrmJq), shown once per run until the user ticks
// that they know.
#pragma once
#include <functional>
#include <string>

#include "ui/form.h"
#include "ui/graphic_controls.h"
#include "ui/std_controls.h"

namespace corvane::categories {

inline constexpr char kTipsCaption[] = "程序分类技巧";
inline constexpr ui::Color kSkyBlue = ui::Rgb(166, 202, 240);

class TFrmJq : public ui::Form {
 public:
  explicit TFrmJq(ui::Component* owner);
  std::string ClassName() const override { return "TFrmJq"; }

  void BtnJqClick();

  // Stores that the tips are not to be shown again.
  std::function<void()> OnDismissForGood;

  ui::Panel* Panel1;
  ui::Label *Label3, *Label4, *Label5, *Label2, *Label6;
  ui::CheckBox* ChkbxZd;
  ui::Button* BtnJq;
};

}  // namespace corvane::categories
