// The main window: the only window created at start. It holds the run-time state the
// other windows share, loads the settings when it is created and writes them back
// when it is destroyed, and carries the event log, the buttons, the menus and the
// five timers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "companions/canned_messages.h"
#include "companions/chat_posts.h"
#include "companions/clipboard_holder.h"
#include "forms/event_log.h"
#include "lock/utility_lock.h"
#include "platform/services.h"
#include "platform/toolkit.h"
#include "scan/checks.h"
#include "scan/findings.h"
#include "scan/scan_sequence.h"
#include "ui/main_window_state.h"

// Shown when switching the password off could not take every account out from under it.
inline constexpr const char* StillUnderLockText =
    "Not every stored game account could be taken out from under the utility password, so "
    "the password stays on.\rPlease try again.";

class TfrmQuenlar {
 public:
  using ChecksFactory = std::function<std::unique_ptr<IntegrityChecks>(ScanContext&)>;

  // Builds the window from its layout (tmrTime runs from here on) and runs FormCreate.
  // `services` must outlive the window.
  explicit TfrmQuenlar(platform::Services& services,
                       ChecksFactory makeChecks = &MakeIntegrityChecks);
  // Runs FormDestroy, then destroys the window.
  ~TfrmQuenlar();
  TfrmQuenlar(const TfrmQuenlar&) = delete;
  TfrmQuenlar& operator=(const TfrmQuenlar&) = delete;

  void FormCreate();
  void FormDestroy();
  void FormMouseMove(const platform::MouseEvent& event);
  void mnuMenuClick();
  void mnuExitClick();
  void mnuAccountClick();
  void mnuStealthModeClick();
  void mnuResetConfigClick();
  void mnuUninstallClick();
  void lblContactClick();
  void lblContactMouseMove(const platform::MouseEvent& event);
  void ImageButton1Click();
  void mnuHelpClick();
  void tmrScanTimer();
  void RunScan();
  void btnCloseClick();
  void mnuEnablePasswordClick();
  void mnuChangePasswordClick();
  void mnuMessagingClick();
  void mnuEnableMessagingClick();
  void mnuMessageTargetClick();
  void tmrMessagesTimer();
  // Starts a batch of canned messages after a launch, if messaging is enabled.
  void StartMessageBatch();
  void btnAccountClick();
  void btnPlayClick();
  // Starts the game client at `gamePath` and arms the wait for its login screen.
  void Launch(const std::string& gamePath);
  void tmrPollTimer();
  void tmrRunTimer();
  void sbtnSendPasswordMouseDown(const platform::MouseEvent& event);
  void sbtnSendPasswordMouseMove(const platform::MouseEvent& event);
  void sbtnSendPasswordMouseUp(const platform::MouseEvent& event);
  void tmrTimeTimer();
  void mnuTimeClick();
  void mnu2HourWarningClick();

  platform::Form& form() { return *form_; }
  MainWindowState& state() { return state_; }
  UtilityLock& lock() { return lock_; }
  Findings& findings() { return findings_; }
  EventLog& log() { return *log_; }

  // The controls, named as the layout names them; the form owns them.
  platform::Control* lblMessage = nullptr;
  platform::Animation* animScan = nullptr;
  platform::Memo* mmoEvents = nullptr;
  platform::Control* sbtnSendPassword = nullptr;
  platform::Button* btnAccount = nullptr;
  platform::Button* btnPlay = nullptr;
  platform::Button* btnClose = nullptr;
  platform::ImageButton* ImageButton1 = nullptr;
  platform::Control* lblContact = nullptr;
  platform::Control* Label1 = nullptr;
  platform::Control* lblVersion = nullptr;
  platform::Edit* edtTime = nullptr;
  platform::Edit* edtMessage = nullptr;
  platform::Edit* edtTemp = nullptr;

  platform::Menu* mnuMenu = nullptr;
  platform::MenuItem* mnuResetConfig = nullptr;
  platform::MenuItem* mnuUninstall = nullptr;
  platform::MenuItem* mnuAccount = nullptr;
  platform::MenuItem* mnuEnablePassword = nullptr;
  platform::MenuItem* mnuChangePassword = nullptr;
  platform::MenuItem* mnuExit = nullptr;
  platform::Menu* mnuOptions = nullptr;
  platform::MenuItem* mnuTime = nullptr;
  platform::MenuItem* mnu2HourWarning = nullptr;
  platform::MenuItem* mnuMessageTarget = nullptr;
  platform::MenuItem* mnuMessaging = nullptr;
  platform::MenuItem* mnuEnableMessaging = nullptr;
  platform::MenuItem* mnuStealthMode = nullptr;
  platform::Menu* mnuHelp = nullptr;

  // Asks for the game executable on the first run; handed to the checks.
  const platform::OpenDialogSpec dlgExecutable;

 private:
  void CreateControls();
  void CreateMenus();
  void CreateTimers();
  // Attaches the handlers of the controls the layout leaves without one.
  void AttachHandlers();
  MessageSender MessageSenderOf();
  // Before the settings go: whether the accounts go with them (true: the lock is on and
  // its password was not given, and the player chose to go on), or nullopt to stop.
  std::optional<bool> AccountsGoWith(const std::string& command);
  // Whether the field the poll found belongs to the game at the stored path; if not,
  // says so in the log.
  bool LoginFieldIsTheGames();
  // Brings the stored logins and passwords up to the protection the lock now asks for.
  void SettleAccounts();

  platform::Services& services_;
  MainWindowState state_;
  UtilityLock lock_{services_};
  Findings findings_;
  std::unique_ptr<platform::Form> form_;
  std::unique_ptr<EventLog> log_;
  std::unique_ptr<ScanContext> context_;
  std::unique_ptr<IntegrityChecks> checks_;
  std::unique_ptr<ScanSequence> scan_;
  // The window under the pointer at the last move of the current drag; 0 for none.
  platform::WindowHandle DropTarget = 0;
  // The process whose login field the poll found: the only one the fill sends to.
  std::uint32_t loginProcess_ = 0;
  platform::WindowHandle loginWindow_ = 0;
  ChatPosts chatPosts_;
  PlayerClipboard playerClipboard_;

 public:
  // Declared last so they stop before anything their handlers use is destroyed.
  std::unique_ptr<platform::Timer> tmrScan;
  std::unique_ptr<platform::Timer> tmrPoll;
  std::unique_ptr<platform::Timer> tmrRun;
  std::unique_ptr<platform::Timer> tmrTime;
  std::unique_ptr<platform::Timer> tmrMessages;
};
