// The reminder that new entries appeared in the Start menu (TFrmtx).
#pragma once
#include <functional>
#include <string>

#include "ui/form.h"
#include "ui/graphic_controls.h"
#include "ui/std_controls.h"

namespace corvane::categories {

inline constexpr char kReminderCaption[] = "Corvane - 分类提醒...";
inline constexpr char kReminderText[] = "您的「开始」菜单里有新增项目！";
inline constexpr char kClassifyNow[] = "马上分类";
inline constexpr char kLater[] = "等下再说";

class TFrmtx : public ui::Form {
 public:
  explicit TFrmtx(ui::Component* owner);
  std::string ClassName() const override { return "TFrmtx"; }

  void BtnFenleiClick();
  void BtnDelayClick() { Close(); }

  // What "马上分类" does once the dialog is closing.
  std::function<void()> OnClassifyNow;

  ui::Panel* Panel1;
  ui::Label* Label1;
  ui::Button* BtnFenlei;
  ui::Button* BtnDelay;
};

}  // namespace corvane::categories
