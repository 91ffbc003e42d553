#include "journal/frm_undo.h"

#include "core/system.h"
#include "ui/application.h"

namespace corvane::journal {
namespace {

constexpr char kNoticeCaption[] = "提醒...";
constexpr char kUndoneMark[] = "（已撤销）";
constexpr char kConfirmUninstall[] =
    "卸载将还原 Corvane 所做的全部更改，并删除它自己的注册表项、开机启动和快捷方式。继续吗？";

template <class T>
T* Place(ui::Component& owner, ui::WinControl* parent, const char* name, int l, int t, int w,
         int h) {
  return ui::CreateControl<T>(owner, parent, name, ui::Rect::FromBounds(l, t, w, h));
}

}  // namespace

std::vector<std::string> GroupLines(const History& h) {
  std::vector<std::string> lines;
  for (auto it = h.groups.rbegin(); it != h.groups.rend(); ++it) {
    if (it->undoes || it->changes.empty()) continue;  // an undo's own group, or nothing done
    lines.push_back(it->time + "  " + it->what + (it->undone ? kUndoneMark : ""));
  }
  return lines;
}

TFrmUndo::TFrmUndo(ui::Component* owner, UninstallServices services)
    : ui::Form(owner), services_(services) {
  SetName("FrmUndo");
  SetCaption(kUndoCaption);
  SetBorderStyle(ui::FormBorderStyle::kDialog);
  SetBorderIcons(ui::border_icons::kSystemMenu);
  SetPosition(ui::FormPosition::kScreenCenter);
  SetFont(ui::Font{"宋体", 12, ui::kGb2312Charset});
  SetClientSize(420, 250);
  MemoGroups = Place<ui::Memo>(*this, this, "MemoGroups", 8, 8, 404, 200);
  MemoGroups->SetReadOnly(true);
  MemoGroups->SetScrollBars(ui::Memo::ScrollBars::kVertical);
  BtnUndo = Place<ui::Button>(*this, this, "BtnUndo", 8, 217, 75, 25);
  BtnUndo->SetCaption("撤销");
  BtnUndo->OnClick = [this](ui::Control&) { BtnUndoClick(); };
  BtnRestoreAll = Place<ui::Button>(*this, this, "BtnRestoreAll", 91, 217, 75, 25);
  BtnRestoreAll->SetCaption("全部还原");
  BtnRestoreAll->OnClick = [this](ui::Control&) { BtnRestoreAllClick(); };
  BtnUninstall = Place<ui::Button>(*this, this, "BtnUninstall", 174, 217, 75, 25);
  BtnUninstall->SetCaption("卸载");
  BtnUninstall->OnClick = [this](ui::Control&) { BtnUninstallClick(); };
  BtnClose = Place<ui::Button>(*this, this, "BtnClose", 337, 217, 75, 25);
  BtnClose->SetCaption("关闭");
  BtnClose->SetCancel(true);
  BtnClose->SetDefault(true);
  BtnClose->OnClick = [this](ui::Control&) { Close(); };
  Refresh();
}

void TFrmUndo::Refresh() {
  History h = ReadHistory(services_.journal.Read());
  std::vector<std::string> lines = GroupLines(h);
  if (h.damaged > 0)
    lines.push_back("（记录中有 " + std::to_string(h.damaged) + " 行已损坏，已跳过）");
  MemoGroups->SetLines(lines);
  bool any = !UndoableGroups(h).empty();
  BtnUndo->SetEnabled(any);
  BtnRestoreAll->SetEnabled(any);
}

void TFrmUndo::Tell(const std::string& text) {
  if (ui::Application* app = ui::Application::Current())
    app->ShowMessageBox(text, kNoticeCaption, mb::kOk | mb::kIconExclamation);
}

void TFrmUndo::BtnUndoClick() {
  auto report = Undo(services_.files, services_.registry, services_.journal, services_.profile).Newest();
  Tell(report ? UndoMessage(*report) : kNothingToUndo);
  Refresh();
}

void TFrmUndo::BtnRestoreAllClick() {
  Tell(UndoMessage(Undo(services_.files, services_.registry, services_.journal, services_.profile).All()));
  Refresh();
}

void TFrmUndo::BtnUninstallClick() {
  ui::Application* app = ui::Application::Current();
  if (app && app->ShowMessageBox(kConfirmUninstall, kNoticeCaption,
                                 mb::kOkCancel | mb::kIconQuestion) != mb::kIdOk)
    return;
  UninstallReport r = Uninstall(services_);
  Tell(UninstallMessage(r, services_.system.ExecutableFolder()));
  Refresh();
  if (app) app->Terminate();  // nothing of the program is left to run for
}

}  // namespace corvane::journal
