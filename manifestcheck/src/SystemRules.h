// What differs between the runtimes a manifest is checked for: which key
// names the program, how a path is read, and which places are trouble. One
// implementation per runtime, all built on every host (they are text rules,
// the file system reached only through IPathProbe); a check picks one by its
// context's RuntimeSystem, by default the one the build chose.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "FindingList.h"
#include "ostrel/manifestcheck/ManifestCheck.h"

namespace ostrel::manifestcheck {

class ISystemRules {
 public:
  virtual ~ISystemRules() = default;

  // --- The path handed to the registrar.

  // A full manifest path of this system, for messages that show one.
  virtual std::string_view ExampleManifestPath() const = 0;

  // The findings about a registrar path that is neither empty nor holds a
  // NUL (those are judged alike everywhere): whether the runtime reads it as
  // a full path, separators it misreads, places it cannot reach.
  virtual void CheckRegistrarPath(std::string_view utf8Path, FindingList& findings) const = 0;

  // What only the file system can tell about that path.
  virtual void CheckManifestOnDisk(std::string_view utf8Path, IPathProbe& paths,
                                   FindingList& findings) const = 0;

  // --- The manifest's content.

  // The key naming the program the runtime starts ("binary_path_windows").
  virtual const char* BinaryKey() const = 0;

  // The other keys the runtime reads as text, each a wrong-type error when
  // it is not a string.
  virtual std::span<const char* const> TextKeys() const = 0;

  // How messages name the program ("the program's .exe") and the file to
  // pick in a folder ("the .exe"), and what happens when the application
  // names none ("on Windows the runtime has nothing to start").
  virtual std::string_view Program() const = 0;
  virtual std::string_view ProgramFile() const = 0;
  virtual std::string_view WithoutProgram() const = 0;

  // Findings about a path the runtime reads relative to the manifest's
  // folder (the program, image_path, action_manifest_path), from its text.
  virtual void CheckRelativePath(const std::string& field, const std::string& text,
                                 FindingList& findings) const = 0;

  // Where the runtime looks for the program `binaryPath` names: a full path
  // as it is, any other under the manifest's folder, '\' read as '/'.
  // nullopt when the text cannot be a path on this host.
  virtual std::optional<std::filesystem::path> ResolveBinaryPath(
      std::string_view binaryPath, const std::filesystem::path& manifestFolder) const = 0;

  // Warnings about where the program lies; `field` names the key to fix.
  // `paths` may be null: then only the text is judged.
  virtual void CheckProgramLocation(const std::filesystem::path& program, const std::string& field,
                                    IPathProbe* paths, FindingList& findings) const = 0;
};

// The rules of `system`'s runtime; static, never destroyed while in use.
const ISystemRules& systemRules(RuntimeSystem system);

// Each runtime's rules, defined beside their implementation.
const ISystemRules& windowsRules();
const ISystemRules& linuxRules();
const ISystemRules& linuxArmRules();

}  // namespace ostrel::manifestcheck
