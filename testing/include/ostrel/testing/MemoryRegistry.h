// The runtime's registry files and the process environment held in memory,
// for tests of the registry reader and of the commands that read through it:
// a few variables, a per-user folder, files by name, and symbolic links
// between folders.
//
// Files are found by their comparable name under the host's path rules
// (text::comparablePath), so a test names "C:\\cfg\\appconfig.json" on
// Windows and "/cfg/appconfig.json" on Linux (HostPaths.h) whatever the
// reader joins. Not synchronised.
#pragma once

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ostrel/runtimeregistry/RuntimeRegistry.h"
#include "ostrel/text/HostPath.h"
#include "platform/Platform.h"

namespace ostrel::testing {

class MemoryRegistry final : public runtimeregistry::IRegistryEnvironment,
                             public runtimeregistry::IRegistryFiles {
 public:
  std::optional<std::string> Variable(const char* name) override {
    const auto found = variables.find(name);
    if (found == variables.end()) return std::nullopt;
    return found->second;
  }

  // `userFolder`, or `userFolderError` when it is empty.
  outcome::Outcome<std::filesystem::path> UserConfigFolder() override {
    if (userFolder.empty()) return outcome::Failure{"", userFolderError, ""};
    return platform::pathFromUtf8(userFolder);
  }

  // The file put under the path (through the links), cut to `limit` + 1
  // bytes as the disk reader cuts it; Missing when none was put. Every name
  // asked for is kept in `reads`, as asked.
  runtimeregistry::FileRead Read(const std::filesystem::path& path, std::size_t limit) override {
    const std::string name = text::comparablePath(platform::pathToUtf8(path));
    reads.push_back(name);
    const auto found = files.find(resolved(name));
    if (found == files.end()) return {};
    runtimeregistry::FileRead read = found->second;
    if (read.content.size() > limit + 1) read.content.resize(limit + 1);
    return read;
  }

  // Both were put, and name one file once the links are followed.
  bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) override {
    const std::string first = resolved(text::comparablePath(platform::pathToUtf8(a)));
    const std::string second = resolved(text::comparablePath(platform::pathToUtf8(b)));
    return first == second && files.count(first) != 0;
  }

  // The names of the files put directly in `folder` (as they were spelled
  // when put), sorted; nullopt when none was.
  std::optional<std::vector<std::string>> FileNames(const std::filesystem::path& folder,
                                                    std::size_t limit) override {
    const std::string wanted = resolved(text::comparablePath(platform::pathToUtf8(folder)));
    std::vector<std::string> names;
    for (const auto& [name, spelling] : spelled) {
      if (names.size() == limit) break;
      if (text::folderOf(name) == wanted) {
        names.push_back(spelling.substr(spelling.find_last_of("/\\") + 1));
      }
    }
    if (names.empty()) return std::nullopt;
    return names;
  }

  void put(const std::string& path, std::string content) {
    files[text::comparablePath(path)] = {
        runtimeregistry::FileRead::Status::Read, std::move(content), {}};
    spelled[text::comparablePath(path)] = path;
  }
  void putUnreadable(const std::string& path, std::string reason = "denied") {
    files[text::comparablePath(path)] = {
        runtimeregistry::FileRead::Status::Unreadable, {}, std::move(reason)};
    spelled[text::comparablePath(path)] = path;
  }
  // A folder, device or pipe at `path`: unreadable, never opened.
  void putNotRegular(const std::string& path) {
    files[text::comparablePath(path)] = {
        runtimeregistry::FileRead::Status::Unreadable, {}, "is not a regular file", true};
  }
  void erase(const std::string& path) {
    files.erase(text::comparablePath(path));
    spelled.erase(text::comparablePath(path));
  }
  bool wasRead(const std::string& path) const {
    return std::find(reads.begin(), reads.end(), text::comparablePath(path)) != reads.end();
  }
  // The folder `link` is a symbolic link to the folder `target`, as
  // ~/.steam/steam is to ~/.local/share/Steam.
  void link(const std::string& link, const std::string& target) {
    links[text::comparablePath(link)] = text::comparablePath(target);
  }

  std::map<std::string, std::string> variables;
  std::string userFolder;
  std::string userFolderError = "no user folder in this test";
  std::map<std::string, runtimeregistry::FileRead> files;  // by comparable name
  std::vector<std::string> reads;                          // comparable names, in order
  std::map<std::string, std::string> links;                // comparable folder names
  std::map<std::string, std::string> spelled;              // comparable name -> as put

 private:
  // The name with the first link it lies in replaced by its target.
  std::string resolved(const std::string& name) const {
    for (const auto& [from, to] : links) {
      if (text::insideFolder(name, from)) return to + name.substr(from.size());
    }
    return name;
  }
};

}  // namespace ostrel::testing
