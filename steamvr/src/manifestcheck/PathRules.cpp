#include "PathRules.h"

#include <algorithm>

#include "DisplayText.h"
#include "PathText.h"
#include "platform/Platform.h"

namespace ostrel::steamvr::manifestcheck {

namespace {

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool isSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

bool isWindowsAbsolute(std::string_view utf8Path) noexcept {
  if (utf8Path.size() >= 3 && isAsciiLetter(utf8Path[0]) && utf8Path[1] == ':' &&
      isSeparator(utf8Path[2])) {
    return true;
  }
  return utf8Path.size() >= 2 && isSeparator(utf8Path[0]) && isSeparator(utf8Path[1]);
}

bool isAscii(std::string_view text) noexcept {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool underWindowsApps(std::string_view utf8Path) noexcept {
  constexpr std::string_view kFolder = "windowsapps";
  std::size_t start = 0;
  while (start <= utf8Path.size()) {
    std::size_t end = start;
    while (end < utf8Path.size() && !isSeparator(utf8Path[end])) ++end;
    const std::string_view part = utf8Path.substr(start, end - start);
    // Only a folder counts: the last part is the program itself.
    if (end < utf8Path.size() && part.size() == kFolder.size() &&
        std::equal(part.begin(), part.end(), kFolder.begin(),
                   [](char a, char b) { return asciiLower(a) == b; })) {
      return true;
    }
    start = end + 1;
  }
  return false;
}

void checkRegistrarPath(std::wstring_view registrarPath, FindingList& findings) {
  if (registrarPath.empty()) {
    findings.error("path-empty",
                   "the manifest path is empty: pass the full path of the .vrmanifest file, such "
                   "as C:\\Program Files\\Ostrel\\ostrel.vrmanifest");
    return;
  }
  if (registrarPath.find(L'\0') != std::wstring_view::npos) {
    findings.error("path-nul",
                   "the manifest path contains a NUL character, so the runtime would read only "
                   "the part before it: pass the path without it");
    return;
  }
  const std::string utf8 = platform::wideToUtf8(registrarPath);
  if (!isWindowsAbsolute(utf8)) {
    findings.error("path-relative",
                   "the manifest path " + quotePathText(utf8) +
                       " is not a full path; the runtime would resolve it against its own "
                       "folder, not the installer's: pass the full path, starting with a drive "
                       "(C:\\...) or a share (\\\\server\\share\\...)");
  }
  if (utf8.find('/') != std::string::npos) {
    findings.error("path-forward-slash",
                   "the manifest path " + quotePathText(utf8) +
                       " contains '/'; the runtime accepts such a path and then never lists the "
                       "application: use '\\' between folders");
  }
  if (!isAscii(utf8)) {
    findings.warning("non-ascii-path",
                     "the manifest path " + quotePathText(utf8) +
                         " contains non-ASCII characters, which some runtime versions mishandle: "
                         "if the application does not appear, install it under a plain-ASCII "
                         "path");
  }
}

std::optional<std::filesystem::path> resolveBinaryPath(
    std::string_view binaryPath, const std::filesystem::path& manifestFolder) {
  std::string text(binaryPath);
  std::replace(text.begin(), text.end(), '\\', '/');
  std::optional<std::filesystem::path> path = pathFromUtf8(text);
  if (!path) return std::nullopt;
  if (isWindowsAbsolute(binaryPath) || path->is_absolute()) return path->make_preferred();
  return (manifestFolder / *path).make_preferred();
}

bool isDriveRooted(std::string_view utf8Path) noexcept {
  return !utf8Path.empty() && isSeparator(utf8Path[0]) &&
         (utf8Path.size() == 1 || !isSeparator(utf8Path[1]));
}

}  // namespace ostrel::steamvr::manifestcheck
