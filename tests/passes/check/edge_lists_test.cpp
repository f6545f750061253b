#include "passes/check/edge_lists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace quorva {
namespace {

std::vector<std::uint32_t> Edges(const EdgeLists& edges, std::uint32_t page) {
  std::vector<std::uint32_t> targets;
  edges.ForEach(page, [&targets](std::uint32_t target) { targets.push_back(target); });
  return targets;
}

// Each linked page comes once and in order, whatever gap lies between two (one byte up to 127,
// more above, up to the largest number); a page scanned again keeps only its last links.
TEST(EdgeListsTest, GivesEachLinkedPageOnceInOrderAndKeepsOnlyAPagesLastScan) {
  EdgeLists edges;
  edges.Set(2, {7, 3, 7, 0, 128, 127, 16384, 4294967295u, 200000, 3});
  EXPECT_EQ(Edges(edges, 2),
            (std::vector<std::uint32_t>{0, 3, 7, 127, 128, 16384, 200000, 4294967295u}));
  EXPECT_TRUE(Edges(edges, 0).empty());
  EXPECT_TRUE(Edges(edges, 9).empty());
  edges.Set(1, {});
  edges.Set(0, {2});
  EXPECT_TRUE(Edges(edges, 1).empty());
  edges.Set(2, {5});
  EXPECT_EQ(Edges(edges, 2), std::vector<std::uint32_t>{5});
  EXPECT_EQ(Edges(edges, 0), std::vector<std::uint32_t>{2});
}

// A menu's run of consecutive pages comes back whole, from its first page to its last, between
// single pages and other runs, up to the largest number.
TEST(EdgeListsTest, GivesBackRunsOfConsecutivePagesWhole) {
  EdgeLists edges;
  std::vector<std::uint32_t> menu{0, 1, 2, 5, 7, 8, 300, 4294967294u, 4294967295u};
  for (std::uint32_t page = 1000; page < 1200; ++page) {
    menu.push_back(page);
  }
  edges.Set(3, menu);
  std::sort(menu.begin(), menu.end());
  EXPECT_EQ(Edges(edges, 3), menu);
  edges.Set(4, {9, 10});
  EXPECT_EQ(Edges(edges, 4), (std::vector<std::uint32_t>{9, 10}));
  EXPECT_EQ(Edges(edges, 3), menu);
  // Lists longer than the 64 KB the others share each take room of their own; every list is
  // found where it went.
  std::vector<std::uint32_t> every_other;
  for (std::uint32_t page = 0; page < 140000; page += 2) {
    every_other.push_back(page);
  }
  edges.Set(5, every_other);
  edges.Set(6, {11});
  edges.Set(7, every_other);
  edges.Set(8, {12, 14});
  EXPECT_EQ(Edges(edges, 5), every_other);
  EXPECT_EQ(Edges(edges, 6), std::vector<std::uint32_t>{11});
  EXPECT_EQ(Edges(edges, 7), every_other);
  EXPECT_EQ(Edges(edges, 8), (std::vector<std::uint32_t>{12, 14}));
  EXPECT_EQ(Edges(edges, 4), (std::vector<std::uint32_t>{9, 10}));
}

}  // namespace
}  // namespace quorva
