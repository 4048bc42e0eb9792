// The runtime's registry files and the process environment held in memory,
// for tests of the registry reader and of the commands that read through it:
// a few variables, a per-user folder, and files by name.
//
// Files are found by their Windows-comparable name (the one Windows path
// module's rules), so a test can name "C:\\cfg\\appconfig.json" whatever
// separator the host joins paths with. Not synchronised.
#pragma once

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ostrel/text/WindowsPath.h"
#include "ostrel/runtimeregistry/RuntimeRegistry.h"
#include "platform/Platform.h"

namespace ostrel::testing {

class MemoryRegistry final : public runtimeregistry::IRegistryEnvironment, public runtimeregistry::IRegistryFiles {
 public:
  std::optional<std::string> Variable(const char* name) override {
    const auto found = variables.find(name);
    if (found == variables.end()) return std::nullopt;
    return found->second;
  }

  // `userFolder`, or `userFolderError` when it is empty.
  std::filesystem::path UserConfigFolder(std::string& error) override {
    if (userFolder.empty()) error = userFolderError;
    return platform::pathFromUtf8(userFolder);
  }

  // The file put under the path, cut to `limit` + 1 bytes as the disk reader
  // cuts it; Missing when none was put. Every name asked for is kept in
  // `reads`.
  runtimeregistry::FileRead Read(const std::filesystem::path& path, std::size_t limit) override {
    const std::string name = text::comparableWindowsPath(platform::pathToUtf8(path));
    reads.push_back(name);
    const auto found = files.find(name);
    if (found == files.end()) return {};
    runtimeregistry::FileRead read = found->second;
    if (read.content.size() > limit + 1) read.content.resize(limit + 1);
    return read;
  }

  void put(const std::string& path, std::string content) {
    files[text::comparableWindowsPath(path)] = {
        runtimeregistry::FileRead::Status::Read, std::move(content), {}};
  }
  void putUnreadable(const std::string& path, std::string reason = "denied") {
    files[text::comparableWindowsPath(path)] = {
        runtimeregistry::FileRead::Status::Unreadable, {}, std::move(reason)};
  }
  void erase(const std::string& path) { files.erase(text::comparableWindowsPath(path)); }
  bool wasRead(const std::string& path) const {
    return std::find(reads.begin(), reads.end(), text::comparableWindowsPath(path)) !=
           reads.end();
  }

  std::map<std::string, std::string> variables;
  std::string userFolder;
  std::string userFolderError = "no user folder in this test";
  std::map<std::string, runtimeregistry::FileRead> files;  // by comparable name
  std::vector<std::string> reads;                  // comparable names, in order
};

}  // namespace ostrel::testing
