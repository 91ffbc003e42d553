// The skin model: the pieces a skin description defines, read from a skin
// package, and the component that holds one skin.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "skin/bmp.h"
#include "skin/bytes.h"

namespace corvane {
class FileSystem;
class IniDocument;
}

namespace corvane::skin {

class TSkinReader;

// An RGB value with red in the low byte, or a system-colour reference: top
// byte 0xFF, the system colour index in the low byte.
using SkinColour = std::uint32_t;
constexpr SkinColour SysColour(unsigned index) { return 0xFF000000u | index; }
constexpr SkinColour Rgb(unsigned r, unsigned g, unsigned b) {
  return (r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16;
}
inline constexpr SkinColour kColourNotGiven = 0x1FFFFFFF;
inline constexpr SkinColour kClBtnText = SysColour(18);

// "R G B" text; an empty text gives default_colour, a text without digits black.
SkinColour ParseColour(std::string_view text, SkinColour default_colour);

struct TDataSkinObject {
  int LeftWidth = 0;
  int TopHeight = 0;
  int RightWidth = 0;
  int BottomHeight = 0;
  Bitmap32 Image;
  int Trans = 0;
  int Tile = 0;  // frame pieces: 1 = stretch, else tile
  std::string Name;
  int FrameCount = 0;
  int Style = 0;
  int NormalColour = -1;
  int MouseOverColour = -1;
  int PressedColour = -1;
  SkinColour NormalColour2 = kClBtnText;
  SkinColour MouseOverColour2 = kClBtnText;
  SkinColour PressedColour2 = kClBtnText;
};

struct TDataSkinBorder : TDataSkinObject {
  Bitmap32 Image2;
};

struct TDataSkinButton : TDataSkinObject {
  Bitmap32 CheckButton;
  Bitmap32 RadioButton;
  int RadioButtonFrame = 0;
  int CheckButtonFrame = 0;
};

// LeftWidth = TextShift, TopHeight = TextShiftVert, RightWidth =
// TextRightClip; Image is the text background.
struct TDataSkinTitle : TDataSkinObject {
  int TextAlignment = 0;
  int Textbackground = 0;
  int FontHeight = 14;
  int TXTBackleft = 0;
  int TXTBackRight = 0;
  SkinColour ActiveText = kColourNotGiven;
  SkinColour InActiveText = kColourNotGiven;
};

struct TDataSkinSysButton : TDataSkinObject {
  int Action = 0;
  int Align = 0;
  int Xcoord = 0;
  int Ycoord = 0;
  int CombineOp = -1;
  int Visibility = 0;
  int Visibility1 = 0;
};

struct SkinColours {
  SkinColour WindowText = SysColour(8);
  SkinColour ButtonFace = SysColour(15);
  SkinColour Scrollbar = SysColour(0);
  SkinColour HilightText = SysColour(14);
  SkinColour Hilight = SysColour(13);
  SkinColour Menubar = SysColour(15);
  SkinColour Menu = SysColour(4);
  SkinColour MenuText = SysColour(7);
  SkinColour ButtonText = SysColour(18);
  SkinColour ButtonHilight = SysColour(20);
  SkinColour Buttonlight = SysColour(20);
  SkinColour ButtonShadow = SysColour(16);
  SkinColour ButtonDkShadow = SysColour(16);
  SkinColour MenuBarText = SysColour(7);
  SkinColour TitleTextActive = SysColour(9);
  SkinColour TitleTextNoActive = SysColour(19);
};

enum FramePiece { kFrameLeft, kFrameRight, kFrameTop, kFrameBottom };
inline constexpr const char* kFramePieceNames[4] = {"Left", "Right", "Top", "Bottom"};

enum TrackbarThumb { kThumbHorz, kThumbVert, kThumbLeft, kThumbRight, kThumbUp, kThumbDown };
inline constexpr const char* kTrackbarThumbSections[6] = {
    "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
    "Trackbar.ThumbRight", "Trackbar.ThumbUp", "Trackbar.ThumbDown"};

// Everything one skin description defines. Optional pieces are absent when
// their section does not define them.
struct SkinModel {
  std::string SkinName;
  SkinColours Colours;
  std::vector<SkinColour> IndexedColours;
  TDataSkinTitle Title;
  // One per BUTTON section, then the three MDI child buttons.
  std::vector<TDataSkinSysButton> SysButtons;
  TDataSkinButton Buttons;
  std::array<TDataSkinBorder, 4> Frames;  // by FramePiece
  std::optional<TDataSkinBorder> Tabs, Progress, UpDownHorz, UpDownVert, ComboButton;
  std::optional<TDataSkinObject> SunkEdge, ExtraImages, GroupBoxEdge, Toolbars, StatusBarEdges,
      Headerbar, MenuBar, MenuItem, MenuBackground, Scrollbar, HorzScroll, VertScroll,
      HorzScrollThumb, VertScrollThumb;
  std::array<std::optional<TDataSkinObject>, 6> TrackbarThumbs;  // by TrackbarThumb
};

// The bitmaps of one package as a description names them. Each entry is
// decoded at most once and shared by every piece that names it, and all of
// them, with the copies derived from them, stay within max_pixels: the first
// one that would pass it is not decoded, Error() names the limit and every
// image from then on is empty.
class SkinImages {
 public:
  explicit SkinImages(const TSkinReader& reader, std::int64_t max_pixels = kMaxSkinPixels)
      : reader_(reader), max_pixels_(max_pixels) {}
  // An image value: the file-name part after the last backslash, which must
  // end in ".bmp" exactly, looked up in the package without regard to case.
  // Empty when it names no bitmap that decodes.
  Bitmap32 Load(std::string_view value);
  // A copy the model makes of a loaded image (a slice, a mirror), counted
  // against the same budget.
  Bitmap32 Derived(Bitmap32 copy);

  bool OverBudget() const { return !error_.empty(); }
  const std::string& Error() const { return error_; }
  std::int64_t PixelsUsed() const { return used_; }

 private:
  bool Charge(std::int64_t pixels, std::string_view what);

  const TSkinReader& reader_;
  const std::int64_t max_pixels_;
  std::int64_t used_ = 0;
  std::unordered_map<std::size_t, Bitmap32> by_entry_;  // failed decodes stay empty
  std::string error_;
};

// One image value on its own, by the rules of SkinImages::Load.
Bitmap32 LoadSkinImage(const TSkinReader& reader, std::string_view value);

// Builds the model from a description; images come from the reader. When
// the description or its bitmaps pass the limits of one skin, fails with
// the reason in *error and leaves model as it was.
bool ReadSkinDescription(const IniDocument& description, const TSkinReader& reader,
                         SkinModel& model, std::string* error = nullptr);
bool ReadSkinDescription(std::string_view description, const TSkinReader& reader,
                         SkinModel& model, std::string* error = nullptr);
// The same for the package the reader holds: its description is the first
// entry whose name contains ".ini".
bool ReadPackageModel(const TSkinReader& reader, SkinModel& model, std::string* error = nullptr);

enum TSkinControlType {
  xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
  xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox,
  xcStatusBar, xcTab, xcSystemMenu, xcFastReport
};
using TSkinControlTypes = std::uint32_t;  // bit (1 << TSkinControlType)
constexpr TSkinControlTypes SkinControlBit(TSkinControlType t) { return 1u << t; }
inline constexpr TSkinControlTypes kAllSkinControlsButFastReport =
    (SkinControlBit(xcFastReport) - 1);

enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog };

// One skin: the stored package and the model read from it.
class TSkinData {
 public:
  TSkinData();  // Skin3rd holds the built-in list

