#include "ShownText.h"

#include "ostrel/text/DisplayText.h"

namespace ostrel::runtimeregistry {

namespace {

constexpr text::DisplayStyle kShownStyle{text::DisplayStyle::Controls::Hex,
                                         text::DisplayStyle::Limit::Bytes, kShownLength};

}  // namespace

std::string escapedText(std::string_view text) { return text::escapedForDisplay(text, kShownStyle); }

std::string shownText(std::string_view text) { return text::quotedForDisplay(text, kShownStyle); }

}  // namespace ostrel::runtimeregistry
