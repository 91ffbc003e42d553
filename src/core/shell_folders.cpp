#include "core/shell_folders.h"

#include <algorithm>
#include <cstdint>

namespace corvane {
namespace {

std::uint32_t Le(std::string_view b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}

}  // namespace

void ShellFolders::SortByName(std::vector<ShellItem>::iterator first,
                              std::vector<ShellItem>::iterator last) {
  std::stable_sort(first, last,
                   [this](const ShellItem& a, const ShellItem& b) { return CompareNames(a, b) < 0; });
}

bool LooksLikeIconFile(std::string_view bytes) {
  constexpr std::size_t kHeader = 6, kEntry = 16;
  if (bytes.size() < kHeader || Le(bytes, 0, 2) != 0 || Le(bytes, 2, 2) != 1) return false;
  std::size_t count = Le(bytes, 4, 2);
  if (count == 0 || bytes.size() < kHeader + count * kEntry) return false;
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t e = kHeader + i * kEntry;
    std::uint64_t size = Le(bytes, e + 8, 4), offset = Le(bytes, e + 12, 4);
    if (size == 0 || offset < kHeader + count * kEntry || offset + size > bytes.size())
      return false;
  }
  return true;
}

}  // namespace corvane
