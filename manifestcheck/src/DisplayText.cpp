#include "DisplayText.h"

#include "PathText.h"
#include "ostrel/text/DisplayText.h"

namespace ostrel::manifestcheck {

namespace {

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
  return text::escapedForDisplay(
      text, {text::DisplayStyle::Controls::Named, text::DisplayStyle::Limit::Characters, shown});
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
