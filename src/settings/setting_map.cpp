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
  // area       control           as-menu box      root  key       value (type)
  //            read rule                                  write rule
  {Area::kUser, "ChekBxUserXs",   nullptr,         HKLM, Policy,   "NoUserNameInStartMenu", Int,
                Shows(On, {0, On}, Off),                   HidePolicy},

  {Area::kGd,   "ChekBxQuyuXs",   nullptr,         HKCU, Policy,   "NoStartMenuPinnedList", Int,
                Shows(On, {0, On}, Off),                   Box(16, 0)},
  {Area::kGd,   "ChekBxFudaoXs",  nullptr,         HKCR, kAllFilesHandlers, kPinHandler, Key,
                Presence,                                  Recreate(kPinCommandText)},
  {Area::kGd,   "ChekBxWjjFudao", nullptr,         HKCR, kFolderHandlers,   kPinHandler, Key,
                Presence,                                  Recreate(nullptr)},

  {Area::kCy,   "ChekBxCyXs",     nullptr,         HKCU, Policy,   "NoStartMenuMFUprogramsList", Int,
                Shows(On, {1, Off}, On),                   HidePolicy},
  {Area::kCy,   "ChekBxCyXs",     nullptr,         HKLM, Policy,   "NoStartMenuMFUprogramsList", Int,
                NotRead,                                   HidePolicy},
  {Area::kCy,   "ChekBxMin",      nullptr,         HKCU, Advanced, "Start_LargeMFUIcons", Int,
                Shows(Off, {1, Off}, On),                  Box(1, 0)},
  {Area::kCy,   "SpnEdtNum",      nullptr,         HKCU, Advanced, "Start_MinMFU", Int,
                Number,                                    NumberValue},

  {Area::kWd,   "ChekBxDn",       "ChekBxDnMenu",  HKCU, Advanced, "Start_ShowMyComputer", Int,
                ThreeStateNoneFirst,                       ThreeState},
  {Area::kWd,   "ChekBxWl",       nullptr,         HKCU, Advanced, "Start_ShowNetPlaces", Int,
                Shows(Off, {0, Off}, On),                  ShowFlag},
  {Area::kWd,   "ChekBxWl",       nullptr,         HKLM, Policy,   "NoStartMenuNetworkPlaces", Int,
                NotRead,                                   HidePolicy},
  {Area::kWd,   "ChekBxZj",       "ChekBxZjMenu",  HKCU, Advanced, "Start_ShowRecentDocs", Int,
                ThreeStateNoneFirst,                       ThreeState},
  {Area::kWd,   "ChekBxZj",       nullptr,         HKCU, Policy,   "NoRecentDocsMenu", Int,
                Shows(Off, {1, Off}, On),                  HidePolicy},
  {Area::kWd,   "ChekBxWd",       "ChekBxWdMenu",  HKCU, Advanced, "Start_ShowMyDocs", Int,
                ThreeStateLinkFirst,                       ThreeState},
  {Area::kWd,   "ChekBxWd",       nullptr,         HKCU, Policy,   "NoSMMyDocs", Int,
                Shows(On, {1, Off}, On),                   HidePolicy},
  {Area::kWd,   "ChekBxYy",       "ChekBxYyMenu",  HKCU, Advanced, "Start_ShowMyMusic", Int,
                ThreeStateLinkFirst,                       ThreeState},
  {Area::kWd,   "ChekBxYy",       nullptr,         HKCU, Policy,   "NoStartMenuMyMusic", Int,
                Shows(On, {1, Off}, On),                   HidePolicy},
  {Area::kWd,   "ChekBxTp",       "ChekBxTpMenu",  HKCU, Advanced, "Start_ShowMyPics", Int,
                ThreeStateLinkFirst,                       ThreeState},
  {Area::kWd,   "ChekBxTp",       nullptr,         HKCU, Policy,   "NoSMMyPictures", Int,
                Shows(On, {1, Off}, On),                   HidePolicy},
  {Area::kWd,   "ChekBxSc",       "ChekBxScMenu",  HKCU, Advanced, "StartMenuFavorites", Int,
                ThreeStateLinkFirst,                       ThreeState},
  {Area::kWd,   "ChekBxSc",       nullptr,         HKCU, Policy,   "NoFavoritesMenu", Int,
                Shows(Off, {1, Off}, On),                  HidePolicy},

  {Area::kMb,   "ChekBxNet",      nullptr,         HKCU, Advanced, "Start_ShowNetConn", Int,
                Shows(Off, {1, On}, Off),                  ShowFlag},
  {Area::kMb,   "ChekBxPrint",    nullptr,         HKCU, Advanced, "Start_ShowPrinters", Int,
                Shows(Off, {1, On}, Off),                  ShowFlag},
  {Area::kMb,   "ChekBxMoren",    nullptr,         HKCU, Advanced, "Start_ShowSetProgramAccessAndDefaults", Int,
                Shows(On, {1, On}, Off),                   ShowFlag},
  {Area::kMb,   "ChekBxMb",       "ChekBxMbMenu",  HKCU, Advanced, "Start_ShowControlPanel", Int,
                Shows(Link, {2, Menu}, {1, Link}, Off),    ThreeState},
  {Area::kMb,   "ChekBxGl",       "ChekBxGlMenu",  HKCU, Advanced, "StartMenuAdminTools", Str,
                TextIs("YES"),                             Text("NO", "YES")},
  {Area::kMb,   "ChekBxGl",       "ChekBxGlMenu",  HKCU, Advanced, "Start_AdminToolsRoot", Int,
                IfChecked(Shows(Link, {kAdminToolsAsMenu, Menu}, Link)),
                                                           Pair(0, 0, kAdminToolsAsMenu)},

  {Area::kBz,   "ChekBxBz",       nullptr,         HKCU, Advanced, "Start_ShowHelp", Int,
                Shows(On, {1, On}, Off),                   ShowFlag},
  {Area::kBz,   "ChekBxSs",       nullptr,         HKCU, Advanced, "Start_ShowSearch", Int,
                Shows(On, {1, On}, Off),                   ShowFlag},
  {Area::kBz,   "ChekBxYx",       nullptr,         HKCU, Advanced, "Start_ShowRun", Int,
                Shows(On, {1, On}, Off),                   ShowFlag},

  {Area::kOEM,  "ChekBxOEM",      nullptr,         HKCU, Advanced, "Start_ShowOEMLink", Int,
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
  {Area::kUser, kLoad,  {{HKLM, Policy,   Existing, {"NoUserNameInStartMenu"}}}},
  {Area::kUser, kApply, {{HKLM, Policy,   Create,   {"NoUserNameInStartMenu"}}}},

  {Area::kGd,   kLoad,  {{HKCR, kAllFilesHandlers, Probe, {kPinHandler}},
                         {HKCR, kFolderHandlers,   Probe, {kPinHandler}},
                         {HKCU, Policy,   Existing, {"NoStartMenuPinnedList"}}}},
  {Area::kGd,   kApply, {{HKCR, kAllFilesHandlers, Create, {kPinHandler}}}},
  {Area::kGd,   kApply, {{HKCU, Policy,   Create,   {"NoStartMenuPinnedList"}}}},
  {Area::kGd,   kApply, {{HKCR, kFolderHandlers,   Create, {kPinHandler}}}},

  {Area::kCy,   kLoad,  {{HKCU, Policy,   Create,   {"NoStartMenuMFUprogramsList"}},
                         {HKCU, Advanced, Create,   {"Start_LargeMFUIcons", "Start_MinMFU"}}}},
  {Area::kCy,   kApply, {{HKLM, Policy,   Create,   {"NoStartMenuMFUprogramsList"}}}},
  {Area::kCy,   kApply, {{HKCU, Policy,   Create,   {"NoStartMenuMFUprogramsList"}},
                         {HKCU, Advanced, Create,   {"Start_MinMFU", "Start_LargeMFUIcons"}}}},

  {Area::kWd,   kLoad,  {{HKCU, Advanced, Create,   {"Start_ShowNetPlaces", "Start_ShowMyComputer",
                                                     "Start_ShowRecentDocs", "Start_ShowMyDocs",
                                                     "Start_ShowMyMusic", "Start_ShowMyPics",
                                                     "StartMenuFavorites"}}}},
  {Area::kWd,   kLoad,  {{HKCU, Policy,   Create,   {"NoRecentDocsMenu", "NoSMMyDocs",
                                                     "NoStartMenuMyMusic", "NoSMMyPictures",
                                                     "NoFavoritesMenu"}}}},
  {Area::kWd,   kApply, {{HKCU, Advanced, Create,   {"Start_ShowMyComputer"}}}},
  {Area::kWd,   kApply, {{HKLM, Policy,   Create,   {"NoStartMenuNetworkPlaces"}}}},
  {Area::kWd,   kApply, {{HKCU, Advanced, Create,   {"Start_ShowNetPlaces"}}}},
  {Area::kWd,   kApply, {{HKCU, Policy,   Create,   {"NoRecentDocsMenu", "NoSMMyDocs",
                                                     "NoStartMenuMyMusic", "NoSMMyPictures",
                                                     "NoFavoritesMenu"}},
                         {HKCU, Advanced, Create,   {"Start_ShowRecentDocs", "Start_ShowMyDocs",
                                                     "Start_ShowMyMusic", "Start_ShowMyPics",
                                                     "StartMenuFavorites"}}}},

  // Without the key the values after the first count as absent.
  {Area::kMb,   kLoad,  {{HKCU, Advanced, Existing, {"Start_ShowNetConn"}},
                         {HKCU, Advanced, Current,  {"Start_ShowPrinters",
                                                     "Start_ShowSetProgramAccessAndDefaults",
                                                     "Start_ShowControlPanel",
                                                     "StartMenuAdminTools", "Start_AdminToolsRoot"}}}},
  {Area::kMb,   kApply, {{HKCU, Advanced, Create,   {"Start_ShowNetConn", "Start_ShowPrinters",
                                                     "Start_ShowSetProgramAccessAndDefaults",
                                                     "Start_ShowControlPanel",
                                                     "StartMenuAdminTools", "Start_AdminToolsRoot"}}}},

  {Area::kBz,   kLoad,  {{HKCU, Advanced, Existing, {"Start_ShowHelp", "Start_ShowSearch",
                                                     "Start_ShowRun"}}}},
  {Area::kBz,   kApply, {{HKCU, Advanced, Create,   {"Start_ShowHelp", "Start_ShowSearch",
                                                     "Start_ShowRun"}}}},

  {Area::kOEM,  kLoad,  {{HKCU, Advanced, Existing, {"Start_ShowOEMLink"}}}},
  {Area::kOEM,  kApply, {{HKCU, Advanced, Create,   {"Start_ShowOEMLink"}}}},
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
