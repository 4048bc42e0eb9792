#include "HostBinaryPath.h"

namespace ostrel::registration {

std::optional<std::string> hostBinaryPath(const manifestcheck::ManifestApplication& application,
                                          const std::string&, const std::string&) {
  return application.binaryPathWindows;
}

}  // namespace ostrel::registration
