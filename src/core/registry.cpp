#include "core/registry.h"

namespace corvane {

std::string DwordData(std::uint32_t v) {
  std::string d(4, '\0');
  for (int i = 0; i < 4; ++i) d[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return d;
}

std::string SzData(const std::string& text) { return text + '\0'; }

}  // namespace corvane
