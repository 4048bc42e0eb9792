// The one rule for the manifest path a command hands the registrar, so that
// check, register, repair and status all judge and name the same file.
#pragma once

#include <string>

namespace ostrel::registration {

// The path the registrar is given for `manifestPath` (UTF-8), made absolute
// against the working directory: on Windows by the system's rules, with back
// slashes (unchanged when the system refuses); on Linux a relative path is
// joined to it as it is, links unresolved, and an absolute one is unchanged.
// Ill-formed UTF-8 becomes U+FFFD. Never throws (std::bad_alloc aside).
std::wstring registrarPathFor(const std::string& manifestPath);

}  // namespace ostrel::registration
