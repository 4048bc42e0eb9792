// Every number the interface returns, by the name the header gives it.
#include "ostrel.h"

namespace {

const char* failureName(int code) noexcept {
  switch (code) {
    case OSTREL_E_INVALID_ARGUMENT:
      return "OSTREL_E_INVALID_ARGUMENT";
    case OSTREL_E_OUT_OF_MEMORY:
      return "OSTREL_E_OUT_OF_MEMORY";
    case OSTREL_E_INVALID_STATE:
      return "OSTREL_E_INVALID_STATE";
    case OSTREL_E_INTERNAL:
      return "OSTREL_E_INTERNAL";
    default:
      return nullptr;
  }
}

const char* startupName(int code) noexcept {
  switch (code) {
    case OSTREL_STARTUP_ALREADY_REGISTERED:
      return "OSTREL_STARTUP_ALREADY_REGISTERED";
    case OSTREL_STARTUP_REGISTERED:
      return "OSTREL_STARTUP_REGISTERED";
    case OSTREL_STARTUP_REPAIRED:
      return "OSTREL_STARTUP_REPAIRED";
    case OSTREL_STARTUP_UNREACHABLE:
      return "OSTREL_STARTUP_UNREACHABLE";
    case OSTREL_STARTUP_FAILED:
      return "OSTREL_STARTUP_FAILED";
    case OSTREL_STARTUP_CANCELLED:
      return "OSTREL_STARTUP_CANCELLED";
    default:
      return nullptr;
  }
}

const char* resultName(int code) noexcept {
  switch (code) {
    case OSTREL_RESULT_SUCCESS:
      return "OSTREL_RESULT_SUCCESS";
    case OSTREL_RESULT_ADD_FAILED:
      return "OSTREL_RESULT_ADD_FAILED";
    case OSTREL_RESULT_POLL_TIMEOUT:
      return "OSTREL_RESULT_POLL_TIMEOUT";
    case OSTREL_RESULT_AUTO_LAUNCH_FAILED:
      return "OSTREL_RESULT_AUTO_LAUNCH_FAILED";
    case OSTREL_RESULT_REMOVE_FAILED:
      return "OSTREL_RESULT_REMOVE_FAILED";
    case OSTREL_RESULT_UNREACHABLE:
      return "OSTREL_RESULT_UNREACHABLE";
    default:
      return nullptr;
  }
}

const char* stateName(int code) noexcept {
  switch (code) {
    case OSTREL_STATE_REGISTERED:
      return "OSTREL_STATE_REGISTERED";
    case OSTREL_STATE_STALE:
      return "OSTREL_STATE_STALE";
    case OSTREL_STATE_NOT_REGISTERED:
      return "OSTREL_STATE_NOT_REGISTERED";
    case OSTREL_STATE_UNKNOWN:
      return "OSTREL_STATE_UNKNOWN";
    default:
      return nullptr;
  }
}

const char* checkName(int code) noexcept {
  switch (code) {
    case OSTREL_CHECK_CLEAN:
      return "OSTREL_CHECK_CLEAN";
    case OSTREL_CHECK_ERRORS:
      return "OSTREL_CHECK_ERRORS";
    default:
      return nullptr;
  }
}

const char* repairName(int code) noexcept {
  switch (code) {
    case OSTREL_REPAIR_DONE:
      return "OSTREL_REPAIR_DONE";
    case OSTREL_REPAIR_CHECK_FAILED:
      return "OSTREL_REPAIR_CHECK_FAILED";
    case OSTREL_REPAIR_UNREACHABLE:
      return "OSTREL_REPAIR_UNREACHABLE";
    case OSTREL_REPAIR_REMOVAL_REFUSED:
      return "OSTREL_REPAIR_REMOVAL_REFUSED";
    case OSTREL_REPAIR_REGISTRATION_FAILED:
      return "OSTREL_REPAIR_REGISTRATION_FAILED";
    default:
      return nullptr;
  }
}

const char* doctorName(int code) noexcept {
  switch (code) {
    case OSTREL_DOCTOR_CLEAN:
      return "OSTREL_DOCTOR_CLEAN";
    case OSTREL_DOCTOR_PROBLEMS:
      return "OSTREL_DOCTOR_PROBLEMS";
    case OSTREL_DOCTOR_UNREADABLE:
      return "OSTREL_DOCTOR_UNREADABLE";
    default:
      return nullptr;
  }
}

const char* nameIn(int set, int code) noexcept {
  switch (set) {
    case OSTREL_CODES_PLAIN:
      return code == OSTREL_OK ? "OSTREL_OK" : nullptr;
    case OSTREL_CODES_STARTUP:
      return startupName(code);
    case OSTREL_CODES_RESULT:
      return resultName(code);
    case OSTREL_CODES_STATE:
      return stateName(code);
    case OSTREL_CODES_CHECK:
      return checkName(code);
    case OSTREL_CODES_REPAIR:
      return repairName(code);
    case OSTREL_CODES_DOCTOR:
      return doctorName(code);
    default:
      return nullptr;
  }
}

}  // namespace

extern "C" {

OSTREL_API const char* OSTREL_CALL ostrel_code_name(int set, int code) {
  const char* name = code < 0 ? failureName(code) : nameIn(set, code);
  return name != nullptr ? name : "OSTREL_UNKNOWN_CODE";
}

}  // extern "C"
