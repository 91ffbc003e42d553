#include "tools/skinpack/package.h"

#include <cstdio>
#include <optional>
#include <type_traits>
#include <utility>

#include "skin/skin_data.h"
#include "skin/skin_reader.h"

namespace corvane::skinpack {

using skin::Bytes;

bool BuildUnpackedPackage(const std::vector<PackageEntry>& entries, Bytes& out,
                          std::string* error) {
  out.clear();
  if (entries.size() > skin::kMaxSkinEntries) {
    *error = "more than 1001 entries";
    return false;
  }
  std::string directory;
  for (const PackageEntry& e : entries) {
    if (e.name.empty() || e.name.find_first_of("\r\n") != std::string::npos) {
      *error = "entry name cannot stand in the directory: '" + e.name + "'";
      return false;
    }
    directory += e.name + "\r\n";
  }
  skin::PutU32(out, skin::kSkinFormatMark);
  skin::PutU32(out, static_cast<std::uint32_t>(directory.size()));
  skin::PutU32(out, 0);
  skin::PutU32(out, 0);
  out.insert(out.end(), directory.begin(), directory.end());
  for (const PackageEntry& e : entries) skin::PutU32(out, static_cast<std::uint32_t>(e.data.size()));
  for (const PackageEntry& e : entries) out.insert(out.end(), e.data.begin(), e.data.end());
  return true;
}

bool IsPlainFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (unsigned char c : name)
    if (c < 0x20 || c == '/' || c == '\\' || c == ':') return false;
  return true;
}

namespace {

// JSON text; bytes above 0x7F (GBK in a skin name) come out as \u00XX so the
// output stays valid and the bytes can be recovered.
std::string Quote(const std::string& s) {
  std::string out = "\"";
  char buf[8];
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c > 0x7E) {
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string Hex(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "\"0x%08X\"", v);
  return buf;
}

class Json {
 public:
  Json& Key(const std::string& k) {
    Sep();
    out_ += Quote(k) + ":";
    fresh_ = true;
    return *this;
  }
  Json& Int(long long v) { return Raw(std::to_string(v)); }
  Json& Str(const std::string& s) { return Raw(Quote(s)); }
  Json& Colour(std::uint32_t v) { return Raw(Hex(v)); }
  Json& Size(const skin::Bitmap32& b) {
    return Raw("[" + std::to_string(b.Width()) + "," + std::to_string(b.Height()) + "]");
  }
  Json& Open(char c) {
    Sep();
    out_ += c;
    fresh_ = true;
    return *this;
  }
  Json& Close(char c) {
    out_ += c;
    fresh_ = false;
    return *this;
  }
  const std::string& Text() const { return out_; }

 private:
  Json& Raw(const std::string& s) {
    Sep();
    out_ += s;
    fresh_ = false;
    return *this;
  }
  void Sep() {
    if (!fresh_ && !out_.empty()) out_ += ",";
    fresh_ = false;
  }
  std::string out_;
  bool fresh_ = true;
};

void PieceFields(Json& j, const skin::TDataSkinObject& p) {
  j.Key("image").Size(p.Image);
  j.Key("margins").Open('[').Int(p.LeftWidth).Int(p.TopHeight).Int(p.RightWidth).Int(p.BottomHeight).Close(']');
  j.Key("FrameCount").Int(p.FrameCount);
  j.Key("Trans").Int(p.Trans);
  j.Key("Tile").Int(p.Tile);
}

template <typename Piece>
void Optional(Json& j, const char* name, const std::optional<Piece>& p) {
  if (!p) return;
  j.Key(name).Open('{');
  PieceFields(j, *p);
  if constexpr (std::is_base_of_v<skin::TDataSkinBorder, Piece>) j.Key("image2").Size(p->Image2);
  j.Close('}');
}

}  // namespace

