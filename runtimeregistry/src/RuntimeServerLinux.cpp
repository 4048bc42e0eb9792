#include "RuntimeServer.h"

namespace ostrel::steamvr::runtimeregistry {

const char* runtimeServerFile() noexcept { return "bin/linux64/vrserver"; }

}  // namespace ostrel::steamvr::runtimeregistry
