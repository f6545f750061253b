#include "core/page_output.h"

#include <gtest/gtest.h>

namespace quorva {
namespace {

TEST(CompressAtLastRewrite, OnlyNamesThePassWouldCompressAsMarkupOnce) {
  RunSettings settings;
  std::string bytes = "<p>  x  </p>\r\n";
  EXPECT_FALSE(CompressAtLastRewrite(settings, "a.htm", bytes));
  settings.compression = true;
  for (const char* left_to_the_pass : {"a.htm.css", "a.htm.php", "a.txt", "a.css"}) {
    EXPECT_FALSE(CompressAtLastRewrite(settings, left_to_the_pass, bytes)) << left_to_the_pass;
  }
  EXPECT_EQ(bytes, "<p>  x  </p>\r\n");
  EXPECT_TRUE(CompressAtLastRewrite(settings, "A.HTML", bytes));
  EXPECT_EQ(bytes, "<p> x </p>\n");
  EXPECT_TRUE(CompressAtLastRewrite(settings, "page.php3", bytes));
}

}  // namespace
}  // namespace quorva
