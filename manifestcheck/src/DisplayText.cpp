#include "DisplayText.h"

#include "PathText.h"
#include "TextScan.h"

namespace ostrel::manifestcheck {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void appendHexByte(std::string& out, unsigned char byte) {
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 0x0F];
}

bool isPlainName(std::string_view key) {
  if (key.empty()) return false;
  for (char c : key) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '_' || c == '-';
    if (!plain) return false;
  }
  return true;
}

}  // namespace

std::string escaped(std::string_view text, std::size_t shown) {
  std::string out;
  std::size_t count = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (count == shown) {
      out += "...";
      break;
    }
    const auto byte = static_cast<unsigned char>(text[i]);
    const std::size_t length = utf8SequenceLength(text, i);
    if (length == 0) {
      out += "\\x";
      appendHexByte(out, byte);
      i += 1;
    } else if (byte == '\n') {
      out += "\\n";
      i += 1;
    } else if (byte == '\t') {
      out += "\\t";
      i += 1;
    } else if (byte < 0x20 || byte == 0x7F) {
      out += "\\u00";
      appendHexByte(out, byte);
      i += 1;
    } else {
      out.append(text.substr(i, length));
      i += length;
    }
    ++count;
  }
  return out;
}

std::string quote(std::string_view text, std::size_t shown) {
  return '"' + escaped(text, shown) + '"';
}

std::string quotePath(const std::filesystem::path& path) { return quotePathText(pathToUtf8(path)); }

std::string quotePathText(std::string_view utf8Path) { return quote(utf8Path, kPathDisplayLength); }

std::string quoteList(const std::vector<std::string>& values, std::size_t shown) {
  if (values.empty()) return "none";
  std::string out;
  const std::size_t listed = values.size() < shown ? values.size() : shown;
  for (std::size_t i = 0; i < listed; ++i) {
    if (i > 0) out += ", ";
    out += quote(values[i]);
  }
  if (values.size() > listed) out += " and " + std::to_string(values.size() - listed) + " more";
  return out;
}

std::string memberPath(std::string_view parent, std::string_view key) {
  std::string out(parent);
  if (isPlainName(key)) {
    if (!out.empty()) out += '.';
    out.append(key);
  } else {
    out += '[' + quote(key) + ']';
  }
  return out;
}

std::string elementPath(std::string_view parent, std::size_t index) {
  return std::string(parent) + '[' + std::to_string(index) + ']';
}

}  // namespace ostrel::manifestcheck
