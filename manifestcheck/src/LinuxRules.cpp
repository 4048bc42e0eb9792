// SteamVR on Linux: "/..." paths, '\' refused in the registered path (the
// runtime's loader reads it as '/'), binary_path_linux (binary_path_linux_arm
// on 64-bit ARM), and the places the container Steam starts SteamVR in does
// not show as the host has them.
#include <algorithm>
#include <string>

#include "DisplayText.h"
#include "LinuxPlaces.h"
#include "PathRules.h"
#include "PathText.h"
#include "SystemRules.h"
#include "ostrel/manifestcheck/FindingCodes.h"
#include "ostrel/text/PosixPath.h"

namespace ostrel::manifestcheck {

namespace {

namespace fs = std::filesystem;

constexpr const char* kLinuxTextKeys[] = {
    "arguments",       "arguments_linux",      "url",
    "image_path",      "action_manifest_path", "binary_path_windows",
    "binary_path_osx", "binary_path_linux_arm"};
constexpr const char* kLinuxArmTextKeys[] = {
    "arguments",       "arguments_linux",      "url",
    "image_path",      "action_manifest_path", "binary_path_windows",
    "binary_path_osx", "binary_path_linux"};

constexpr const char* kContainer = "the container SteamVR runs in on Linux (Steam Linux Runtime)";

// The manifest or the program, as the warnings about its place name it and
// say what to do.
struct Subject {
  std::string name;       // the manifest path "/usr/share/o.vrmanifest"
  std::string move;       // how to leave a place the container does not show
  std::string appImage;   // how to leave an AppImage's mount
  std::string useTarget;  // how to name the place a link leads to, before the place
};

Subject manifestSubject(std::string_view utf8Path) {
  return {"the manifest path " + quotePathText(utf8Path),
          "install the manifest under /opt or a home folder and register it from there",
          "write the manifest beside the AppImage file, in the folder $APPIMAGE names, and "
          "register that copy",
          "register"};
}

Subject programSubject(const fs::path& program, const std::string& field) {
  return {"the program " + quotePath(program),
          "install the program under /opt or a home folder and point " + field + " at it",
          "point " + field + " at the AppImage file itself, the path $APPIMAGE holds",
          "point " + field + " at"};
}

// `where` is how the warning starts: the subject, or the subject and the
// place its link leads to.
void checkPlace(const std::string& where, const std::string& utf8Place, const Subject& subject,
                FindingList& findings) {
  const ContainerPlace place = containerPlace(utf8Place);
  if (place.view != ContainerView::Shown) {
    const std::string what = std::string(kContainer) + (place.view == ContainerView::Replaced
                                                            ? " replaces that folder with its own"
                                                            : " does not show that folder");
    findings.warning(findings::kContainerHidden,
                     where + " under " + escaped(place.folder, kPathDisplayLength) + ": " + what +
                         ", so SteamVR started from Steam would not find it (started outside the "
                         "container, it would): " +
                         subject.move);
    return;
  }
  if (const std::string mount = appImageMount(utf8Place); !mount.empty()) {
    findings.warning(findings::kAppImageMount,
                     where + " inside an AppImage's mount (" + escaped(mount, kPathDisplayLength) +
                         "), which is gone once the AppImage exits, so the runtime would find "
                         "nothing there later: " +
                         subject.appImage);
  }
}

// The link warning, then the place the link leads to when the path as
// written was no trouble itself.
void checkLink(const std::string& utf8Path, const fs::path& target, const Subject& subject,
               FindingList& findings) {
  const std::string leads = subject.name + " goes through a symbolic link to " + quotePath(target);
  findings.warning(findings::kSymbolicLink,
                   leads +
                       "; the runtime resolves the link and works with where it leads, so a later "
                       "change of the link can leave it at the old place: " +
                       subject.useTarget + " " + quotePath(target) +
                       " itself, or ignore this if the link stays as it is");
  if (containerPlace(utf8Path).view == ContainerView::Shown && appImageMount(utf8Path).empty()) {
    checkPlace(leads + ", which lies", pathToUtf8(target), subject, findings);
  }
}

std::optional<fs::path> linkTarget(std::string_view utf8Path, IPathProbe& paths) {
  if (!text::isPosixAbsolute(utf8Path)) return std::nullopt;
  const std::optional<fs::path> path = pathFromUtf8(utf8Path);
  return path ? paths.LinkTarget(*path) : std::nullopt;
}

class LinuxRules final : public ISystemRules {
 public:
  LinuxRules(const char* binaryKey, std::span<const char* const> textKeys)
      : binaryKey_(binaryKey), textKeys_(textKeys) {}

