#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

#include "ostrel/common/ILogger.h"

namespace ostrel::common {

namespace {

// Every message the registrar writes fits, a long manifest path included;
// longer ones are laid out on the heap.
constexpr std::size_t kStackMessageCapacity = 512;

}  // namespace

void dispatchLog(LogLevel level, std::string_view message) {
  // A plain pointer read: the slot is never written while code that logs can
  // run, so no lock and no reference-count traffic on the hot path.
  if (ILogger* logger = processLogger.get()) logger->Log(level, message);
}

namespace detail {

void dispatchPieces(LogLevel level, const MessagePiece* pieces, std::size_t count) {
  std::size_t used = 0;
  std::size_t size = 0;
  for (; used < count && !pieces[used].endsMessage(); ++used) size += pieces[used].text().size();

  char onStack[kStackMessageCapacity];
  std::unique_ptr<char[]> onHeap;
  char* message = onStack;
  if (size > sizeof onStack) {
    onHeap = std::make_unique_for_overwrite<char[]>(size);
    message = onHeap.get();
  }
  char* end = message;
  for (std::size_t i = 0; i < used; ++i) {
    const std::string_view text = pieces[i].text();
    if (!text.empty()) std::memcpy(end, text.data(), text.size());
    end += text.size();
  }
  dispatchLog(level, std::string_view(message, size));
}

}  // namespace detail

}  // namespace ostrel::common
