#include "RuntimeServer.h"

namespace ostrel::runtimeregistry {

const char* runtimeServerFile() noexcept { return "bin/linux64/vrserver"; }

}  // namespace ostrel::runtimeregistry
