#include "ostrel/common/Utf8.h"

namespace ostrel::common {

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::size_t utf8SequenceLength(std::string_view text, std::size_t offset) noexcept {
  const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byteAt(offset);
  if (lead < 0x80) return 1;

  std::size_t length = 0;
  // The second byte's range carries the rules against overlong forms,
  // surrogates (ED A0..BF) and values above U+10FFFF (F4 90..).
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() - offset < length) return 0;
  const unsigned char second = byteAt(offset + 1);
  if (second < low || second > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (!isContinuation(byteAt(offset + i))) return 0;
  }
  return length;
}

std::optional<std::size_t> firstInvalidUtf8(std::string_view text) noexcept {
  std::size_t offset = 0;
  while (offset < text.size()) {
    const std::size_t length = utf8SequenceLength(text, offset);
    if (length == 0) return offset;
    offset += length;
  }
  return std::nullopt;
}

bool isValidUtf8(std::string_view text) noexcept { return !firstInvalidUtf8(text).has_value(); }

}  // namespace ostrel::common
