#include "TextScan.h"

namespace ostrel::steamvr::manifestcheck {

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

TextPosition positionOf(std::string_view text, std::size_t offset) noexcept {
  if (offset > text.size()) offset = text.size();
  TextPosition position;
  std::size_t i = 0;
  while (i < offset) {
    if (text[i] == '\n') {
      ++position.line;
      position.column = 1;
      ++i;
      continue;
    }
    const std::size_t length = utf8SequenceLength(text, i);
    i += length == 0 ? 1 : length;
    ++position.column;
  }
  return position;
}

std::string describePosition(std::string_view text, std::size_t offset) {
  const TextPosition position = positionOf(text, offset);
  return "line " + std::to_string(position.line) + ", column " + std::to_string(position.column);
}

std::optional<std::size_t> firstBracketDeeperThan(std::string_view text, int limit) noexcept {
  int depth = 0;
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') {
        ++i;  // whatever is escaped cannot end the string
      } else if (c == '"') {
        inString = false;
      }
      continue;
    }
    switch (c) {
      case '"':
        inString = true;
        break;
      case '/':
        // Comments end where the parser ends them: a line comment at '\n'
        // or '\r', a block comment at the first "*/". Brackets and quotes
        // inside them are not structure. An unterminated block comment is
        // the parser's to report.
        if (i + 1 < text.size() && text[i + 1] == '/') {
          const std::size_t end = text.find_first_of("\n\r", i + 2);
          if (end == std::string_view::npos) return std::nullopt;
          i = end;
        } else if (i + 1 < text.size() && text[i + 1] == '*') {
          const std::size_t end = text.find("*/", i + 2);
          if (end == std::string_view::npos) return std::nullopt;
          i = end + 1;
        }
        break;
      case '[':
      case '{':
        if (++depth > limit) return i;
        break;
      case ']':
      case '}':
        // Too many closers is a syntax error; keep the count from going
        // negative so it cannot hide depth that follows.
        if (depth > 0) --depth;
        break;
      default:
        break;
    }
  }
  return std::nullopt;
}

}  // namespace ostrel::steamvr::manifestcheck
