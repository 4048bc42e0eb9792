// Defines the process logger slot without an initialiser, so that this
// variant of the self-check runs with no process logger at all. Because the
// slot is defined here, the library's own definition is never linked in.
#include <memory>

#include "ostrel/common/ILogger.h"

namespace ostrel::common {

std::shared_ptr<ILogger> processLogger;

}  // namespace ostrel::common
