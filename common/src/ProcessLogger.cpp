// The process logger slot and its initialiser.
#include <memory>

#include "ostrel/common/ConsoleLogger.h"
#include "ostrel/common/ILogger.h"

namespace ostrel::common {

std::shared_ptr<ILogger> processLogger = std::make_shared<ConsoleLogger>();

}  // namespace ostrel::common
