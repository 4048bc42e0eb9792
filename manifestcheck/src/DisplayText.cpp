#include "DisplayText.h"

#include <utility>

#include "PathText.h"
#include "ostrel/text/DisplayText.h"
#include "ostrel/text/ListText.h"

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

// Controls the way JSON tools write them, at most `shown` characters.
text::DisplayStyle checkStyle(std::size_t shown) {
  return {text::DisplayStyle::Controls::Named, text::DisplayStyle::Limit::Characters, shown};
}

}  // namespace

std::string escaped(std::string_view text, std::size_t shown) {
  return text::escapedForDisplay(text, checkStyle(shown));
}

std::string quote(std::string_view text, std::size_t shown) {
  return text::quotedForDisplay(text, checkStyle(shown));
}

std::string quotePath(const std::filesystem::path& path) { return quotePathText(pathToUtf8(path)); }

std::string quotePathText(std::string_view utf8Path) { return quote(utf8Path, kPathDisplayLength); }

std::string quoteList(const std::vector<std::string>& values, std::size_t shown) {
  if (values.empty()) return "none";
  std::vector<std::string> quoted;
  quoted.reserve(values.size());
  for (const std::string& value : values) quoted.push_back(quote(value));
  return text::shortenedList(std::move(quoted), shown);
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
