// A list of items in one line of a message: "a, b, c".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ostrel::text {

// The items in order, `separator` between each two; empty for no items.
// Items are taken as they are: quoting them is the caller's business.
std::string joinedList(const std::vector<std::string>& items, std::string_view separator = ", ");

}  // namespace ostrel::text