  std::string_view ExampleManifestPath() const override { return "/opt/ostrel/ostrel.vrmanifest"; }

  void CheckRegistrarPath(std::string_view utf8, FindingList& findings) const override {
    if (!text::isPosixAbsolute(utf8)) {
      findings.error(findings::kPathRelative,
                     "the manifest path " + quotePathText(utf8) +
                         " is not a full path; the runtime would resolve it against its own "
                         "folder, not the installer's: pass the full path, starting with '/'");
    }
    if (utf8.find('\\') != std::string_view::npos) {
      findings.error(findings::kPathBackslash,
                     "the manifest path " + quotePathText(utf8) +
                         " contains '\\', which the runtime's loader on Linux reads as '/', so "
                         "the runtime would open another file than this one: install the "
                         "manifest under a path without '\\'");
    }
    checkRegistrarPathText(utf8, findings);
    const Subject subject = manifestSubject(utf8);
    checkPlace(subject.name + " lies", std::string(utf8), subject, findings);
  }

  void CheckManifestOnDisk(std::string_view utf8, IPathProbe& paths,
                           FindingList& findings) const override {
    if (const std::optional<fs::path> target = linkTarget(utf8, paths)) {
      checkLink(std::string(utf8), *target, manifestSubject(utf8), findings);
    }
  }

  const char* BinaryKey() const override { return binaryKey_; }

  std::span<const char* const> TextKeys() const override { return textKeys_; }

  std::string_view Program() const override { return "the program"; }
  std::string_view ProgramFile() const override { return "the program"; }
  std::string_view WithoutProgram() const override { return "SteamVR on Linux never lists it"; }

  // A leading '/' is a full path here, and nothing else about a relative
  // path's text misleads the runtime.
  void CheckRelativePath(const std::string&, const std::string&, FindingList&) const override {}

  std::optional<fs::path> ResolveBinaryPath(std::string_view binaryPath,
                                            const fs::path& manifestFolder) const override {
    std::string joined(binaryPath);
    if (!text::isPosixAbsolute(joined) && !manifestFolder.empty()) {
      joined = pathToUtf8(manifestFolder) + "/" + joined;
    }
    std::replace(joined.begin(), joined.end(), '\\', '/');
    return pathFromUtf8(joined);
  }

  void CheckProgramLocation(const fs::path& program, const std::string& field, IPathProbe* paths,
                            FindingList& findings) const override {
    const std::string utf8 = pathToUtf8(program);
    const Subject subject = programSubject(program, field);
    if (paths != nullptr) {
      if (const std::optional<fs::path> target = linkTarget(utf8, *paths)) {
        checkLink(utf8, *target, subject, findings);
      }
    }
    checkPlace(subject.name + " lies", utf8, subject, findings);
  }

 private:
  const char* binaryKey_;
  std::span<const char* const> textKeys_;
};

}  // namespace

const ISystemRules& linuxRules() {
  static const LinuxRules rules("binary_path_linux", kLinuxTextKeys);
  return rules;
}

const ISystemRules& linuxArmRules() {
  static const LinuxRules rules("binary_path_linux_arm", kLinuxArmTextKeys);
  return rules;
}

}  // namespace ostrel::manifestcheck
