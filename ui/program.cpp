#include "ui/program.h"

#include <memory>

#include "ui/ufrmQuenlar.h"

int RunQuenlar(platform::Services& services) {
  services.toolkit.SetApplicationTitle("Quenlar");
  auto frmQuenlar = std::make_unique<TfrmQuenlar>(services);
  frmQuenlar->form().Show();
  services.toolkit.Run(frmQuenlar->form());
  frmQuenlar.reset();
  return 0;
}
