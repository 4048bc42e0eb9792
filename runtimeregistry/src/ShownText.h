// Text from the runtime's files or the environment, made fit for a finding
// or a reason: a hostile file must not fill or garble a terminal.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ostrel::runtimeregistry {

// Longest text taken from a file into a message, in bytes.
inline constexpr std::size_t kShownLength = 300;

// `text` as valid UTF-8 on one line: control characters and bytes that are
// not UTF-8 written as \xNN; cut at the first character that starts
// kShownLength bytes or more into it, with "..." after it. Back slashes stay
// single, so Windows paths read as the user typed them.
std::string escapedText(std::string_view text);

// escapedText in double quotes.
std::string shownText(std::string_view text);

}  // namespace ostrel::runtimeregistry
