// Collects the findings of one check, bounded in number: hostile input (a
// manifest with a hundred thousand broken entries) must not turn into a
// hundred thousand lines a person has to scroll through.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "ostrel/manifestcheck/ManifestCheck.h"

namespace ostrel::manifestcheck {

class FindingList {
 public:
  void error(std::string code, std::string message);
  void warning(std::string code, std::string message);

  // Whether an error has been added, counted or not.
  bool hasError() const { return errors_ > 0; }

  // The list, at most kMaxFindings long: when more were added, the last place
  // goes to a more-findings entry that says how many were left out.
  std::vector<ManifestFinding> take() &&;

 private:
  void add(FindingSeverity severity, std::string code, std::string message);

  std::vector<ManifestFinding> kept_;
  std::optional<ManifestFinding> firstOverflow_;
  std::size_t overflow_ = 0;
  std::size_t overflowErrors_ = 0;
  std::size_t errors_ = 0;
};

}  // namespace ostrel::manifestcheck
