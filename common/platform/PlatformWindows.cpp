// Windows side of the platform layer.
#include "platform/Platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace ostrel::platform {

namespace {

// The C runtime takes a TZ variable, when set, in its own "JST-9" form and
// silently falls back to UTC for anything else. An Olson name such as
// "Asia/Tokyo" only ever comes from a Unix environment (Wine passes the
// host's TZ through), where the system time zone already follows it; drop
// it so the runtime asks the system instead of stamping UTC.
void ignoreUnixTimeZoneName() noexcept {
  const char* tz = std::getenv("TZ");
  if (tz != nullptr && (tz[0] == ':' || std::strchr(tz, '/') != nullptr)) {
    _putenv("TZ=");
  }
  _tzset();
}

}  // namespace

bool localTime(std::int64_t secondsSinceEpoch, std::tm& out) noexcept {
  static const bool timeZoneReady = (ignoreUnixTimeZoneName(), true);
  (void)timeZoneReady;
  std::memset(&out, 0, sizeof out);
  const __time64_t seconds = secondsSinceEpoch;
  if (_localtime64_s(&out, &seconds) != 0) {
    std::memset(&out, 0, sizeof out);
    return false;
  }
  return true;
}

// Code page 65001 with flags 0: ill-formed UTF-16 is converted, each unpaired
// surrogate becoming U+FFFD, rather than refused. The first call sizes the
// output, the second fills it.
std::string wideToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  if (text.size() > static_cast<std::size_t>(INT_MAX)) return {};
  const int units = static_cast<int>(text.size());
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), units, out.data(), bytes, nullptr, nullptr);
  return out;
}

}  // namespace ostrel::platform
