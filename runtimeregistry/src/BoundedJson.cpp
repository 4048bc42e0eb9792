#include "BoundedJson.h"

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
  // Nested values beyond the manifest check's depth are dropped while
  // parsing, so the depth costs nothing before it is refused.
  bool tooDeep = false;
  const json::parser_callback_t shallow = [&tooDeep](int depth, json::parse_event_t, json&) {
    if (depth <= kManifestDepthLimit) return true;
    tooDeep = true;
    return false;
  };
  json root;
  try {
    root = json::parse(content, shallow, /*allow_exceptions=*/false);
  } catch (const json::exception&) {
    root = json(json::value_t::discarded);
  }
  if (tooDeep) {
    problem = "its arrays and objects nest deeper than " + std::to_string(kManifestDepthLimit) +
              " levels, which no file of the runtime does";
    return std::nullopt;
  }
  if (root.is_discarded()) {
    problem = "it is not valid JSON (or not UTF-8)";
    return std::nullopt;
  }
  if (!root.is_object()) {
    problem = "it does not hold a JSON object";
    return std::nullopt;
  }
  return root;
}

}  // namespace ostrel::runtimeregistry
