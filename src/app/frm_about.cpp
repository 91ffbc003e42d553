#include "app/frm_about.h"

namespace corvane::app {
namespace {

template <class T>
T* Place(ui::Component& owner, ui::WinControl* parent, const char* name, int l, int t, int w,
         int h) {
  return ui::CreateControl<T>(owner, parent, name, ui::Rect::FromBounds(l, t, w, h));
}

}  // namespace

const std::vector<std::string>& AboutNotice() {
  static const std::vector<std::string> kNotice = {
      "",
      "  本软件为免费软件，欢迎使用和传播，但不得",
      "用于商业用途；使用本软件的风险由您自行承担。",
      "  本软件无需安装，解压即可运行，运行时只占用",
      "几百KB内存。",
      "  有任何问题或建议，欢迎来信，软件会不断更新。",
      "  联系方式：corvane@example.com",
  };
  return kNotice;
}

TFrmAbout::TFrmAbout(ui::Component* owner) : ui::Form(owner) {
  SetName("FrmAbout");
  SetCaption(kAboutCaption);
  SetBorderStyle(ui::FormBorderStyle::kDialog);
  SetBorderIcons(ui::border_icons::kSystemMenu);
  SetPosition(ui::FormPosition::kMainFormCenter);
  SetFont(ui::Font{"宋体", 12, ui::kGb2312Charset});
  SetClientSize(348, 182);

  Panel1 = Create<ui::Panel>("Panel1");
  Panel1->SetParent(this);
  Panel1->SetAlign(ui::Align::kClient);
  Image1 = Place<ui::Image>(*this, Panel1, "Image1", 13, 10, 33, 33);
  Image1->SetPicture(ui::Picture::IconResource("MAINICON"));
  Label2 = Place<ui::Label>(*this, Panel1, "Label2", 54, 14, 123, 13);
  Label2->SetCaption(kAboutAuthor);
  Label1 = Place<ui::Label>(*this, Panel1, "Label1", 55, 30, 186, 13);
  Label1->SetCaption(kAboutVersion);
  MemoAbout = Place<ui::Memo>(*this, Panel1, "MemoAbout", 13, 49, 321, 96);
  MemoAbout->SetReadOnly(true);
  // Where the font's lines are taller than 宋体's, the last lines stay reachable.
  MemoAbout->SetScrollBars(ui::Memo::ScrollBars::kVertical);
  MemoAbout->SetColor(kAboutMemoColor);
  MemoAbout->SetLines(AboutNotice());
  BtnOk = Place<ui::Button>(*this, Panel1, "BtnOk", 260, 151, 75, 25);
  BtnOk->SetCaption(kAboutOk);
  BtnOk->SetDefault(true);
  BtnOk->SetCancel(true);
  BtnOk->OnClick = [this](ui::Control&) { BtnOkClick(); };
}

}  // namespace corvane::app
