// The operating-system services the components use, behind one small
// interface. The build compiles exactly one of PlatformPosix.cpp and
// PlatformWindows.cpp; PlatformPortable.cpp holds what is the same on both.
//
// Internal to the project: not installed, not part of any public header.
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace ostrel::platform {

// Broken-down local time of `secondsSinceEpoch` in the process's time zone.
// On failure (a value the C runtime cannot represent) returns false and leaves
// `out` all zeros, so a caller that ignores the result still reads defined
// values.
bool localTime(std::int64_t secondsSinceEpoch, std::tm& out) noexcept;

// UTF-8 form of a wide string. Ill-formed input is not refused: each unpaired
// UTF-16 surrogate, and on platforms with 32-bit wchar_t each surrogate code
// point or value above U+10FFFF, becomes U+FFFD. An empty result means empty
// input or a conversion the system could not perform.
std::string wideToUtf8(std::wstring_view text);

// Blocks the calling thread for at least `duration` on the monotonic clock.
void sleepFor(std::chrono::milliseconds duration);

// Replaces the function sleepFor calls, so that tests of polling code can
// count sleeps instead of waiting. Returns the previous replacement (nullptr
// for the real sleep); passing nullptr restores the real sleep. Not for use
// while another thread may be sleeping through sleepFor.
using SleepFunction = void (*)(std::chrono::milliseconds);
SleepFunction replaceSleepFunction(SleepFunction replacement) noexcept;

}  // namespace ostrel::platform
