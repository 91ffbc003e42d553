#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "panel_bench.h"
#include "core/text.h"
#include "settings/map_engine.h"

namespace corvane::settings {
namespace {

using testing::HKCR;
using testing::HKCU;
using testing::HKLM;
using testing::PanelBench;
using Lines = std::vector<std::string>;

constexpr std::uint32_t kAbsent = 0xDEADBEEF;  // the value is not stored

struct ReadCase {
  Area area;
  RegHandle root;
  const char* key;
  const char* value;
  const char* boxes;
  std::vector<std::pair<std::uint32_t, const char*>> shown;  // stored value, box states
};

// Each stored value on its own, every other value of the area absent, in a
// window as it starts.
const std::vector<ReadCase>& ReadCases() {
  static const std::vector<ReadCase> cases = {
      {Area::kUserBar, HKLM, kPolicyKey, "NoUserNameInStartMenu", "ChekBxUserXs",
       {{kAbsent, "1"}, {0, "1"}, {1, "0"}, {7, "0"}}},
      {Area::kPinnedList, HKCU, kPolicyKey, "NoStartMenuPinnedList", "ChekBxQuyuXs",
       {{kAbsent, "1"}, {0, "1"}, {16, "0"}, {5, "0"}}},
      {Area::kMostUsedList, HKCU, kPolicyKey, "NoStartMenuMFUprogramsList", "ChekBxCyXs",
       {{kAbsent, "1"}, {1, "0"}, {0, "1"}, {5, "1"}}},
      {Area::kMostUsedList, HKCU, kAdvancedKey, "Start_LargeMFUIcons", "ChekBxMin",
       {{kAbsent, "0"}, {1, "0"}, {0, "1"}, {5, "1"}}},
      {Area::kMostUsedList, HKCU, kAdvancedKey, "Start_MinMFU", "SpnEdtNum",
       {{kAbsent, "6"}, {0, "0"}, {12, "12"}, {50, "30"}, {0xFFFFFFFF, "30"}}},
      {Area::kMyItems, HKCU, kAdvancedKey, "Start_ShowMyComputer", "ChekBxDn ChekBxDnMenu",
       {{kAbsent, "0 0d"}, {0, "0 0d"}, {1, "1 0"}, {2, "1 1"}, {5, "1 1"}}},
      {Area::kMyItems, HKCU, kAdvancedKey, "Start_ShowNetPlaces", "ChekBxWl",
       {{kAbsent, "0"}, {0, "0"}, {1, "1"}, {5, "1"}}},
      // The policy value, absent here, decides the item box last.
      {Area::kMyItems, HKCU, kAdvancedKey, "Start_ShowRecentDocs", "ChekBxZj ChekBxZjMenu",
       {{kAbsent, "0 0d"}, {0, "0 0d"}, {1, "0 0d"}, {2, "0 1d"}}},
      {Area::kMyItems, HKCU, kPolicyKey, "NoRecentDocsMenu", "ChekBxZj ChekBxZjMenu",
       {{kAbsent, "0 0d"}, {1, "0 0d"}, {0, "1 0"}, {5, "1 0"}}},
      {Area::kMyItems, HKCU, kAdvancedKey, "Start_ShowMyDocs", "ChekBxWd ChekBxWdMenu",
       {{kAbsent, "1 0"}, {0, "1 0"}, {1, "1 0"}, {2, "1 1"}, {9, "1 1"}}},
      {Area::kMyItems, HKCU, kPolicyKey, "NoSMMyDocs", "ChekBxWd ChekBxWdMenu",
       {{kAbsent, "1 0"}, {1, "0 0d"}, {0, "1 0"}, {5, "1 0"}}},
      {Area::kMyItems, HKCU, kAdvancedKey, "Start_ShowMyMusic", "ChekBxYy ChekBxYyMenu",
       {{kAbsent, "1 0"}, {0, "1 0"}, {1, "1 0"}, {2, "1 1"}}},
      {Area::kMyItems, HKCU, kPolicyKey, "NoStartMenuMyMusic", "ChekBxYy ChekBxYyMenu",
       {{kAbsent, "1 0"}, {1, "0 0d"}, {0, "1 0"}, {3, "1 0"}}},
      {Area::kMyItems, HKCU, kAdvancedKey, "Start_ShowMyPics", "ChekBxTp ChekBxTpMenu",
       {{kAbsent, "1 0"}, {0, "1 0"}, {1, "1 0"}, {2, "1 1"}}},
      {Area::kMyItems, HKCU, kPolicyKey, "NoSMMyPictures", "ChekBxTp ChekBxTpMenu",
       {{kAbsent, "1 0"}, {1, "0 0d"}, {0, "1 0"}, {3, "1 0"}}},
      {Area::kMyItems, HKCU, kAdvancedKey, "StartMenuFavorites", "ChekBxSc ChekBxScMenu",
       {{kAbsent, "0 0d"}, {0, "0 0d"}, {1, "0 0d"}, {2, "0 1d"}}},
      {Area::kMyItems, HKCU, kPolicyKey, "NoFavoritesMenu", "ChekBxSc ChekBxScMenu",
       {{kAbsent, "0 0d"}, {1, "0 0d"}, {0, "1 0"}, {5, "1 0"}}},
      {Area::kSettingsItems, HKCU, kAdvancedKey, "Start_ShowNetConn", "ChekBxNet",
       {{kAbsent, "0"}, {1, "1"}, {0, "0"}, {5, "0"}}},
      {Area::kSettingsItems, HKCU, kAdvancedKey, "Start_ShowPrinters", "ChekBxPrint",
       {{kAbsent, "0"}, {1, "1"}, {0, "0"}, {5, "0"}}},
      {Area::kSettingsItems, HKCU, kAdvancedKey, "Start_ShowSetProgramAccessAndDefaults", "ChekBxMoren",
       {{kAbsent, "1"}, {1, "1"}, {0, "0"}, {5, "0"}}},
      {Area::kSettingsItems, HKCU, kAdvancedKey, "Start_ShowControlPanel", "ChekBxMb ChekBxMbMenu",
       {{kAbsent, "1 0"}, {2, "1 1"}, {1, "1 0"}, {0, "0 0d"}, {5, "0 0d"}}},
      {Area::kHelpSearchRun, HKCU, kAdvancedKey, "Start_ShowHelp", "ChekBxBz",
       {{kAbsent, "1"}, {1, "1"}, {0, "0"}, {5, "0"}}},
      {Area::kHelpSearchRun, HKCU, kAdvancedKey, "Start_ShowSearch", "ChekBxSs",
       {{kAbsent, "1"}, {1, "1"}, {0, "0"}, {5, "0"}}},
      {Area::kHelpSearchRun, HKCU, kAdvancedKey, "Start_ShowRun", "ChekBxYx",
       {{kAbsent, "1"}, {1, "1"}, {0, "0"}, {5, "0"}}},
      {Area::kOemLink, HKCU, kAdvancedKey, "Start_ShowOEMLink", "ChekBxOEM",
       {{kAbsent, "1"}, {1, "1"}, {0, "0"}, {5, "0"}}},
  };
  return cases;
}

TEST(AreaLoad, EveryIntegerRowShowsItsStoredValueAsTheMapSays) {
  for (const ReadCase& c : ReadCases()) {
    for (const auto& [stored, expected] : c.shown) {
      PanelBench w;
      if (stored != kAbsent) w.registry.PutDword(c.root, c.key, c.value, stored);
      w.Load(c.area);
      EXPECT_EQ(w.State(c.boxes), expected)
          << c.value << " = " << (stored == kAbsent ? "absent" : std::to_string(stored));
      EXPECT_TRUE(w.user.boxes.empty()) << c.value;
      EXPECT_TRUE(w.form->AreaPanel(c.area)->Visible());
    }
  }
}

TEST(AreaLoad, AMissingKeyLeavesItsBoxesAsTheyWere) {
  PanelBench w(false);
  w.Load(Area::kUserBar);
  w.Load(Area::kHelpSearchRun);
  EXPECT_EQ(w.State("ChekBxUserXs ChekBxBz ChekBxSs ChekBxYx"), "0 0 0 0") << "as the form starts";
  w.Set("ChekBxBz", true);
  w.Load(Area::kHelpSearchRun);
  EXPECT_EQ(w.State("ChekBxBz"), "1");
  EXPECT_TRUE(w.user.boxes.empty());
}

TEST(AreaLoad, ThePinHandlerBoxesShowWhetherTheirKeysExist) {
  const std::string all = std::string(kAllFilesHandlers) + "\\" + kPinHandler;
  const std::string folder = std::string(kFolderHandlers) + "\\" + kPinHandler;
  PanelBench w;
  w.Load(Area::kPinnedList);
  EXPECT_EQ(w.State("ChekBxQuyuXs ChekBxFudaoXs ChekBxWjjFudao"), "1 0 0");
  w.registry.PutString(HKCR, all, "", "");
  w.Load(Area::kPinnedList);
  EXPECT_EQ(w.State("ChekBxFudaoXs ChekBxWjjFudao"), "1 0");
  w.registry.PutDword(HKCR, folder + "\\Sub", "x", 1);
  w.registry.Deny(HKCR, all);  // cannot be opened: counts as missing
  w.Load(Area::kPinnedList);
  EXPECT_EQ(w.State("ChekBxFudaoXs ChekBxWjjFudao"), "0 1");
  EXPECT_TRUE(w.user.boxes.empty());
}

TEST(AreaLoad, TheAdminToolsPairReadsTheTextFirstAndItsMenuValueOnlyAfterYes) {
  struct Case {
    std::optional<std::string> text;
    std::optional<std::uint32_t> root;
    const char* shown;
  };
  for (const Case& c : std::vector<Case>{{"YES", kAdminToolsAsMenu, "1 1"},
                                         {"YES", 2, "1 0"},
                                         {"YES", std::nullopt, "1 0"},
                                         {"yes", kAdminToolsAsMenu, "0 0d"},
                                         {"NO", kAdminToolsAsMenu, "0 0d"},
                                         {std::nullopt, kAdminToolsAsMenu, "0 0d"}}) {
    PanelBench w;
    if (c.text) w.registry.PutString(HKCU, kAdvancedKey, "StartMenuAdminTools", *c.text);
    if (c.root) w.registry.PutDword(HKCU, kAdvancedKey, "Start_AdminToolsRoot", *c.root);
    w.Load(Area::kSettingsItems);
    EXPECT_EQ(w.State("ChekBxGl ChekBxGlMenu"), c.shown) << c.text.value_or("absent");
  }
  // Without "YES" the menu value is not even read, and the as-menu box keeps
  // its check.
  PanelBench w;
  w.Set("ChekBxGlMenu", true);
  w.registry.PutString(HKCU, kAdvancedKey, "StartMenuAdminTools", "NO");
  w.registry.PutString(HKCU, kAdvancedKey, "Start_AdminToolsRoot", "not a number");
  w.Load(Area::kSettingsItems);
  EXPECT_EQ(w.State("ChekBxGl ChekBxGlMenu"), "0 1d");
  EXPECT_TRUE(w.user.boxes.empty());
}

TEST(AreaLoad, AnItemBoxEnablesItsMenuBoxWhenLoadedOrClicked) {
  PanelBench w;
  w.registry.PutDword(HKCU, kAdvancedKey, "Start_ShowControlPanel", 2);
  w.Load(Area::kSettingsItems);
  EXPECT_EQ(w.State("ChekBxMb ChekBxMbMenu"), "1 1");
  w.registry.PutDword(HKCU, kAdvancedKey, "Start_ShowControlPanel", 0);
  w.Load(Area::kSettingsItems);
  EXPECT_EQ(w.State("ChekBxMb ChekBxMbMenu"), "0 1d") << "its check is left as it was";
  w.Get("ChekBxMb")->Perform(ui::msg::kReflectCommand);  // the user's click
  EXPECT_EQ(w.State("ChekBxMb ChekBxMbMenu"), "1 1");
  // A Wd load: the policy value unticks My Documents after the Advanced
  // value ticked both, and the as-menu box follows.
  w.registry.PutDword(HKCU, kAdvancedKey, "Start_ShowMyDocs", 2);
  w.registry.PutDword(HKCU, kPolicyKey, "NoSMMyDocs", 1);
  w.Load(Area::kMyItems);
  EXPECT_EQ(w.State("ChekBxWd ChekBxWdMenu"), "0 1d");
}

TEST(AreaLoad, OpeningMostUsedOrMyItemsCreatesTheirKeysAndTheOthersDoNot) {
  for (Area a : {Area::kUserBar, Area::kPinnedList, Area::kSettingsItems, Area::kHelpSearchRun,
                 Area::kOemLink}) {
    PanelBench w(false);
    w.Load(a);
    EXPECT_EQ(w.Keys(), Lines{}) << static_cast<int>(a);
  }
  for (Area a : {Area::kMostUsedList, Area::kMyItems}) {
    PanelBench w(false);
    w.Load(a);
    EXPECT_TRUE(w.registry.HasKey(HKCU, kPolicyKey));
    EXPECT_TRUE(w.registry.HasKey(HKCU, kAdvancedKey));
    EXPECT_EQ(w.Values(), Lines{}) << "no value is written by a load";
  }
}

// --- applies -------------------------------------------------------------

TEST(AreaApply, UserAndPinnedListWriteTheirHideValues) {
  PanelBench w;
  w.Set("ChekBxUserXs", true);
  w.Apply(Area::kUserBar);
  EXPECT_EQ(w.Values(), (Lines{"HKLM\\POL NoUserNameInStartMenu = dword 0"}));
  w.Set("ChekBxUserXs", false);
  w.Set("ChekBxQuyuXs", false);
  w.Apply(Area::kUserBar);
  w.Apply(Area::kPinnedList);
  EXPECT_EQ(w.Values(), (Lines{"HKCU\\POL NoStartMenuPinnedList = dword 16",
                               "HKLM\\POL NoUserNameInStartMenu = dword 1"}));
  w.Load(Area::kPinnedList);
  EXPECT_EQ(w.State("ChekBxQuyuXs"), "0") << "16 reads back as hidden";
}

TEST(AreaApply, PinHandlerKeysAreMadeAnewOrDeletedWithEverythingBelow) {
  const std::string all = std::string(kAllFilesHandlers) + "\\" + kPinHandler;
  const std::string folder = std::string(kFolderHandlers) + "\\" + kPinHandler;
  PanelBench w;
  w.registry.PutString(HKCR, all, "", "old text");
  w.registry.PutDword(HKCR, all + "\\Child", "Stale", 1);
  w.registry.PutString(HKCR, folder, "Extra", "x");
  w.registry.PutString(HKCR, "*\\shellex\\ContextMenuHandlers\\Other", "", "kept");
  w.Set("ChekBxQuyuXs", true);
  w.Set("ChekBxFudaoXs", true);
  w.Set("ChekBxWjjFudao", true);
  w.Apply(Area::kPinnedList);
  EXPECT_EQ(w.Values(),
            (Lines{"HKCR\\*\\shellex\\ContextMenuHandlers\\Other\\@ = sz kept",
                   "HKCR\\*\\shellex\\ContextMenuHandlers\\{a2a9545d-a0c2-42b4-9708-a0b2badd77c8}\\@ "
                   "= sz 附到「开始」菜单",
                   "HKCU\\POL NoStartMenuPinnedList = dword 0"}));
  EXPECT_TRUE(w.registry.HasKey(HKCR, folder)) << "made again, empty";
  EXPECT_FALSE(w.registry.HasKey(HKCR, all + "\\Child"));

  w.Set("ChekBxFudaoXs", false);
  w.Set("ChekBxWjjFudao", false);
  w.Apply(Area::kPinnedList);
  EXPECT_FALSE(w.registry.HasKey(HKCR, all));
  EXPECT_FALSE(w.registry.HasKey(HKCR, folder));
  EXPECT_TRUE(w.registry.HasKey(HKCR, kFolderHandlers));
  w.Load(Area::kPinnedList);
  EXPECT_EQ(w.State("ChekBxFudaoXs ChekBxWjjFudao"), "0 0");
  EXPECT_TRUE(w.user.boxes.empty());
}

TEST(AreaApply, MostUsedWritesBothRootsAndTheSpinEditsLimitedValue) {
  PanelBench w;
  w.registry.PutDword(HKCU, kAdvancedKey, "Start_MinMFU", 50);
  w.Load(Area::kMostUsedList);
  w.Set("ChekBxCyXs", false);
  w.Set("ChekBxMin", true);
  w.Apply(Area::kMostUsedList);
  EXPECT_EQ(w.Values(), (Lines{"HKCU\\ADV Start_LargeMFUIcons = dword 0",
                               "HKCU\\ADV Start_MinMFU = dword 30",
                               "HKCU\\POL NoStartMenuMFUprogramsList = dword 1",
                               "HKLM\\POL NoStartMenuMFUprogramsList = dword 1"}));
  PanelBench fresh;
  fresh.Load(Area::kMostUsedList);
  fresh.Apply(Area::kMostUsedList);
  EXPECT_EQ(fresh.registry.GetDword(HKCU, kAdvancedKey, "Start_MinMFU"), 6u) << "the start value";
}

TEST(AreaApply, MyItemsWritesItsFourGroups) {
  PanelBench w;
  w.Set("ChekBxDn", true);
  w.Set("ChekBxDnMenu", true);
  w.Set("ChekBxWl", false);
  w.Set("ChekBxZj", true);
  w.Set("ChekBxZjMenu", false);
  w.Set("ChekBxWdMenu", true);  // its item box unchecked: not shown at all
  w.Set("ChekBxYy", true);
  w.Set("ChekBxYyMenu", true);
  w.Set("ChekBxTp", true);
  w.Apply(Area::kMyItems);
  EXPECT_EQ(w.Values(), (Lines{"HKCU\\ADV StartMenuFavorites = dword 0",
                               "HKCU\\ADV Start_ShowMyComputer = dword 2",
                               "HKCU\\ADV Start_ShowMyDocs = dword 0",
                               "HKCU\\ADV Start_ShowMyMusic = dword 2",
                               "HKCU\\ADV Start_ShowMyPics = dword 1",
                               "HKCU\\ADV Start_ShowNetPlaces = dword 0",
                               "HKCU\\ADV Start_ShowRecentDocs = dword 1",
                               "HKCU\\POL NoFavoritesMenu = dword 1",
                               "HKCU\\POL NoRecentDocsMenu = dword 0",
                               "HKCU\\POL NoSMMyDocs = dword 1",
                               "HKCU\\POL NoSMMyPictures = dword 0",
                               "HKCU\\POL NoStartMenuMyMusic = dword 0",
                               "HKLM\\POL NoStartMenuNetworkPlaces = dword 1"}));
}

TEST(AreaApply, SettingsItemsAndHelpWriteShowFlagsTheThreeStateAndTheAdminPair) {
  struct Case {
    bool gl, gl_menu;
    const char* text;
    std::uint32_t root;
  };
  for (Case c : {Case{true, false, "YES", 0}, Case{true, true, "YES", kAdminToolsAsMenu},
                 Case{false, true, "NO", 0}}) {
    PanelBench w;
    w.Set("ChekBxPrint", true);
    w.Set("ChekBxMb", true);
    w.Set("ChekBxGl", c.gl);
    w.Set("ChekBxGlMenu", c.gl_menu);
    w.Apply(Area::kSettingsItems);
    EXPECT_EQ(w.Values(), (Lines{"HKCU\\ADV StartMenuAdminTools = sz " + std::string(c.text),
                                 "HKCU\\ADV Start_AdminToolsRoot = dword " + std::to_string(c.root),
                                 "HKCU\\ADV Start_ShowControlPanel = dword 1",
                                 "HKCU\\ADV Start_ShowNetConn = dword 0",
                                 "HKCU\\ADV Start_ShowPrinters = dword 1",
                                 "HKCU\\ADV Start_ShowSetProgramAccessAndDefaults = dword 0"}));
  }
  // Loaded as YES with 2, applied unchanged: the pair writes 0.
  PanelBench w;
  w.registry.PutString(HKCU, kAdvancedKey, "StartMenuAdminTools", "YES");
  w.registry.PutDword(HKCU, kAdvancedKey, "Start_AdminToolsRoot", 2);
  w.registry.PutDword(HKCU, kAdvancedKey, "Start_ShowHelp", 0);
  w.Load(Area::kSettingsItems);
  w.Apply(Area::kSettingsItems);
  EXPECT_EQ(w.registry.GetDword(HKCU, kAdvancedKey, "Start_AdminToolsRoot"), 0u);
  w.Load(Area::kHelpSearchRun);
  w.Apply(Area::kHelpSearchRun);
  EXPECT_EQ(w.registry.GetDword(HKCU, kAdvancedKey, "Start_ShowHelp"), 0u);
  EXPECT_EQ(w.registry.GetDword(HKCU, kAdvancedKey, "Start_ShowSearch"), 1u);
  EXPECT_EQ(w.registry.GetDword(HKCU, kAdvancedKey, "Start_ShowRun"), 1u);
}

TEST(AreaApply, LoadedValuesGoBackAsTheyCame) {
  // Three-state values survive a load and an apply, whichever side the
  // policy value leaves the item box on.
  PanelBench w;
  w.registry.PutDword(HKCU, kAdvancedKey, "Start_ShowMyComputer", 5);
  w.registry.PutDword(HKCU, kAdvancedKey, "Start_ShowRecentDocs", 2);
  w.registry.PutDword(HKCU, kPolicyKey, "NoRecentDocsMenu", 0);
  w.registry.PutDword(HKCU, kAdvancedKey, "Start_ShowMyDocs", 2);
  w.registry.PutDword(HKCU, kPolicyKey, "NoSMMyDocs", 1);
  w.Load(Area::kMyItems);
  w.Apply(Area::kMyItems);
  EXPECT_EQ(w.registry.GetDword(HKCU, kAdvancedKey, "Start_ShowMyComputer"), 2u);
  EXPECT_EQ(w.registry.GetDword(HKCU, kAdvancedKey, "Start_ShowRecentDocs"), 2u);
  EXPECT_EQ(w.registry.GetDword(HKCU, kPolicyKey, "NoRecentDocsMenu"), 0u);
  EXPECT_EQ(w.registry.GetDword(HKCU, kAdvancedKey, "Start_ShowMyDocs"), 0u);
  EXPECT_EQ(w.registry.GetDword(HKCU, kPolicyKey, "NoSMMyDocs"), 1u);
}

// --- guarded groups ----------------------------------------------------------

void ExpectBoxes(PanelBench& w, const std::vector<std::string>& texts) {
  EXPECT_EQ(w.Messages(), texts);
  for (const auto& b : w.user.boxes) {
    EXPECT_EQ(b.caption, "Corvane 1.2");
    EXPECT_EQ(b.style, 0u) << "a plain OK box";
  }
}

TEST(GuardedGroups, AValueOfTheWrongTypeOrSizeEndsItsLoadGroupWithOneMessage) {
  PanelBench w;
  w.Set("ChekBxUserXs", false);
  w.registry.PutString(HKLM, kPolicyKey, "NoUserNameInStartMenu", "0");
  w.Load(Area::kUserBar);
  ExpectBoxes(w, {kLoadFailed});
  EXPECT_EQ(w.State("ChekBxUserXs"), "0") << "keeps its state";
  EXPECT_TRUE(w.form->PnlUser->Visible()) << "the panel is shown all the same";

  // Help is read, Search is two bytes long: Run is not read any more.
  PanelBench b;
  b.registry.Put(HKCU, kAdvancedKey, "Start_ShowSearch", RegValue{reg::kDword, std::string(2, 0)});
  b.Load(Area::kHelpSearchRun);
  ExpectBoxes(b, {kLoadFailed});
  EXPECT_EQ(b.State("ChekBxBz ChekBxSs ChekBxYx"), "1 0 0");
  EXPECT_EQ(b.registry.OpenHandleCount(), 0u) << "the key was closed";

  // The pinned list's error leaves the handler boxes as they were read.
  PanelBench g;
  g.registry.PutString(HKCR, std::string(kAllFilesHandlers) + "\\" + kPinHandler, "", "");
  g.registry.Put(HKCU, kPolicyKey, "NoStartMenuPinnedList", RegValue{reg::kBinary, DwordData(0)});
  g.Load(Area::kPinnedList);
  ExpectBoxes(g, {kLoadFailed});
  EXPECT_EQ(g.State("ChekBxQuyuXs ChekBxFudaoXs ChekBxWjjFudao"), "0 1 0");
}

TEST(GuardedGroups, AFailedGroupDoesNotStopTheNextOne) {
  // My items: the Advanced group fails at its first value, the policy group
  // still runs.
  PanelBench w;
  w.registry.PutString(HKCU, kAdvancedKey, "Start_ShowNetPlaces", "1");
  w.Load(Area::kMyItems);
  ExpectBoxes(w, {kLoadFailed});
  EXPECT_EQ(w.State("ChekBxWl ChekBxDn ChekBxDnMenu ChekBxWd ChekBxSc"), "0 0 0 1 0")
      << "My Computer not read; My Documents from the policy group";

  // The HKLM write of the most-used list fails, the per-user one is made.
  PanelBench c;
  c.MakeKey(HKLM, kPolicyKey);
  c.registry.FailWrites(HKLM, kPolicyKey);
  c.Load(Area::kMostUsedList);
  c.Apply(Area::kMostUsedList);
  ExpectBoxes(c, {kApplyFailed});
  EXPECT_EQ(c.Values(), (Lines{"HKCU\\ADV Start_LargeMFUIcons = dword 1",
                               "HKCU\\ADV Start_MinMFU = dword 6",
                               "HKCU\\POL NoStartMenuMFUprogramsList = dword 0"}));
}

TEST(GuardedGroups, ARefusedWriteEndsItsApplyGroupWithOneMessage) {
  PanelBench w;
  w.MakeKey(HKCU, kPolicyKey);
  w.registry.FailWrites(HKCU, kPolicyKey);
  w.Apply(Area::kMyItems);
  ExpectBoxes(w, {kApplyFailed});
  EXPECT_EQ(w.Values(), (Lines{"HKCU\\ADV Start_ShowMyComputer = dword 0",
                               "HKCU\\ADV Start_ShowNetPlaces = dword 0",
                               "HKLM\\POL NoStartMenuNetworkPlaces = dword 1"}))
      << "group D's Advanced writes are skipped with its policy writes";
  EXPECT_TRUE(w.form->SettingsChanged());

  // A pin handler key that cannot be made: message, and the other groups run.
  PanelBench g;
  g.registry.Deny(HKCR, std::string(kAllFilesHandlers) + "\\" + kPinHandler);
  g.Set("ChekBxFudaoXs", true);
  g.Set("ChekBxWjjFudao", true);
  g.Apply(Area::kPinnedList);
  ExpectBoxes(g, {kApplyFailed});
  EXPECT_TRUE(g.registry.HasKey(HKCR, std::string(kFolderHandlers) + "\\" + kPinHandler));
  EXPECT_EQ(g.registry.GetDword(HKCU, kPolicyKey, "NoStartMenuPinnedList"), 16u);
}

TEST(GuardedGroups, KeysThatCannotBeOpenedAreSkippedSilently) {
  // No administrator rights: nothing under HKLM, no message, the flag set.
  PanelBench u;
  u.registry.Deny(HKLM, "");
  u.Apply(Area::kUserBar);
  u.Apply(Area::kMostUsedList);
  u.Apply(Area::kMyItems);
  EXPECT_TRUE(u.user.boxes.empty());
  EXPECT_TRUE(u.form->SettingsChanged());
  for (const std::string& line : u.Values()) EXPECT_EQ(line.rfind("HKCU", 0), 0u) << line;
  EXPECT_EQ(u.Values().size(), 3u + 12u);

  // Settings items without the Advanced key: Network Connections keeps its
  // state, the rest count as absent.
  PanelBench m;
  m.registry.PutDword(HKCU, kAdvancedKey, "Start_ShowPrinters", 1);
  m.registry.Deny(HKCU, kAdvancedKey);
  m.Set("ChekBxNet", true);
  m.Set("ChekBxGlMenu", true);
  m.Load(Area::kSettingsItems);
  EXPECT_EQ(m.State("ChekBxNet ChekBxPrint ChekBxMoren ChekBxMb ChekBxMbMenu ChekBxGl ChekBxGlMenu"),
            "1 0 1 1 0 0 1d");
  // Help and the most-used count keep theirs.
  m.Set("ChekBxSs", false);
  m.Load(Area::kHelpSearchRun);
  m.Load(Area::kMostUsedList);
  EXPECT_EQ(m.State("ChekBxSs SpnEdtNum"), "0 6");
  EXPECT_TRUE(m.user.boxes.empty());
  EXPECT_EQ(m.registry.OpenHandleCount(), 0u);
}

TEST(SettingsChanged, EveryApplySetsTheFlagFirstAndTheCloseAsksOnce) {
  for (Area a : testing::kSettingsAreas) {
    PanelBench w;
    w.registry.Deny(HKCU, "");
    w.registry.Deny(HKLM, "");
    w.registry.Deny(HKCR, "");
    w.Apply(a);
    EXPECT_TRUE(w.form->SettingsChanged()) << "even with nothing written";
    EXPECT_EQ(w.Values(), Lines{});
  }
  PanelBench w;
  w.Load(Area::kHelpSearchRun);
  EXPECT_FALSE(w.form->SettingsChanged()) << "loads leave it alone";
  w.Apply(Area::kHelpSearchRun);
  w.Apply(Area::kUserBar);
  w.user.answers.push_back(mb::kIdCancel);
  w.form->Show();
  w.form->Perform(ui::msg::kClose);
  ASSERT_EQ(w.user.boxes.size(), 1u);
  EXPECT_EQ(w.user.boxes[0].caption, "重启计算机");
  w.form->Show();
  w.form->Perform(ui::msg::kClose);
  EXPECT_EQ(w.user.boxes.size(), 1u) << "no new apply, no new prompt";
}

}  // namespace
}  // namespace corvane::settings

