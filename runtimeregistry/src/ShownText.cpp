#include "ShownText.h"

#include "ostrel/text/Utf8.h"

namespace ostrel::runtimeregistry {

namespace {

void appendEscaped(unsigned char byte, std::string& out) {
  constexpr char kDigits[] = "0123456789abcdef";
  out += "\\x";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0x0F];
}

}  // namespace

std::string escapedText(std::string_view text) {
  std::string out;
  std::size_t offset = 0;
  while (offset < text.size()) {
    if (offset >= kShownLength) {
      out += "...";
      break;
    }
    const auto byte = static_cast<unsigned char>(text[offset]);
    // Whole characters only, so a shortened text stays UTF-8; a byte that
    // is not UTF-8 (an environment variable can hold any) is escaped too.
    const std::size_t length = text::utf8SequenceLength(text, offset);
    if (byte < 0x20 || byte == 0x7F || length == 0) {
      appendEscaped(byte, out);
      ++offset;
    } else {
      out.append(text.substr(offset, length));
      offset += length;
    }
  }
  return out;
}

std::string shownText(std::string_view text) { return "\"" + escapedText(text) + "\""; }

}  // namespace ostrel::runtimeregistry
