#include "ui/program.h"

#include <memory>

#include "ui/installation.h"
#include "ui/ufrmQuenlar.h"

int RunQuenlar(platform::Services& services) {
  services.toolkit.SetApplicationTitle("Quenlar");
  if (!ConfirmFirstStartOutsideTemp(services)) return 0;
  auto frmQuenlar = std::make_unique<TfrmQuenlar>(services);
  frmQuenlar->form().Show();
  services.toolkit.Run(frmQuenlar->form());
  frmQuenlar.reset();
  return 0;
}

int RunQuenlar(platform::Services& services, const std::string& commandLine) {
  if (IsUninstallSettingsCommand(commandLine)) return UninstallSettingsQuietly(services);
  return RunQuenlar(services);
}
