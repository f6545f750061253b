#include "passes/check/edge_lists.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quorva
