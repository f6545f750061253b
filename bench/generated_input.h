#pragma once

#include <cstddef>
#include <string>

namespace quorva {

// Help pages as an authoring tool writes them: CR LF line ends, indented markup, paragraphs,
// tables and a pre block, repeated up to about `size` bytes.
std::string GenerateMarkup(std::size_t size);

// A style sheet with comments, one declaration per indented line and CR LF line ends, repeated
// up to about `size` bytes.
std::string GenerateStyleSheet(std::size_t size);

}  // namespace quorva
