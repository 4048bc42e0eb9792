// A list of items in one line of a message: "a, b, c".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel::text {

// The items in order, `separator` between each two; empty for no items.
// Items are taken as they are: quoting them is the caller's business.
std::string joinedList(const std::vector<std::string>& items, std::string_view separator = ", ");

// The first `shown` items joined with ", ", then " and N more" for the rest,
// so that a message about a long list stays one readable line.
std::string shortenedList(std::vector<std::string> items, std::size_t shown);

}  // namespace ostrel::text
