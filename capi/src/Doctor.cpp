// The doctor answering with the JSON object `ostrel-register doctor --json`
// prints: the doctor library builds both.
#include <string>

#include "Boundary.h"
#include "ostrel.h"
#include "ostrel/doctor/Doctor.h"

namespace {

// The state as the interface numbers it. Removing dead entries is the
// command's alone, so only the states of a reading run come here.
int doctorCode(ostrel::doctor::DoctorState state) {
  switch (state) {
    case ostrel::doctor::DoctorState::Healthy:
      return OSTREL_DOCTOR_CLEAN;
    case ostrel::doctor::DoctorState::ProblemsFound:
      return OSTREL_DOCTOR_PROBLEMS;
    case ostrel::doctor::DoctorState::Unavailable:
      return OSTREL_DOCTOR_UNREADABLE;
    case ostrel::doctor::DoctorState::RemoveFailed:
      break;
  }
  return OSTREL_E_INTERNAL;
}

}  // namespace

extern "C" {

OSTREL_API int OSTREL_CALL ostrel_doctor_json(char** json) {
  if (json == nullptr) return OSTREL_E_INVALID_ARGUMENT;
  *json = nullptr;
  return ostrel::capi::guarded([&] {
    const ostrel::doctor::DoctorJsonAnswer answer = ostrel::doctor::diagnoseAsJson();
    const int code = doctorCode(answer.state);
    if (code < 0) return code;
    *json = ostrel::capi::handOver(answer.json + "\n");
    return *json != nullptr ? code : OSTREL_E_OUT_OF_MEMORY;
  });
}

}  // extern "C"
