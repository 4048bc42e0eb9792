// decodeUtf8, the step every UTF-8 rule of the project is made of: what it
// decodes, and how much of an ill-formed stretch one U+FFFD replaces.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ostrel/text/Utf8.h"

namespace {

using namespace std::string_view_literals;
namespace oc = ostrel::text;

struct DecodeCase {
  const char* name;
  std::string_view text;
  std::size_t offset;
  char32_t codePoint;
  std::size_t length;
  bool wellFormed;
};

constexpr char32_t kFffd = oc::kReplacementCharacter;

// Ill-formed rows give U+FFFD and the length of the maximal subpart: the
// stretch one U+FFFD replaces.
TEST(Utf8, DecodeTable) {
  const DecodeCase cases[] = {
      // Boundaries of each length.
      {"nul", "\0"sv, 0, 0x0, 1, true},
      {"last-ascii", "\x7f"sv, 0, 0x7F, 1, true},
      {"first-two", "\xc2\x80"sv, 0, 0x80, 2, true},
      {"last-two", "\xdf\xbf"sv, 0, 0x7FF, 2, true},
      {"first-three", "\xe0\xa0\x80"sv, 0, 0x800, 3, true},
      {"before-surrogates", "\xed\x9f\xbf"sv, 0, 0xD7FF, 3, true},
      {"after-surrogates", "\xee\x80\x80"sv, 0, 0xE000, 3, true},
      {"fffd-itself", "\xef\xbf\xbd"sv, 0, 0xFFFD, 3, true},
      {"last-three", "\xef\xbf\xbf"sv, 0, 0xFFFF, 3, true},
      {"first-four", "\xf0\x90\x80\x80"sv, 0, 0x10000, 4, true},
      {"emoji", "\xf0\x9f\x98\x80"sv, 0, 0x1F600, 4, true},
      {"last-scalar", "\xf4\x8f\xbf\xbf"sv, 0, 0x10FFFF, 4, true},
      {"at-offset", "a\xc3\xa9z"sv, 1, 0xE9, 2, true},
      {"followed-by-more", "\xe6\x96\x87\xe6"sv, 0, 0x6587, 3, true},
      // Bytes that start nothing.
      {"stray-continuation", "\x80"sv, 0, kFffd, 1, false},
      {"stray-last-continuation", "a\xbf"sv, 1, kFffd, 1, false},
      {"c0", "\xc0\xaf"sv, 0, kFffd, 1, false},
      {"c1", "\xc1\xbf"sv, 0, kFffd, 1, false},
      {"f5", "\xf5\x80\x80\x80"sv, 0, kFffd, 1, false},
      {"fe", "\xfe"sv, 0, kFffd, 1, false},
      {"ff", "\xff"sv, 0, kFffd, 1, false},
      // Overlong, surrogate and too large: refused at the second byte.
      {"overlong-three", "\xe0\x80\xaf"sv, 0, kFffd, 1, false},
      {"overlong-three-top", "\xe0\x9f\xbf"sv, 0, kFffd, 1, false},
      {"overlong-four", "\xf0\x8f\xbf\xbf"sv, 0, kFffd, 1, false},
      {"first-surrogate", "\xed\xa0\x80"sv, 0, kFffd, 1, false},
      {"last-surrogate", "\xed\xbf\xbf"sv, 0, kFffd, 1, false},
      {"above-10ffff", "\xf4\x90\x80\x80"sv, 0, kFffd, 1, false},
      // Cut short by the end of the text: the whole start is one subpart.
      {"two-cut", "\xc3"sv, 0, kFffd, 1, false},
      {"three-cut-after-two", "\xe2\x82"sv, 0, kFffd, 2, false},
      {"four-cut-after-two", "\xf0\x9f"sv, 0, kFffd, 2, false},
      {"four-cut-after-three", "ok\xf0\x9f\x98"sv, 2, kFffd, 3, false},
      // Cut short by a byte that cannot continue: the subpart ends before it.
      {"two-then-ascii", "\xc3("sv, 0, kFffd, 1, false},
      {"three-then-ascii", "\xe2\x28\xa1"sv, 0, kFffd, 1, false},
      {"three-then-lead", "\xe2\x82\xe2\x82\xac"sv, 0, kFffd, 2, false},
      {"four-then-ascii", "\xf0\x9f\x98z"sv, 0, kFffd, 3, false},
      {"four-then-lead", "\xf0\x9f\xc3\xa9"sv, 0, kFffd, 2, false},
  };
  for (const DecodeCase& c : cases) {
    const oc::Utf8Step step = oc::decodeUtf8(c.text, c.offset);
    EXPECT_EQ(step.codePoint, c.codePoint) << c.name;
    EXPECT_EQ(step.length, c.length) << c.name;
    EXPECT_EQ(step.wellFormed, c.wellFormed) << c.name;
    EXPECT_EQ(oc::utf8SequenceLength(c.text, c.offset), c.wellFormed ? c.length : 0u) << c.name;
  }
}

// The encoding written out by hand, independently of the decoder.
std::string encodeUtf8(char32_t value) {
  std::string out;
  const auto byte = [&](char32_t b) { out.push_back(static_cast<char>(b)); };
  if (value < 0x80) {
    byte(value);
  } else if (value < 0x800) {
    byte(0xC0 | (value >> 6));
    byte(0x80 | (value & 0x3F));
  } else if (value < 0x10000) {
    byte(0xE0 | (value >> 12));
    byte(0x80 | ((value >> 6) & 0x3F));
    byte(0x80 | (value & 0x3F));
  } else {
    byte(0xF0 | (value >> 18));
    byte(0x80 | ((value >> 12) & 0x3F));
    byte(0x80 | ((value >> 6) & 0x3F));
    byte(0x80 | (value & 0x3F));
  }
  return out;
}

// Every scalar value decodes back from its encoding; the surrogates'
// would-be encodings are three subparts of one byte each.
TEST(Utf8, DecodesEveryScalarValueAndNoSurrogate) {
  std::size_t mismatches = 0;
  for (char32_t value = 0; value <= 0x10FFFF; ++value) {
    const std::string bytes = encodeUtf8(value);
    const oc::Utf8Step step = oc::decodeUtf8(bytes, 0);
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    const bool right =
        surrogate ? !step.wellFormed && step.length == 1 && step.codePoint == kFffd
                  : step.wellFormed && step.length == bytes.size() && step.codePoint == value;
    if (!right && ++mismatches <= 5)
      ADD_FAILURE() << "U+" << std::hex << static_cast<std::uint32_t>(value);
  }
  EXPECT_EQ(mismatches, 0u);
}

}  // namespace
