// The one UTF-8 decoder: what counts as well-formed UTF-8 (RFC 3629), and
// how far a malformed stretch reaches, for every component that must refuse,
// locate or convert text. The platform layer's conversion to wide text and
// the manifest check's refusal of malformed bytes both rest on decodeUtf8,
// so they cannot disagree about a byte.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace ostrel::text {

// U+FFFD, the character that stands for bytes that are not well-formed.
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// What one step through UTF-8 text finds.
struct Utf8Step {
  // The Unicode scalar value; kReplacementCharacter when !wellFormed (so
  // U+FFFD written in the text itself is told apart only by wellFormed).
  char32_t codePoint = kReplacementCharacter;
  // Bytes this step covers, 1 to 4; never 0, so a loop adding it advances.
  std::size_t length = 1;
  bool wellFormed = false;
};

// Decodes the sequence starting at `offset`.
//
// Well-formed: its code point and length. Otherwise `wellFormed` is false and
// `length` is the maximal ill-formed subpart there, as Unicode defines it
// for U+FFFD substitution: the lead byte and each following byte that could
// still continue a well-formed sequence, stopping at the first that cannot
// or at the end of the text. A byte that cannot start a sequence (a stray
// continuation byte, C0, C1, F5..FF) is a subpart of 1. Overlong forms,
// surrogates (ED A0..BF) and values above U+10FFFF (F4 90..) are caught at
// their second byte, so they too are subparts of 1 byte each; a sequence cut
// short by the end of the text or by an unfit byte is one subpart.
// Replacing every subpart with one U+FFFD gives the conversion Unicode
// recommends.
//
// REQUIRES: offset < text.size(). Never throws.
Utf8Step decodeUtf8(std::string_view text, std::size_t offset) noexcept;

// Length (1 to 4) of the well-formed UTF-8 sequence starting at `offset`, or
// 0 when the bytes there are not one (decodeUtf8 says the same, with the
// length of what to skip).
// REQUIRES: offset < text.size(). Never throws.
std::size_t utf8SequenceLength(std::string_view text, std::size_t offset) noexcept;

// Offset of the first byte that is not part of well-formed UTF-8; nullopt
// when the whole text is well-formed (the empty text included).
std::optional<std::size_t> firstInvalidUtf8(std::string_view text) noexcept;

// True when the whole text is well-formed UTF-8.
bool isValidUtf8(std::string_view text) noexcept;

}  // namespace ostrel::text
