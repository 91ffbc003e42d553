// skinpack: builds and inspects skin packages.
//   skinpack encode IN OUT       LZHUF-compress a file (size, then codes)
//   skinpack decode IN OUT       the reverse
//   skinpack pack FOLDER OUT     a package from a description and its bitmaps,
//                                in the order of FOLDER/order.txt or by name
//   skinpack unpack PACKAGE DIR  every entry as a file, plus order.txt
//   skinpack stream PACKAGE OUT  the stored property: int32 count, then the package
//   skinpack info PACKAGE        the decoded skin model as JSON
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "core/ini.h"
#include "core/text.h"
#include "skin/lzh.h"
#include "skin/skin_data.h"
#include "skin/skin_reader.h"
#include "tools/skinpack/lzh_encoder.h"
#include "tools/skinpack/package.h"

namespace fs = std::filesystem;
using corvane::skin::Bytes;

namespace {

constexpr char kOrderFile[] = "order.txt";

struct Failure {
  std::string message;
};

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Failure{"cannot read " + path.string()};
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const Bytes& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!out) throw Failure{"cannot write " + path.string()};
}

std::vector<std::string> EntryNames(const fs::path& folder) {
  std::vector<std::string> names;
  if (fs::exists(folder / kOrderFile)) {
    Bytes list = ReadFile(folder / kOrderFile);
    for (const std::string& line : corvane::skin::SplitLines(
             std::string_view(reinterpret_cast<const char*>(list.data()), list.size()))) {
      std::string name = corvane::text::Trim(line);
      if (!name.empty() && name[0] != '#') names.push_back(name);
    }
    return names;
  }
  for (const fs::directory_entry& e : fs::directory_iterator(folder))
    if (e.is_regular_file() && e.path().filename() != kOrderFile)
      names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Reads a package back with the program's own reader; the packer never
// writes something the program would refuse.
corvane::skin::SkinModel LoadModel(const Bytes& package, corvane::skin::TSkinReader& reader) {
  if (!reader.ReadPackage(package)) throw Failure{reader.Error()};
  corvane::skin::SkinModel model;
  std::string error;
  if (!corvane::skin::ReadPackageModel(reader, model, &error)) throw Failure{error};
  return model;
}

// Image values the engine would leave empty: a missing entry, or a name
// whose extension is not ".bmp" in lower case.
std::vector<std::string> ImageWarnings(const corvane::skin::TSkinReader& reader) {
  std::vector<std::string> warnings;
  corvane::IniDocument ini =
      corvane::IniDocument::Parse(reader.Entry(reader.FindContaining(".ini")).Text());
  corvane::skin::SkinImages images(reader);
  for (const std::string& section : ini.Sections()) {
    for (const std::string& key : ini.Keys(section)) {
      std::string value = ini.Get(section, key).value_or("");
      std::string name = corvane::text::ExtractFileName(value);
      if (corvane::text::LowerCase(corvane::text::ExtractFileExt(name)) != ".bmp") continue;
      std::string where = "[" + section + "] " + key + "=" + value;
      const std::size_t entry = reader.Find(name);
      if (corvane::text::ExtractFileExt(name) != ".bmp")
        warnings.push_back(where + ": the extension must be \".bmp\" in lower case");
      else if (entry == std::string::npos || reader.Entry(entry).size == 0)
        warnings.push_back(where + ": no such entry in the package");
      else if (images.Load(value).Empty())
        warnings.push_back(where + ": " + (images.OverBudget() ? images.Error()
                                                              : "not a bitmap the engine can read"));
    }
  }
  return warnings;
}

void Pack(const fs::path& folder, const fs::path& out) {
  if (!fs::is_directory(folder)) throw Failure{folder.string() + " is not a folder"};
  std::vector<corvane::skinpack::PackageEntry> entries;
  std::set<std::string> seen;
  for (const std::string& name : EntryNames(folder)) {
    if (!corvane::skinpack::IsPlainFileName(name)) throw Failure{"bad entry name: " + name};
    if (!seen.insert(corvane::text::LowerCase(name)).second)
      throw Failure{"entry listed twice: " + name};
    entries.push_back({name, ReadFile(folder / name)});
  }
  Bytes unpacked;
  std::string error;
  if (!corvane::skinpack::BuildUnpackedPackage(entries, unpacked, &error)) throw Failure{error};
  Bytes package = corvane::skinpack::EncodeLzh(unpacked);
  corvane::skin::TSkinReader reader;
  LoadModel(package, reader);
  for (const std::string& warning : ImageWarnings(reader)) std::cerr << "skinpack: " << warning << "\n";
  WriteFile(out, package);
}

void Unpack(const fs::path& package, const fs::path& folder) {
  corvane::skin::TSkinReader reader;
  if (!reader.ReadPackage(ReadFile(package))) throw Failure{reader.Error()};
  fs::create_directories(folder);
  std::string order;
  std::set<std::string> written;
  for (std::size_t i = 0; i < reader.Count(); ++i) {
    const std::string& name = reader.Names()[i];
    if (!corvane::skinpack::IsPlainFileName(name) || name == kOrderFile)
      throw Failure{"refusing to write entry named '" + name + "'"};
    if (!written.insert(name).second) {
      std::cerr << "skinpack: skipping second entry named " << name << "\n";
      continue;
    }
    corvane::skin::ByteSpan e = reader.Entry(i);
    WriteFile(folder / name, Bytes(e.data, e.data + e.size));
    order += name + "\n";
  }
  WriteFile(folder / kOrderFile, corvane::skin::ToBytes(order));
}

int Run(const std::vector<std::string>& args) {
  auto need = [&](std::size_t n) {
    if (args.size() != n + 1) throw Failure{"usage: skinpack " + args[0] + " takes " + std::to_string(n) + " arguments"};
  };
  const std::string& cmd = args[0];
  if (cmd == "encode") {
    need(2);
    WriteFile(args[2], corvane::skinpack::EncodeLzh(ReadFile(args[1])));
  } else if (cmd == "decode") {
    need(2);
    Bytes out;
    std::string error;
    if (!corvane::skin::TLZH().DecodeStream(ReadFile(args[1]), out, &error)) throw Failure{error};
    WriteFile(args[2], out);
  } else if (cmd == "pack") {
    need(2);
    Pack(args[1], args[2]);
  } else if (cmd == "unpack") {
    need(2);
    Unpack(args[1], args[2]);
  } else if (cmd == "stream") {
    need(2);
    corvane::skin::TSkinData data;
    if (!data.LoadPackage(ReadFile(args[1]))) throw Failure{data.LastError()};
    WriteFile(args[2], data.WriteSkinStream());
  } else if (cmd == "info") {
    need(1);
    corvane::skin::TSkinReader reader;
    corvane::skin::SkinModel model = LoadModel(ReadFile(args[1]), reader);
    std::cout << corvane::skinpack::SkinInfoJson(model, reader);
  } else {
    throw Failure{"unknown command '" + cmd + "' (encode, decode, pack, unpack, stream, info)"};
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: skinpack encode|decode|pack|unpack|stream|info ...\n";
    return 2;
  }
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const Failure& f) {
    std::cerr << "skinpack: " << f.message << "\n";
  } catch (const std::exception& e) {
    std::cerr << "skinpack: " << e.what() << "\n";
  }
  return 1;
}
