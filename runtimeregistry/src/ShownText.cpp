#include "ShownText.h"

namespace ostrel::steamvr::runtimeregistry {

std::string escapedText(std::string_view text) {
  std::string out;
  std::size_t shown = 0;
  for (char c : text) {
    if (shown++ == kShownLength) {
      out += "...";
      break;
    }
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      constexpr char kDigits[] = "0123456789abcdef";
      out += "\\x";
      out += kDigits[byte >> 4];
      out += kDigits[byte & 0x0F];
    } else {
      out += c;
    }
  }
  return out;
}

std::string shownText(std::string_view text) { return "\"" + escapedText(text) + "\""; }

}  // namespace ostrel::steamvr::runtimeregistry
