#include "categories/frm_tixing.h"

#include "ui/events.h"

namespace corvane::categories {

TFrmtx::TFrmtx(ui::Component* owner) : ui::Form(owner) {
  SetName("Frmtx");
  SetCaption(kReminderCaption);
  SetBorderStyle(ui::FormBorderStyle::kDialog);
  SetBorderIcons(ui::border_icons::kSystemMenu);
  SetPosition(ui::FormPosition::kScreenCenter);
  SetFont(ui::Font{"MS Sans Serif", 11, ui::kDefaultCharset});
  SetClientSize(343, 127);

  Panel1 = Create<ui::Panel>("Panel1");
  Panel1->SetParent(this);
  Panel1->SetAlign(ui::Align::kClient);
  Label1 = ui::CreateControl<ui::Label>(*this, Panel1, "Label1", ui::Rect::FromBounds(21, 38, 315, 19));
  Label1->SetCaption(kReminderText);
  ui::Font big{"楷体_GB2312", 19, ui::kGb2312Charset, true, ui::Rgb(0, 0, 255)};
  Label1->SetFont(big);
  BtnFenlei =
      ui::CreateControl<ui::Button>(*this, Panel1, "BtnFenlei", ui::Rect::FromBounds(247, 85, 75, 25));
  BtnFenlei->SetCaption(kClassifyNow);
  BtnFenlei->SetDefault(true);
  BtnFenlei->OnClick = [this](ui::Control&) { BtnFenleiClick(); };
  BtnDelay =
      ui::CreateControl<ui::Button>(*this, Panel1, "BtnDelay", ui::Rect::FromBounds(161, 85, 75, 25));
  BtnDelay->SetCaption(kLater);
  BtnDelay->SetCancel(true);
  BtnDelay->OnClick = [this](ui::Control&) { BtnDelayClick(); };
}

void TFrmtx::BtnFenleiClick() {
  // The dialog leaves the screen once this handler is done.
  Close();
  ui::Fire(OnClassifyNow);
}

}  // namespace corvane::categories
