#include "skin/skin_data.h"

#include <algorithm>

#include "core/filesystem.h"
#include "core/ini.h"
#include "core/text.h"
#include "skin/skin_reader.h"
#include "skin/skin_rules.h"

namespace corvane::skin {

SkinColour ParseColour(std::string_view text_in, SkinColour default_colour) {
  std::string t = text::Trim(text_in);
  if (t.empty()) return default_colour;
  std::uint32_t parts[3] = {};
  int stored = 0;
  std::uint32_t number = 0;  // wraps; only the low byte is kept
  bool pending = false;
  for (char c : t) {
    if (c >= '0' && c <= '9') {
      number = number * 10 + static_cast<std::uint32_t>(c - '0');
      pending = true;
    } else if (pending) {
      if (stored < 3) parts[stored++] = number;
      number = 0;
      pending = false;
    }
  }
  if (pending && stored == 2) parts[2] = number;
  return Rgb(parts[0], parts[1], parts[2]);
}

bool SkinImages::Charge(std::int64_t pixels, std::string_view what) {
  if (OverBudget()) return false;
  if (pixels > max_pixels_ - used_) {
    error_ = "skin package refused: its bitmaps come to more than " + std::to_string(max_pixels_) +
             " pixels, the limit for one skin (" + std::string(what) + ")";
    return false;
  }
  used_ += pixels;
  return true;
}

Bitmap32 SkinImages::Load(std::string_view value) {
  if (OverBudget()) return {};
  std::size_t slash = text::LastDelimiter(value, "\\");
  std::string_view name = slash == std::string_view::npos ? value : value.substr(slash + 1);
  if (name.empty() || text::ExtractFileExt(name) != ".bmp") return {};
  const std::size_t i = reader_.Find(name);
  if (i == std::string::npos) return {};
  if (auto known = by_entry_.find(i); known != by_entry_.end()) return known->second;
  Bitmap32& image = by_entry_[i];
  const ByteSpan entry = reader_.Entry(i);
  int w = 0, h = 0;
  if (entry.size == 0 || !ReadBmpSize(entry, &w, &h)) return {};
  const std::int64_t pixels = static_cast<std::int64_t>(w) * h;
  if (!Charge(pixels, "\"" + reader_.Names()[i] + "\" is " + std::to_string(w) + " x " +
                          std::to_string(h)))
    return {};
  if (!DecodeBmp(entry, image)) used_ -= pixels;
  return image;
}

Bitmap32 SkinImages::Derived(Bitmap32 copy) {
  if (!Charge(copy.PixelCount(), "with the copies made of them")) return {};
  return copy;
}

Bitmap32 LoadSkinImage(const TSkinReader& reader, std::string_view value) {
  return SkinImages(reader).Load(value);
}

namespace {

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// One pass over a description, in the order later defaults depend on.
class DescriptionReader {
 public:
  DescriptionReader(const IniDocument& ini, const TSkinReader& reader)
      : ini_(ini), images_(reader) {}

  bool Read(SkinModel& model, std::string* error) {
    std::vector<std::string> sections = ini_.Sections();
    m_.SkinName = Str("TitlebarSkin", "SkinName");
    for (int p = kFrameLeft; p <= kFrameBottom; ++p) ReadFramePiece(static_cast<FramePiece>(p));
    ReadColours(sections);
    ReadSysButtons(sections);
    ReadMdiButtons();
    ReadButtons();
    ReadTitle();
    ReadProgress();
    ReadMenuBar();
    m_.GroupBoxEdge = Common("GroupBoxEdge");
    m_.Toolbars = Common("Toolbars");
    m_.Tabs = TwoImage("Tabs", "Border");
    m_.StatusBarEdges = Common("StatusBarEdges");
    m_.ComboButton = TwoImage("ComboButton", "****");
    if (m_.ComboButton && !m_.ComboButton->Image.Empty())
      m_.ComboButton->Image2 = images_.Derived(m_.ComboButton->Image.MirroredOpaque());
    m_.SunkEdge = Common("SunkEdge");
    m_.ExtraImages = Common("ExtraImages");
    m_.Headerbar = Common("Headerbar");
    m_.MenuItem = Common("MenuItem");
    m_.MenuBackground = Common("MenuBackground");
    m_.Scrollbar = Common("Scrollbar");
    m_.HorzScroll = Common("HorzScroll");
    m_.VertScroll = Common("VertScroll");
    m_.HorzScrollThumb = Common("HorzScrollThumb");
    m_.VertScrollThumb = Common("VertScrollThumb");
    for (int i = 0; i < 6; ++i) m_.TrackbarThumbs[i] = Common(kTrackbarThumbSections[i]);
    m_.UpDownHorz = TwoImage("UpDown.Horz", "GlyphImage");
    m_.UpDownVert = TwoImage("UpDown.Vert", "GlyphImage");
    SetFixedFrameCounts();
    if (images_.OverBudget()) {
      if (error) *error = images_.Error();
      return false;
    }
    model = std::move(m_);
    return true;
  }

