#include "text/markup_compressor.h"

#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif
#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#endif

#include "text/inline_whitespace.h"
#include "text/text_utils.h"

namespace quorva {

namespace {

// What a byte does to the compressor; most bytes are ordinary and are copied in runs.
enum class ByteKind : unsigned char { kOrdinary, kLineFeed, kReturn, kLess, kGreater, kWhitespace };

constexpr std::array<ByteKind, 256> ClassifyBytes() {
  std::array<ByteKind, 256> kinds{};
  for (int c = 0; c < 256; ++c) {
    ByteKind kind = ByteKind::kOrdinary;
    if (c == '\n') {
      kind = ByteKind::kLineFeed;
    } else if (c == '\r') {
      kind = ByteKind::kReturn;
    } else if (c == '<') {
      kind = ByteKind::kLess;
    } else if (c == '>') {
      kind = ByteKind::kGreater;
    } else if (IsInlineWhitespace(static_cast<char>(c))) {
      kind = ByteKind::kWhitespace;
    }
    kinds[static_cast<std::size_t>(c)] = kind;
  }
  return kinds;
}

constexpr std::array<ByteKind, 256> kByteKinds = ClassifyBytes();

ByteKind KindOf(char c) {
  return kByteKinds[static_cast<unsigned char>(c)];
}

#if defined(__SSE2__) || defined(_M_X64)
// Bit i set for each of the 16 bytes at `at` that equals one of `bytes`.
template <typename... Bytes>
std::uint32_t BytesEqualMask(const char* at, Bytes... bytes) {
  const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  __m128i any = _mm_setzero_si128();
  ((any = _mm_or_si128(any, _mm_cmpeq_epi8(block, _mm_set1_epi8(bytes)))), ...);
  return static_cast<std::uint32_t>(_mm_movemask_epi8(any));
}

int CountTrailingZeros(std::uint32_t bits) {
#if defined(_MSC_VER) && !defined(__clang__)
  unsigned long index = 0;
  _BitScanForward(&index, bits);
  return static_cast<int>(index);
#else
  return __builtin_ctz(bits);
#endif
}

struct BlockKinds {
  std::uint32_t whitespace;  // bit i: byte i is inline white space
  std::uint32_t ordinary;    // bit i: byte i is ordinary
};

BlockKinds ClassifyBlock(const char* at) {
  const std::uint32_t whitespace = BytesEqualMask(at, ' ', '\t', '\v', '\f');
  const std::uint32_t special = BytesEqualMask(at, '\n', '\r', '<', '>');
  return {whitespace, ~(whitespace | special) & 0xFFFFu};
}
#endif

// Scans a plain run byte by byte from `in` up to `limit` (or one byte past it, after a white
// space byte), and stops before the first byte that ends the run.
const char* SkipPlainBytes(const char* in, const char* const limit, const char* const in_end) {
  while (in < limit) {
    if (KindOf(*in) == ByteKind::kOrdinary) {
      ++in;
    } else if (KindOf(*in) == ByteKind::kWhitespace && in + 1 < in_end &&
               KindOf(in[1]) == ByteKind::kOrdinary) {
      in += 2;
    } else {
      break;
    }
  }
  return in;
}

// The end of the plain run that starts at the ordinary byte `in`: ordinary bytes, and lone
// white-space bytes between two ordinary ones. Such bytes stay as they are in any state. Only a
// white-space byte's right-hand neighbour needs looking at: the byte before it is part of the
// run, and white space there would itself have ended the run.
const char* SkipPlainRun(const char* in, const char* const in_end) {
  // Most runs are short (a tag name, a word): their first bytes are looked at one by one.
  constexpr std::ptrdiff_t kShortRun = 16;
  const char* const short_end = in_end - in > kShortRun ? in + kShortRun : in_end;
  in = SkipPlainBytes(in, short_end, in_end);
  if (in < short_end) {
    return in;
  }
#if defined(__SSE2__) || defined(_M_X64)
  // Then sixteen bytes at a time while the next block is there to tell the last byte's
  // right-hand neighbour.
  if (in_end - in >= 32) {
    BlockKinds block = ClassifyBlock(in);
    while (in_end - in >= 32) {
      const BlockKinds next = ClassifyBlock(in + 16);
      const std::uint32_t right_ordinary = (block.ordinary >> 1) | ((next.ordinary & 1u) << 15);
      const std::uint32_t stops = ~(block.ordinary | (block.whitespace & right_ordinary)) & 0xFFFFu;
      if (stops != 0) {
        return in + CountTrailingZeros(stops);
      }
      block = next;
      in += 16;
    }
  }
#endif
  return SkipPlainBytes(in, in_end, in_end);
}

// Moves `in` past inline white space, which is dropped after a space or line feed outside pre.
void SkipWhitespace(const char*& in, const char* const in_end) {
  while (in < in_end && KindOf(*in) == ByteKind::kWhitespace) {
    ++in;
  }
}

// True when the written text ends with the pre tag `tag` ("<pre>" or "</pre>"), letters in any
// case; the letter before ">" is looked at first, since most tags end otherwise.
bool EndsWithPreTag(const char* begin, const char* end, std::string_view tag) {
  return end - begin >= static_cast<std::ptrdiff_t>(tag.size()) && (end[-2] | 0x20) == 'e' &&
         EndsWithWithoutCase(std::string_view(begin, static_cast<std::size_t>(end - begin)), tag);
}

// Compresses [in, in_end) into the buffer at `begin`, which has room for as many bytes, and gives
// the end of what it wrote. The output never runs ahead of the input, so `begin` may be `in`
// itself (kInPlace).
template <bool kInPlace>
char* CompressMarkupInto(const char* in, const char* const in_end, char* const begin) {
  char* const output_end = begin + (in_end - in);
  char* end = begin;
  bool outside_pre = true;
  bool after_space = false;
  bool after_line_feed = false;
  while (in < in_end) {
    // Most of a page's text is plain runs, found first and copied in one piece.
    if (KindOf(*in) == ByteKind::kOrdinary) {
      const char* const run = in;
      in = SkipPlainRun(in, in_end);
      const std::size_t length = static_cast<std::size_t>(in - run);
      if constexpr (kInPlace) {
        // Where nothing was dropped yet, the run is where it belongs.
        if (end != run) {
          std::memmove(end, run, length);
        }
      } else {
        // A short run is copied as one fixed block when both buffers have room: the bytes past
        // it are written over later, since the output never runs ahead of the input.
        constexpr std::size_t kBlock = 16;
        const bool block_fits = in_end - run >= static_cast<std::ptrdiff_t>(kBlock) &&
                                output_end - end >= static_cast<std::ptrdiff_t>(kBlock);
        std::memcpy(end, run, length <= kBlock && block_fits ? kBlock : length);
      }
      end += length;
      after_space = false;
      after_line_feed = false;
      continue;
    }
    const char c = *in++;
    switch (KindOf(c)) {
      case ByteKind::kOrdinary:
        break;  // taken by the run above
      case ByteKind::kLineFeed:
        if (!after_line_feed) {
          *end++ = c;
          after_line_feed = true;
        }
        after_space = true;
        if (outside_pre) {
          SkipWhitespace(in, in_end);  // the next line's indentation
        }
        break;
      case ByteKind::kReturn:
        break;
      case ByteKind::kLess:
        *end++ = c;
        after_space = true;
        after_line_feed = false;
        break;
      case ByteKind::kWhitespace:
        if (after_space && outside_pre) {
          // The rest of the run goes too; dropping a byte changes no state.
          SkipWhitespace(in, in_end);
          break;
        }
        *end++ = c;
        after_space = true;
        after_line_feed = false;
        break;
      case ByteKind::kGreater:
        if (outside_pre && end != begin && end[-1] == ' ') {
          --end;  // "x >" becomes "x>"
        }
        *end++ = c;
        after_space = false;
        after_line_feed = false;
        // Only a ">" can complete a pre tag, so the tail is looked at for nothing else.
        if (EndsWithPreTag(begin, end, "<pre>")) {
          outside_pre = false;
        } else if (EndsWithPreTag(begin, end, "</pre>")) {
          outside_pre = true;
        }
        break;
    }
  }
  return end;
}

}  // namespace

std::string CompressMarkupText(std::string_view text) {
  // The output is never longer than the input, so one buffer of its size takes all of it.
  std::string output(text.size(), '\0');
  const char* const end =
      CompressMarkupInto<false>(text.data(), text.data() + text.size(), output.data());
  output.resize(static_cast<std::size_t>(end - output.data()));
  return output;
}

void CompressMarkupInPlace(std::string& text) {
  char* const begin = text.data();
  const char* const end = CompressMarkupInto<true>(begin, begin + text.size(), begin);
  text.resize(static_cast<std::size_t>(end - begin));
}

}  // namespace quorva
