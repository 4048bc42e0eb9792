#include "BoundedJson.h"

#include "ostrel/json/BoundedJson.h"
#include "ostrel/runtimeregistry/RuntimeRegistry.h"

namespace ostrel::runtimeregistry {

using manifestcheck::kManifestDepthLimit;

using nlohmann::json;

std::optional<json> parseBounded(const std::string& content, std::string& problem) {
  if (content.size() > kRegistryFileSizeLimit) {
    problem = "it is larger than " + std::to_string(kRegistryFileSizeLimit) + " bytes";
    return std::nullopt;
  }
  if (content.find('\0') != std::string::npos) {
    problem = "it holds a NUL byte, so it is not JSON text";
    return std::nullopt;
  }
  // The runtime's own files hold no comments.
  ostrel::json::ParsedJson parsed =
      ostrel::json::parseBoundedJson(content, {kManifestDepthLimit, /*comments=*/false});
  if (parsed.problem == ostrel::json::ParsedJson::Problem::TooDeep) {
    problem = "its arrays and objects nest deeper than " + std::to_string(kManifestDepthLimit) +
              " levels, which no file of the runtime does";
    return std::nullopt;
  }
  if (!parsed.value) {
    problem = "it is not valid JSON (or not UTF-8)";
    return std::nullopt;
  }
  if (!parsed.value->is_object()) {
    problem = "it does not hold a JSON object";
    return std::nullopt;
  }
  return std::move(parsed.value);
}

}  // namespace ostrel::runtimeregistry
