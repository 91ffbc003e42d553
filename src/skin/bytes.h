// Byte buffers and read-only views over them, with the little-endian reads
// the skin formats use. Every read is bounds-checked by the caller through
// Has(); outside data is never trusted to be as long as it claims.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace corvane::skin {

using Bytes = std::vector<std::uint8_t>;

struct ByteSpan {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;

  ByteSpan() = default;
  ByteSpan(const std::uint8_t* d, std::size_t n) : data(d), size(n) {}
  ByteSpan(const Bytes& b) : data(b.data()), size(b.size()) {}  // NOLINT: views convert freely

  bool Has(std::size_t offset, std::size_t count) const {
    return offset <= size && count <= size - offset;
  }
  ByteSpan Sub(std::size_t offset, std::size_t count) const { return {data + offset, count}; }
  ByteSpan From(std::size_t offset) const { return {data + offset, size - offset}; }
  std::uint16_t U16(std::size_t at) const {
    return static_cast<std::uint16_t>(data[at] | data[at + 1] << 8);
  }
  std::uint32_t U32(std::size_t at) const {
    return static_cast<std::uint32_t>(data[at]) | static_cast<std::uint32_t>(data[at + 1]) << 8 |
           static_cast<std::uint32_t>(data[at + 2]) << 16 |
           static_cast<std::uint32_t>(data[at + 3]) << 24;
  }
  std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
  std::string_view Text() const {
    return {reinterpret_cast<const char*>(data), size};
  }
};

inline void PutU32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline Bytes ToBytes(std::string_view s) { return Bytes(s.begin(), s.end()); }

}  // namespace corvane::skin
