#include "LinuxPlaces.h"

#include <array>
#include <vector>

#include "ostrel/text/PosixPath.h"

namespace ostrel::manifestcheck {

namespace {

// Top-level folders the container shows as the host has them.
constexpr std::array<std::string_view, 8> kSharedTopFolders = {"home", "opt", "mnt", "media",
                                                               "srv",  "tmp", "nix", "gnu"};

// The parts of an absolute path after normalising; empty for a relative one.
std::vector<std::string> absoluteParts(std::string_view posixPath) {
  std::vector<std::string> parts;
  if (!text::isPosixAbsolute(posixPath)) return parts;
  const std::string normal = text::comparablePosixPath(posixPath);
  std::size_t start = 1;
  while (start < normal.size()) {
    std::size_t end = normal.find('/', start);
    if (end == std::string::npos) end = normal.size();
    parts.push_back(normal.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

}  // namespace

ContainerPlace containerPlace(std::string_view posixPath) {
  if (!text::isPosixAbsolute(posixPath)) return {};
  const std::vector<std::string> parts = absoluteParts(posixPath);
  // A file at the root, or the root itself: the container's root is its own.
  if (parts.size() < 2) return {ContainerView::Hidden, "/"};
  const std::string& top = parts[0];
  for (std::string_view shared : kSharedTopFolders) {
    if (top == shared) return {};
  }
  if (top == "usr") {
    if (parts[1] == "local" && parts.size() > 2) return {ContainerView::Replaced, "/usr/local"};
    return {ContainerView::Replaced, "/usr"};
  }
  if (top == "bin" || top == "sbin" || top.rfind("lib", 0) == 0) {
    return {ContainerView::Replaced, "/" + top};
  }
  // Removable media appear under /run/media; the rest of /run is the
  // container's.
  if (top == "run" && parts[1] == "media" && parts.size() > 2) return {};
  return {ContainerView::Hidden, "/" + top};
}

std::string appImageMount(std::string_view posixPath) {
  const std::vector<std::string> parts = absoluteParts(posixPath);
  if (parts.size() < 3 || parts[0] != "tmp" || parts[1].rfind(".mount_", 0) != 0) return {};
  return "/tmp/" + parts[1];
}

}  // namespace ostrel::manifestcheck
