// Text from a file, the environment or a user made fit for a one-line
// message: control characters and bytes that are not UTF-8 written out,
// long values cut short with "...", so a hostile file cannot flood or garble
// the console of whoever reads the message. Cuts fall between whole
// characters, so the result is always valid UTF-8; back slashes stay single,
// so Windows paths read as the user typed them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ostrel::text {

// How a message shows what it quotes. The manifest check writes controls the
// way JSON tools do and counts characters; the registry reader writes every
// unprintable byte as \xNN and counts bytes. Each keeps its own style, since
// scripts and tests read their messages.
struct DisplayStyle {
  enum class Controls {
    Named,  // \n, \t, other controls \u00XX; bytes that are not UTF-8 \xNN (upper-case hex)
    Hex,    // every control and every byte that is not UTF-8 \xNN (lower-case hex)
  };
  enum class Limit {
    Characters,  // at most `shown` characters
    Bytes,       // the first character that starts `shown` bytes or more in is cut
  };
  Controls controls = Controls::Named;
  Limit limit = Limit::Characters;
  std::size_t shown = 80;
};

// `text` written out and cut short as `style` says.
std::string escapedForDisplay(std::string_view text, const DisplayStyle& style);

// escapedForDisplay in double quotes.
std::string quotedForDisplay(std::string_view text, const DisplayStyle& style);

}  // namespace ostrel::text
