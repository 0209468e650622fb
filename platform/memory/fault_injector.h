// Fault injection for the in-memory services, after SQLite's test VFS: a countdown
// picks the call that fails, once or from then on. Each service owns one injector and
// counts only its own calls. Every call is also written to a journal for tests to read.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class FaultKind {
  Fail,   // the call reports a plain failure (Failed, nullptr, nullopt, false)
  Throw,  // the call throws (the registry throws RegistryError; files treat it as Fail)
};

struct Fault {
  int nth = 1;              // 1: the next counted call fails, 2: the one after, ...
  bool persistent = false;  // every counted call after the nth fails as well
  FaultKind kind = FaultKind::Fail;
  std::string operation;  // count only calls of this operation; empty: all calls
};

struct CallRecord {
  std::string operation;  // "OpenKey", "ReadValue", "Open", "Read", ...
  std::string path;       // as the caller passed it
  std::string name;       // the value name, empty where there is none
  bool faulted = false;   // an injected fault answered this call
};

class FaultInjector {
 public:
  // Replaces any armed fault. Throws std::invalid_argument when nth < 1.
  void Arm(Fault fault);
  void FailNth(int nth, FaultKind kind = FaultKind::Fail) { Arm({nth, false, kind, {}}); }
  void FailFrom(int nth, FaultKind kind = FaultKind::Fail) { Arm({nth, true, kind, {}}); }
  void Disarm() { armed_.reset(); }
  bool armed() const { return armed_.has_value(); }
  // How many calls an injected fault has answered since construction.
  int faults_injected() const { return injected_; }

  // Called by the service at the start of each call: journals it and says whether,
  // and how, the call is to fail.
  std::optional<FaultKind> OnCall(std::string_view operation, std::string_view path,
                                  std::string_view name = {});

  const std::vector<CallRecord>& journal() const { return journal_; }
  void ClearJournal() { journal_.clear(); }
  // How many journaled calls were of this operation.
  std::size_t CallCount(std::string_view operation) const;

 private:
  struct Armed {
    Fault fault;
    int remaining;  // counted calls left before the failing one, that one included
  };
  std::optional<Armed> armed_;
  int injected_ = 0;
  std::vector<CallRecord> journal_;
};

}  // namespace platform
