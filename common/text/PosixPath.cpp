#include "ostrel/text/PosixPath.h"

#include <vector>

namespace ostrel::text {

bool isPosixAbsolute(std::string_view utf8Path) noexcept {
  return !utf8Path.empty() && utf8Path.front() == '/';
}

std::string comparablePosixPath(std::string_view utf8Path) {
  const bool absolute = isPosixAbsolute(utf8Path);
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start <= utf8Path.size()) {
    std::size_t end = utf8Path.find('/', start);
    if (end == std::string_view::npos) end = utf8Path.size();
    const std::string_view part = utf8Path.substr(start, end - start);
    if (part.empty() || part == ".") {
      // nothing: a doubled separator or the current folder
    } else if (part == "..") {
      if (!parts.empty() && parts.back() != "..") {
        parts.pop_back();
      } else if (!absolute) {
        parts.push_back(part);  // above the start of a relative path
      }
    } else {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string out;
  if (absolute) out.push_back('/');
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out.push_back('/');
    out.append(parts[i]);
  }
  if (out.empty() && !utf8Path.empty()) out.push_back('.');
  return out;
}

bool samePosixPath(std::string_view a, std::string_view b) {
  return comparablePosixPath(a) == comparablePosixPath(b);
}

bool insidePosixFolder(std::string_view utf8Path, std::string_view folder) {
  if (folder.empty()) return false;
  std::string prefix = comparablePosixPath(folder);
  // "/" keeps its separator; every other folder gets one, so that
  // "/home/me/apps2" is not inside "/home/me/apps".
  if (prefix.back() != '/') prefix.push_back('/');
  const std::string compared = comparablePosixPath(utf8Path);
  return compared.size() > prefix.size() && compared.compare(0, prefix.size(), prefix) == 0;
}

std::string posixFolderOf(std::string_view utf8Path) {
  const std::size_t last = utf8Path.rfind('/');
  if (last == std::string_view::npos) return {};
  return std::string(utf8Path.substr(0, last == 0 ? 1 : last));
}

}  // namespace ostrel::text
