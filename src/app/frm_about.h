// The About box: the icon, the version, the author and a short notice.
#pragma once
#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/graphic_controls.h"
#include "ui/std_controls.h"

namespace corvane::app {

inline constexpr char kAboutCaption[] = "关于Corvane1.2";
inline constexpr char kAboutVersion[] = "版本：Corvane 1.2";
inline constexpr char kAboutAuthor[] = "开发者：韩一舟";
inline constexpr char kAboutOk[] = "确   定";
inline constexpr ui::Color kAboutMemoColor = ui::Rgb(166, 202, 240);
const std::vector<std::string>& AboutNotice();

class TFrmAbout : public ui::Form {
 public:
  explicit TFrmAbout(ui::Component* owner);
  std::string ClassName() const override { return "TFrmAbout"; }

  void BtnOkClick() { Close(); }

  ui::Panel* Panel1;
  ui::Image* Image1;
  ui::Label* Label2;
  ui::Label* Label1;
  ui::Memo* MemoAbout;
  ui::Button* BtnOk;
};

}  // namespace corvane::app
