#include "Boundary.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/text/Utf8.h"

namespace ostrel::capi {

bool acceptableText(const char* text) noexcept {
  if (text == nullptr) return false;
  std::size_t length = 0;
  while (length < OSTREL_MAX_TEXT_BYTES && text[length] != '\0') ++length;
  if (length >= OSTREL_MAX_TEXT_BYTES) return false;
  return ostrel::text::isValidUtf8(std::string_view(text, length));
}

bool acceptablePath(const char* path, bool required) noexcept {
  if (path == nullptr) return !required;
  return *path != '\0' && acceptableText(path);
}

bool acceptableKey(const char* key) noexcept {
  if (!acceptableText(key)) return false;
  try {
    return manifestcheck::checkAppKey(key).empty();
  } catch (...) {
    return false;
  }
}

std::string textOrEmpty(const char* text) {
  return text != nullptr ? std::string(text) : std::string();
}

char* handOver(const std::string& text) noexcept {
  auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy == nullptr) return nullptr;
  std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  return copy;
}

}  // namespace ostrel::capi
