#include "settings/setting_map.h"

#include "core/text.h"

namespace corvane::settings {
namespace {

constexpr RegHandle HKCR = reg::kClassesRoot;
constexpr RegHandle HKCU = reg::kCurrentUser;
constexpr RegHandle HKLM = reg::kLocalMachine;
constexpr const char* Policy = kPolicyKey;
constexpr const char* Advanced = kAdvancedKey;
constexpr Type Int = Type::kInteger;
constexpr Type Str = Type::kString;
constexpr Type Key = Type::kKeyPresence;
constexpr Show Off = Show::kOff;
constexpr Show On = Show::kOn;
constexpr Show Hidden = Show::kHidden;
constexpr Show Link = Show::kLink;
constexpr Show Menu = Show::kMenu;

// Read rules: the state for an absent value, for up to two named values, and
// for any other value.
constexpr ReadRule Shows(Show absent, Case a, Show other) {
  return ReadRule{Read::kStates, absent, {a, a}, 1, other, nullptr, false};
}
constexpr ReadRule Shows(Show absent, Case a, Case b, Show other) {
  return ReadRule{Read::kStates, absent, {a, b}, 2, other, nullptr, false};
}
constexpr ReadRule TextIs(const char* text) {
  return ReadRule{Read::kText, Off, {}, 0, Off, text, false};
}
constexpr ReadRule IfChecked(ReadRule r) {
  r.only_if_checked = true;
  return r;
}
constexpr ReadRule NotRead{};
constexpr ReadRule Presence{Read::kPresence, Off, {}, 0, Off, nullptr, false};
constexpr ReadRule Number{Read::kNumber, Off, {}, 0, Off, nullptr, false};

// Write rules.
constexpr WriteRule Box(std::uint32_t unchecked, std::uint32_t checked) {
  return WriteRule{Write::kBox, {unchecked, checked, checked}, {}};
}
constexpr WriteRule Pair(std::uint32_t hidden, std::uint32_t link, std::uint32_t menu) {
  return WriteRule{Write::kPair, {hidden, link, menu}, {}};
}
constexpr WriteRule Text(const char* unchecked, const char* checked) {
  return WriteRule{Write::kText, {}, {unchecked, checked}};
}
constexpr WriteRule Recreate(const char* default_value) {
  return WriteRule{Write::kRecreate, {}, {default_value, default_value}};
}
constexpr WriteRule NumberValue{Write::kNumber, {}, {}};

constexpr WriteRule ShowFlag = Box(0, 1);
constexpr WriteRule HidePolicy = Box(1, 0);
constexpr WriteRule ThreeState = Pair(0, 1, 2);
// Shown as a link (1) or a menu (anything else), not at all for absent or 0.
constexpr ReadRule ThreeStateNoneFirst = Shows(Hidden, {0, Hidden}, {1, Link}, Menu);
// My Documents and its kin count absent and 0 as shown.
constexpr ReadRule ThreeStateLinkFirst = Shows(Link, {0, Link}, {1, Link}, Menu);

// clang-format off
constexpr Row kRows[] = {
  // area                control           as-menu box      root  key       value (type)
  //                     read rule                                  write rule
  {Area::kUserBar,       "ChekBxUserXs",   nullptr,         HKLM, Policy,   "NoUserNameInStartMenu", Int,
                         Shows(On, {0, On}, Off),                   HidePolicy},

  {Area::kPinnedList,    "ChekBxQuyuXs",   nullptr,         HKCU, Policy,   "NoStartMenuPinnedList", Int,
                         Shows(On, {0, On}, Off),                   Box(16, 0)},
  {Area::kPinnedList,    "ChekBxFudaoXs",  nullptr,         HKCR, kAllFilesHandlers, kPinHandler, Key,
                         Presence,                                  Recreate(kPinCommandText)},
  {Area::kPinnedList,    "ChekBxWjjFudao", nullptr,         HKCR, kFolderHandlers,   kPinHandler, Key,
                         Presence,                                  Recreate(nullptr)},

  {Area::kMostUsedList,  "ChekBxCyXs",     nullptr,         HKCU, Policy,   "NoStartMenuMFUprogramsList", Int,
                         Shows(On, {1, Off}, On),                   HidePolicy},
  {Area::kMostUsedList,  "ChekBxCyXs",     nullptr,         HKLM, Policy,   "NoStartMenuMFUprogramsList", Int,
                         NotRead,                                   HidePolicy},
  {Area::kMostUsedList,  "ChekBxMin",      nullptr,         HKCU, Advanced, "Start_LargeMFUIcons", Int,
                         Shows(Off, {1, Off}, On),                  Box(1, 0)},
  {Area::kMostUsedList,  "SpnEdtNum",      nullptr,         HKCU, Advanced, "Start_MinMFU", Int,
                         Number,                                    NumberValue},

  {Area::kMyItems,       "ChekBxDn",       "ChekBxDnMenu",  HKCU, Advanced, "Start_ShowMyComputer", Int,
                         ThreeStateNoneFirst,                       ThreeState},
  {Area::kMyItems,       "ChekBxWl",       nullptr,         HKCU, Advanced, "Start_ShowNetPlaces", Int,
                         Shows(Off, {0, Off}, On),                  ShowFlag},
  {Area::kMyItems,       "ChekBxWl",       nullptr,         HKLM, Policy,   "NoStartMenuNetworkPlaces", Int,
                         NotRead,                                   HidePolicy},
  {Area::kMyItems,       "ChekBxZj",       "ChekBxZjMenu",  HKCU, Advanced, "Start_ShowRecentDocs", Int,
                         ThreeStateNoneFirst,                       ThreeState},
  {Area::kMyItems,       "ChekBxZj",       nullptr,         HKCU, Policy,   "NoRecentDocsMenu", Int,
                         Shows(Off, {1, Off}, On),                  HidePolicy},
  {Area::kMyItems,       "ChekBxWd",       "ChekBxWdMenu",  HKCU, Advanced, "Start_ShowMyDocs", Int,
                         ThreeStateLinkFirst,                       ThreeState},
  {Area::kMyItems,       "ChekBxWd",       nullptr,         HKCU, Policy,   "NoSMMyDocs", Int,
                         Shows(On, {1, Off}, On),                   HidePolicy},
  {Area::kMyItems,       "ChekBxYy",       "ChekBxYyMenu",  HKCU, Advanced, "Start_ShowMyMusic", Int,
                         ThreeStateLinkFirst,                       ThreeState},
  {Area::kMyItems,       "ChekBxYy",       nullptr,         HKCU, Policy,   "NoStartMenuMyMusic", Int,
                         Shows(On, {1, Off}, On),                   HidePolicy},
  {Area::kMyItems,       "ChekBxTp",       "ChekBxTpMenu",  HKCU, Advanced, "Start_ShowMyPics", Int,
                         ThreeStateLinkFirst,                       ThreeState},
  {Area::kMyItems,       "ChekBxTp",       nullptr,         HKCU, Policy,   "NoSMMyPictures", Int,
                         Shows(On, {1, Off}, On),                   HidePolicy},
  {Area::kMyItems,       "ChekBxSc",       "ChekBxScMenu",  HKCU, Advanced, "StartMenuFavorites", Int,
                         ThreeStateLinkFirst,                       ThreeState},
  {Area::kMyItems,       "ChekBxSc",       nullptr,         HKCU, Policy,   "NoFavoritesMenu", Int,
                         Shows(Off, {1, Off}, On),                  HidePolicy},

  {Area::kSettingsItems, "ChekBxNet",      nullptr,         HKCU, Advanced, "Start_ShowNetConn", Int,
                         Shows(Off, {1, On}, Off),                  ShowFlag},
  {Area::kSettingsItems, "ChekBxPrint",    nullptr,         HKCU, Advanced, "Start_ShowPrinters", Int,
                         Shows(Off, {1, On}, Off),                  ShowFlag},
  {Area::kSettingsItems, "ChekBxMoren",    nullptr,         HKCU, Advanced, "Start_ShowSetProgramAccessAndDefaults", Int,
                         Shows(On, {1, On}, Off),                   ShowFlag},
  {Area::kSettingsItems, "ChekBxMb",       "ChekBxMbMenu",  HKCU, Advanced, "Start_ShowControlPanel", Int,
                         Shows(Link, {2, Menu}, {1, Link}, Off),    ThreeState},
  {Area::kSettingsItems, "ChekBxGl",       "ChekBxGlMenu",  HKCU, Advanced, "StartMenuAdminTools", Str,
                         TextIs("YES"),                             Text("NO", "YES")},
  {Area::kSettingsItems, "ChekBxGl",       "ChekBxGlMenu",  HKCU, Advanced, "Start_AdminToolsRoot", Int,
                         IfChecked(Shows(Link, {kAdminToolsAsMenu, Menu}, Link)),
                                                           Pair(0, 0, kAdminToolsAsMenu)},

  {Area::kHelpSearchRun, "ChekBxBz",       nullptr,         HKCU, Advanced, "Start_ShowHelp", Int,
                         Shows(On, {1, On}, Off),                   ShowFlag},
  {Area::kHelpSearchRun, "ChekBxSs",       nullptr,         HKCU, Advanced, "Start_ShowSearch", Int,
                         Shows(On, {1, On}, Off),                   ShowFlag},
  {Area::kHelpSearchRun, "ChekBxYx",       nullptr,         HKCU, Advanced, "Start_ShowRun", Int,
                         Shows(On, {1, On}, Off),                   ShowFlag},

  {Area::kOemLink,       "ChekBxOEM",      nullptr,         HKCU, Advanced, "Start_ShowOEMLink", Int,
                         Shows(On, {1, On}, Off),                   ShowFlag},
};

constexpr bool kLoad = false;
constexpr bool kApply = true;
constexpr Open Existing = Open::kExisting;
constexpr Open Create = Open::kCreate;
constexpr Open Probe = Open::kProbe;
constexpr Open Current = Open::kCurrent;

// Every group in the order its handler runs them.
constexpr Group kGroups[] = {
  {Area::kUserBar,       kLoad,  {{HKLM, Policy,   Existing, {"NoUserNameInStartMenu"}}}},
  {Area::kUserBar,       kApply, {{HKLM, Policy,   Create,   {"NoUserNameInStartMenu"}}}},

  {Area::kPinnedList,    kLoad,  {{HKCR, kAllFilesHandlers, Probe, {kPinHandler}},
                                 {HKCR, kFolderHandlers,   Probe, {kPinHandler}},
                                 {HKCU, Policy,   Existing, {"NoStartMenuPinnedList"}}}},
  {Area::kPinnedList,    kApply, {{HKCR, kAllFilesHandlers, Create, {kPinHandler}}}},
  {Area::kPinnedList,    kApply, {{HKCU, Policy,   Create,   {"NoStartMenuPinnedList"}}}},
  {Area::kPinnedList,    kApply, {{HKCR, kFolderHandlers,   Create, {kPinHandler}}}},

  {Area::kMostUsedList,  kLoad,  {{HKCU, Policy,   Create,   {"NoStartMenuMFUprogramsList"}},
                                 {HKCU, Advanced, Create,   {"Start_LargeMFUIcons", "Start_MinMFU"}}}},
  {Area::kMostUsedList,  kApply, {{HKLM, Policy,   Create,   {"NoStartMenuMFUprogramsList"}}}},
  {Area::kMostUsedList,  kApply, {{HKCU, Policy,   Create,   {"NoStartMenuMFUprogramsList"}},
                                 {HKCU, Advanced, Create,   {"Start_MinMFU", "Start_LargeMFUIcons"}}}},

  {Area::kMyItems,       kLoad,  {{HKCU, Advanced, Create,   {"Start_ShowNetPlaces", "Start_ShowMyComputer",
                                                     "Start_ShowRecentDocs", "Start_ShowMyDocs",
                                                     "Start_ShowMyMusic", "Start_ShowMyPics",
                                                     "StartMenuFavorites"}}}},
  {Area::kMyItems,       kLoad,  {{HKCU, Policy,   Create,   {"NoRecentDocsMenu", "NoSMMyDocs",
                                                     "NoStartMenuMyMusic", "NoSMMyPictures",
                                                     "NoFavoritesMenu"}}}},
  {Area::kMyItems,       kApply, {{HKCU, Advanced, Create,   {"Start_ShowMyComputer"}}}},
  {Area::kMyItems,       kApply, {{HKLM, Policy,   Create,   {"NoStartMenuNetworkPlaces"}}}},
  {Area::kMyItems,       kApply, {{HKCU, Advanced, Create,   {"Start_ShowNetPlaces"}}}},
  {Area::kMyItems,       kApply, {{HKCU, Policy,   Create,   {"NoRecentDocsMenu", "NoSMMyDocs",
                                                     "NoStartMenuMyMusic", "NoSMMyPictures",
                                                     "NoFavoritesMenu"}},
                                 {HKCU, Advanced, Create,   {"Start_ShowRecentDocs", "Start_ShowMyDocs",
                                                     "Start_ShowMyMusic", "Start_ShowMyPics",
                                                     "StartMenuFavorites"}}}},

  // Without the key the values after the first count as absent.
  {Area::kSettingsItems, kLoad,  {{HKCU, Advanced, Existing, {"Start_ShowNetConn"}},
                                 {HKCU, Advanced, Current,  {"Start_ShowPrinters",
                                                     "Start_ShowSetProgramAccessAndDefaults",
                                                     "Start_ShowControlPanel",
                                                     "StartMenuAdminTools", "Start_AdminToolsRoot"}}}},
  {Area::kSettingsItems, kApply, {{HKCU, Advanced, Create,   {"Start_ShowNetConn", "Start_ShowPrinters",
                                                     "Start_ShowSetProgramAccessAndDefaults",
                                                     "Start_ShowControlPanel",
                                                     "StartMenuAdminTools", "Start_AdminToolsRoot"}}}},

  {Area::kHelpSearchRun, kLoad,  {{HKCU, Advanced, Existing, {"Start_ShowHelp", "Start_ShowSearch",
                                                     "Start_ShowRun"}}}},
  {Area::kHelpSearchRun, kApply, {{HKCU, Advanced, Create,   {"Start_ShowHelp", "Start_ShowSearch",
                                                     "Start_ShowRun"}}}},

  {Area::kOemLink,       kLoad,  {{HKCU, Advanced, Existing, {"Start_ShowOEMLink"}}}},
  {Area::kOemLink,       kApply, {{HKCU, Advanced, Create,   {"Start_ShowOEMLink"}}}},
};
// clang-format on

}  // namespace

Span SettingRows() { return {kRows, sizeof kRows / sizeof kRows[0]}; }

GroupSpan SettingGroups() { return {kGroups, sizeof kGroups / sizeof kGroups[0]}; }

const Row* FindRow(Area area, RegHandle root, const char* key, const char* value) {
  for (const Row& r : SettingRows())
    if (r.area == area && r.root == root && text::SameText(r.key, key) &&
        text::SameText(r.value, value))
      return &r;
  return nullptr;
}

}  // namespace corvane::settings
