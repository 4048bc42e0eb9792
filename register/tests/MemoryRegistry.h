// The runtime's files held in memory, for tests of the commands that read
// them: a process environment of a few variables and files by name.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "ostrel/steamvr/RuntimeRegistry.h"
#include "platform/Platform.h"

namespace ostrel::registercli::testing {

class MemoryRegistry final : public steamvr::IRegistryEnvironment, public steamvr::IRegistryFiles {
 public:
  std::optional<std::string> Variable(const char* name) override {
    const auto found = variables.find(name);
    if (found == variables.end()) return std::nullopt;
    return found->second;
  }
  std::filesystem::path UserConfigFolder(std::string& error) override {
    error = "no user folder in this test";
    return {};
  }
  steamvr::FileRead Read(const std::filesystem::path& path, std::size_t limit) override {
    const auto found = files.find(key(platform::pathToUtf8(path)));
    if (found == files.end()) return {};
    return {steamvr::FileRead::Status::Read, found->second.substr(0, limit + 1), {}};
  }

  void put(const std::string& path, std::string content) { files[key(path)] = std::move(content); }

  RegistrySources sources() { return {this, this}; }

  std::map<std::string, std::string> variables;
  std::map<std::string, std::string> files;

 private:
  // '/' and '\' alike, so a test can name "C:\\cfg\\appconfig.json" whatever
  // separator the platform joins with.
  static std::string key(std::string path) {
    for (char& c : path) {
      if (c == '/') c = '\\';
    }
    return path;
  }
};

}  // namespace ostrel::registercli::testing
