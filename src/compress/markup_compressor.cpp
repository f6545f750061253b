#include "compress/markup_compressor.h"

#include <array>

#include "compress/inline_whitespace.h"
#include "compress/rewrite_file.h"
#include "driver/text_utils.h"

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

// True when the written text ends with the pre tag `tag` ("<pre>" or "</pre>"), letters in any
// case; the letter before ">" is looked at first, since most tags end otherwise.
bool EndsWithPreTag(const char* begin, const char* end, std::string_view tag) {
  return end - begin >= static_cast<std::ptrdiff_t>(tag.size()) && (end[-2] | 0x20) == 'e' &&
         EndsWithWithoutCase(std::string_view(begin, static_cast<std::size_t>(end - begin)), tag);
}

}  // namespace

std::string CompressMarkupText(std::string_view text) {
  // The output is never longer than the input, so one buffer of its size takes all of it.
  std::string output(text.size(), '\0');
  char* const begin = output.data();
  char* end = begin;
  bool outside_pre = true;
  bool after_space = false;
  bool after_line_feed = false;
  const char* in = text.data();
  const char* const in_end = in + text.size();
  while (in < in_end) {
    const char c = *in++;
    switch (KindOf(c)) {
      case ByteKind::kOrdinary: {
        *end++ = c;
        while (in < in_end && KindOf(*in) == ByteKind::kOrdinary) {
          *end++ = *in++;
        }
        after_space = false;
        after_line_feed = false;
        break;
      }
      case ByteKind::kLineFeed:
        if (!after_line_feed) {
          *end++ = c;
          after_line_feed = true;
        }
        after_space = true;
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
  output.resize(static_cast<std::size_t>(end - begin));
  return output;
}

bool CompressMarkupFile(FileSystem& fs, const std::string& path) {
  return RewriteFile(fs, path, CompressMarkupText);
}

}  // namespace quorva
