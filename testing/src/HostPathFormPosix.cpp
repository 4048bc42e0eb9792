#include "ostrel/testing/HostPathForm.h"

namespace ostrel::testing {

std::wstring hostPathForm(std::wstring_view, std::wstring_view posixForm) {
  return std::wstring(posixForm);
}

std::string hostPathForm(std::string_view, std::string_view posixForm) {
  return std::string(posixForm);
}

}  // namespace ostrel::testing
