// libFuzzer entry for the manifest check: the input is the manifest file's
// content, checked from memory. The file system is scripted so that every
// branch about the binary can be reached without touching the disk.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TextScan.h"
#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/manifestcheck/ManifestReader.h"

namespace {

using ostrel::manifestcheck::FindingSeverity;
using ostrel::manifestcheck::ManifestFinding;
using ostrel::manifestcheck::PathKind;

// Answers from the path's length, so the same input always gets the same
// answer and each kind of answer turns up.
class ScriptedPathProbe final : public ostrel::manifestcheck::IPathProbe {
 public:
  PathKind Kind(const std::filesystem::path& path) override {
    switch (path.native().size() % 4) {
      case 0:
        return PathKind::RegularFile;
      case 1:
        return PathKind::Directory;
      case 2:
        return PathKind::Other;
      default:
        return PathKind::Missing;
    }
  }

  // Every third path leads elsewhere, so the Linux rules' link findings are
  // reached too.
  std::optional<std::filesystem::path> LinkTarget(const std::filesystem::path& path) override {
    if (path.native().size() % 3 != 0) return std::nullopt;
    return std::filesystem::path("/usr/lib") / path.filename();
  }
};

// What every finding must be, whatever the input: a known severity, a code,
// and a message that is one line of valid UTF-8 of bounded length (text from
// the file is quoted and shortened, never copied whole).
void requireWellFormed(const std::vector<ManifestFinding>& findings) {
  if (findings.size() > ostrel::manifestcheck::kMaxFindings) std::abort();
  for (const ManifestFinding& finding : findings) {
    if (finding.severity != FindingSeverity::Error &&
        finding.severity != FindingSeverity::Warning) {
      std::abort();
    }
    if (finding.code.empty() || finding.message.empty()) std::abort();
    if (finding.message.size() > 4096) std::abort();
    if (ostrel::manifestcheck::firstInvalidUtf8(finding.message)) std::abort();
    for (char c : finding.message) {
      if (static_cast<unsigned char>(c) < 0x20) std::abort();
    }
  }
}

// The app keys the input declares, a few at most, so that the findings about
// an application's own key (app-key-invalid, app-key-too-long) are reached
// too. Read by the one manifest reader, within the check's bounds.
std::vector<std::string> declaredKeys(std::string_view content) {
  std::vector<std::string> keys;
  for (const auto& application : ostrel::manifestcheck::parseManifest(content).applications) {
    if (keys.size() == 3) break;
    keys.push_back(application.appKey);
  }
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using ostrel::manifestcheck::RuntimeSystem;
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  ScriptedPathProbe probe;
  const std::vector<std::string> keys = declaredKeys(content);
  // The path handed to the registrar: the same bytes, one character each.
  const std::wstring path(content.begin(), content.begin() + std::min<std::size_t>(size, 300));
  struct Target {
    RuntimeSystem system;
    const char* folder;
  };
  for (const Target target : {Target{RuntimeSystem::Windows, "C:\\Apps\\Ostrel"},
                              Target{RuntimeSystem::Linux, "/opt/ostrel"},
                              Target{RuntimeSystem::LinuxArm, "/usr/lib/ostrel"}}) {
    requireWellFormed(ostrel::manifestcheck::checkManifestContent(
        content, {"vantorell.ostrel", target.folder, &probe, target.system}));
    for (const std::string& key : keys) {
      requireWellFormed(ostrel::manifestcheck::checkManifestContent(
          content, {key, target.folder, &probe, target.system}));
    }
    requireWellFormed(ostrel::manifestcheck::checkManifestPath(path, target.system));
  }
  return 0;
}
