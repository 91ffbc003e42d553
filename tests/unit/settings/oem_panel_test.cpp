#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel_bench.h"
#include "settings/map_engine.h"
#include "core/oem_link.h"

namespace corvane::settings {
namespace {

using testing::HKCR;
using testing::HKCU;
using Lines = std::vector<std::string>;

constexpr char kCustomFields[] =
    "EdtOEMSetName BtnIcon RadoBtnUL EdtOEMSetUL RadoBtnFolder EdtOEMSetFolder BtnFolder "
    "RadoBtnProg EdtOEMSetProg BtnProg LblName LabelIcon EditIcon";

class OemPanel : public ::testing::Test {
 protected:
  AreaPanels& P() { return *w.panels; }
  // Which of the custom fields are enabled, as "1"/"0" in the order above.
  std::string Enabled() {
    std::string out;
    std::string names = kCustomFields, name;
    for (std::size_t i = 0; i <= names.size(); ++i) {
      if (i == names.size() || names[i] == ' ') {
        out += w.form->FindComponent(name) &&
                       static_cast<ui::Control*>(w.form->FindComponent(name))->Enabled()
                   ? '1'
                   : '0';
        name.clear();
      } else {
        name += names[i];
      }
    }
    return out;
  }
  void Click(ui::Control* c) {
    c->Perform(ui::msg::kReflectCommand,
               static_cast<std::uintptr_t>(ui::msg::kButtonClicked) << 16);
  }
  void Fill(const char* name, const char* icon) {
    P().EdtOEMSetName->SetText(name);
    P().EditIcon->SetText(icon);
    P().EdtOEMSetUL->SetText("http://www.example.com.cn/");
    P().EdtOEMSetFolder->SetText("D:\\资料");
    P().EdtOEMSetProg->SetText("C:\\Corvane\\Halvorn.exe");
  }
  std::vector<std::string> Registration() {
    Lines out;
    for (const std::string& line : w.Values())
      if (line.rfind("HKCR", 0) == 0) out.push_back(line);
    return out;
  }
  testing::PanelBench w;
};

TEST_F(OemPanel, EachOpeningLocksTheCustomFieldsAndKeepsWhatWasTyped) {
  w.Load(Area::kOemLink);
  EXPECT_EQ(w.State("ChekBxOEM ChekBxSetOEM"), "1 0");
  EXPECT_EQ(Enabled(), "0000000000000");
  Click(P().ChekBxSetOEM);
  // The address kind: its edit on, the folder's and program's fields off.
  EXPECT_EQ(Enabled(), "1111100100111");
  Click(P().RadoBtnFolder);
  EXPECT_EQ(Enabled(), "1110111100111");
  EXPECT_FALSE(P().RadoBtnUL->Checked());
  Click(P().RadoBtnProg);
  EXPECT_EQ(Enabled(), "1110100111111");
  Fill("我的链接", "C:\\a.ico");
  Click(P().ChekBxSetOEM);
  EXPECT_EQ(Enabled(), "0000000000000");
  Click(P().ChekBxSetOEM);
  EXPECT_EQ(Enabled(), "1110100111111") << "the kind that is selected";

  w.Load(Area::kOemLink);
  EXPECT_EQ(w.State("ChekBxSetOEM"), "0");
  EXPECT_EQ(Enabled(), "0000000000000");
  EXPECT_EQ(P().EdtOEMSetName->Text(), "我的链接");
  EXPECT_TRUE(P().RadoBtnProg->Checked());
  EXPECT_TRUE(w.form->PnlOEM->Visible());
}

TEST_F(OemPanel, WithoutTheCustomLinkOnlyTheVisibilityIsWritten) {
  w.Load(Area::kOemLink);
  Fill("我的链接", "C:\\a.ico");
  w.Set("ChekBxOEM", false);
  w.Apply(Area::kOemLink);
  EXPECT_EQ(w.Values(), (Lines{"HKCU\\ADV Start_ShowOEMLink = dword 0"}));
  EXPECT_TRUE(w.form->SettingsChanged());
}

TEST_F(OemPanel, ABlankNameOrIconIsRefusedAfterTheVisibilityWasWritten) {
  for (auto [name, icon] : {std::pair<const char*, const char*>{"   ", "C:\\a.ico"},
                            {"我的链接", "\t \r\n"},
                            {"", ""}}) {
    testing::PanelBench fresh;
    fresh.Load(Area::kOemLink);
    auto& p = *fresh.panels;
    p.ChekBxSetOEM->SetChecked(true);
    p.EdtOEMSetName->SetText(name);
    p.EditIcon->SetText(icon);
    fresh.Apply(Area::kOemLink);
    ASSERT_EQ(fresh.user.boxes.size(), 1u);
    EXPECT_EQ(fresh.user.boxes[0].text, "链接名称或图标路径不能为空！");
    EXPECT_EQ(fresh.user.boxes[0].caption, "提醒...");
    EXPECT_EQ(fresh.user.boxes[0].style, 0x30u);
    EXPECT_EQ(fresh.Values(), (Lines{"HKCU\\ADV Start_ShowOEMLink = dword 1"}));
  }
}

TEST_F(OemPanel, TheRegistrationTakesTheTargetOfTheSelectedKindAsTyped) {
  const std::string key = "HKCR\\CLSID\\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}\\";
  w.Load(Area::kOemLink);
  Click(P().ChekBxSetOEM);
  Click(P().RadoBtnFolder);
  Fill(" 我的资料 ", "C:\\Corvane\\Icon\\crv.ico");
  w.Apply(Area::kOemLink);
  EXPECT_TRUE(w.user.boxes.empty());
  EXPECT_EQ(Registration(), (Lines{key + "@ = sz  我的资料 ",
                                   key + "DefaultIcon\\@ = sz C:\\Corvane\\Icon\\crv.ico",
                                   key + "InfoTip = sz  我的资料 ",
                                   key + "Instance\\InitPropertyBag\\Command = sz  我的资料 ",
                                   key + "Instance\\InitPropertyBag\\Param1 = sz D:\\资料"}));
  // An empty address is written as it is.
  Click(P().RadoBtnUL);
  P().EdtOEMSetUL->SetText("");
  w.Apply(Area::kOemLink);
  EXPECT_EQ(*w.registry.GetString(HKCR, std::string(kOemLinkKey).substr(1) + "\\" + kOemPropertyBag,
                                  "Param1"),
            "");
}

TEST_F(OemPanel, RegistrationKeysThatCannotBeOpenedAreSkippedAndARefusedWriteStopsTheRest) {
  const std::string clsid = std::string(kOemLinkKey).substr(1);
  w.Load(Area::kOemLink);
  Click(P().ChekBxSetOEM);
  Fill("链接", "C:\\a.ico");
  w.registry.Deny(HKCR, clsid + "\\Instance");
  w.Apply(Area::kOemLink);
  EXPECT_TRUE(w.user.boxes.empty());
  EXPECT_EQ(w.registry.GetString(HKCR, clsid, "InfoTip"), "链接");
  EXPECT_EQ(w.registry.GetString(HKCR, clsid + "\\DefaultIcon", ""), "C:\\a.ico");

  testing::PanelBench f;
  f.MakeKey(HKCR, clsid);
  f.registry.FailWrites(HKCR, clsid);
  f.Load(Area::kOemLink);
  auto& p = *f.panels;
  p.ChekBxSetOEM->SetChecked(true);
  p.EdtOEMSetName->SetText("链接");
  p.EditIcon->SetText("C:\\a.ico");
  f.Apply(Area::kOemLink);
  EXPECT_EQ(f.Messages(), (Lines{kApplyFailed}));
  EXPECT_FALSE(f.registry.HasKey(HKCR, clsid + "\\DefaultIcon")) << "the rest is skipped";
  EXPECT_EQ(f.registry.GetDword(HKCU, kAdvancedKey, "Start_ShowOEMLink"), 1u);
}

TEST_F(OemPanel, TheFirstRunWritesTheSameLayoutThroughTheSameRoutine) {
  MapEngine engine(w.registry, *w.form, nullptr);
  EXPECT_TRUE(engine.Guarded(true, [](RegistryAccessor& reg) {
    reg.SetRoot(HKCU);
    ASSERT_TRUE(reg.OpenKey("\\Software", true));  // a key left open by earlier work
    WriteOemLink(reg, {"Corvane 1.2", "让您的程序从此井井有条！", "Corvane 1.2",
                       "C:\\Corvane\\Halvorn.exe", "C:\\Corvane\\icon\\crv.ico"});
  }));
  const std::string key = "HKCR\\CLSID\\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}\\";
  EXPECT_EQ(Registration(),
            (Lines{key + "@ = sz Corvane 1.2", key + "DefaultIcon\\@ = sz C:\\Corvane\\icon\\crv.ico",
                   key + "InfoTip = sz 让您的程序从此井井有条！",
                   key + "Instance\\InitPropertyBag\\Command = sz Corvane 1.2",
                   key + "Instance\\InitPropertyBag\\Param1 = sz C:\\Corvane\\Halvorn.exe"}));
  EXPECT_EQ(w.registry.OpenHandleCount(), 0u);
}

TEST_F(OemPanel, TheBrowseButtonsFillTheirFieldsOnlyWhenSomethingIsChosen) {
  w.Load(Area::kOemLink);
  Click(P().ChekBxSetOEM);
  P().EdtOEMSetFolder->SetText("typed");
  P().EditIcon->SetText("C:\\typed.ico");
  w.backend.answer_browse_folder = [] { return std::nullopt; };
  Click(P().BtnFolder);
  EXPECT_EQ(P().EdtOEMSetFolder->Text(), "typed");
  w.backend.answer_browse_folder = [] { return std::optional<std::string>("D:\\下载"); };
  Click(P().BtnFolder);
  EXPECT_EQ(P().EdtOEMSetFolder->Text(), "D:\\下载");
  ASSERT_EQ(w.backend.folder_browses().size(), 2u);
  EXPECT_EQ(w.backend.folder_browses()[0].owner, w.form.get());
  EXPECT_EQ(w.backend.folder_browses()[0].title, "请选择要打开的文件夹路径");
  EXPECT_EQ(w.backend.folder_browses()[0].flags, 0x50u);

  std::vector<std::string> asked;
  w.backend.answer_open_dialog = [&](ui::OpenDialog& d) {
    asked.push_back(d.Name() + " " + d.InitialDir() + " " + d.Filter());
    d.SetFileName(d.Name() == "OpnDilgProg" ? "C:\\Tools\\计算器.exe" : "C:\\Corvane\\Icon\\a.ico");
    return d.Name() == "OpnDilgProg";  // the icon dialog is cancelled
  };
  Click(P().BtnProg);
  Click(P().BtnIcon);
  EXPECT_EQ(asked, (Lines{"OpnDilgProg C:\\Corvane\\ exe文件(*.exe)|*.exe",
                          "OpenPictureDialogIcon C:\\Corvane\\Icon 图标文件|*.ico"}));
  EXPECT_EQ(P().EdtOEMSetProg->Text(), "C:\\Tools\\计算器.exe");
  EXPECT_EQ(P().EditIcon->Text(), "C:\\typed.ico") << "a cancelled dialog changes nothing";
}

}  // namespace
}  // namespace corvane::settings
