// Forms: top-level windows owned by the application's hidden window.
#pragma once
#include <functional>
#include <string>

#include "ui/control.h"

namespace corvane::ui {

enum class FormBorderStyle { kNone, kSingle, kSizeable, kDialog };
enum class FormPosition { kDesigned, kScreenCenter, kMainFormCenter };
enum class CloseAction { kNone, kHide, kFree };

namespace border_icons {
inline constexpr unsigned kSystemMenu = 1;
inline constexpr unsigned kMinimize = 2;
inline constexpr unsigned kMaximize = 4;
}  // namespace border_icons

inline constexpr int kMrNone = 0;
inline constexpr int kMrOk = 1;
inline constexpr int kMrCancel = 2;

class Form : public WinControl {
 public:
  explicit Form(Component* owner);
  ~Form() override;
  std::string ClassName() const override { return "TForm"; }
  bool IsForm() const override { return true; }

  FormBorderStyle GetBorderStyle() const { return border_style_; }
  void SetBorderStyle(FormBorderStyle b);
  unsigned BorderIcons() const { return border_icons_; }
  void SetBorderIcons(unsigned icons);
  FormPosition Position() const { return position_; }
  void SetPosition(FormPosition p) { position_ = p; }

  int ClientWidth() const { return client_width_; }
  int ClientHeight() const { return client_height_; }
  void SetClientSize(int width, int height);
  Rect ClientRect() const override { return {0, 0, client_width_, client_height_}; }
  // For the realisation: the system's client size.
  void ClientSizeFromWindow(int width, int height);

  // Visible and in front.
  void Show();
  void BringToFront() override;
  // Asks the close query; a form that may close is hidden, or ends the
  // application when it is the main form, or ends its modal loop.
  void Close();
  bool CloseQuery();

  // Shows the form and handles messages until its modal result is set.
  int ShowModal();
  bool Modal() const { return modal_; }
  int ModalResult() const { return modal_result_; }
  void SetModalResult(int r) { modal_result_ = r; }

  std::function<void(Form&)> OnShow;
  std::function<void(Form&)> OnHide;
  std::function<void(Form&, bool& can_close)> OnCloseQuery;
  std::function<void(Form&, CloseAction& action)> OnClose;

 protected:
  void WndProc(Message& m) override;
  void VisibleChanged() override;
  bool PaintsItself() const override { return true; }

 private:
  FormBorderStyle border_style_ = FormBorderStyle::kSizeable;
  unsigned border_icons_ =
      border_icons::kSystemMenu | border_icons::kMinimize | border_icons::kMaximize;
  FormPosition position_ = FormPosition::kDesigned;
  int client_width_ = 0;
  int client_height_ = 0;
  bool modal_ = false;
  int modal_result_ = kMrNone;
};

}  // namespace corvane::ui
