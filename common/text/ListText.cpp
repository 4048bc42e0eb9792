#include "ostrel/text/ListText.h"

#include <utility>

namespace ostrel::text {

std::string joinedList(const std::vector<std::string>& items, std::string_view separator) {
  std::string text;
  for (std::size_t index = 0; index < items.size(); ++index) {
    if (index > 0) text += separator;
    text += items[index];
  }
  return text;
}

std::string shortenedList(std::vector<std::string> items, std::size_t shown) {
  const std::size_t more = items.size() > shown ? items.size() - shown : 0;
  items.resize(items.size() - more);
  std::string text = joinedList(items);
  if (more > 0) text += " and " + std::to_string(more) + " more";
  return text;
}

}  // namespace ostrel::text
