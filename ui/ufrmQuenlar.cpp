#include "ui/ufrmQuenlar.h"

#include <utility>

#include "accounts/account_store.h"
#include "accounts/window_title.h"
#include "core/absorb.h"
#include "ui/credits.h"
#include "ui/installation.h"
#include "ui/main_settings.h"
#include "ui/ufrmHelpMe.h"

using namespace platform;

namespace {

std::string WithoutPassword(const std::string& command) {
  return "Without the utility password the " + command +
         " also removes every stored game account!\rDo you want to go on?";
}

// The main window's link has always named the version before the help window's.
const std::string ContactLink =
    std::string("mailto:") + SupportMailAddress + "?Subject=Quenlar v1.15";

FormSpec MainFormSpec(MouseAction onMouseMove) {
  return {.caption = "Quenlar",
          .clientWidth = 442,
          .clientHeight = 279,
          .background = colors::Black,
          .border = BorderStyle::Single,
          .minimizeBox = true,
          .maximizeBox = false,
          .centred = true,
          .onMouseMove = std::move(onMouseMove)};
}

}  // namespace

TfrmQuenlar::TfrmQuenlar(Services& services, ChecksFactory makeChecks)
    : dlgExecutable{.title = "Select Legend of Mir Executable",
                    .filter = "Executable|*.exe",
                    .defaultExt = "exe",
                    .fileName = "mir.exe",
                    .initialDir = "C:\\Program Files\\WEMADE Entertainment\\Legend of Mir"},
      services_(services) {
  // The close box adds nothing: closing that way asks no questions.
  form_ = services_.toolkit.CreateForm(
      MainFormSpec([this](const MouseEvent& event) { FormMouseMove(event); }));
  CreateControls();
  CreateMenus();
  CreateTimers();
  AttachHandlers();

  log_ = std::make_unique<EventLog>(*mmoEvents);
  context_ = std::unique_ptr<ScanContext>(new ScanContext{
      services_, *log_, findings_, dlgExecutable, [this] { WriteAutostartEntry(services_); }});
  checks_ = makeChecks(*context_);
  scan_ = std::make_unique<ScanSequence>(
      services_, ScanControls{*form_, *btnClose, *btnPlay, *btnAccount, *animScan, *tmrScan}, *log_,
      findings_, *checks_,
      [this] { RefreshWindowTitle(services_, state_.SelectedAccount, *form_, *log_); },
      state_.messages.MessageTarget);

  FormCreate();
}

TfrmQuenlar::~TfrmQuenlar() {
  // Nothing is shown for a failed save, and a destructor must not throw.
  AbsorbNoted(services_.trace, "saving the settings at exit", [this] { FormDestroy(); });
}

void TfrmQuenlar::AttachHandlers() {
  mnuEnablePassword->SetOnClick([this] { mnuEnablePasswordClick(); });
  mnuChangePassword->SetOnClick([this] { mnuChangePasswordClick(); });
  mnuMessaging->SetOnClick([this] { mnuMessagingClick(); });
  mnuEnableMessaging->SetOnClick([this] { mnuEnableMessagingClick(); });
  mnuMessageTarget->SetOnClick([this] { mnuMessageTargetClick(); });
  tmrMessages->SetOnTimer([this] { tmrMessagesTimer(); });
  btnAccount->SetOnClick([this] { btnAccountClick(); });
  btnPlay->SetOnClick([this] { btnPlayClick(); });
  tmrPoll->SetOnTimer([this] { tmrPollTimer(); });
  tmrRun->SetOnTimer([this] { tmrRunTimer(); });
  tmrTime->SetOnTimer([this] { tmrTimeTimer(); });
  mnuTime->SetOnClick([this] { mnuTimeClick(); });
  mnu2HourWarning->SetOnClick([this] { mnu2HourWarningClick(); });
}

