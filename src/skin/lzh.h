// LZHUF: LZSS over a 4096-byte ring with adaptively Huffman-coded symbols.
// A stream is a 4-byte little-endian unpacked size followed by the codes.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "skin/bytes.h"

namespace corvane::skin {

namespace lzh {
inline constexpr int kRingSize = 4096;
inline constexpr int kLookAhead = 60;        // longest match
inline constexpr int kThreshold = 2;         // a match is longer than this
inline constexpr int kRingStart = kRingSize - kLookAhead;
inline constexpr int kCharCount = 256 - kThreshold + kLookAhead;  // 314 symbols
inline constexpr int kTableSize = kCharCount * 2 - 1;              // 627 nodes
inline constexpr int kRoot = kTableSize - 1;
inline constexpr unsigned kMaxFreq = 0x8000;

// Refuse to unpack anything larger: no skin comes near it.
inline constexpr std::uint32_t kMaxUnpackedSize = 64u << 20;

// The upper six bits of a match distance are coded with a fixed prefix code:
// 1 code of 3 bits, 3 of 4, 8 of 5, 12 of 6, 24 of 7 and 16 of 8, assigned in
// ascending order. Indexed by the next 8 input bits.
struct PositionTables {
  std::array<std::uint8_t, 256> code;    // upper six bits of the distance
  std::array<std::uint8_t, 256> length;  // bits the prefix code really takes
};
const PositionTables& DecodeTables();
// Code length of each of the 64 upper-bit values.
int PositionCodeLength(int upper);

// The adaptive Huffman tree both directions keep in step. Node k's children
// are son[k] and son[k] + 1; a node whose son is kTableSize or more is the
// leaf of symbol son - kTableSize. parent[kTableSize + s] is the leaf of s.
class AdaptiveHuffman {
 public:
  AdaptiveHuffman() { Reset(); }
  void Reset();
  // Counts one more occurrence of symbol c and restores the sibling order.
  void Update(int c);

  int Son(int node) const { return son_[node]; }
  int Parent(int node) const { return parent_[node]; }
  int LeafOf(int symbol) const { return parent_[symbol + kTableSize]; }

 private:
  void Rebuild();
  std::array<std::uint16_t, kTableSize + 1> freq_;
  std::array<std::int16_t, kTableSize + kCharCount> parent_;
  std::array<std::int16_t, kTableSize> son_;
};
}  // namespace lzh

class TLZH {
 public:
  // Decodes a whole stream (size then codes) into out. A truncated code
  // stream reads as if padded with zero bytes; output stops at the declared
  // size. Fails, with a reason in *error, on a missing or oversized size.
  bool DecodeStream(ByteSpan in, Bytes& out, std::string* error = nullptr,
                    std::uint32_t max_size = lzh::kMaxUnpackedSize);
};

}  // namespace corvane::skin
