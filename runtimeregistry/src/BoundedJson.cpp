#include "BoundedJson.h"

#include "ostrel/json/BoundedJson.h"
#include "ostrel/runtimeregistry/RuntimeRegistry.h"

namespace ostrel::runtimeregistry {

using manifestcheck::kManifestDepthLimit;

using nlohmann::json;

outcome::Outcome<json> parseBounded(const std::string& content, JsonComments comments) {
  if (content.size() > kRegistryFileSizeLimit) {
    return outcome::Failure{
        "", "it is larger than " + std::to_string(kRegistryFileSizeLimit) + " bytes", ""};
  }
  if (content.find('\0') != std::string::npos) {
    return outcome::Failure{"", "it holds a NUL byte, so it is not JSON text", ""};
  }
  ostrel::json::ParsedJson parsed = ostrel::json::parseBoundedJson(
      content, {kManifestDepthLimit, comments == JsonComments::Skipped});
  if (parsed.problem == ostrel::json::ParsedJson::Problem::TooDeep) {
    return outcome::Failure{"",
                            "its arrays and objects nest deeper than " +
                                std::to_string(kManifestDepthLimit) +
                                " levels, which no file of the runtime does",
                            ""};
  }
  if (!parsed.value) {
    return outcome::Failure{"", "it is not valid JSON (or not UTF-8)", ""};
  }
  if (!parsed.value->is_object()) {
    return outcome::Failure{"", "it does not hold a JSON object", ""};
  }
  return std::move(*parsed.value);
}

}  // namespace ostrel::runtimeregistry
