#include "FindingList.h"

#include <utility>
#include "ostrel/manifestcheck/FindingCodes.h"

namespace ostrel::manifestcheck {

void FindingList::error(std::string code, std::string message) {
  add(FindingSeverity::Error, std::move(code), std::move(message));
}

void FindingList::warning(std::string code, std::string message) {
  add(FindingSeverity::Warning, std::move(code), std::move(message));
}

void FindingList::add(FindingSeverity severity, std::string code, std::string message) {
  if (severity == FindingSeverity::Error) ++errors_;
  // One place is held back for the closing entry until it is clear whether
  // it is needed.
  if (kept_.size() + 1 < kMaxFindings) {
    kept_.push_back({severity, std::move(code), std::move(message)});
    return;
  }
  if (overflow_ == 0)
    firstOverflow_ = ManifestFinding{severity, std::move(code), std::move(message)};
  ++overflow_;
  if (severity == FindingSeverity::Error) ++overflowErrors_;
}

std::vector<ManifestFinding> FindingList::take() && {
  if (overflow_ == 1) {
    kept_.push_back(std::move(*firstOverflow_));
  } else if (overflow_ > 1) {
    std::string message = std::to_string(overflow_) + " further findings left out";
    if (overflowErrors_ > 0) message += " (" + std::to_string(overflowErrors_) + " of them errors)";
    message += "; fix the ones above and check again";
    kept_.push_back({overflowErrors_ > 0 ? FindingSeverity::Error : FindingSeverity::Warning,
                     findings::kMoreFindings, std::move(message)});
  }
  return std::move(kept_);
}

}  // namespace ostrel::manifestcheck
