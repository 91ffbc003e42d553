// The control library on real windows, under Wine: the windows follow the
// objects, what the user does to a window comes back to its control, and
// nothing is left behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/memory_system.h"
#include "ui/application.h"
#include "ui/components.h"
#include "ui/form.h"
#include "ui/std_controls.h"
#include "ui/win32/win32_backend.h"

namespace corvane::ui {
namespace {

HWND H(WinControl* c) { return reinterpret_cast<HWND>(c->Handle()); }

std::string ClassOf(HWND h) {
  char buf[64] = {};
  GetClassNameA(h, buf, sizeof buf);
  return buf;
}

BOOL CALLBACK CollectOurs(HWND h, LPARAM l) {
  if (ClassOf(h)[0] == 'T') reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
  return TRUE;
}

// Our top-level windows on this thread.
std::vector<HWND> OurWindows() {
  std::vector<HWND> out;
  EnumThreadWindows(GetCurrentThreadId(), &CollectOurs, reinterpret_cast<LPARAM>(&out));
  return out;
}

class Realized : public ::testing::Test {
 protected:
  Realized() : backend(GetModuleHandleA(nullptr)), app(backend, user) {
    backend.Attach(&app);
    form = std::make_unique<Form>(nullptr);
    form->SetName("FrmTest");
    form->SetCaption("test");
    form->SetBorderStyle(FormBorderStyle::kSingle);
    form->SetBorderIcons(border_icons::kSystemMenu | border_icons::kMinimize);
    form->SetClientSize(300, 200);
    panel = Add<Panel>(form.get(), "Pnl", 0, 0, 300, 200);
  }
  template <class T>
  T* Add(WinControl* parent, const char* name, int l, int t, int w, int h) {
    return CreateControl<T>(*form, parent, name, Rect::FromBounds(l, t, w, h));
  }
  // Lets the windows handle what was sent or posted to them.
  void Pump() { backend.ProcessMessages(); }

