// The process logger slot and its initialiser. This unit defines nothing
// else, so an executable that defines the slot itself (left empty, say) never
// pulls it in from the static library.
#include <memory>

#include "ostrel/common/ConsoleLogger.h"
#include "ostrel/common/ILogger.h"

namespace ostrel::common {

std::shared_ptr<ILogger> processLogger = std::make_shared<ConsoleLogger>();

}  // namespace ostrel::common
