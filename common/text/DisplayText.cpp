#include "ostrel/text/DisplayText.h"

#include "ostrel/text/Utf8.h"

namespace ostrel::text {

namespace {

void appendHexByte(std::string& out, unsigned char byte, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  out += digits[byte >> 4];
  out += digits[byte & 0x0F];
}

}  // namespace

std::string escapedForDisplay(std::string_view text, const DisplayStyle& style) {
  const bool named = style.controls == DisplayStyle::Controls::Named;
  std::string out;
  std::size_t characters = 0;
  std::size_t offset = 0;
  while (offset < text.size()) {
    const std::size_t reached =
        style.limit == DisplayStyle::Limit::Characters ? characters : offset;
    if (reached >= style.shown) {
      out += "...";
      break;
    }
    const auto byte = static_cast<unsigned char>(text[offset]);
    const std::size_t length = utf8SequenceLength(text, offset);
    const bool control = byte < 0x20 || byte == 0x7F;
    if (length == 0 || (control && !named)) {
      out += "\\x";
      appendHexByte(out, byte, named);
    } else if (byte == '\n') {
      out += "\\n";
    } else if (byte == '\t') {
      out += "\\t";
    } else if (control) {
      out += "\\u00";
      appendHexByte(out, byte, true);
    } else {
      out.append(text.substr(offset, length));
    }
    offset += length == 0 || control ? 1 : length;
    ++characters;
  }
  return out;
}

std::string quotedForDisplay(std::string_view text, const DisplayStyle& style) {
  return '"' + escapedForDisplay(text, style) + '"';
}

}  // namespace ostrel::text
