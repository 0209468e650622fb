// The main window's handlers of a game: the launch, the wait for the login screen and
// the fill, the password drag, and the time-online line.
#include "accounts/credential_delivery.h"
#include "companions/time_online.h"
#include "core/absorb.h"
#include "core/game_client.h"
#include "platform/registry.h"
#include "scan/game_paths.h"
#include "ui/game_notices.h"
#include "ui/ufrmLogin.h"
#include "ui/ufrmQuenlar.h"

using namespace platform;

namespace {

constexpr int LaunchPauseMs = 500;

}  // namespace

void TfrmQuenlar::btnPlayClick() {
  state_.MessageCursor = 0;
  if (!state_.Unlocked) {
    if (state_.PasswordEnabled == 1)
      AskUtilityPassword(services_, state_.Unlocked);
    else
      state_.Unlocked = true;
  }
  if (!state_.Unlocked) return;
  // An unreadable path launches nothing, as a missing one does.
  Launch(Absorb(std::string(), [&] { return GamePath(services_); }));
}

void TfrmQuenlar::Launch(const std::string& gamePath) {
  state_.LaunchTime = services_.clock.Now();
  state_.Unlocked = false;
  const std::string directory = GameWorkingDirectory(gamePath);
  log_->Append("Launching Mir");
  services_.toolkit.ProcessMessages();
  services_.clock.Sleep(LaunchPauseMs);
  // The outcome is not looked at: the poll waits for a login screen either way.
  services_.shell.Open(form_->Handle(), gamePath, game_client::GameServerAddress, directory,
                       ShowNormal);
  tmrPoll->SetEnabled(true);
}

void TfrmQuenlar::tmrPollTimer() {
  Desktop& desktop = services_.desktop;
  const WindowHandle login =
      desktop.WindowFromPoint({game_client::LoginPoint.x, game_client::LoginPoint.y});
  if (desktop.ClassName(login, game_client::ClassNameCapacity) != game_client::FieldClass) return;
  LoginProcess = desktop.WindowProcess(login);
  tmrPoll->SetEnabled(false);
  tmrRun->SetEnabled(true);
}

void TfrmQuenlar::tmrRunTimer() {
  tmrRun->SetEnabled(false);
  StartMessageBatch();
  const FillResult fill =
      CredentialFill(services_, state_.SelectedAccount, mnuStealthMode->Checked(), LoginProcess);
  switch (fill.outcome) {
    case FillOutcome::Submitted: break;
    case FillOutcome::Refused:
      tmrMessages->SetEnabled(false);  // its lines would be refused as well
      ReportRefused(*log_, services_.desktop.ProcessElevation(fill.window), "the login");
      break;
    case FillOutcome::NoAnswer: ReportNoAnswer(*log_); break;
    case FillOutcome::GameGone: ReportGameGone(*log_); break;
  }
}

void TfrmQuenlar::sbtnSendPasswordMouseDown(const MouseEvent&) {
  state_.Dragging = true;
  // A target left from an earlier drag may by now be any program's window.
  DropTarget = 0;
  services_.cursor.Set(crCross);
}

void TfrmQuenlar::sbtnSendPasswordMouseMove(const MouseEvent& event) {
  if (!state_.Dragging) return;
  DropTarget = services_.desktop.WindowFromPoint(sbtnSendPassword->ClientToScreen(event.at));
}

void TfrmQuenlar::sbtnSendPasswordMouseUp(const MouseEvent&) {
  state_.Dragging = false;
  services_.cursor.Set(crDefault);
  const WindowHandle target = DropTarget;
  DropTarget = 0;
  if (!AskUtilityPassword(services_, state_.Unlocked)) return;
  if (target && DeliverPassword(services_, state_.SelectedAccount, target) == Delivery::Refused)
    ReportRefused(*log_, services_.desktop.ProcessElevation(target), "the password");
  state_.Unlocked = false;
}

void TfrmQuenlar::tmrTimeTimer() {
  if (!mnuTime->Checked()) return;
  chatPosts_.Run(ChatPost::TimeOnline, [this] {
    const std::string line = TimeOnlineLine(services_.clock, state_.LaunchTime,
                                            state_.MessageTarget, mnu2HourWarning->Checked());
    TimeOnlinePoster{services_, *edtTime, *edtTemp, playerClipboard_, *log_}.Post(line);
  });
}

void TfrmQuenlar::mnuTimeClick() {
  mnuTime->SetChecked(!mnuTime->Checked());
  if (!mnuTime->Checked()) mnu2HourWarning->SetChecked(false);
}

void TfrmQuenlar::mnu2HourWarningClick() {
  mnu2HourWarning->SetChecked(!mnu2HourWarning->Checked());
  if (mnu2HourWarning->Checked()) mnuTime->SetChecked(true);
}
