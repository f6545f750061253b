#include "text/byte_finder.h"

#include <gtest/gtest.h>

#include <string>

namespace quorva {
namespace {

// Whatever the text's size and wherever the bytes stand (in a 64-byte window, at its edges, in
// the short tail after the last whole one), each call gives what a plain search gives, also
// after calls that went further or came back.
TEST(ByteFinderTest, FindsWhatAPlainSearchFinds) {
  for (std::size_t size : {0, 1, 15, 63, 64, 65, 127, 128, 129, 200}) {
    for (std::size_t step : {1, 7, 63, 64, 65}) {
      std::string text(size, 'x');
      for (std::size_t at = step - 1; at < size; at += step) {
        text[at] = '<';
      }
      ByteFinder finder(text, '<');
      for (std::size_t from = 0; from <= size + 1; ++from) {
        const std::size_t expected = std::min(text.find('<', from), text.size());
        EXPECT_EQ(finder.Next(from), expected) << size << " " << step << " " << from;
      }
      for (std::size_t from = size + 1; from-- > 0;) {
        EXPECT_EQ(finder.Next(from), std::min(text.find('<', from), text.size()));
      }
    }
  }
}

}  // namespace
}  // namespace quorva
