#include "ui/form.h"

#include <gtest/gtest.h>

#include "test_support.h"
#include "ui/components.h"
#include "ui/std_controls.h"

namespace corvane::ui {
namespace {

using testing::AppFixture;

TEST(FormClosing, TheMainFormEndsTheApplicationOtherFormsHide) {
  AppFixture f;
  Form main(nullptr), other(nullptr);
  f.app.SetMainForm(&main);
  other.Show();
  other.Perform(msg::kClose);
  EXPECT_FALSE(other.Visible());
  EXPECT_FALSE(f.app.Terminated());
  main.Show();
  main.Perform(msg::kClose);
  EXPECT_TRUE(f.app.Terminated());
  EXPECT_TRUE(f.backend.quit());
}

TEST(FormClosing, ARefusedCloseQueryOrANoneActionKeepsTheForm) {
  AppFixture f;
  Form main(nullptr);
  f.app.SetMainForm(&main);
  main.Show();
  bool allow = false;
  CloseAction action = CloseAction::kHide;
  int queries = 0;
  main.OnCloseQuery = [&](Form&, bool& can) {
    ++queries;
    can = allow;
  };
  main.OnClose = [&](Form&, CloseAction& a) { a = action; };
  main.Close();
  allow = true;
  action = CloseAction::kNone;
  main.Close();
  EXPECT_EQ(queries, 2);
  EXPECT_TRUE(main.Visible());
  EXPECT_FALSE(f.app.Terminated());
}

TEST(FormClosing, AnEndingSessionIsAnsweredAtOnceWithoutTheCloseQuery) {
  AppFixture f;
  Form main(nullptr);
  f.app.SetMainForm(&main);
  int queries = 0;
  main.OnCloseQuery = [&](Form&, bool& can) {
    ++queries;
    can = false;
  };
  EXPECT_EQ(main.Perform(msg::kQueryEndSession), 1);
  EXPECT_EQ(queries, 0);
}

TEST(FormShowing, ShowRaisesOnShowBeforeTheWindowAppearsAndTheMainFormBringsItsTaskbarButton) {
  AppFixture f(true);
  Form main(nullptr), dialog(nullptr);
  f.app.SetMainForm(&main);
  std::vector<std::string> trail;
  main.OnShow = [&](Form& fm) {
    trail.push_back(std::string("show, window ") + (fm.HandleAllocated() ? "made" : "not made"));
  };
  main.OnHide = [&](Form&) { trail.push_back("hide"); };
  dialog.Show();
  EXPECT_TRUE(f.backend.owner_shows().empty());
  main.Show();
  main.Show();
  main.Hide();
  EXPECT_EQ(trail, (std::vector<std::string>{"show, window not made", "hide"}));
  EXPECT_EQ(f.backend.owner_shows(), (std::vector<bool>{true}));
}

TEST(FormModal, RunsUntilAButtonSetsTheResultAndHoldsOtherWindowsOff) {
  AppFixture f;
  Form dialog(nullptr);
  auto* ok = dialog.Create<Button>("BtnOk");
  ok->SetParent(&dialog);
  ok->SetModalResult(kMrOk);
  bool was_visible = false;
  f.backend.Post([&] { was_visible = dialog.Visible() && dialog.Modal(); });
  f.backend.Post([&] { testing::WindowClick(*ok); });
  f.backend.Post([&] { ADD_FAILURE() << "the loop went on after the result was set"; });
  EXPECT_EQ(dialog.ShowModal(), kMrOk);
  EXPECT_TRUE(was_visible);
  EXPECT_FALSE(dialog.Visible());
  EXPECT_FALSE(dialog.Modal());
  EXPECT_EQ(f.backend.modal_log(),
            (std::vector<std::pair<Form*, bool>>{{&dialog, false}, {&dialog, true}}));
}

TEST(FormModal, ClosingAModalFormCancelsItAndAnEndedLoopDoesNotHang) {
  AppFixture f;
  Form dialog(nullptr);
  f.backend.Post([&] { dialog.Perform(msg::kClose); });
  EXPECT_EQ(dialog.ShowModal(), kMrCancel);
  EXPECT_EQ(dialog.ShowModal(), kMrCancel) << "nothing left to handle";
  EXPECT_FALSE(dialog.Visible());
}

TEST(FormMinimize, TheMainFormMinimizesThroughTheApplication) {
  AppFixture f;
  Form main(nullptr), other(nullptr);
  f.app.SetMainForm(&main);
  main.Perform(msg::kSysCommand, 0xF020);
  other.Perform(msg::kSysCommand, 0xF020);
  EXPECT_EQ(f.backend.minimized(), 1);
}

TEST(ApplicationObject, RunShowsTheMainFormUnlessSwitchedOffAndLoopsUntilTerminated) {
  AppFixture f;
  Form main(nullptr);
  f.app.SetMainForm(&main);
  f.app.SetShowMainForm(false);
  int handled = 0;
  f.backend.Post([&] { ++handled; });
  f.backend.Post([&] {
    ++handled;
    f.app.Terminate();
  });
  f.backend.Post([&] { ++handled; });
  f.app.Run();
  EXPECT_EQ(handled, 2);
  EXPECT_FALSE(main.Visible());
  EXPECT_TRUE(f.app.Terminated());
}

TEST(ApplicationObject, MessageBoxesCarryTheTitleUnlessGivenACaption) {
  AppFixture f;
  f.app.SetTitle("Corvane 1.2");
  EXPECT_EQ(f.backend.title(), "Corvane 1.2");
  f.user.answers = {mb::kIdCancel};
  EXPECT_EQ(f.app.ShowMessageBox("x", "", mb::kOkCancel), mb::kIdCancel);
  f.app.ShowMessageBox("y", "提醒...", mb::kIconExclamation);
  ASSERT_EQ(f.user.boxes.size(), 2u);
  EXPECT_EQ(f.user.boxes[0].caption, "Corvane 1.2");
  EXPECT_EQ(f.user.boxes[1].caption, "提醒...");
  EXPECT_EQ(f.user.boxes[1].style, mb::kIconExclamation);
}

TEST(ApplicationObject, MessageFiltersCanKeepAMessageFromBeingDispatched) {
  AppFixture f;
  Component owner(nullptr);
  auto* events = owner.Create<ApplicationEvents>("ApplicationEvents");
  events->OnMessage = [](Message& m, bool& handled) { handled = m.msg == msg::kRButtonUp; };
  Message up{msg::kRButtonUp}, down{msg::kLButtonDown};
  EXPECT_TRUE(f.app.FilterMessage(up));
  EXPECT_FALSE(f.app.FilterMessage(down));
  delete events;
  EXPECT_FALSE(f.app.FilterMessage(up));
}

TEST(ApplicationObject, FindsAFormByItsWindow) {
  AppFixture f(true);
  Form a(nullptr), b(nullptr);
  WindowHandle hb = b.Handle();
  EXPECT_NE(hb, 0u);
  EXPECT_EQ(f.app.FindForm(hb), &b);
  EXPECT_EQ(f.app.FindForm(0), nullptr);
  EXPECT_EQ(f.app.Forms().size(), 2u);
}

}  // namespace
}  // namespace corvane::ui
