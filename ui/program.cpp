#include "ui/program.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "ui/installation.h"
#include "ui/ufrmQuenlar.h"

namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsSwitch(const std::string& argument, const std::string& name) {
  return argument.size() == name.size() &&
         std::equal(
             argument.begin(), argument.end(), name.begin(),
             [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
}

}  // namespace

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
  if (IsSwitch(Trimmed(commandLine), UninstallSettingsSwitch))
    return UninstallSettingsQuietly(services);
  return RunQuenlar(services);
}
