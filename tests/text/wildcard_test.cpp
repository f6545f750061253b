#include "text/wildcard.h"

#include <gtest/gtest.h>

namespace quorva {
namespace {

TEST(MatchesWildcard, StarIsAnyRunAndLettersIgnoreCase) {
  EXPECT_TRUE(MatchesWildcard("a.htm", "*.htm*"));
  EXPECT_TRUE(MatchesWildcard("A.HTML", "*.htm*"));
  EXPECT_TRUE(MatchesWildcard("x.htm.bak", "*.htm*"));
  EXPECT_TRUE(MatchesWildcard("x.php3", "*.php*"));
  EXPECT_TRUE(MatchesWildcard("S.CSS", "*.css"));
  EXPECT_FALSE(MatchesWildcard("x.css.bak", "*.css"));
  EXPECT_FALSE(MatchesWildcard("x.php", "*.htm*"));
  EXPECT_FALSE(MatchesWildcard("htm", "*.htm*"));
  EXPECT_TRUE(MatchesWildcard(".htm", "*.htm*"));
  EXPECT_TRUE(MatchesWildcard("", "*"));
}

TEST(MatchesWildcard, OnlyAsciiLettersFoldCase) {
  EXPECT_FALSE(MatchesWildcard("\xC0.htm", "\xE0.htm"));
  EXPECT_TRUE(MatchesWildcard("\xC0.HTM", "\xC0.htm"));
}

TEST(NameLessWithoutCase, OrdersLettersWithoutCaseThenByBytes) {
  EXPECT_TRUE(NameLessWithoutCase("a.htm", "a.html"));
  EXPECT_TRUE(NameLessWithoutCase("Z.htm", "\xC0.htm"));
}

}  // namespace
}  // namespace quorva
