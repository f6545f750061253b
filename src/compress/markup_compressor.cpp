#include "compress/markup_compressor.h"

#include "compress/inline_whitespace.h"
#include "compress/rewrite_file.h"
#include "driver/text_utils.h"

namespace quorva {

std::string CompressMarkupText(std::string_view text) {
  // The output is never longer than the input, so one buffer of its size takes all of it.
  std::string output(text.size(), '\0');
  char* const begin = output.data();
  char* end = begin;
  bool outside_pre = true;
  bool after_space = false;
  bool after_line_feed = false;
  for (char c : text) {
    if (c == '\n') {
      if (!after_line_feed) {
        *end++ = c;
        after_line_feed = true;
      }
      after_space = true;
    } else if (c == '\r') {
      continue;
    } else if (c == '<') {
      *end++ = c;
      after_space = true;
      after_line_feed = false;
    } else if (IsInlineWhitespace(c)) {
      if (after_space && outside_pre) {
        continue;
      }
      *end++ = c;
      after_space = true;
      after_line_feed = false;
    } else {
      if (c == '>' && outside_pre && end != begin && end[-1] == ' ') {
        --end;  // "x >" becomes "x>"
      }
      *end++ = c;
      after_space = false;
      after_line_feed = false;
      // Only a ">" can complete a pre tag, so the tail is looked at for nothing else.
      if (c == '>') {
        std::string_view written(begin, static_cast<std::size_t>(end - begin));
        if (EndsWithWithoutCase(written, "<pre>")) {
          outside_pre = false;
        } else if (EndsWithWithoutCase(written, "</pre>")) {
          outside_pre = true;
        }
      }
    }
  }
  output.resize(static_cast<std::size_t>(end - begin));
  return output;
}

bool CompressMarkupFile(FileSystem& fs, const std::string& path) {
  return RewriteFile(fs, path, CompressMarkupText);
}

}  // namespace quorva
