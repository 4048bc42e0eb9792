// A runtime connection that never connects and counts the tries: the
// benchmarks of paths that must not reach the runtime report the count as
// "connects", and the smoke run fails when it is not 0.
#pragma once

#include <string>

#include "ostrel/registration/RuntimeConnection.h"

namespace ostrel::bench {

class CountingConnector final : public registration::IRuntimeConnector {
 public:
  registration::Connection Connect(const std::string&) override {
    ++connects;
    registration::RuntimeFailure failure;
    failure.message = "not in this benchmark";
    return failure;
  }
  int connects = 0;
};

}  // namespace ostrel::bench
