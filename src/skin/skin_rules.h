// The skin manager's decisions, kept apart from the windows they are about:
// which window is skinned and with which skin, which popup menus, which
// controls get which skin object, and how queued commands take effect.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/skin_data.h"

namespace corvane::skin {

using WindowId = std::uintptr_t;  // a window handle as a number; 0 is none

// The private messages of the engine.
inline constexpr unsigned kMsgRepaintFrame = 0x3502;
inline constexpr unsigned kMsgFinishAttach = 0x3503;
inline constexpr unsigned kMsgSkinned = 0x3504;  // wParam 0: "are you skinned?"
inline constexpr unsigned kMsgReReadSkin = 0x3401;

// A skin as the manager knows it: the component, the window of the form that
// owns it (for sfOnlyThisForm), and the host's class veto.
struct RegisteredSkin {
  TSkinData* data = nullptr;
  WindowId owner_window = 0;
  // OnFormSkin: (class name, DoSkin preset true); unset means no handler.
  std::function<void(const std::string& class_name, bool& do_skin)> on_form_skin;
};

// The class filter: asks the first sfMainform skin.
bool PassesClassFilter(const std::vector<RegisteredSkin>& skins, const std::string& class_name);

// Index of the skin for a window, or -1: the last match of the first rule
// that has any.
int ChooseSkin(const std::vector<RegisteredSkin>& skins, WindowId window,
               const std::string& class_name);

// What the attach step knows about a window.
struct AttachFacts {
  bool manager_active = false;
  bool answers_skinned = false;  // answers 1 to kMsgSkinned
  bool already_listed = false;
  bool has_form = false;
  long form_tag = 0;
  bool is_child = false;  // WS_CHILD
  std::string parent_class;
  bool attach_mdi_children = false;
  int width = 0, height = 0;
  std::string class_name;
  WindowId window = 0;
};

// Which condition refused the window, in the order they are tested.
enum class AttachRefusal {
  kNone,
  kManagerInactive,
  kAnswersSkinned,
  kAlreadyListed,
  kMdiChild,
  kZeroSize,
  kFormTag99,
  kApplicationWindow,
  kClassFilter,
  kNoSkin,
  kSkinNotLoaded,
};

struct AttachDecision {
  AttachRefusal refusal = AttachRefusal::kNone;
  int skin = -1;  // index into the registered skins when accepted
  bool Accepted() const { return refusal == AttachRefusal::kNone; }
};

AttachDecision DecideAttach(const AttachFacts& facts, const std::vector<RegisteredSkin>& skins);

// A "#32768" popup menu window.
struct PopupFacts {
  bool manager_active = false;
  bool answers_skinned = false;
  bool has_popup_skin = false;
  WindowId window = 0;
};
// The skin for the popup, or -1 when it stays the system's.
int DecidePopupSkin(const PopupFacts& facts, const std::vector<RegisteredSkin>& skins);

// HCBT_CREATEWND: a size grip on a skinned window is refused.
inline constexpr unsigned kSbsSizeGrip = 0x10;
bool RefuseSizeGrip(std::string_view class_name, std::uint32_t style, bool parent_skinned);

// The manager's commands and how queueing one takes effect.
enum SkinCommand { kCmdNone = 0, kCmdActivate = 1, kCmdDeactivate = 2, kCmdRefresh = 3, kCmdPurge = 6 };

struct CommandQueue {
  int pending = kCmdNone;
  unsigned interval = 250;
  bool timer_running = false;
  bool active = false;
  int activation_count = 0;

