// SteamVR on Windows: "C:\..." paths, '/' refused in the registered path,
// binary_path_windows, and WindowsApps as the one place to avoid.
#include <algorithm>
#include <string>

#include "DisplayText.h"
#include "PathRules.h"
#include "PathText.h"
#include "SystemRules.h"
#include "ostrel/manifestcheck/FindingCodes.h"

namespace ostrel::manifestcheck {

namespace {

constexpr const char* kTextKeys[] = {"arguments",         "url",
                                     "image_path",        "action_manifest_path",
                                     "binary_path_linux", "binary_path_osx"};

class WindowsRules final : public ISystemRules {
 public:
  std::string_view ExampleManifestPath() const override {
    return "C:\\Program Files\\Ostrel\\ostrel.vrmanifest";
  }

  void CheckRegistrarPath(std::string_view utf8, FindingList& findings) const override {
    if (!isWindowsAbsolute(utf8)) {
      findings.error(findings::kPathRelative,
                     "the manifest path " + quotePathText(utf8) +
                         " is not a full path; the runtime would resolve it against its own "
                         "folder, not the installer's: pass the full path, starting with a drive "
                         "(C:\\...) or a share (\\\\server\\share\\...)");
    }
    if (utf8.find('/') != std::string_view::npos) {
      findings.error(findings::kPathForwardSlash,
                     "the manifest path " + quotePathText(utf8) +
                         " contains '/'; the runtime accepts such a path and then never lists the "
                         "application: use '\\' between folders");
    }
    checkRegistrarPathText(utf8, findings);
  }

  void CheckManifestOnDisk(std::string_view, IPathProbe&, FindingList&) const override {}

  const char* BinaryKey() const override { return "binary_path_windows"; }

  std::span<const char* const> TextKeys() const override { return kTextKeys; }

  std::string_view Program() const override { return "the program's .exe"; }
  std::string_view ProgramFile() const override { return "the .exe"; }
  std::string_view WithoutProgram() const override {
    return "on Windows the runtime has nothing to start";
  }

  // One '\' or '/' at the start roots a path at the current drive: the
  // runtime then does not find the file beside the manifest.
  void CheckRelativePath(const std::string& field, const std::string& text,
                         FindingList& findings) const override {
    if (!isDriveRooted(text)) return;
    const std::string separator(1, text[0]);
    std::string fix =
        "name the file relative to the manifest's folder, without a leading '" + separator + "'";
    if (text.size() > 1) fix += " (" + quotePathText(text.substr(1)) + ")";
    findings.warning(findings::kPathDriveRooted,
                     field + " " + quotePathText(text) + " starts with a single '" + separator +
                         "', so Windows reads it from the root of the current drive, not from the "
                         "manifest's folder: " +
                         fix + ", or give the full path");
  }

  std::optional<std::filesystem::path> ResolveBinaryPath(
      std::string_view binaryPath, const std::filesystem::path& manifestFolder) const override {
    std::string text(binaryPath);
    std::replace(text.begin(), text.end(), '\\', '/');
    std::optional<std::filesystem::path> path = pathFromUtf8(text);
    if (!path) return std::nullopt;
    if (isWindowsAbsolute(binaryPath) || path->is_absolute()) return path->make_preferred();
    return (manifestFolder / *path).make_preferred();
  }

  void CheckProgramLocation(const std::filesystem::path& program, const std::string& field,
                            IPathProbe*, FindingList& findings) const override {
    if (!underWindowsApps(pathToUtf8(program))) return;
    findings.warning(findings::kWindowsApps,
                     "the program " + quotePath(program) +
                         " lies under a WindowsApps folder, which Windows protects; the runtime "
                         "may be unable to start it from there: point " +
                         field + " at a copy outside WindowsApps");
  }
};

}  // namespace

const ISystemRules& windowsRules() {
  static const WindowsRules rules;
  return rules;
}

}  // namespace ostrel::manifestcheck