 private:
  std::string Str(std::string_view section, std::string_view key) const {
    return ini_.Get(section, key).value_or(std::string());
  }
  int Int(std::string_view section, std::string_view key, int fallback) const {
    auto v = ini_.Get(section, key);
    return v ? ParseProfileInteger(*v, fallback) : fallback;
  }
  SkinColour Colour(std::string_view section, std::string_view key, SkinColour fallback) const {
    return ParseColour(Str(section, key), fallback);
  }
  Bitmap32 Image(std::string_view section, std::string_view key) const {
    return images_.Load(Str(section, key));
  }

  void ReadFramePiece(FramePiece p) {
    const std::string name = kFramePieceNames[p];
    TDataSkinBorder& piece = m_.Frames[p];
    piece = TDataSkinBorder();
    piece.Name = name;
    piece.Image = Image("Personality", name);
    int top = Int("Personality", name + "TopHeight", 0);
    int bottom = Int("Personality", name + "BotHeight", 0);
    if (p == kFrameLeft || p == kFrameRight) {
      piece.TopHeight = top;
      piece.BottomHeight = bottom;
    } else {
      piece.LeftWidth = top;
      piece.RightWidth = bottom;
    }
    piece.FrameCount = Int("Personality", name + "Frame", 1);
    piece.Tile = Int("Personality", name + "Stretch", 1);
    piece.Trans = Int("Personality", name + "Trans", 1);
  }

  void ReadColours(const std::vector<std::string>& sections) {
    SkinColours& c = m_.Colours;
    const SkinColours d;
    c.WindowText = Colour("Colours", "WindowText", d.WindowText);
    c.ButtonFace = Colour("Colours", "ButtonFace", d.ButtonFace);
    c.Scrollbar = Colour("Colours", "Scrollbar", d.Scrollbar);
    c.HilightText = Colour("Colours", "HilightText", d.HilightText);
    c.Hilight = Colour("Colours", "Hilight", d.Hilight);
    c.Menubar = Colour("Colours", "Menubar", c.ButtonFace);
    c.Menu = Colour("Colours", "Menu", d.Menu);
    c.MenuText = Colour("Colours", "MenuText", d.MenuText);
    c.ButtonText = Colour("Colours", "ButtonText", d.ButtonText);
    c.ButtonHilight = Colour("Colours", "ButtonHilight", d.ButtonHilight);
    c.Buttonlight = Colour("Colours", "Buttonlight", d.Buttonlight);
    c.ButtonShadow = Colour("Colours", "ButtonShadow", d.ButtonShadow);
    c.ButtonDkShadow = Colour("Colours", "ButtonDkShadow", d.ButtonDkShadow);
    c.MenuBarText = Colour("Colours", "MenuBarText", d.MenuBarText);
    c.TitleTextActive = Colour("Colours", "TitleTextActive", d.TitleTextActive);
    c.TitleTextNoActive = Colour("Colours", "TitleTextNoActive", d.TitleTextNoActive);
    for (const std::string& s : sections) {
      std::string upper = text::UpperCase(s);
      if (StartsWith(upper, "COLOUR") && upper != "COLOURS")
        m_.IndexedColours.push_back(Colour(s, "color", SysColour(8)));
    }
  }

  static bool IsSysButtonSection(const std::string& s) {
    std::string upper = text::UpperCase(s);
    return StartsWith(upper, "BUTTON") && upper != "BUTTONS" && upper != "BUTTON.RADIO" &&
           upper != "BUTTON.CHECKBOX";
  }

