#include "TextScan.h"

#include "ostrel/text/Utf8.h"

namespace ostrel::manifestcheck {

std::size_t utf8SequenceLength(std::string_view text, std::size_t offset) noexcept {
  return text::utf8SequenceLength(text, offset);
}

std::optional<std::size_t> firstInvalidUtf8(std::string_view text) noexcept {
  return text::firstInvalidUtf8(text);
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

}  // namespace ostrel::manifestcheck
