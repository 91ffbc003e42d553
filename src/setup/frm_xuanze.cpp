#include "setup/frm_xuanze.h"

#include "ui/events.h"

namespace corvane::setup {
namespace {

struct BoxLayout {
  const char* name;
  ui::CheckBox* TFrmXuanze::*box;
  ui::Rect bounds;
  const char* caption;
};

constexpr BoxLayout kBoxes[] = {
    {"ChekBxZm", &TFrmXuanze::ChekBxZm, ui::Rect::FromBounds(17, 18, 297, 17),
     "添加本程序到桌面快捷方式"},
    {"ChekBxKs", &TFrmXuanze::ChekBxKs, ui::Rect::FromBounds(17, 42, 208, 17),
     "添加本程序到快速启动栏"},
    {"ChekBxOEM", &TFrmXuanze::ChekBxOEM, ui::Rect::FromBounds(17, 66, 248, 17),
     "添本程序加到OEM赞助商链接位置"},
    {"ChekBxQd", &TFrmXuanze::ChekBxQd, ui::Rect::FromBounds(17, 90, 297, 17),
     "开机自动启动（可以随时保持开始菜单井井和条）"},
};

}  // namespace

TFrmXuanze::TFrmXuanze(ui::Component* owner) : ui::Form(owner) {
  SetName("FrmXuanze");
  SetCaption(kXuanzeCaption);
  SetBorderStyle(ui::FormBorderStyle::kDialog);
  SetBorderIcons(ui::border_icons::kSystemMenu);
  SetPosition(ui::FormPosition::kScreenCenter);
  SetFont(ui::Font{"宋体", 12, ui::kGb2312Charset});
  SetClientSize(312, 153);
  for (const BoxLayout& b : kBoxes) {
    ui::CheckBox* box = this->*b.box = ui::CreateControl<ui::CheckBox>(*this, this, b.name, b.bounds);
    box->SetCaption(b.caption);
    box->SetChecked(true);
  }
  BtnOk = ui::CreateControl<ui::Button>(*this, this, "BtnOk", ui::Rect::FromBounds(220, 118, 75, 25));
  BtnOk->SetCaption("确   定");
  BtnOk->SetDefault(true);
  BtnOk->OnClick = [this](ui::Control&) { BtnOkClick(); };
}

InstallChoices TFrmXuanze::Choices() const {
  InstallChoices c;
  c.desktop = ChekBxZm->Checked();
  c.quick_launch = ChekBxKs->Checked();
  c.oem_link = ChekBxOEM->Checked();
  c.autostart = ChekBxQd->Checked();
  return c;
}

void TFrmXuanze::BtnOkClick() {
  if (OnApply) OnApply(Choices());
  Close();
  ui::Fire(OnConfirmed);
}

}  // namespace corvane::setup