  // Until the first window has been activated, activate and deactivate take
  // effect at once; afterwards everything runs from the timer.
  void Queue(int command, unsigned interval_ms);
  // The timer tick: stops the timer and hands out the command, once.
  int TakeOnTick();
};

// --- Controls of a form ---------------------------------------------------

// The skin objects of the skinned-control family.
enum class SkinObject {
  kNone,
  kCheckBox,
  kRadioButton,
  kTrackBar,
  kUpDown,
  kBox,
  kStatusBar,
  kProgress,
  kScControl,
  kComBox,
  kEdit,
  kScrollBar,
  kBitButton,
  kSpeedButton,
  kListView,
  kButton,
  kTab,
  kTab31,
  kSizer,
};

// What a control is, in terms of the roles the rules test. The host's class
// library says which of its classes play which role.
enum ControlRole : std::uint32_t {
  kRoleCustomCheckBox = 1u << 0,
  kRoleRadioGroup = 1u << 1,
  kRoleGroupBox = 1u << 2,
  kRoleRadioButton = 1u << 3,  // TRadioButton
  kRoleToolBar = 1u << 4,
  kRoleStatusBar = 1u << 5,
  kRoleProgressBar = 1u << 6,
  kRoleScrollBar = 1u << 7,
  kRoleComboBox = 1u << 8,
  kRoleBitBtn = 1u << 9,
  kRoleSpeedButton = 1u << 10,
  kRoleCustomPanel = 1u << 11,
  kRoleCustomListView = 1u << 12,
  kRoleCustomMemo = 1u << 13,
  kRoleScrollingBox = 1u << 14,
  kRoleMemo = 1u << 15,  // TMemo
  kRoleCustomTreeView = 1u << 16,
  kRoleButton = 1u << 17,  // TButton
  kRoleCustomEdit = 1u << 18,
  kRoleContainer = 1u << 19,
  kRoleEmbeddedForm = 1u << 20,
  kRolePageControl = 1u << 21,
  kRoleTabControl = 1u << 22,
};

struct ControlFacts {
  std::string class_upper;  // the class name in upper case
  long tag = 0;
  std::uint32_t roles = 0;
  bool has_skin_object = false;
  bool windowed = false;
  bool has_window = false;
  bool in_preview_form = false;  // see IsPrintPreviewForm
  bool scroll_styles = false;    // WS_HSCROLL or WS_VSCROLL
  bool date_time_up_down = false;
};

// The skin's settings the rules read.
struct ControlSkinSettings {
  int disable_tag = 99;
  TSkinControlTypes controls = kAllSkinControlsButFastReport;
  bool has_tabs = false;  // the skin has a Tabs piece
  const std::vector<std::string>* skin3rd = nullptr;
};

// Rule 1: whether the control is looked at, and whether its window must be
// made first.
enum class ControlPrecheck { kSkip, kCreateWindow, kContinue };
ControlPrecheck PrecheckControl(const ControlFacts& c, const ControlSkinSettings& s);

bool IsPrintPreviewForm(std::string_view form_name, std::string_view form_class);

// Rules 3 to 8. The decision for one control.
struct ControlDecision {
  SkinObject object = SkinObject::kNone;
  bool recolour = false;    // keep the control's colour, show ButtonFace while attached
  bool on_window = false;   // subclass the window instead of the message method
  bool recurse = false;     // walk the control's own components
  bool standalone = false;  // a scroll bar in its stand-alone mode
  // Radio and check groups: each child control loses ParentColor and, unless
  // kNone, gets this object, recoloured.
  bool children_parent_colour_off = false;
  SkinObject child_object = SkinObject::kNone;
  std::string set_property;  // published enumerated property set to True
  bool colour_to_button_face = false;
  bool toolbar_option_on = false;
  bool statusbar_option_off = false;
  bool from_skin3rd = false;
  int rule = 0;  // the rule that decided, 3..8; 0 when nothing did
};
ControlDecision MapFormControl(const ControlFacts& c, const ControlSkinSettings& s);

// Skin3rd: the kind after "Class=" of the first entry that starts with the
// class name and "=", compared without case; false when none does.
bool Skin3rdKind(const std::vector<std::string>& list, std::string_view class_name,
                 std::string* kind);
ControlDecision Skin3rdDecision(std::string_view kind, const ControlSkinSettings& s);

// The 95 built-in entries.
const std::vector<std::string>& BuiltInSkin3rd();

// --- Children of a plain window --------------------------------------------

struct ChildWindowDecision {
  SkinObject object = SkinObject::kNone;
  bool on_first_child = false;  // comboboxex32: its edit/combo child
};
ChildWindowDecision MapChildWindow(std::string_view class_name, std::uint32_t style,
                                   bool has_first_child);

}  // namespace corvane::skin
