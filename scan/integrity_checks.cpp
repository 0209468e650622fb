#include <memory>

#include "core/absorb.h"
#include "scan/autostart_watch.h"
#include "scan/checks.h"
#include "scan/executable_watch.h"
#include "scan/library_check.h"
#include "scan/patcher_check.h"

namespace {

class ScanChecks : public IntegrityChecks {
 public:
  explicit ScanChecks(ScanContext& context) : context_(context) {}

  void SnapshotAutostart(AutostartScope scope, bool accepting) override {
    Guarded([&] { ::SnapshotAutostart(context_, scope, accepting); });
  }
  void CompareAutostart(AutostartScope scope) override {
    Guarded([&] { ::CompareAutostart(context_, scope); });
  }
  void CheckExecutable(bool accepting) override {
    Guarded(
        [&] { ::CheckExecutable(context_.services, context_.log, context_.findings, accepting); });
  }
  void CheckPatcherConfig() override {
    Guarded([&] { ::CheckPatcherConfig(context_.services, context_.log); });
  }
  void CheckPlantedLibraries() override {
    Guarded([&] { ::CheckPlantedLibraries(context_.services, context_.log); });
  }

 private:
  // A registry failure the checks do not handle themselves ends that check with the
  // error box; the scan goes on and the buttons are enabled all the same.
  template <typename Check>
  void Guarded(Check check) {
    EventLog::Batch batch(context_.log);  // the check's lines in one insertion
    if (!Absorb(check)) ReportRegistryError(context_);
  }

  ScanContext& context_;
};

}  // namespace

std::unique_ptr<IntegrityChecks> MakeIntegrityChecks(ScanContext& context) {
  return std::make_unique<ScanChecks>(context);
}
