#include "PathRegistry.h"

#include <nlohmann/json.hpp>
#include <utility>

#include "BoundedJson.h"
#include "platform/Platform.h"

namespace ostrel::runtimeregistry {

namespace {

using nlohmann::json;

// The first element of an array member when it is a non-empty string, as
// the loader takes it: it hands the entry on as a C string, so an escaped NUL
// (\u0000) ends it there.
std::optional<std::string> firstString(const json& root, const char* member) {
  const auto found = root.find(member);
  if (found == root.end() || !found->is_array() || found->empty()) return std::nullopt;
  const json& first = found->front();
  if (!first.is_string()) return std::nullopt;
  const std::string& entry = first.get_ref<const std::string&>();
  std::string taken = entry.substr(0, entry.find('\0'));
  if (taken.empty()) return std::nullopt;
  return taken;
}

}  // namespace

std::optional<std::string> nonEmptyVariable(IRegistryEnvironment& environment, const char* name) {
  std::optional<std::string> value = environment.Variable(name);
  if (value && value->empty()) return std::nullopt;
  return value;
}

PathRegistryFile readPathRegistryFile(IRegistryEnvironment& environment, IRegistryFiles& files) {
  PathRegistryFile result;
  if (const std::optional<std::string> chosen =
          nonEmptyVariable(environment, "VR_PATHREG_OVERRIDE")) {
    result.file = platform::pathFromUtf8(*chosen);
  } else {
    const outcome::Outcome<std::filesystem::path> folder = environment.UserConfigFolder();
    if (!folder) {
      result.problem = folder.failure().message;
      return result;
    }
    result.file = folder.value() / "openvr" / "openvrpaths.vrpath";
  }

  const FileRead read = files.Read(result.file, kRegistryFileSizeLimit);
  if (read.status == FileRead::Status::Missing) {
    result.status = PathRegistryFile::Status::Missing;
    return result;
  }
  result.status = PathRegistryFile::Status::Unreadable;
  result.problem = read.reason;
  if (read.status != FileRead::Status::Read) return result;
  // The loader's JSON reader skips comments, so a file with comments still
  // names the runtime it starts.
  const outcome::Outcome<json> root = parseBounded(read.content, JsonComments::Skipped);
  if (!root) {
    result.problem = root.failure().message;
    return result;
  }
  result.status = PathRegistryFile::Status::Read;
  result.problem.clear();
  result.configMember = root.value().contains("config");
  result.config = firstString(root.value(), "config");
  result.runtime = firstString(root.value(), "runtime");
  return result;
}

}  // namespace ostrel::runtimeregistry
