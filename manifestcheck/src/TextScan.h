// Byte-level scans of manifest text that must run before the JSON parser
// sees it: each one stops at the first problem and says where it is, in the
// terms an editor shows (line, and column counted in characters).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ostrel::manifestcheck {

// Length of the well-formed UTF-8 sequence starting at `offset`, or 0 when the
// bytes there are not one (overlong forms, surrogates and values above
// U+10FFFF included). REQUIRES: offset < text.size().
std::size_t utf8SequenceLength(std::string_view text, std::size_t offset) noexcept;

// Offset of the first byte that is not part of well-formed UTF-8.
std::optional<std::size_t> firstInvalidUtf8(std::string_view text) noexcept;

// 1-based line and column of the byte at `offset`. Lines end at '\n'; the
// column counts characters (a malformed byte counts as one). An offset past
// the end means the position just after the last byte.
struct TextPosition {
  std::size_t line = 1;
  std::size_t column = 1;
};
TextPosition positionOf(std::string_view text, std::size_t offset) noexcept;

// "line 3, column 7"
std::string describePosition(std::string_view text, std::size_t offset);

// Offset of the '[' or '{' that opens level `limit + 1`, counting only
// brackets outside strings and outside // and /* */ comments (the parser
// skips comments, as the runtime does). Unbalanced or unterminated input is
// left to the parser to report.
std::optional<std::size_t> firstBracketDeeperThan(std::string_view text, int limit) noexcept;

}  // namespace ostrel::manifestcheck
