#include "PathText.h"

#include <system_error>

namespace ostrel::manifestcheck {

// The standard library reports an impossible conversion by throwing; the
// check reports it as text instead, so nothing escapes to the caller.
std::string pathToUtf8(const std::filesystem::path& path) {
  try {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
  } catch (const std::system_error&) {
    return "(a path that cannot be shown as UTF-8)";
  }
}

std::optional<std::filesystem::path> pathFromUtf8(std::string_view utf8) {
  try {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
  } catch (const std::system_error&) {
    return std::nullopt;
  }
}

}  // namespace ostrel::manifestcheck