std::string SkinInfoJson(const skin::SkinModel& m, const skin::TSkinReader& reader) {
  Json j;
  j.Open('{');
  j.Key("name").Str(m.SkinName);
  j.Key("entries").Open('[');
  for (std::size_t i = 0; i < reader.Count(); ++i)
    j.Open('{').Key("name").Str(reader.Names()[i]).Key("size").Int(static_cast<long long>(reader.Entry(i).size)).Close('}');
  j.Close(']');

  const skin::SkinColours& c = m.Colours;
  const std::pair<const char*, skin::SkinColour> colours[] = {
      {"WindowText", c.WindowText},       {"ButtonFace", c.ButtonFace},
      {"Scrollbar", c.Scrollbar},         {"HilightText", c.HilightText},
      {"Hilight", c.Hilight},             {"Menubar", c.Menubar},
      {"Menu", c.Menu},                   {"MenuText", c.MenuText},
      {"ButtonText", c.ButtonText},       {"ButtonHilight", c.ButtonHilight},
      {"Buttonlight", c.Buttonlight},     {"ButtonShadow", c.ButtonShadow},
      {"ButtonDkShadow", c.ButtonDkShadow}, {"MenuBarText", c.MenuBarText},
      {"TitleTextActive", c.TitleTextActive}, {"TitleTextNoActive", c.TitleTextNoActive}};
  j.Key("colours").Open('{');
  for (const auto& [name, value] : colours) j.Key(name).Colour(value);
  j.Close('}');
  j.Key("indexed_colours").Open('[');
  for (skin::SkinColour v : m.IndexedColours) j.Colour(v);
  j.Close(']');

  j.Key("frames").Open('{');
  for (int p = 0; p < 4; ++p) {
    j.Key(skin::kFramePieceNames[p]).Open('{');
    PieceFields(j, m.Frames[p]);
    j.Close('}');
  }
  j.Close('}');

  const skin::TDataSkinTitle& t = m.Title;
  j.Key("title").Open('{');
  j.Key("TextBack").Size(t.Image);
  j.Key("TextShift").Int(t.LeftWidth).Key("TextShiftVert").Int(t.TopHeight);
  j.Key("TextRightClip").Int(t.RightWidth).Key("TextAlignment").Int(t.TextAlignment);
  j.Key("Textbackground").Int(t.Textbackground).Key("FontHeight").Int(t.FontHeight);
  j.Key("TXTBackleft").Int(t.TXTBackleft).Key("TXTBackRight").Int(t.TXTBackRight);
  j.Key("ActiveText").Colour(t.ActiveText).Key("InActiveText").Colour(t.InActiveText);
  j.Close('}');

  j.Key("title_buttons").Open('[');
  for (const skin::TDataSkinSysButton& b : m.SysButtons) {
    j.Open('{').Key("section").Str(b.Name);
    j.Key("Action").Int(b.Action).Key("Align").Int(b.Align);
    j.Key("Xcoord").Int(b.Xcoord).Key("Ycoord").Int(b.Ycoord);
    j.Key("Visibility").Int(b.Visibility).Key("Visibility1").Int(b.Visibility1);
    j.Key("CombineOp").Int(b.CombineOp).Key("FrameCount").Int(b.FrameCount);
    j.Key("image").Size(b.Image).Close('}');
  }
  j.Close(']');

  const skin::TDataSkinButton& b = m.Buttons;
  j.Key("Buttons").Open('{');
  PieceFields(j, b);
  j.Key("CheckButton").Size(b.CheckButton).Key("CheckButtonFrame").Int(b.CheckButtonFrame);
  j.Key("RadioButton").Size(b.RadioButton).Key("RadioButtonFrame").Int(b.RadioButtonFrame);
  j.Close('}');

  j.Key("pieces").Open('{');
  Optional(j, "Tabs", m.Tabs);
  Optional(j, "Progress", m.Progress);
  Optional(j, "UpDown.Horz", m.UpDownHorz);
  Optional(j, "UpDown.Vert", m.UpDownVert);
  Optional(j, "ComboButton", m.ComboButton);
  Optional(j, "SunkEdge", m.SunkEdge);
  Optional(j, "ExtraImages", m.ExtraImages);
  Optional(j, "GroupBoxEdge", m.GroupBoxEdge);
  Optional(j, "Toolbars", m.Toolbars);
  Optional(j, "StatusBarEdges", m.StatusBarEdges);
  Optional(j, "Headerbar", m.Headerbar);
  Optional(j, "menuBar", m.MenuBar);
  Optional(j, "MenuItem", m.MenuItem);
  Optional(j, "MenuBackground", m.MenuBackground);
  Optional(j, "Scrollbar", m.Scrollbar);
  Optional(j, "HorzScroll", m.HorzScroll);
  Optional(j, "VertScroll", m.VertScroll);
  Optional(j, "HorzScrollThumb", m.HorzScrollThumb);
  Optional(j, "VertScrollThumb", m.VertScrollThumb);
  for (int i = 0; i < 6; ++i) Optional(j, skin::kTrackbarThumbSections[i], m.TrackbarThumbs[i]);
  j.Close('}');
  j.Close('}');
  return j.Text() + "\n";
}

}  // namespace corvane::skinpack
