// Turns text taken from a manifest, or a path, into something safe to put in
// a one-line message: quoted, control characters and malformed bytes escaped,
// and long values shortened, so a hostile file cannot flood or garble the
// console of whoever runs the check.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel::manifestcheck {

// Characters shown of one value before it is cut short with "...". Paths get
// room for the longest the classic Windows API takes.
inline constexpr std::size_t kDisplayLength = 80;
inline constexpr std::size_t kPathDisplayLength = 260;

// `text` with control characters as \n, \t or \u00XX and each byte that is
// not well-formed UTF-8 as \xNN, cut short with "..." after `shown`
// characters.
std::string escaped(std::string_view text, std::size_t shown = kDisplayLength);

// escaped(text, shown) in double quotes.
std::string quote(std::string_view text, std::size_t shown = kDisplayLength);

// A path, given as a path or as UTF-8 text, quoted.
std::string quotePath(const std::filesystem::path& path);
std::string quotePathText(std::string_view utf8Path);

// "\"a\", \"b\" and 3 more", at most `shown` values; "none" when empty.
std::string quoteList(const std::vector<std::string>& values, std::size_t shown);

// Where a member sits, in the notation people read in JSON tools:
// parent.key, or parent["odd key"] when the key is not a plain name.
std::string memberPath(std::string_view parent, std::string_view key);

// parent[index]
std::string elementPath(std::string_view parent, std::size_t index);

}  // namespace ostrel::manifestcheck
