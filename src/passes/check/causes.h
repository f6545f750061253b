#pragma once

#include <string>

#include "passes/check/finding.h"

namespace quorva {

// Sorts the findings of `result` into causes, each finding into exactly one: every broken link
// and case mismatch naming one missing file, every picture without alt text of one source, the
// pages nothing reaches with whatever else is found in them, and each other finding on its own.
// Missing TOC pages come first, then the causes that explain most, ties by their detail.
void GroupFindingsByCause(CheckResult& result);

// "Causes:" and a line "  N findings in M pages: DETAIL" for each of the first ten causes, then
// "  … and K more causes." where there are more; nothing when there is no finding.
std::string FormatCausesBlock(const CheckResult& result);

}  // namespace quorva