  void ReadSysButtons(const std::vector<std::string>& sections) {
    m_.SysButtons.reserve(
        std::count_if(sections.begin(), sections.end(), IsSysButtonSection) + 3);
    for (const std::string& s : sections) {
      if (!IsSysButtonSection(s)) continue;
      TDataSkinSysButton b;
      b.Name = s;
      b.Action = Int(s, "Action", 0);
      b.Align = Int(s, "Align", 0);
      b.Xcoord = Int(s, "Xcoord", 0);
      b.Ycoord = Int(s, "Ycoord", 0);
      b.Visibility = Int(s, "Visibility", 0);
      b.Visibility1 = Int(s, "Visibility1", 0);
      b.CombineOp = Int(s, "CombineOp", -1);
      b.FrameCount = Int(s, "frame", 0);
      b.Image = Image(s, "ButtonImage");
      if (b.FrameCount == 0) {
        b.FrameCount = 6;
        if (!b.Image.Empty())
          b.FrameCount = static_cast<double>(b.Image.Width()) / b.Image.Height() <= 3.8 ? 3 : 6;
        if (b.Action < 0) b.FrameCount = 6;
        // The frame painter draws the window's icon in these places.
        if (b.Action == 3 || b.Action == 11) b.Image.Clear();
      }
      m_.SysButtons.push_back(std::move(b));
    }
  }

  void ReadMdiButtons() {
    Bitmap32 strip = Image("MDICONTROLS", "Image");
    const int a = strip.Width() / 12;
    for (int k = 0; k < 3; ++k) {
      TDataSkinSysButton b;
      b.Name = "MDICONTROLS";
      b.Action = 7 + k;  // minimise, restore, close the active MDI child
      b.Align = b.Visibility = b.Visibility1 = 100;
      b.FrameCount = 4;
      if (!strip.Empty()) {
        b.Image = images_.Derived(strip.Slice(4 * a * k, 4 * a));
        b.Xcoord = (a + 4) * (3 - k);
      }
      m_.SysButtons.push_back(std::move(b));
    }
  }

  void ReadMargins(std::string_view s, TDataSkinObject& p) const {
    p.LeftWidth = Int(s, "LeftWidth", 0);
    p.RightWidth = Int(s, "RightWidth", 0);
    p.TopHeight = Int(s, "TopHeight", 0);
    p.BottomHeight = Int(s, "BottomHeight", 0);
    p.Trans = Int(s, "Trans", 0);
    p.Tile = Int(s, "Tile", 0);
  }
  void ReadStateColours(std::string_view s, TDataSkinObject& p) const {
    p.NormalColour = Int(s, "NormalColour", -1);
    p.MouseOverColour = Int(s, "MouseOverColour", -1);
    p.PressedColour = Int(s, "PressedColour", -1);
    p.NormalColour2 = Colour(s, "NormalColour2", m_.Colours.ButtonText);
    p.MouseOverColour2 = Colour(s, "MouseOverColour2", m_.Colours.ButtonText);
    p.PressedColour2 = Colour(s, "PressedColour2", m_.Colours.ButtonText);
  }
  // The fields every image piece shares; a Tile above 1 means stretch.
  template <typename Piece>
  std::optional<Piece> ImagePiece(std::string_view s) const {
    if (Str(s, "Image").empty()) return std::nullopt;
    Piece p;
    p.Name = std::string(s);
    p.Image = Image(s, "Image");
    ReadMargins(s, p);
    if (p.Tile > 1) p.Tile = 0;
    ReadStateColours(s, p);
    return p;
  }
  std::optional<TDataSkinObject> Common(std::string_view s) const {
    auto p = ImagePiece<TDataSkinObject>(s);
    if (p) p->Style = Int(s, "Style", 0);
    return p;
  }
  std::optional<TDataSkinBorder> TwoImage(std::string_view s, std::string_view second) const {
    auto p = ImagePiece<TDataSkinBorder>(s);
    if (p) p->Image2 = Image(s, second);
    return p;
  }

