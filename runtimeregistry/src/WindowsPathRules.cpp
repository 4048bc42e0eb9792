#include "WindowsPathRules.h"

#include "ostrel/steamvr/RuntimeRegistry.h"

namespace ostrel::steamvr::runtimeregistry {

std::string comparablePath(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  for (char c : path) {
    if (c == '/') c = '\\';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    // A doubled separator names the same folder, except the leading pair of
    // a network path.
    if (c == '\\' && out.size() > 1 && out.back() == '\\') continue;
    out.push_back(c);
  }
  // "C:\" and "\\" keep their separators: they name a root.
  while (out.size() > 1 && out.back() == '\\' && !(out.size() == 3 && out[1] == ':') &&
         out != "\\\\") {
    out.pop_back();
  }
  return out;
}

bool underTemporaryFolder(std::string_view path, const std::vector<std::string>& temporaryFolders) {
  const std::string compared = comparablePath(path);
  for (const std::string& folder : temporaryFolders) {
    if (folder.empty()) continue;
    const std::string prefix = comparablePath(folder) + "\\";
    if (prefix.size() > 1 && compared.compare(0, prefix.size(), prefix) == 0) return true;
  }
  for (std::string_view marker : {std::string_view("\\appdata\\local\\temp\\"),
                                  std::string_view(":\\windows\\temp\\")}) {
    if (compared.find(marker) != std::string::npos) return true;
  }
  return false;
}

}  // namespace ostrel::steamvr::runtimeregistry

namespace ostrel::steamvr {

bool sameRuntimePath(std::string_view a, std::string_view b) {
  return runtimeregistry::comparablePath(a) == runtimeregistry::comparablePath(b);
}

}  // namespace ostrel::steamvr
