// Paths as UTF-8 text and back. The registrar hands the runtime UTF-8, so the
// check builds every path it looks at from the same UTF-8 form, on every
// platform.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ostrel::manifestcheck {

// UTF-8 form of a path; a placeholder text when the system cannot convert it
// (a Windows path holding an unpaired surrogate).
std::string pathToUtf8(const std::filesystem::path& path);

// The path named by UTF-8 text; nullopt when the system cannot convert it.
std::optional<std::filesystem::path> pathFromUtf8(std::string_view utf8);

}  // namespace ostrel::manifestcheck
