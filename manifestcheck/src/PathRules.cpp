#include "PathRules.h"

#include <algorithm>

#include "DisplayText.h"
#include "PathText.h"
#include "ostrel/text/WindowsPath.h"
#include "platform/Platform.h"
#include "ostrel/manifestcheck/FindingCodes.h"

namespace ostrel::manifestcheck {

bool isWindowsAbsolute(std::string_view utf8Path) noexcept {
  return text::isWindowsAbsolute(utf8Path);
}

bool isAscii(std::string_view text) noexcept {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool underWindowsApps(std::string_view utf8Path) noexcept {
  return text::underWindowsApps(utf8Path);
}

void checkRegistrarPath(std::wstring_view registrarPath, FindingList& findings) {
  if (registrarPath.empty()) {
    findings.error(findings::kPathEmpty,
                   "the manifest path is empty: pass the full path of the .vrmanifest file, such "
                   "as C:\\Program Files\\Ostrel\\ostrel.vrmanifest");
    return;
  }
  if (registrarPath.find(L'\0') != std::wstring_view::npos) {
    findings.error(findings::kPathNul,
                   "the manifest path contains a NUL character, so the runtime would read only "
                   "the part before it: pass the path without it");
    return;
  }
  const std::string utf8 = platform::wideToUtf8(registrarPath);
  if (!isWindowsAbsolute(utf8)) {
    findings.error(findings::kPathRelative,
                   "the manifest path " + quotePathText(utf8) +
                       " is not a full path; the runtime would resolve it against its own "
                       "folder, not the installer's: pass the full path, starting with a drive "
                       "(C:\\...) or a share (\\\\server\\share\\...)");
  }
  if (utf8.find('/') != std::string::npos) {
    findings.error(findings::kPathForwardSlash,
                   "the manifest path " + quotePathText(utf8) +
                       " contains '/'; the runtime accepts such a path and then never lists the "
                       "application: use '\\' between folders");
  }
  if (!isAscii(utf8)) {
    findings.warning(findings::kNonAsciiPath,
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
  return text::isDriveRooted(utf8Path);
}

}  // namespace ostrel::manifestcheck
