#include "ostrel/text/WindowsPath.h"

#include <algorithm>

namespace ostrel::text {

namespace {

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// Whether a folder of the path, not its last part, equals `lowerName`.
bool hasFolderNamed(std::string_view utf8Path, std::string_view lowerName) noexcept {
  std::size_t start = 0;
  while (start <= utf8Path.size()) {
    std::size_t end = start;
    while (end < utf8Path.size() && !isSeparator(utf8Path[end])) ++end;
    if (end < utf8Path.size() &&
        equalIgnoringAsciiCase(utf8Path.substr(start, end - start), lowerName)) {
      return true;
    }
    start = end + 1;
  }
  return false;
}

}  // namespace

char asciiLower(char c) noexcept {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return asciiLower(x) == asciiLower(y);
         });
}

bool isWindowsAbsolute(std::string_view utf8Path) noexcept {
  if (utf8Path.size() >= 3 && isAsciiLetter(utf8Path[0]) && utf8Path[1] == ':' &&
      isSeparator(utf8Path[2])) {
    return true;
  }
  return utf8Path.size() >= 2 && isSeparator(utf8Path[0]) && isSeparator(utf8Path[1]);
}

bool isDriveRooted(std::string_view utf8Path) noexcept {
  return !utf8Path.empty() && isSeparator(utf8Path[0]) &&
         (utf8Path.size() == 1 || !isSeparator(utf8Path[1]));
}

std::string comparableWindowsPath(std::string_view utf8Path) {
  std::string out;
  out.reserve(utf8Path.size());
  for (char c : utf8Path) {
    if (c == '/') c = '\\';
    c = asciiLower(c);
    // A doubled separator names the same folder, except the leading pair of
    // a network path.
    if (c == '\\' && !out.empty() && out.back() == '\\' && out.size() > 1) continue;
    out.push_back(c);
  }
  while (out.size() > 1 && out.back() == '\\' && !(out.size() == 3 && out[1] == ':')) {
    out.pop_back();
  }
  return out;
}

bool sameWindowsPath(std::string_view a, std::string_view b) {
  return comparableWindowsPath(a) == comparableWindowsPath(b);
}

bool insideWindowsFolder(std::string_view utf8Path, std::string_view folder) {
  if (folder.empty()) return false;
  std::string prefix = comparableWindowsPath(folder);
  // "C:\" keeps its separator; every other folder gets one, so that
  // "D:\Scratchpad" is not inside "D:\Scratch".
  if (prefix.back() != '\\') prefix.push_back('\\');
  const std::string compared = comparableWindowsPath(utf8Path);
  return compared.size() > prefix.size() && compared.compare(0, prefix.size(), prefix) == 0;
}

std::string windowsFolderOf(std::string_view utf8Path) {
  const std::size_t last = utf8Path.find_last_of("\\/");
  if (last == std::string_view::npos) return {};
  return std::string(utf8Path.substr(0, last));
}

bool underWindowsApps(std::string_view utf8Path) noexcept {
  return hasFolderNamed(utf8Path, "windowsapps");
}

bool underTemporaryFolder(std::string_view utf8Path) noexcept {
  return hasFolderNamed(utf8Path, "temp") || hasFolderNamed(utf8Path, "tmp");
}

}  // namespace ostrel::text
