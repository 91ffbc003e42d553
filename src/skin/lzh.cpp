#include "skin/lzh.h"

#include <cstring>
#include <memory>
#include <new>

namespace corvane::skin {
namespace lzh {

int PositionCodeLength(int upper) {
  static constexpr int kCounts[] = {1, 3, 8, 12, 24, 16};  // codes of 3..8 bits
  for (int len = 3, first = 0; len <= 8; ++len) {
    first += kCounts[len - 3];
    if (upper < first) return len;
  }
  return 8;
}

const PositionTables& DecodeTables() {
  static const PositionTables tables = [] {
    PositionTables t{};
    int byte = 0;
    for (int upper = 0; upper < 64; ++upper) {
      int span = 1 << (8 - PositionCodeLength(upper));
      for (int i = 0; i < span; ++i, ++byte) {
        t.code[byte] = static_cast<std::uint8_t>(upper);
        t.length[byte] = static_cast<std::uint8_t>(PositionCodeLength(upper));
      }
    }
    return t;
  }();
  return tables;
}

void AdaptiveHuffman::Reset() {
  for (int i = 0; i < kCharCount; ++i) {
    freq_[i] = 1;
    son_[i] = static_cast<std::int16_t>(i + kTableSize);
    parent_[i + kTableSize] = static_cast<std::int16_t>(i);
  }
  for (int i = 0, j = kCharCount; j <= kRoot; i += 2, ++j) {
    freq_[j] = static_cast<std::uint16_t>(freq_[i] + freq_[i + 1]);
    son_[j] = static_cast<std::int16_t>(i);
    parent_[i] = parent_[i + 1] = static_cast<std::int16_t>(j);
  }
  freq_[kTableSize] = 0xFFFF;  // sentinel for the sibling search
  parent_[kRoot] = 0;
}

void AdaptiveHuffman::Rebuild() {
  // Gather the leaves with halved counts, then pair them up again; each new
  // node goes after the last node whose count is not above its own.
  int j = 0;
  for (int i = 0; i < kTableSize; ++i) {
    if (son_[i] >= kTableSize) {
      freq_[j] = static_cast<std::uint16_t>((freq_[i] + 1) / 2);
      son_[j] = son_[i];
      ++j;
    }
  }
  for (int i = 0, n = kCharCount; n < kTableSize; i += 2, ++n) {
    std::uint16_t f = static_cast<std::uint16_t>(freq_[i] + freq_[i + 1]);
    int k = n - 1;
    while (f < freq_[k]) --k;
    ++k;
    std::size_t moved = static_cast<std::size_t>(n - k);
    std::memmove(&freq_[k + 1], &freq_[k], moved * sizeof freq_[0]);
    std::memmove(&son_[k + 1], &son_[k], moved * sizeof son_[0]);
    freq_[k] = f;
    son_[k] = static_cast<std::int16_t>(i);
  }
  for (int i = 0; i < kTableSize; ++i) {
    int k = son_[i];
    parent_[k] = static_cast<std::int16_t>(i);
    if (k < kTableSize) parent_[k + 1] = static_cast<std::int16_t>(i);
  }
}

void AdaptiveHuffman::Update(int c) {
  if (freq_[kRoot] == kMaxFreq) Rebuild();
  int node = parent_[c + kTableSize];
  do {
    unsigned k = ++freq_[node];
    int l = node + 1;
    if (k > freq_[l]) {
      // Swap with the last node of a lower count to keep counts sorted.
      while (k > freq_[++l]) {
      }
      --l;
      freq_[node] = freq_[l];
      freq_[l] = static_cast<std::uint16_t>(k);
      int i = son_[node];
      parent_[i] = static_cast<std::int16_t>(l);
      if (i < kTableSize) parent_[i + 1] = static_cast<std::int16_t>(l);
      int j = son_[l];
      son_[l] = static_cast<std::int16_t>(i);
      parent_[j] = static_cast<std::int16_t>(node);
      if (j < kTableSize) parent_[j + 1] = static_cast<std::int16_t>(node);
      son_[node] = static_cast<std::int16_t>(j);
      node = l;
    }
    node = parent_[node];
  } while (node != 0);
}

}  // namespace lzh

namespace {

// Most significant bit first, kept in a machine word and refilled by bytes;
// bytes past the end read as zero.
class BitReader {
 public:
  explicit BitReader(ByteSpan in) : p_(in.data), end_(in.data + in.size) {}

  unsigned Bit() { return Bits(1); }
  unsigned Bits(int n) {
    if (count_ < n) Refill();
    count_ -= n;
    return static_cast<unsigned>(word_ >> count_) & ((1u << n) - 1);
  }

 private:
  void Refill() {
    while (count_ <= 56) {
      word_ = word_ << 8 | (p_ < end_ ? *p_++ : 0u);
      count_ += 8;
    }
  }
  const std::uint8_t* p_;
  const std::uint8_t* end_;
  std::uint64_t word_ = 0;
  int count_ = 0;
};

struct DecoderState {
  lzh::AdaptiveHuffman tree;
  std::array<std::uint8_t, lzh::kRingSize> ring{};
};

void SetError(std::string* error, const char* text) {
  if (error) *error = text;
}

}  // namespace

bool TLZH::DecodeStream(ByteSpan in, Bytes& out, std::string* error, std::uint32_t max_size) {
  using namespace lzh;
  out.clear();
  if (!in.Has(0, 4)) {
    SetError(error, "LZH : stream too short for its size field");
    return false;
  }
  std::int32_t declared = in.I32(0);
  if (declared < 0) {
    SetError(error, "LZH : negative unpacked size");
    return false;
  }
  std::uint32_t size = static_cast<std::uint32_t>(declared);
  if (size > max_size) {
    SetError(error, max_size == lzh::kMaxUnpackedSize ? "LZH : unpacked size beyond the 64 MiB limit"
                                                      : "LZH : unpacked size beyond the limit");
    return false;
  }
  std::unique_ptr<DecoderState> state;
  try {
    state = std::make_unique<DecoderState>();
    out.resize(size);
  } catch (const std::bad_alloc&) {
    out.clear();
    SetError(error, "LZH : Cannot get memory for dictionary tables");
    return false;
  }
  const PositionTables& tables = DecodeTables();
  AdaptiveHuffman& tree = state->tree;
  std::uint8_t* ring = state->ring.data();
  std::memset(ring, ' ', kRingStart);
  BitReader bits(in.From(4));
  unsigned r = kRingStart;
  std::uint8_t* dst = out.data();
  std::uint8_t* const end = dst + size;
  while (dst < end) {
    int c = tree.Son(kRoot);
    while (c < kTableSize) c = tree.Son(c + static_cast<int>(bits.Bit()));
    c -= kTableSize;
    tree.Update(c);
    if (c < 256) {
      *dst++ = static_cast<std::uint8_t>(c);
      ring[r] = static_cast<std::uint8_t>(c);
      r = (r + 1) & (kRingSize - 1);
      continue;
    }
    unsigned i = bits.Bits(8);
    unsigned upper = tables.code[i];
    int extra = tables.length[i] - 2;
    i = (i << extra | bits.Bits(extra)) & 0x3F;
    unsigned distance = upper << 6 | i;
    unsigned from = (r - distance - 1) & (kRingSize - 1);
    int length = c - 255 + kThreshold;
    for (int k = 0; k < length && dst < end; ++k) {
      std::uint8_t b = ring[(from + static_cast<unsigned>(k)) & (kRingSize - 1)];
      *dst++ = b;
      ring[r] = b;
      r = (r + 1) & (kRingSize - 1);
    }
  }
  return true;
}

}  // namespace corvane::skin
