#include "categories/frm_jiqiao.h"

#include "ui/events.h"

namespace corvane::categories {
namespace {

constexpr ui::Color kBlue = ui::Rgb(0, 0, 255);

struct LabelLayout {
  const char* name;
  ui::Label* TFrmJq::*label;
  ui::Rect bounds;
  const char* text;
  bool heading;
};

// Top to bottom; the leading spaces and the two after each digit are part
// of the texts.
constexpr LabelLayout kLabels[] = {
    {"Label3", &TFrmJq::Label3, ui::Rect::FromBounds(13, 15, 89, 13), "1  树形目录", true},
    {"Label4", &TFrmJq::Label4, ui::Rect::FromBounds(33, 34, 308, 13),
     "在树形目录上点击鼠标右键可对分类条目进行详细设置。", false},
    {"Label5", &TFrmJq::Label5, ui::Rect::FromBounds(13, 55, 193, 13), "2  程序列表", true},
    {"Label2", &TFrmJq::Label2, ui::Rect::FromBounds(15, 75, 343, 13),
     "   将程序列表中的程序用鼠标拖入树形目录中进行分类即可；", false},
    {"Label6", &TFrmJq::Label6, ui::Rect::FromBounds(15, 93, 279, 13),
     "   分类结束后可点击「开始」菜单查看设置效果。", false},
};

}  // namespace

TFrmJq::TFrmJq(ui::Component* owner) : ui::Form(owner) {
  SetName("FrmJq");
  SetCaption(kTipsCaption);
  SetBorderStyle(ui::FormBorderStyle::kDialog);
  SetBorderIcons(ui::border_icons::kSystemMenu);
  SetPosition(ui::FormPosition::kMainFormCenter);
  SetFont(ui::Font{"宋体", 12, ui::kGb2312Charset});
  SetClientSize(354, 152);

  Panel1 = Create<ui::Panel>("Panel1");
  Panel1->SetParent(this);
  Panel1->SetAlign(ui::Align::kClient);
  Panel1->SetColor(kSkyBlue);
  for (const LabelLayout& l : kLabels) {
    ui::Label* label = this->*l.label = ui::CreateControl<ui::Label>(*this, Panel1, l.name, l.bounds);
    label->SetCaption(l.text);
    if (!l.heading) continue;
    ui::Font f = GetFont();
    f.bold = true;
    f.color = kBlue;
    label->SetFont(f);
  }
  ChkbxZd = ui::CreateControl<ui::CheckBox>(*this, Panel1, "ChkbxZd",
                                            ui::Rect::FromBounds(14, 123, 217, 17));
  ChkbxZd->SetCaption("我已经知道啦！不要再提醒我");
  BtnJq = ui::CreateControl<ui::Button>(*this, Panel1, "BtnJq", ui::Rect::FromBounds(265, 117, 75, 25));
  BtnJq->SetCaption("确   定");
  BtnJq->SetDefault(true);
  BtnJq->OnClick = [this](ui::Control&) { BtnJqClick(); };
}

void TFrmJq::BtnJqClick() {
  if (ChkbxZd->Checked()) ui::Fire(OnDismissForGood);
  Close();
}

}  // namespace corvane::categories
