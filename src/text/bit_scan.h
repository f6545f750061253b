#pragma once

#include <cstdint>

#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#endif

namespace quorva {

// The lowest set bit's place in `bits`, which is not 0.
inline int CountTrailingZeros(std::uint64_t bits) {
#if defined(_MSC_VER) && !defined(__clang__)
  unsigned long index = 0;
  _BitScanForward64(&index, bits);
  return static_cast<int>(index);
#else
  return __builtin_ctzll(bits);
#endif
}

}  // namespace quorva
