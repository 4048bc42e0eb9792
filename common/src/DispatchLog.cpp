#include "ostrel/common/ILogger.h"

namespace ostrel::common {

void dispatchLog(LogLevel level, std::string_view message) {
  // A plain pointer read: the slot is never written while code that logs can
  // run, so no lock and no reference-count traffic on the hot path.
  if (ILogger* logger = processLogger.get()) logger->Log(level, message);
}

}  // namespace ostrel::common
