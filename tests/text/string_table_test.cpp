#include "text/string_table.h"

#include <gtest/gtest.h>

#include <string>

namespace quorva {
namespace {

// Each string is numbered once, in the order first added, and found again only whole; a table
// without case finds every spelling under the one added first, and folds only A-Z.
TEST(StringTableTest, NumbersEachStringOnceAndFindsItWholeOrWithoutCase) {
  StringTable table;
  EXPECT_EQ(table.Find("a.htm"), StringTable::kNone);
  EXPECT_EQ(table.Add("a.htm"), 0u);
  EXPECT_EQ(table.Add("b.htm"), 1u);
  EXPECT_EQ(table.Add(""), 2u);
  EXPECT_EQ(table.Add("a.htm"), 0u);
  EXPECT_EQ(table.Size(), 3u);
  EXPECT_EQ(table.Get(1), "b.htm");
  EXPECT_EQ(table.Get(2), "");
  EXPECT_EQ(table.Find(""), 2u);
  EXPECT_FALSE(table.Holds("A.htm"));
  EXPECT_FALSE(table.Holds("a.ht"));
  EXPECT_FALSE(table.Holds("a.htmx"));

  StringTable folded(true);
  EXPECT_EQ(folded.Add("Topic.HTM"), 0u);
  EXPECT_EQ(folded.Add("topic.htm"), 0u);
  EXPECT_EQ(folded.Get(0), "Topic.HTM");
  EXPECT_EQ(folded.Find("TOPIC.htm"), 0u);
  EXPECT_FALSE(folded.Holds("topic.html"));
  EXPECT_EQ(folded.Add("\xC3\x89t\xC3\xA9.htm"), 1u);
  EXPECT_FALSE(folded.Holds("\xC3\xA9t\xC3\xA9.htm"));
}

// Growing moves no number; Clear forgets every string.
TEST(StringTableTest, KeepsEveryNumberAsItGrowsAndForgetsAllOnClear) {
  StringTable table;
  for (int i = 0; i < 50000; ++i) {
    ASSERT_EQ(table.Add("help/" + std::to_string(100000 + i) + ".htm"),
              static_cast<std::uint32_t>(i));
  }
  for (int i = 0; i < 50000; i += 997) {
    const std::string path = "help/" + std::to_string(100000 + i) + ".htm";
    EXPECT_EQ(table.Find(path), static_cast<std::uint32_t>(i));
    EXPECT_EQ(table.Get(static_cast<std::uint32_t>(i)), path);
  }
  EXPECT_FALSE(table.Holds("help/150000.htm"));
  table.Clear();
  EXPECT_EQ(table.Size(), 0u);
  EXPECT_FALSE(table.Holds("help/100000.htm"));
  EXPECT_EQ(table.Add("help/100001.htm"), 0u);
}

// Tables that know different things of the same paths keep the bytes once: an index over a
// table's strings finds the paths it indexed by the table's numbers, in any case of A-Z when it
// folds, and never one only the table holds.
TEST(StringTableTest, AnIndexOverATableFindsOnlyWhatItIndexedByTheTablesNumbers) {
  StringTable paths;
  StringIndex folded(true);
  const auto add = [&](const std::string& path) {
    return folded.FindOrAdd(paths.Strings(), path, [&] { return paths.Add(path); });
  };
  EXPECT_EQ(paths.Add("help/a.htm"), 0u);
  EXPECT_EQ(folded.Find(paths.Strings(), "help/a.htm"), StringIndex::kNone);
  EXPECT_EQ(add("help/B.htm"), 1u);
  EXPECT_EQ(add("help/b.HTM"), 1u);
  EXPECT_EQ(add("help/a.htm"), 0u);
  EXPECT_EQ(paths.Size(), 2u);
  EXPECT_EQ(folded.Find(paths.Strings(), "HELP/A.htm"), 0u);
  EXPECT_EQ(paths.Find("help/b.HTM"), StringTable::kNone);
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(add("help/" + std::to_string(i) + ".htm"), static_cast<std::uint32_t>(i + 2));
  }
  EXPECT_EQ(folded.Find(paths.Strings(), "HELP/999.HTM"), 1001u);
  EXPECT_EQ(folded.Find(paths.Strings(), "help/1000.htm"), StringIndex::kNone);
}

}  // namespace
}  // namespace quorva
