#include "ostrel/registration/RegistrarPath.h"

#include "platform/Platform.h"

namespace ostrel::registration {

std::wstring registrarPathFor(const std::string& manifestPath) {
  return platform::fullNativePath(platform::utf8ToWide(manifestPath));
}

}  // namespace ostrel::registration