namespace corvane::settings {
namespace {

using testing::PanelBench;

// Width of a caption in the 12-pixel Song face: 12 for a double-byte
// character, 6 for the rest.
int CaptionWidth(const std::string& s) {
  int w = 0;
  for (std::size_t i = 0; i < s.size(); i += text::CharLength(s, i))
    w += text::CharLength(s, i) == 2 ? 12 : 6;
  return w;
}

TEST(Panels, EveryControlFitsItsPanelAndItsCaptionAndNothingOverlaps) {
  PanelBench w;
  for (Area a : testing::kSettingsAreas) {
    ui::Panel* panel = w.form->AreaPanel(a);
    ui::Rect client = panel->ClientRect();
    std::vector<ui::Control*> placed;
    for (ui::Control* c : panel->Controls()) {
      ui::Rect r = c->BoundsRect();
      EXPECT_TRUE(r.left >= 8 && r.top >= 8 && r.right <= client.right - 8 &&
                  r.bottom <= client.bottom - 8)
          << c->Name() << " inside " << panel->Name() << " with a margin";
      int room = r.Width() - (dynamic_cast<ui::ButtonControl*>(c) ? 17 : 0);
      if (!dynamic_cast<ui::Edit*>(c)) {
        EXPECT_LE(CaptionWidth(c->Caption()), room) << c->Name() << " shows its whole caption";
      }
      for (ui::Control* other : placed) {
        ui::Rect o = other->BoundsRect();
        EXPECT_FALSE(r.left < o.right && o.left < r.right && r.top < o.bottom && o.top < r.bottom)
            << c->Name() << " overlaps " << other->Name();
      }
      placed.push_back(c);
    }
    ui::BitBtn* ok = w.panels->ApplyButton(a);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->Parent(), panel);
    EXPECT_EQ(ok->Caption(), "应用");
    EXPECT_TRUE(ok->Default());
  }
  // The map's controls are where their area's panel is.
  for (const Row& row : SettingRows())
    for (const char* name : {row.control, row.menu})
      if (name) {
        auto* c = w.form->Find<ui::Control>(name);
        ASSERT_NE(c, nullptr) << name;
        EXPECT_EQ(c->Parent(), w.form->AreaPanel(row.area)) << name;
      }
  auto* spin = w.Get<ui::SpinEdit>("SpnEdtNum");
  EXPECT_EQ(spin->MinValue(), 0);
  EXPECT_EQ(spin->MaxValue(), 30);
  EXPECT_EQ(spin->Value(), 6);
  for (auto [name, hint] : {std::pair<const char*, const char*>{"EditIcon", "图标路径"},
                            {"BtnIcon", "浏览图标"},
                            {"BtnFolder", "浏览文件夹"},
                            {"BtnProg", "添加程序"}}) {
    EXPECT_EQ(w.Get<ui::Control>(name)->Hint(), hint);
    EXPECT_TRUE(w.Get<ui::Control>(name)->ShowHint());
  }
}

}  // namespace
}  // namespace corvane::settings