  bool Active = false;
  int DisableTag = 99;
  TSkinControlTypes SkinControls = kAllSkinControlsButFastReport;
  std::vector<std::string> Skin3rd;  // Class=kind entries
  std::string SkinFile;
  TSkinFormType SkinFormtype = sfMainform;
  bool MenuUpdate = true;
  // Shown to the user (the older-package notice); the Win32 layer puts it
  // in a message box.
  std::function<void(const std::string&)> OnMessage;

  // Package bytes held by the component -> model. On failure (a damaged
  // package, one beyond the limits of a skin) the model keeps what it held
  // and LastError() says why.
  bool LoadSkin();
  // Replaces the stored package (a skin file's contents) and loads it.
  bool LoadPackage(Bytes package);
  // The run-time SkinFile setter: sets the not-loaded flag, keeps the name
  // and, when the file can be read, loads it. Applying the skin to the
  // windows is the manager's part.
  bool SetSkinFile(const std::string& name, FileSystem& fs);
  // Fills the model from a description text and clears the not-loaded flag;
  // a description beyond the limits of one skin leaves both as they were.
  bool ReadSkinDescription(std::string_view description, const TSkinReader& reader);

  // The stored property: int32 LE count, then that many package bytes. A
  // count of 0 or less stores nothing. Loads the package when there is one.
  // Fails (storing nothing) when the count runs past the data.
  bool ReadSkinStream(ByteSpan stream, std::size_t* consumed = nullptr);
  Bytes WriteSkinStream() const;

  const Bytes& Package() const { return package_; }
  bool NotLoaded() const { return not_loaded_; }
  const SkinModel& Model() const { return model_; }
  const std::string& LastError() const { return error_; }

  Bitmap32 AppIcon;  // filled by the frame painter from the first window icon
  bool PaintFrames = true;

 private:
  Bytes package_;
  SkinModel model_;
  std::string error_;
  bool not_loaded_ = true;
};

}  // namespace corvane::skin
