// What every exported function does at the C boundary: refuse arguments the
// library cannot take, hand text over in memory ostrel_free releases, and
// turn every exception into a status code, so nothing escapes into a caller
// that cannot catch it.
#pragma once

#include <new>
#include <optional>
#include <string>

#include "ostrel.h"

namespace ostrel::capi {

// Whether `text` is usable as a text argument: not NULL, shorter than
// OSTREL_MAX_TEXT_BYTES, valid UTF-8. Reads at most OSTREL_MAX_TEXT_BYTES + 1
// bytes, so an unterminated buffer of that size is not overrun further.
bool acceptableText(const char* text) noexcept;

// Whether `path` is usable as a path argument: acceptable text, not "". With
// `required` false, NULL is accepted too (the default).
bool acceptablePath(const char* path, bool required) noexcept;

// Whether `key` is usable as an application key: acceptable text that the
// runtime takes as a key (manifestcheck::checkAppKey finds nothing). False
// too when memory runs out while judging it.
bool acceptableKey(const char* key) noexcept;

// The folder ostrel_set_program_folder set, UTF-8; empty for the running
// executable's.
std::string programFolder();

// The text, or an empty string for NULL.
std::string textOrEmpty(const char* text);

// A malloc'd, NUL-terminated copy for the caller to free with ostrel_free;
// nullptr when the memory is not there.
char* handOver(const std::string& text) noexcept;

// Runs `work` and returns its status, or the status code of what it threw.
template <typename Work>
int guarded(Work&& work) noexcept {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    return OSTREL_E_OUT_OF_MEMORY;
  } catch (...) {
    return OSTREL_E_INTERNAL;
  }
}

}  // namespace ostrel::capi
