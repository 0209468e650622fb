// The main window's handlers of a game: the launch, the wait for the login screen and
// the fill, the password drag, and the time-online line.
#include <cstdint>
#include <string>

#include "accounts/credential_delivery.h"
#include "companions/time_online.h"
#include "core/absorb.h"
#include "core/stored_text.h"
#include "forms/game_notices.h"
#include "game_client/contract.h"
#include "platform/ascii_fold.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/unicode.h"
#include "scan/game_paths.h"
#include "ui/ufrmQuenlar.h"

using namespace platform;

namespace {

constexpr int LaunchPauseMs = 500;

bool EndsWithExe(const std::string& path) {
  return path.size() >= 4 && EqualsFolded(std::string_view(path).substr(path.size() - 4), ".exe");
}

// Why the game cannot be started from this path, before the shell is asked: the shell
// would open a folder in a file window and a document in its own program.
const char* PathProblem(Files& files, const std::string& path) {
  if (path.empty()) return "Launch: Error - No game executable chosen!";
  switch (files.KindOf(path)) {
    case EntryKind::Missing: return "Launch: Error - Game executable not found!";
    case EntryKind::Directory: return "Launch: Error - Game path is a folder, not a program!";
    case EntryKind::File: break;
  }
  if (!EndsWithExe(path)) return "Launch: Error - Game executable is not a program!";
  return nullptr;
}

// The shell starts nothing from a path as long as this, although the file is there.
constexpr std::size_t MaxPath = 260;

std::string ShellProblem(std::intptr_t result, const std::string& path) {
  switch (result) {
    case shell_result::FileNotFound:
    case shell_result::PathNotFound:
      if (Utf16FromUtf8(path).size() >= MaxPath)
        return "Launch: Error - Game path is too long for Windows to start it!";
      return "Launch: Error - Game executable not found!";
    case shell_result::AccessDenied: return "Launch: Error - Game executable access denied!";
    case shell_result::BadFormat:
    case shell_result::AssociationIncomplete:
    case shell_result::NoAssociation: return "Launch: Error - Game executable is not a program!";
    default:
      return "Launch: Error - Game could not be started (error " + std::to_string(result) + ")!";
  }
}

}  // namespace

void TfrmQuenlar::btnPlayClick() {
  state_.messages.MessageCursor = 0;
  if (!lock_.PassToPlay()) return;
  SettleAccounts();
  // An unreadable path launches nothing, as a missing one does.
  Launch(Absorb(std::string(), [&] { return GamePath(services_); }));
}

void TfrmQuenlar::Launch(const std::string& gamePath) {
  state_.LaunchTime = services_.clock.Now();
  lock_.UseUp();
  const std::string directory = GameWorkingDirectory(gamePath);
  log_->Append("Launching Mir");
  services_.toolkit.ProcessMessages();
  services_.clock.Sleep(LaunchPauseMs);
  std::string problem;
  if (const char* line = PathProblem(services_.files, gamePath)) {
    problem = line;
  } else {
    const std::intptr_t result = services_.shell.Open(
        form_->Handle(), gamePath, game_client::GameServerAddress, directory, ShowNormal);
    if (result <= 32) problem = ShellProblem(result, gamePath);
  }
  if (!problem.empty()) {
    // No game comes, so no login screen is waited for.
    log_->Append(problem);
    log_->TurnRed();
    return;
  }
  tmrPoll->SetEnabled(true);
}

void TfrmQuenlar::tmrPollTimer() {
  Desktop& desktop = services_.desktop;
  const WindowHandle login = desktop.WindowFromPoint(game_client::LoginPoint);
  if (desktop.ClassName(login, game_client::ClassNameCapacity) != game_client::FieldClass) return;
  loginProcess_ = desktop.WindowProcess(login);
  loginWindow_ = login;
  tmrPoll->SetEnabled(false);
  tmrRun->SetEnabled(true);
}

bool TfrmQuenlar::LoginFieldIsTheGames() {
  const std::string image = services_.desktop.ProcessImage(loginWindow_);
  const std::string game = Absorb(std::string(), [&] { return GamePath(services_); });
  if (!image.empty() && !game.empty() && services_.files.SameFile(image, game)) return true;
  ReportForeignLoginField(*log_, image.empty() ? image : ShownForm(services_.registry, image));
  return false;
}

void TfrmQuenlar::tmrRunTimer() {
  tmrRun->SetEnabled(false);
  // A field of any other program at the login point gets nothing: not the secrets, not
  // the Enter, not the chat lines.
  if (!LoginFieldIsTheGames()) return;
  StartMessageBatch();
  AccountStore store(services_, lock_);
  const FillResult fill = CredentialFill(services_, store, state_.SelectedAccount,
                                         mnuStealthMode->Checked(), loginProcess_);
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
  if (!lock_.PassToDrag()) return;
  SettleAccounts();
  AccountStore store(services_, lock_);
  if (target &&
      DeliverPassword(services_, store, state_.SelectedAccount, target) == Delivery::Refused)
    ReportRefused(*log_, services_.desktop.ProcessElevation(target), "the password");
  lock_.UseUp();
}

void TfrmQuenlar::tmrTimeTimer() {
  if (!mnuTime->Checked()) return;
  chatPosts_.Run(ChatPost::TimeOnline, [this] {
    const std::string line =
        TimeOnlineLine(services_.clock, state_.LaunchTime, state_.messages.MessageTarget,
                       mnu2HourWarning->Checked());
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
