#include "ui/program.h"

#include <memory>

#include "ui/ufrmQuenlar.h"

int RunQuenlar(platform::Services& services) {
  services.toolkit.SetApplicationTitle("Quenlar");
  auto frmQuenlar = std::make_unique<TfrmQuenlar>(services);
  frmQuenlar->Form().Show();
  services.toolkit.Run(frmQuenlar->Form());
  frmQuenlar.reset();
  return 0;
}
