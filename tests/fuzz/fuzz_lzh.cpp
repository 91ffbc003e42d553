// Any byte string as a code stream; the declared size is capped small so a
// run spends its time decoding, not filling zeros.
#include "skin/lzh.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  corvane::skin::Bytes out;
  std::string error;
  corvane::skin::ByteSpan in(data, size);
  if (corvane::skin::TLZH().DecodeStream(in, out, &error, 1 << 16)) {
    if (out.size() != in.U32(0)) __builtin_trap();
  }
  return 0;
}
