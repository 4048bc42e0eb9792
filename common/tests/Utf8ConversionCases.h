// Conversion cases that every platform's wideToUtf8 must agree on. The
// literals are written so that they mean the same text whether wchar_t holds
// UTF-16 units (Windows) or code points (Linux).
#pragma once

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

namespace ostrel::platform::testing {

struct Utf8Case {
  const char* name;
  std::wstring wide;
  std::string utf8;
};

// Test names carry the case's name; the default would dump its bytes.
inline void PrintTo(const Utf8Case& value, std::ostream* out) { *out << value.name; }

// U+FFFD, which every ill-formed value becomes.
inline const std::string kReplacement = "\xef\xbf\xbd";

// A wide string from raw wchar_t values: UTF-16 units on Windows, code points
// (any 32-bit value, even a negative wchar_t) on Linux.
inline std::wstring wideOf(std::initializer_list<unsigned> values) {
  std::wstring out;
  for (unsigned v : values) out.push_back(static_cast<wchar_t>(v));
  return out;
}

inline std::wstring longPath() {
  std::wstring path = L"C:\\Program Files\\Ostrel";
  while (path.size() < 300) path += L"\\\u00e9tape-\u6587\u4ef6";
  return path + L"\\app.vrmanifest";
}

inline std::string longPathUtf8() {
  std::string path = "C:\\Program Files\\Ostrel";
  // Same loop as longPath: each segment is 9 wide characters.
  std::size_t wideSize = 23;
  while (wideSize < 300) {
    path += "\\\xc3\xa9tape-\xe6\x96\x87\xe4\xbb\xb6";
    wideSize += 9;
  }
  return path + "\\app.vrmanifest";
}

inline std::vector<Utf8Case> sharedUtf8Cases() {
  return {
      {"Empty", L"", ""},
      {"Ascii", L"C:\\Program Files\\Ostrel\\app.vrmanifest",
       "C:\\Program Files\\Ostrel\\app.vrmanifest"},
      {"Latin1", L"C:\\Users\\Jos\u00e9\\Caf\u00e9\\\u00fc\u00df.vrmanifest",
       "C:\\Users\\Jos\xc3\xa9\\Caf\xc3\xa9\\\xc3\xbc\xc3\x9f.vrmanifest"},
      {"TwoAndThreeByteEdges", L"\u007f\u0080\u07ff\u0800\uffff",
       "\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf"},
      {"Cjk", L"D:\\\u30b2\u30fc\u30e0\\\u5e94\u7528.vrmanifest",
       "D:\\\xe3\x82\xb2\xe3\x83\xbc\xe3\x83\xa0\\\xe5\xba\x94\xe7\x94\xa8.vrmanifest"},
      {"Emoji", L"C:\\\U0001F600\\\U0010FFFF", "C:\\\xf0\x9f\x98\x80\\\xf4\x8f\xbf\xbf"},
      {"LoneHighSurrogate", std::wstring(L"a") + wchar_t(0xD800) + L"b",
       "a\xef\xbf\xbd"
       "b"},
      {"LoneLowSurrogate", std::wstring(L"a") + wchar_t(0xDC00) + L"b",
       "a\xef\xbf\xbd"
       "b"},
      {"SurrogateAtEnd", std::wstring(L"x") + wchar_t(0xDBFF), "x\xef\xbf\xbd"},
      {"ReplacementCharacterItself", L"\ufffd", "\xef\xbf\xbd"},
      {"EmbeddedNul", std::wstring(L"a\0b", 3), std::string("a\0b", 3)},
      {"LongPath", longPath(), longPathUtf8()},
  };
}

}  // namespace ostrel::platform::testing
