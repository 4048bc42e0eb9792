#include "PathRegistry.h"

#include <nlohmann/json.hpp>
#include <utility>

#include "BoundedJson.h"
#include "platform/Platform.h"

namespace ostrel::runtimeregistry {

namespace {

using nlohmann::json;

// The first element of an array member when it is a non-empty string.
std::optional<std::string> firstString(const json& root, const char* member) {
  const auto found = root.find(member);
  if (found == root.end() || !found->is_array() || found->empty()) return std::nullopt;
  const json& first = found->front();
  if (!first.is_string() || first.get_ref<const std::string&>().empty()) return std::nullopt;
  return first.get<std::string>();
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
    const std::filesystem::path folder = environment.UserConfigFolder(result.problem);
    if (folder.empty()) return result;
    result.file = folder / "openvr" / "openvrpaths.vrpath";
    result.problem.clear();
  }

  const FileRead read = files.Read(result.file, kRegistryFileSizeLimit);
  if (read.status == FileRead::Status::Missing) {
    result.status = PathRegistryFile::Status::Missing;
    return result;
  }
  result.status = PathRegistryFile::Status::Unreadable;
  result.problem = read.reason;
  if (read.status != FileRead::Status::Read) return result;
  const std::optional<json> root = parseBounded(read.content, result.problem);
  if (!root) return result;
  result.status = PathRegistryFile::Status::Read;
  result.configMember = root->contains("config");
  result.config = firstString(*root, "config");
  result.runtime = firstString(*root, "runtime");
  return result;
}

}  // namespace ostrel::runtimeregistry
