// Tests that hand a path to the registrar or the manifest check give it in
// the form the runtime on the platform built for reads: "C:\..." on Windows,
// "/..." on Linux, where each platform's registrar refuses the other's
// separator. The build picks the definition, as it picks the platform layer.
#pragma once

#include <string>
#include <string_view>

namespace ostrel::testing {

// The Windows form in a Windows build, the POSIX form in any other.
std::wstring hostPathForm(std::wstring_view windowsForm, std::wstring_view posixForm);
std::string hostPathForm(std::string_view windowsForm, std::string_view posixForm);

}  // namespace ostrel::testing
