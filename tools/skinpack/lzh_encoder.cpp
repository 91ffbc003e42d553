#include "tools/skinpack/lzh_encoder.h"

#include <algorithm>
#include <array>
#include <vector>

#include "skin/lzh.h"

namespace corvane::skinpack {
namespace {

using namespace skin::lzh;

class BitWriter {
 public:
  explicit BitWriter(skin::Bytes& out) : out_(out) {}
  void Put(std::uint32_t value, int n) {  // the low n bits, most significant first
    word_ = word_ << n | (value & ((1u << n) - 1));
    count_ += n;
    while (count_ >= 8) {
      count_ -= 8;
      out_.push_back(static_cast<std::uint8_t>(word_ >> count_));
    }
  }
  void Flush() {
    if (count_ > 0) out_.push_back(static_cast<std::uint8_t>(word_ << (8 - count_)));
    count_ = 0;
  }

 private:
  skin::Bytes& out_;
  std::uint64_t word_ = 0;
  int count_ = 0;
};

// The prefix code of each upper-six-bit value, from the decoder's tables.
struct PositionCodes {
  std::array<std::uint8_t, 64> first_byte{};
  PositionCodes() {
    const PositionTables& t = DecodeTables();
    for (int b = 255; b >= 0; --b) first_byte[t.code[b]] = static_cast<std::uint8_t>(b);
  }
};

class Encoder {
 public:
  Encoder(skin::ByteSpan data, skin::Bytes& out) : bits_(out) {
    // The decoder's ring starts with kRingStart spaces; matches may use them.
    buffer_.assign(kRingStart, ' ');
    buffer_.insert(buffer_.end(), data.data, data.data + data.size);
    head_.fill(-1);
    prev_.fill(-1);
  }

  void Run() {
    std::size_t pos = 0;
    for (; pos < kRingStart; ++pos) Insert(pos);
    while (pos < buffer_.size()) {
      std::size_t from = 0;
      int length = LongestMatch(pos, from);
      if (length > kThreshold) {
        EncodeSymbol(255 - kThreshold + length);
        EncodePosition(static_cast<unsigned>(pos - from - 1));
      } else {
        length = 1;
        EncodeSymbol(buffer_[pos]);
      }
      for (int i = 0; i < length; ++i) Insert(pos++);
    }
    bits_.Flush();
  }

 private:
  static constexpr int kHashBits = 13;
  static constexpr int kMaxChain = 256;

  std::uint32_t Hash(std::size_t pos) const {
    std::uint32_t h = buffer_[pos] << 16 | buffer_[pos + 1] << 8 | buffer_[pos + 2];
    return (h * 2654435761u) >> (32 - kHashBits);
  }
  void Insert(std::size_t pos) {
    if (pos + 2 >= buffer_.size()) return;
    std::uint32_t h = Hash(pos);
    prev_[pos & (kRingSize - 1)] = head_[h];
    head_[h] = static_cast<std::int64_t>(pos);
  }
  int LongestMatch(std::size_t pos, std::size_t& from) const {
    if (pos + 2 >= buffer_.size()) return 0;
    const int limit = static_cast<int>(std::min<std::size_t>(kLookAhead, buffer_.size() - pos));
    const std::int64_t oldest = static_cast<std::int64_t>(pos) - kRingSize;
    int best = 0;
    std::int64_t cand = head_[Hash(pos)];
    for (int chain = 0; cand >= 0 && cand > oldest && chain < kMaxChain; ++chain) {
      std::size_t c = static_cast<std::size_t>(cand);
      int n = 0;
      while (n < limit && buffer_[c + n] == buffer_[pos + n]) ++n;
      if (n > best) {
        best = n;
        from = c;
        if (n == limit) break;
      }
      std::int64_t next = prev_[c & (kRingSize - 1)];
      if (next >= cand) break;  // slot reused by a newer position
      cand = next;
    }
    return best;
  }

  void EncodeSymbol(int c) {
    std::uint64_t path = 0;
    int depth = 0;
    for (int node = tree_.LeafOf(c); node != kRoot; node = tree_.Parent(node)) {
      path |= static_cast<std::uint64_t>(node - tree_.Son(tree_.Parent(node))) << depth;
      ++depth;
    }
    for (int i = depth - 1; i >= 0; --i) bits_.Put(static_cast<std::uint32_t>(path >> i) & 1, 1);
    tree_.Update(c);
  }
  void EncodePosition(unsigned distance) {
    unsigned upper = distance >> 6;
    int length = PositionCodeLength(static_cast<int>(upper));
    bits_.Put(codes_.first_byte[upper] >> (8 - length), length);
    bits_.Put(distance & 0x3F, 6);
  }

  BitWriter bits_;
  AdaptiveHuffman tree_;
  PositionCodes codes_;
  std::vector<std::uint8_t> buffer_;
  std::array<std::int64_t, 1 << kHashBits> head_;
  std::array<std::int64_t, kRingSize> prev_;
};

}  // namespace

skin::Bytes EncodeLzh(skin::ByteSpan data) {
  skin::Bytes out;
  skin::PutU32(out, static_cast<std::uint32_t>(data.size));
  Encoder(data, out).Run();
  return out;
}

}  // namespace corvane::skinpack
