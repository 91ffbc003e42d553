// Building skin packages and describing them.
#pragma once
#include <string>
#include <vector>

#include "skin/bytes.h"

namespace corvane::skin {
class TSkinReader;
struct SkinModel;
}  // namespace corvane::skin

namespace corvane::skinpack {

struct PackageEntry {
  std::string name;
  skin::Bytes data;
};

// The unpacked package: format mark, directory, size table, entry bytes.
// Fails on names that cannot stand in a directory line or too many entries.
bool BuildUnpackedPackage(const std::vector<PackageEntry>& entries, skin::Bytes& out,
                          std::string* error);

// A name that is safe to write as a file in a folder of our choosing.
bool IsPlainFileName(const std::string& name);

// The decoded model as JSON: name, colours, frame pieces, title-bar buttons
// and every optional piece present; the package directory too.
std::string SkinInfoJson(const skin::SkinModel& model, const skin::TSkinReader& reader);

}  // namespace corvane::skinpack
