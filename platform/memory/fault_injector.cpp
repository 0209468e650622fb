#include "platform/memory/fault_injector.h"

#include <stdexcept>

namespace platform {

void FaultInjector::Arm(Fault fault) {
  if (fault.nth < 1) throw std::invalid_argument("FaultInjector: nth must be 1 or more");
  int remaining = fault.nth;
  armed_ = Armed{std::move(fault), remaining};
}

std::optional<FaultKind> FaultInjector::OnCall(std::string_view operation, std::string_view path,
                                               std::string_view name) {
  journal_.push_back(
      CallRecord{std::string(operation), std::string(path), std::string(name), false});
  if (!armed_) return std::nullopt;
  if (!armed_->fault.operation.empty() && armed_->fault.operation != operation) return std::nullopt;
  if (armed_->remaining > 1) {
    --armed_->remaining;
    return std::nullopt;
  }
  FaultKind kind = armed_->fault.kind;
  if (!armed_->fault.persistent) armed_.reset();
  journal_.back().faulted = true;
  ++injected_;
  return kind;
}

std::size_t FaultInjector::CallCount(std::string_view operation) const {
  std::size_t n = 0;
  for (const CallRecord& r : journal_)
    if (r.operation == operation) ++n;
  return n;
}

}  // namespace platform
