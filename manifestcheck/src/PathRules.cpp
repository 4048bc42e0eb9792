#include "PathRules.h"

#include <algorithm>
#include <string>

#include "DisplayText.h"
#include "ostrel/manifestcheck/FindingCodes.h"
#include "ostrel/text/WindowsPath.h"
#include "platform/Platform.h"

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

void checkRegistrarPath(std::wstring_view registrarPath, const ISystemRules& rules,
                        FindingList& findings) {
  if (registrarPath.empty()) {
    findings.error(findings::kPathEmpty,
                   "the manifest path is empty: pass the full path of the .vrmanifest file, such "
                   "as " +
                       std::string(rules.ExampleManifestPath()));
    return;
  }
  if (registrarPath.find(L'\0') != std::wstring_view::npos) {
    findings.error(findings::kPathNul,
                   "the manifest path contains a NUL character, so the runtime would read only "
                   "the part before it: pass the path without it");
    return;
  }
  rules.CheckRegistrarPath(platform::wideToUtf8(registrarPath), findings);
}

void checkRegistrarPathText(std::string_view utf8Path, FindingList& findings) {
  if (!isAscii(utf8Path)) {
    findings.warning(findings::kNonAsciiPath,
                     "the manifest path " + quotePathText(utf8Path) +
                         " contains non-ASCII characters, which some runtime versions mishandle: "
                         "if the application does not appear, install it under a plain-ASCII "
                         "path");
  }
}

bool isDriveRooted(std::string_view utf8Path) noexcept {
  return text::isDriveRooted(utf8Path);
}

}  // namespace ostrel::manifestcheck
