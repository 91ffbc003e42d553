// The LZHUF encoder for the skin packer: greedy LZSS matching over the same
// ring the decoder keeps, symbols coded with the shared adaptive tree.
#pragma once
#include "skin/bytes.h"

namespace corvane::skinpack {

// The 4-byte little-endian size, then the code stream.
skin::Bytes EncodeLzh(skin::ByteSpan data);

}  // namespace corvane::skinpack
