// The first-run dialog (TFrmXuanze): four ticked choices and an OK button.
// The title-bar close applies none of them.
#pragma once
#include <functional>
#include <string>

#include "setup/installation.h"
#include "ui/form.h"
#include "ui/std_controls.h"

namespace corvane::setup {

inline constexpr char kXuanzeCaption[] = "欢迎使用Corvane1.2   ";

class TFrmXuanze : public ui::Form {
 public:
  explicit TFrmXuanze(ui::Component* owner);
  std::string ClassName() const override { return "TFrmXuanze"; }

  void BtnOkClick();
  InstallChoices Choices() const;

  // OK: the ticked choices are applied, the dialog closes, then OnConfirmed.
  std::function<void(const InstallChoices&)> OnApply;
  std::function<void()> OnConfirmed;

  ui::CheckBox *ChekBxZm, *ChekBxKs, *ChekBxOEM, *ChekBxQd;
  ui::Button* BtnOk;
};

}  // namespace corvane::setup
