#include "ostrel/testing/HostPathForm.h"

namespace ostrel::testing {

std::wstring hostPathForm(std::wstring_view windowsForm, std::wstring_view) {
  return std::wstring(windowsForm);
}

std::string hostPathForm(std::string_view windowsForm, std::string_view) {
  return std::string(windowsForm);
}

}  // namespace ostrel::testing
