#include "text/byte_finder.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace quorva {

std::uint64_t ByteFinder::MaskAt(std::size_t window) const {
  const char* const at = text_.data() + window;
  const std::size_t left = text_.size() - window;
  std::uint64_t mask = 0;
#if defined(__SSE2__) || defined(_M_X64)
  if (left >= 64) {
    const __m128i wanted = _mm_set1_epi8(byte_);
    for (int block = 0; block < 4; ++block) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * block));
      const auto bits =
          static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted)));
      mask |= static_cast<std::uint64_t>(bits) << (16 * block);
    }
    return mask;
  }
#endif
  for (std::size_t i = 0; i < left && i < 64; ++i) {
    mask |= static_cast<std::uint64_t>(at[i] == byte_) << i;
  }
  return mask;
}

std::size_t ByteFinder::NextInLaterWindows(std::size_t from) {
  const std::size_t size = text_.size();
  if (from >= size) {
    return size;
  }
  std::size_t window = from - from % 64;
  std::uint64_t below = ~std::uint64_t{0} << (from - window);
  while (true) {
    if (window != window_) {
      mask_ = MaskAt(window);
      window_ = window;
    }
    const std::uint64_t bits = mask_ & below;
    if (bits != 0) {
      return window + static_cast<std::size_t>(CountTrailingZeros(bits));
    }
    window += 64;
    if (window >= size) {
      return size;
    }
    below = ~std::uint64_t{0};
  }
}

}  // namespace quorva