  void ReadButtons() {
    TDataSkinButton& b = m_.Buttons;
    b = TDataSkinButton();
    b.Name = "Buttons";
    b.Image = Image("Buttons", "Bitmap");
    b.CheckButton = Image("Buttons", "CheckButton");
    b.RadioButton = Image("Buttons", "RadioButton");
    ReadMargins("Buttons", b);
    ReadStateColours("Buttons", b);
    b.RadioButtonFrame = Int("Buttons", "RadioButtonFrame", 0);
    b.CheckButtonFrame = Int("Buttons", "CheckButtonFrame", 0);
  }

  void ReadTitle() {
    TDataSkinTitle& t = m_.Title;
    t = TDataSkinTitle();
    t.Name = "Personality";
    t.Image = Image("Personality", "TextBack");
    t.LeftWidth = Int("Personality", "TextShift", 0);
    t.TopHeight = Int("Personality", "TextShiftVert", 0);
    t.RightWidth = Int("Personality", "TextRightClip", 0);
    t.TextAlignment = Int("Personality", "TextAlignment", 0);
    t.Textbackground = Int("Personality", "Textbackground", 0);
    t.TXTBackleft = Int("Personality", "TXTBackleft", 0);
    t.TXTBackRight = Int("Personality", "TXTBackRight", 0);
    t.ActiveText = TextColour("ActiveText");
    t.InActiveText = TextColour("InActiveText");
    t.FontHeight = Int("Fonts", "FontHeight", 14);
  }
  SkinColour TextColour(const std::string& prefix) const {
    int r = Int("Personality", prefix + "R", -1);
    int g = Int("Personality", prefix + "G", -1);
    int b = Int("Personality", prefix + "B", -1);
    if (r < 0 || g < 0 || b < 0) return kColourNotGiven;
    return Rgb(static_cast<unsigned>(r), static_cast<unsigned>(g), static_cast<unsigned>(b));
  }

  void ReadProgress() {
    m_.Progress.reset();
    if (Str("Progress", "Bitmap").empty()) return;
    TDataSkinBorder p;
    p.Name = "Progress";
    p.Image = Image("Progress", "Bitmap");
    p.Image2 = Image("Progress", "Chunk");
    p.Style = Int("Progress", "Style", 0);
    ReadMargins("Progress", p);
    m_.Progress = std::move(p);
  }

  void ReadMenuBar() {
    m_.MenuBar.reset();
    if (Str("Personality", "menuBar").empty()) return;
    TDataSkinObject p;
    p.Name = "menuBar";
    p.Image = Image("Personality", "menuBar");
    p.Tile = Int("Personality", "TileMenu", 0);
    p.LeftWidth = Int("Personality", "TileLeftMenu", 1);
    p.RightWidth = Int("Personality", "TileRightMenu", 1);
    m_.MenuBar = std::move(p);
  }

  static int StateFrames(const Bitmap32& image) {
    return std::max(image.Width() / (image.Height() < 16 ? 13 : 16), 4);
  }

  void SetFixedFrameCounts() {
    auto set = [](auto& piece, int count) {
      if (piece) piece->FrameCount = count;
    };
    TDataSkinButton& b = m_.Buttons;
    b.FrameCount = 5;
    if (b.RadioButtonFrame == 0) b.RadioButtonFrame = StateFrames(b.RadioButton);
    if (b.CheckButtonFrame == 0) b.CheckButtonFrame = StateFrames(b.CheckButton);
    m_.Title.FrameCount = 2;
    set(m_.Progress, 2);
    set(m_.MenuBar, 2);
    set(m_.GroupBoxEdge, 2);
    set(m_.StatusBarEdges, 3);
    for (auto* p : {&m_.SunkEdge, &m_.HorzScroll, &m_.VertScroll}) set(*p, 4);
    set(m_.ComboButton, 4);
    for (auto* p : {&m_.Toolbars, &m_.ExtraImages, &m_.Headerbar, &m_.MenuItem}) set(*p, 5);
    set(m_.Tabs, 5);
    for (auto& t : m_.TrackbarThumbs) set(t, 5);
    set(m_.UpDownHorz, 8);
    set(m_.UpDownVert, 8);
    set(m_.Scrollbar, 23);
    set(m_.MenuBackground, 1);
    set(m_.HorzScrollThumb, AtLeastOne(Int("HorzScrollThumb", "FrameCount", 3)));
    set(m_.VertScrollThumb, AtLeastOne(Int("VertScrollThumb", "FrameCount", 3)));
    // Painters divide image sizes by these; a damaged description must not
    // make them divide by zero.
    for (TDataSkinBorder& f : m_.Frames) f.FrameCount = AtLeastOne(f.FrameCount);
    for (TDataSkinSysButton& sb : m_.SysButtons) sb.FrameCount = AtLeastOne(sb.FrameCount);
    b.RadioButtonFrame = AtLeastOne(b.RadioButtonFrame);
    b.CheckButtonFrame = AtLeastOne(b.CheckButtonFrame);
  }
  static int AtLeastOne(int n) { return std::max(n, 1); }

