#include "ostrel/text/ListText.h"

namespace ostrel::text {

std::string joinedList(const std::vector<std::string>& items, std::string_view separator) {
  std::string text;
  for (std::size_t index = 0; index < items.size(); ++index) {
    if (index > 0) text += separator;
    text += items[index];
  }
  return text;
}

}  // namespace ostrel::text