  win32::Win32Backend backend;
  MemoryUserInteraction user;
  Application app;
  std::unique_ptr<Form> form;
  Panel* panel;
};

TEST_F(Realized, TheFormWindowHasItsClassStyleAndClientSize) {
  form->Show();
  HWND h = H(form.get());
  ASSERT_TRUE(IsWindow(h));
  EXPECT_EQ(ClassOf(h), "TForm");
  LONG style = GetWindowLongA(h, GWL_STYLE);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  RECT cr;
  GetClientRect(h, &cr);
  EXPECT_EQ(cr.right, 300);
  EXPECT_EQ(cr.bottom, 200);
  EXPECT_EQ(GetWindow(h, GW_OWNER), reinterpret_cast<HWND>(app.Handle()))
      << "owned by the application's window";
  EXPECT_EQ(app.FindForm(form->Handle()), form.get());
}

TEST_F(Realized, ACheckBoxClickedInItsWindowRunsItsReactionAndCodeReachesTheWindow) {
  auto* box = Add<CheckBox>(panel, "Box", 10, 10, 120, 17);
  box->SetCaption("显示此区域");
  std::vector<bool> seen;
  box->OnClick = [&](Control& c) { seen.push_back(static_cast<CheckBox&>(c).Checked()); };
  form->Show();
  HWND h = H(box);
  EXPECT_EQ(ClassOf(h), "TCheckBox");
  SendMessageA(h, BM_CLICK, 0, 0);
  Pump();
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(SendMessageA(h, BM_GETCHECK, 0, 0), BST_CHECKED);
  box->SetChecked(false);
  EXPECT_EQ(SendMessageA(h, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  box->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(h));
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
}

TEST_F(Realized, RadioButtonsTurnEachOtherOffInTheWindowsToo) {
  auto* a = Add<RadioButton>(panel, "A", 10, 10, 100, 17);
  auto* b = Add<RadioButton>(panel, "B", 10, 30, 100, 17);
  a->SetChecked(true);
  form->Show();
  EXPECT_EQ(SendMessageA(H(a), BM_GETCHECK, 0, 0), BST_CHECKED) << "state from before the window";
  SendMessageA(H(b), BM_CLICK, 0, 0);
  Pump();
  EXPECT_TRUE(b->Checked());
  EXPECT_FALSE(a->Checked());
  EXPECT_EQ(SendMessageA(H(a), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(Realized, EditTextGoesBothWaysWithOneChangeEach) {
  auto* e = Add<Edit>(panel, "Edt", 10, 10, 150, 20);
  int changes = 0;
  e->OnChange = [&](Control&) { ++changes; };
  form->Show();
  e->SetText("http://");
  char buf[64] = {};
  GetWindowTextA(H(e), buf, sizeof buf);
  EXPECT_STREQ(buf, "http://");
  SendMessageA(H(e), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("名称"));  // as if typed
  Pump();
  EXPECT_EQ(e->Text(), "名称");
  EXPECT_EQ(changes, 2);
  e->SetReadOnly(true);
  EXPECT_TRUE(GetWindowLongA(H(e), GWL_STYLE) & ES_READONLY);
}

TEST_F(Realized, ASpinEditTakesTypedNumbersWithinItsRange) {
  auto* s = Add<SpinEdit>(panel, "Spn", 10, 10, 60, 20);
  s->SetRange(0, 30);
  s->SetValue(6);
  form->Show();
  char buf[16] = {};
  GetWindowTextA(H(s), buf, sizeof buf);
  EXPECT_STREQ(buf, "6");
  SendMessageA(H(s), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("12"));
  EXPECT_EQ(s->Value(), 12);
  SendMessageA(H(s), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("99"));
  EXPECT_EQ(s->Value(), 30);
  SendMessageA(H(s), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x"));
  EXPECT_EQ(s->Value(), 0) << "text that is no number counts as the least value";
  // Leaving the edit shows the value it stands for.
  SendMessageA(H(s), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("45"));
  SetFocus(H(s));
  SetFocus(H(form.get()));
  Pump();
  GetWindowTextA(H(s), buf, sizeof buf);
  EXPECT_STREQ(buf, "30");
  EXPECT_EQ(s->Value(), 30);
}

TEST_F(Realized, AReplacedMessageMethodSeesTheWindowsMessages) {
  form->Show();
  std::vector<unsigned> seen;
  MessageMethod own = form->WindowProc();
  form->SetWindowProc([&, own](Message& m) {
    if (m.msg == WM_USER + 7) seen.push_back(static_cast<unsigned>(m.wparam));
    own(m);
  });
  SendMessageA(H(form.get()), WM_USER + 7, 42, 0);
  form->SetWindowProc(own);
  SendMessageA(H(form.get()), WM_USER + 7, 43, 0);
  EXPECT_EQ(seen, (std::vector<unsigned>{42}));
}

TEST_F(Realized, TimersTickThroughTheLoopWhileEnabled) {
  Timer* t = form->Create<Timer>("Tmr");
  t->SetInterval(20);
  int ticks = 0;
  t->OnTimer = [&](Timer& self) {
    if (++ticks == 3) self.SetEnabled(false);
  };
  DWORD start = GetTickCount();
  while (ticks < 3 && GetTickCount() - start < 3000) {
    Pump();
    Sleep(5);
  }
  EXPECT_EQ(ticks, 3);
  start = GetTickCount();
  while (GetTickCount() - start < 150) {
    Pump();
    Sleep(5);
  }
  EXPECT_EQ(ticks, 3) << "no tick once disabled";
}

TEST_F(Realized, AModalFormHoldsTheOthersOffUntilItsButtonIsPressed) {
  form->Show();
  Form dialog(nullptr);
  dialog.SetClientSize(200, 100);
  auto* ok = CreateControl<Button>(dialog, &dialog, "BtnOk", Rect::FromBounds(60, 60, 75, 25));
  ok->SetModalResult(kMrOk);
  bool main_was_enabled = true;
  Timer* press = form->Create<Timer>("Press");
  press->SetInterval(50);
  press->OnTimer = [&](Timer& self) {
    self.SetEnabled(false);
    main_was_enabled = IsWindowEnabled(H(form.get())) != FALSE;
    PostMessageA(H(ok), BM_CLICK, 0, 0);
  };
  // Should the click never arrive, the dialog still ends, with another result.
  Timer* give_up = form->Create<Timer>("GiveUp");
  give_up->SetInterval(10000);
  give_up->OnTimer = [&](Timer& self) {
    self.SetEnabled(false);
    dialog.SetModalResult(kMrCancel);
  };
  EXPECT_EQ(dialog.ShowModal(), kMrOk);
  EXPECT_FALSE(main_was_enabled);
  EXPECT_TRUE(IsWindowEnabled(H(form.get())));
  EXPECT_FALSE(IsWindowVisible(H(&dialog)));
}

TEST(RealizedLifetime, EveryWindowGoesWithItsObjects) {
  win32::Win32Backend backend(GetModuleHandleA(nullptr));
  MemoryUserInteraction user;
  Application app(backend, user);
  backend.Attach(&app);
  {
    Form form(nullptr);
    form.SetClientSize(100, 100);
    auto* p = CreateControl<Panel>(form, &form, "P", Rect::FromBounds(0, 0, 100, 100));
    auto* e = CreateControl<Edit>(form, p, "E", Rect::FromBounds(1, 1, 50, 20));
    form.Show();
    HWND edit = H(e);
    ASSERT_TRUE(IsWindow(edit));
    delete e;
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(OurWindows().size(), 2u) << "the form and the application's window";
  }
  EXPECT_EQ(OurWindows().size(), 1u) << "only the application's window";
}

}  // namespace
}  // namespace corvane::ui
