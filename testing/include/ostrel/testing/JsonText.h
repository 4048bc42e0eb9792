// Text as a JSON string literal, for tests that write the runtime's files:
// quotes and back slashes escaped (Windows paths are full of the latter).
#pragma once

#include <string>

namespace ostrel::testing {

inline std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

}  // namespace ostrel::testing