  const IniDocument& ini_;
  mutable SkinImages images_;  // a cache: reading a piece stays const
  SkinModel m_;
};

}  // namespace

bool ReadSkinDescription(const IniDocument& description, const TSkinReader& reader,
                         SkinModel& model, std::string* error) {
  return DescriptionReader(description, reader).Read(model, error);
}

bool ReadSkinDescription(std::string_view description, const TSkinReader& reader,
                         SkinModel& model, std::string* error) {
  if (description.size() > kMaxDescriptionSize) {
    if (error)
      *error = "skin package refused: its description is larger than " +
               std::to_string(kMaxDescriptionSize) + " bytes, the limit for one skin";
    return false;
  }
  return ReadSkinDescription(IniDocument::Parse(description), reader, model, error);
}

bool ReadPackageModel(const TSkinReader& reader, SkinModel& model, std::string* error) {
  const std::size_t i = reader.FindContaining(".ini");
  if (i == std::string::npos) {
    if (error) *error = "skin package has no description (.ini entry)";
    return false;
  }
  return ReadSkinDescription(reader.Entry(i).Text(), reader, model, error);
}

TSkinData::TSkinData() : Skin3rd(BuiltInSkin3rd()) {}

bool TSkinData::ReadSkinDescription(std::string_view description, const TSkinReader& reader) {
  SkinModel model;
  if (!skin::ReadSkinDescription(description, reader, model, &error_)) return false;
  model_ = std::move(model);
  not_loaded_ = false;
  return true;
}

bool TSkinData::LoadSkin() {
  not_loaded_ = true;
  error_.clear();
  TSkinReader reader;
  if (!reader.ReadPackage(package_)) {
    error_ = reader.Error();
    if (reader.WrongFormat() && OnMessage) OnMessage(error_);
    return false;
  }
  SkinModel model;
  if (!ReadPackageModel(reader, model, &error_)) return false;
  model_ = std::move(model);
  not_loaded_ = false;
  return true;
}

bool TSkinData::LoadPackage(Bytes package) {
  not_loaded_ = true;
  package_ = std::move(package);
  return LoadSkin();
}

bool TSkinData::SetSkinFile(const std::string& name, FileSystem& fs) {
  not_loaded_ = true;
  SkinFile = name;
  std::optional<std::string> contents = fs.ReadFile(name);
  if (!contents) {
    error_ = "skin file cannot be read: " + name;
    return false;
  }
  return LoadPackage(ToBytes(*contents));
}

bool TSkinData::ReadSkinStream(ByteSpan stream, std::size_t* consumed) {
  if (consumed) *consumed = 0;
  if (!stream.Has(0, 4)) {
    error_ = "skin stream too short for its count";
    return false;
  }
  std::int32_t count = stream.I32(0);
  if (consumed) *consumed = 4;
  if (count <= 0) {
    package_.clear();
    return true;
  }
  if (!stream.Has(4, static_cast<std::size_t>(count))) {
    error_ = "skin stream count runs past the data";
    return false;
  }
  if (consumed) *consumed = 4 + static_cast<std::size_t>(count);
  ByteSpan bytes = stream.Sub(4, static_cast<std::size_t>(count));
  return LoadPackage(Bytes(bytes.data, bytes.data + bytes.size));
}

Bytes TSkinData::WriteSkinStream() const {
  Bytes out;
  PutU32(out, static_cast<std::uint32_t>(package_.size()));
  out.insert(out.end(), package_.begin(), package_.end());
  return out;
}

}  // namespace corvane::skin
