// The undo dialog the tray menu opens: the journal's groups newest first,
// "撤销" for the newest not yet undone, "全部还原" for all of them, and
// "卸载" to restore everything and remove the program's own things.
#pragma once
#include <string>
#include <vector>

#include "journal/uninstall.h"
#include "ui/form.h"
#include "ui/std_controls.h"

namespace corvane::journal {

inline constexpr char kUndoCaption[] = "撤销更改";
inline constexpr char kUndoMenuCaption[] = "撤销更改...";
inline constexpr char kNothingToUndo[] = "没有可以撤销的更改。";

// One line per group, newest first: "2026-12-08 23:40:05  拖放 便笺 → 办公应用".
std::vector<std::string> GroupLines(const History& h);

class TFrmUndo : public ui::Form {
 public:
  TFrmUndo(ui::Component* owner, UninstallServices services);
  std::string ClassName() const override { return "TFrmUndo"; }

  void Refresh();
  void BtnUndoClick();
  void BtnRestoreAllClick();
  void BtnUninstallClick();

  ui::Memo* MemoGroups;
  ui::Button* BtnUndo;
  ui::Button* BtnRestoreAll;
  ui::Button* BtnUninstall;
  ui::Button* BtnClose;

 private:
  void Tell(const std::string& text);
  UninstallServices services_;
};

}  // namespace corvane::journal
