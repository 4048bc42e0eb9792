#include "ostrel/text/Utf8.h"

namespace ostrel::text {

namespace {

// What a lead byte promises. The second byte's range depends on the lead: it
// carries the rules against overlong forms (E0 80..9F, F0 80..8F), surrogates
// (ED A0..BF) and values above U+10FFFF (F4 90..BF). Later bytes are any
// continuation byte.
struct LeadByte {
  std::size_t length = 0;  // 0: cannot start a sequence
  unsigned char secondLow = 0x80;
  unsigned char secondHigh = 0xBF;
};

LeadByte leadByte(unsigned char byte) noexcept {
  if (byte >= 0xC2 && byte <= 0xDF) return {2, 0x80, 0xBF};
  if (byte == 0xE0) return {3, 0xA0, 0xBF};
  if (byte == 0xED) return {3, 0x80, 0x9F};
  if (byte >= 0xE1 && byte <= 0xEF) return {3, 0x80, 0xBF};
  if (byte == 0xF0) return {4, 0x90, 0xBF};
  if (byte >= 0xF1 && byte <= 0xF3) return {4, 0x80, 0xBF};
  if (byte == 0xF4) return {4, 0x80, 0x8F};
  return {};
}

}  // namespace

Utf8Step decodeUtf8(std::string_view text, std::size_t offset) noexcept {
  const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byteAt(offset);
  if (lead < 0x80) return {lead, 1, true};

  const LeadByte shape = leadByte(lead);
  if (shape.length == 0) return {};

  // The lead's payload: its bits below the length marker.
  char32_t codePoint = lead & (0x7Fu >> shape.length);
  std::size_t taken = 1;
  while (taken < shape.length && offset + taken < text.size()) {
    const unsigned char next = byteAt(offset + taken);
    const unsigned char low = taken == 1 ? shape.secondLow : 0x80;
    const unsigned char high = taken == 1 ? shape.secondHigh : 0xBF;
    if (next < low || next > high) break;
    codePoint = (codePoint << 6) | (next & 0x3Fu);
    ++taken;
  }
  if (taken < shape.length) return {kReplacementCharacter, taken, false};
  return {codePoint, taken, true};
}

std::size_t utf8SequenceLength(std::string_view text, std::size_t offset) noexcept {
  const Utf8Step step = decodeUtf8(text, offset);
  return step.wellFormed ? step.length : 0;
}

std::optional<std::size_t> firstInvalidUtf8(std::string_view text) noexcept {
  std::size_t offset = 0;
  while (offset < text.size()) {
    const Utf8Step step = decodeUtf8(text, offset);
    if (!step.wellFormed) return offset;
    offset += step.length;
  }
  return std::nullopt;
}

bool isValidUtf8(std::string_view text) noexcept { return !firstInvalidUtf8(text).has_value(); }

}  // namespace ostrel::text
