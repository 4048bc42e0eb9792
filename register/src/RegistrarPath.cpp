#include "RegistrarPath.h"

#include "platform/Platform.h"

namespace ostrel::registercli {

std::wstring registrarPathFor(const std::string& manifestPath) {
  return platform::fullNativePath(platform::utf8ToWide(manifestPath));
}

}  // namespace ostrel::registercli
