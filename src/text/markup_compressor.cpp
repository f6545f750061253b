#include "text/markup_compressor.h"

#include <array>
#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif
#include "text/bit_scan.h"
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

// Where the compressor stands between two bytes.
struct CompressorState {
  bool outside_pre = true;
  bool after_space = false;
  bool after_line_feed = false;
};

// True when the written text ends with the pre tag `tag` ("<pre>" or "</pre>"), letters in any
// case; the letter before ">" is looked at first, since most tags end otherwise.
bool EndsWithPreTag(const char* begin, const char* end, std::string_view tag) {
  return end - begin >= static_cast<std::ptrdiff_t>(tag.size()) && (end[-2] | 0x20) == 'e' &&
         EndsWithWithoutCase(std::string_view(begin, static_cast<std::size_t>(end - begin)), tag);
}

// Takes one byte of the input: what it adds to the output at `end`, written from `begin`, and
// what it does to the state. Every byte can go this way; ordinary ones mostly go in runs.
char* TakeByte(char c, CompressorState& state, char* const begin, char* end) {
  switch (KindOf(c)) {
    case ByteKind::kOrdinary:
      *end++ = c;
      state.after_space = false;
      state.after_line_feed = false;
      break;
    case ByteKind::kLineFeed:
      if (!state.after_line_feed) {
        *end++ = c;
        state.after_line_feed = true;
      }
      state.after_space = true;  // so the next line's indentation goes outside pre
      break;
    case ByteKind::kReturn:
      break;
    case ByteKind::kLess:
      *end++ = c;
      state.after_space = true;
      state.after_line_feed = false;
      break;
    case ByteKind::kWhitespace:
      if (state.after_space && state.outside_pre) {
        break;
      }
      *end++ = c;
      state.after_space = true;
      state.after_line_feed = false;
      break;
    case ByteKind::kGreater:
      if (state.outside_pre && end != begin && end[-1] == ' ') {
        --end;  // "x >" becomes "x>"
      }
      *end++ = c;
      state.after_space = false;
      state.after_line_feed = false;
      // Only a ">" can complete a pre tag, so the tail is looked at for nothing else.
      if (EndsWithPreTag(begin, end, "<pre>")) {
        state.outside_pre = false;
      } else if (EndsWithPreTag(begin, end, "</pre>")) {
        state.outside_pre = true;
      }
      break;
  }
  return end;
}

#if defined(__SSE2__) || defined(_M_X64)
struct BlockKinds {
  std::uint32_t whitespace;  // bit i: byte i is inline white space
  std::uint32_t ordinary;    // bit i: byte i is ordinary
};

BlockKinds ClassifyBlock(__m128i block) {
  // Tab, line feed, vertical tab, form feed and carriage return are the bytes 9 to 13; "<" and
  // ">" differ in one bit.
  const __m128i from_tab = _mm_sub_epi8(block, _mm_set1_epi8('\t'));
  const __m128i controls = _mm_cmpeq_epi8(_mm_min_epu8(from_tab, _mm_set1_epi8(4)), from_tab);
  const __m128i line_ends = _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('\n')),
                                         _mm_cmpeq_epi8(block, _mm_set1_epi8('\r')));
  const __m128i spaces = _mm_cmpeq_epi8(block, _mm_set1_epi8(' '));
  const __m128i brackets =
      _mm_cmpeq_epi8(_mm_or_si128(block, _mm_set1_epi8(2)), _mm_set1_epi8('>'));
  const __m128i whitespace = _mm_or_si128(spaces, _mm_andnot_si128(line_ends, controls));
  const __m128i special = _mm_or_si128(_mm_or_si128(controls, spaces), brackets);
  return {static_cast<std::uint32_t>(_mm_movemask_epi8(whitespace)),
          ~static_cast<std::uint32_t>(_mm_movemask_epi8(special)) & 0xFFFFu};
}

__m128i LoadBlock(const char* at) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}
#endif

// Compresses [in, in_end) into the buffer at `begin`, which has room for as many bytes, and gives
// the end of what it wrote. The output never runs ahead of the input, so `begin` may be `in`
// itself: no input byte is read from memory once output may have been written over it.
//
// Sixteen bytes at a time, the bytes that stay as they are in any state are copied in pieces:
// ordinary bytes, and lone white space between two ordinary bytes (after an ordinary byte,
// white space is always kept, and the ordinary byte after it undoes what it did to the state).
// Every other byte goes through TakeByte.
char* CompressMarkupInto(const char* in, const char* const in_end, char* const begin) {
  char* end = begin;
  CompressorState state;
#if defined(__SSE2__) || defined(_M_X64)
  if (in_end - in >= 32) {
    // The block in hand and the next, kept out of memory the output may overwrite: output at
    // most a block behind the input reaches no further than the next block.
    alignas(16) char blocks[32];
    __m128i block = LoadBlock(in);
    BlockKinds kinds = ClassifyBlock(block);
    std::uint32_t ordinary_before = 0;  // the byte before the block is ordinary
    while (in_end - in >= 32) {
      const __m128i next = LoadBlock(in + 16);
      const BlockKinds next_kinds = ClassifyBlock(next);
      _mm_store_si128(reinterpret_cast<__m128i*>(blocks), block);
      _mm_store_si128(reinterpret_cast<__m128i*>(blocks + 16), next);
      const std::uint32_t left = ((kinds.ordinary << 1) | ordinary_before) & 0xFFFFu;
      const std::uint32_t right = (kinds.ordinary >> 1) | ((next_kinds.ordinary & 1u) << 15);
      std::uint32_t stops = ~(kinds.ordinary | (kinds.whitespace & left & right)) & 0xFFFFu;
      int from = 0;
      while (true) {
        const int to = stops == 0 ? 16 : CountTrailingZeros(stops);
        if (to > from) {
          // Sixteen bytes go at once; those past the piece are written over later, as the
          // output never runs ahead of the input.
          _mm_storeu_si128(reinterpret_cast<__m128i*>(end), LoadBlock(blocks + from));
          end += to - from;
          state.after_space = false;
          state.after_line_feed = false;
        }
        if (stops == 0) {
          break;
        }
        end = TakeByte(blocks[to], state, begin, end);
        from = to + 1;
        stops &= stops - 1;
        if (state.after_space && state.outside_pre) {
          // The white space right after goes as a whole: a line's indentation, mostly.
          const int dropped = CountTrailingZeros(~(kinds.whitespace >> from));
          stops &= ~((1u << (from + dropped)) - 1u);
          from += dropped;
        }
      }
      ordinary_before = (kinds.ordinary >> 15) & 1u;
      block = next;
      kinds = next_kinds;
      in += 16;
    }
    // The last block in hand goes byte by byte with the rest.
    _mm_store_si128(reinterpret_cast<__m128i*>(blocks), block);
    for (int i = 0; i < 16; ++i) {
      end = TakeByte(blocks[i], state, begin, end);
    }
    in += 16;
  }
#endif
  while (in < in_end) {
    end = TakeByte(*in++, state, begin, end);
  }
  return end;
}

}  // namespace

std::string CompressMarkupText(std::string_view text) {
  // The output is never longer than the input, so one buffer of its size takes all of it.
  std::string output(text.size(), '\0');
  const char* const end = CompressMarkupInto(text.data(), text.data() + text.size(), output.data());
  output.resize(static_cast<std::size_t>(end - output.data()));
  return output;
}

void CompressMarkupInPlace(std::string& text) {
  char* const begin = text.data();
  const char* const end = CompressMarkupInto(begin, begin + text.size(), begin);
  text.resize(static_cast<std::size_t>(end - begin));
}

}  // namespace quorva
