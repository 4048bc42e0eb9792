// The one UTF-8 validator: what counts as well-formed UTF-8 (RFC 3629), for
// every component that must refuse or locate malformed text.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace ostrel::common {

// Length (1 to 4) of the well-formed UTF-8 sequence starting at `offset`, or
// 0 when the bytes there are not one: overlong forms, surrogates (U+D800 to
// U+DFFF), values above U+10FFFF and truncated sequences all give 0.
// REQUIRES: offset < text.size().
std::size_t utf8SequenceLength(std::string_view text, std::size_t offset) noexcept;

// Offset of the first byte that is not part of well-formed UTF-8; nullopt
// when the whole text is well-formed (the empty text included).
std::optional<std::size_t> firstInvalidUtf8(std::string_view text) noexcept;

// True when the whole text is well-formed UTF-8.
bool isValidUtf8(std::string_view text) noexcept;

}  // namespace ostrel::common