void TfrmQuenlar::FormCreate() {
  state_.Dragging = false;
  state_.SelectedAccount = 1;
  MenuMarks marks;
  LoadMainSettings(services_, state_, marks, lock_);
  if (lock_.PasswordEnabled == 1) mnuEnablePassword->SetCaption("&Disable Password...");
  // The loaded settings replace the marks of the design.
  mnuStealthMode->SetChecked(marks.stealth);
  mnuEnableMessaging->SetChecked(marks.messaging);
  mnuTime->SetChecked(marks.online);
  mnu2HourWarning->SetChecked(marks.warning);
  findings_ = Findings{};
  tmrScan->SetEnabled(true);
  lock_.Unlocked = false;
  // Accounts an earlier version stored are rewritten in the user's form from the start.
  SettleAccounts();
}

void TfrmQuenlar::SettleAccounts() {
  if (!AccountStore(services_, lock_).Settle())
    services_.trace.Note("settling the accounts: a value could not be rewritten");
}

void TfrmQuenlar::FormDestroy() {
  services_.cursor.Set(crDefault);
  if (state_.SkipSettingsSave) return;  // an uninstall or reset has removed the settings
  MenuMarks marks;
  marks.stealth = mnuStealthMode->Checked();
  marks.messaging = mnuEnableMessaging->Checked();
  marks.online = mnuTime->Checked();
  marks.warning = mnu2HourWarning->Checked();
  SaveMainSettings(services_, state_, marks);
}

void TfrmQuenlar::FormMouseMove(const MouseEvent&) { services_.cursor.Set(crDefault); }

void TfrmQuenlar::mnuMenuClick() {
  // The items follow the buttons, so nothing but Uninstall works during a scan.
  const bool ready = btnAccount->Enabled();
  mnuResetConfig->SetEnabled(ready);
  mnuChangePassword->SetEnabled(ready);
  mnuEnablePassword->SetEnabled(ready);
  mnuAccount->SetEnabled(ready);
  mnuExit->SetEnabled(btnClose->Enabled());
  mnuUninstall->SetEnabled(true);
}

void TfrmQuenlar::mnuExitClick() { btnClose->Click(); }

void TfrmQuenlar::mnuAccountClick() { btnAccount->Click(); }

void TfrmQuenlar::mnuStealthModeClick() { mnuStealthMode->SetChecked(!mnuStealthMode->Checked()); }

std::optional<bool> TfrmQuenlar::AccountsGoWith(const std::string& command) {
  // Both commands clear the utility password: with it on, only its owner may keep the
  // accounts. Anyone else (or an owner whose stored password cannot be read) may still
  // go on, but the accounts go too.
  if (lock_.PassToKeepAccounts()) return false;
  if (services_.toolkit.ShowMessage(MessageKind::Confirmation, WithoutPassword(command)) !=
      MessageAnswer::Yes)
    return std::nullopt;
  return true;
}

void TfrmQuenlar::mnuResetConfigClick() {
  const std::optional<bool> removeAccounts = AccountsGoWith("reset");
  if (!removeAccounts) return;
  ResetConfiguration(
      services_, state_.SkipSettingsSave, [this] { RunScan(); }, lock_, *removeAccounts);
}

void TfrmQuenlar::mnuUninstallClick() {
  const std::optional<bool> removeAccounts = AccountsGoWith("uninstall");
  if (!removeAccounts) return;
  Uninstall(services_, state_.SkipSettingsSave, lock_, *removeAccounts);
}

void TfrmQuenlar::lblContactClick() {
  services_.shell.Open(form_->Handle(), ContactLink, "", "", ShowNormal);
}

void TfrmQuenlar::lblContactMouseMove(const MouseEvent&) { services_.cursor.Set(crHandPoint); }

void TfrmQuenlar::ImageButton1Click() { ShowHelpMe(services_); }

void TfrmQuenlar::mnuHelpClick() { ShowHelpMe(services_); }

void TfrmQuenlar::tmrScanTimer() { scan_->tmrScanTimer(); }

void TfrmQuenlar::RunScan() { scan_->RunScan(); }

void TfrmQuenlar::btnCloseClick() { scan_->btnCloseClick(); }
