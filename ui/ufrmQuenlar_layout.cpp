// The main window's layout: its controls, menu bar and timers, as the form designer
// would lay them out. The handlers are in ufrmQuenlar.cpp.
#include <utility>

#include "forms/label_specs.h"
#include "ui/credits.h"
#include "ui/ufrmQuenlar.h"
#include "version.h"

using namespace platform;

namespace {

// The three buttons stay off until the scan driver has run.
ButtonSpec DisabledButton(Bounds bounds, const char* caption, int tabOrder, Action onClick = {}) {
  return {.bounds = bounds,
          .caption = caption,
          .tabOrder = tabOrder,
          .enabled = false,
          .onClick = std::move(onClick)};
}

// Clipboard holders: never shown, so only their text matters.
EditSpec HiddenEdit(const char* text, int tabOrder) {
  return {.bounds = {0, 0, 121, 21}, .text = text, .tabOrder = tabOrder, .visible = false};
}

MenuItem& Item(Menu& menu, const char* caption, Action onClick = {}, bool checked = false) {
  return menu.AddItem({.caption = caption, .checked = checked, .onClick = std::move(onClick)});
}

}  // namespace

void TfrmQuenlar::CreateControls() {
  lblMessage = &form_->AddLabel(
      {.bounds = {12, 16, 347, 32},
       .caption = "If you don't see this message on startup, your system could possibly be "
                  "infected by a trojan or worm!",
       .font = {.points = 10, .color = colors::Yellow},
       .wordWrap = true,
       .transparent = true});

  animScan = &form_->AddAnimation({.bounds = {376, 5, 48, 45}, .stopFrame = 8});

  mmoEvents = &form_->AddMemo(
      {.bounds = {8, 64, 425, 129}, .tabOrder = 0, .readOnly = true, .scrollBars = true});

  sbtnSendPassword = &form_->AddSpeedButton(
      {.bounds = {9, 200, 25, 25},
       .glyph = "Key",
       .hint = "Drag Password",
       .onMouseDown = [this](const MouseEvent& event) { sbtnSendPasswordMouseDown(event); },
       .onMouseMove = [this](const MouseEvent& event) { sbtnSendPasswordMouseMove(event); },
       .onMouseUp = [this](const MouseEvent& event) { sbtnSendPasswordMouseUp(event); }});

  btnAccount = &form_->AddButton(DisabledButton({277, 200, 75, 25}, "&Accounts...", 1));
  btnPlay = &form_->AddButton(DisabledButton({359, 200, 75, 25}, "&Play", 2));
  btnClose = &form_->AddButton(
      DisabledButton({359, 232, 75, 25}, "E&xit", 3, [this] { btnCloseClick(); }));

  ImageButton1 = &form_->AddImageButton({.bounds = {88, 246, 65, 26},
                                         .imageUp = "Help",
                                         .imageDown = "HelpDown",
                                         .imageOver = "HelpOver",
                                         .onClick = [this] { ImageButton1Click(); }});

  LabelSpec contact = YellowLabel({168, 245, 166, 13}, CreditLine);
  contact.onClick = [this] { lblContactClick(); };
  contact.onMouseMove = [this](const MouseEvent& event) { lblContactMouseMove(event); };
  lblContact = &form_->AddLabel(contact);
  LabelSpec thanks = contact;
  thanks.bounds = {168, 261, 250, 13};
  thanks.caption = ThanksLine;
  Label1 = &form_->AddLabel(thanks);

  lblVersion = &form_->AddLabel(YellowLabel({16, 253, 59, 13}, "Version " QUENLAR_VERSION));

  edtTime = &form_->AddEdit(HiddenEdit("Time", 4));
  edtMessage = &form_->AddEdit(HiddenEdit("Message", 5));
  edtTemp = &form_->AddEdit(HiddenEdit("", 6));
}

void TfrmQuenlar::CreateMenus() {
  mnuMenu = &form_->AddMenu("&Menu", [this] { mnuMenuClick(); });
  mnuResetConfig = &Item(*mnuMenu, "&Reset Config...", [this] { mnuResetConfigClick(); });
  mnuMenu->AddSeparator();
  mnuUninstall = &Item(*mnuMenu, "Uninstall...", [this] { mnuUninstallClick(); });
  mnuMenu->AddSeparator();
  mnuAccount = &Item(*mnuMenu, "&Accounts...", [this] { mnuAccountClick(); });
  mnuMenu->AddSeparator();
  mnuEnablePassword = &Item(*mnuMenu, "&Enable Password...");
  mnuMenu->AddSeparator();
  mnuChangePassword = &Item(*mnuMenu, "&Change Password...");
  mnuMenu->AddSeparator();
  mnuExit = &Item(*mnuMenu, "E&xit", [this] { mnuExitClick(); });

  mnuOptions = &form_->AddMenu("&Options", {});
  mnuTime = &Item(*mnuOptions, "&Time Online");
  mnu2HourWarning = &Item(*mnuOptions, "2 Hour &Warning");
  mnuMessageTarget = &Item(*mnuOptions, "Message Target...");
  mnuOptions->AddSeparator();
  mnuMessaging = &Item(*mnuOptions, "Messaging...");
  mnuEnableMessaging = &Item(*mnuOptions, "Enable Messaging", {}, true);
  mnuOptions->AddSeparator();
  mnuStealthMode = &Item(
      *mnuOptions, "&Stealth Mode", [this] { mnuStealthModeClick(); }, true);

  mnuHelp = &form_->AddMenu("&Help", {}, [this] { mnuHelpClick(); });
}

void TfrmQuenlar::CreateTimers() {
  Toolkit& toolkit = services_.toolkit;
  tmrScan = toolkit.CreateTimer(
      {.intervalMs = 250, .enabled = false, .onTimer = [this] { tmrScanTimer(); }});
  tmrPoll = toolkit.CreateTimer({.intervalMs = 100, .enabled = false});
  tmrRun = toolkit.CreateTimer({.intervalMs = 500, .enabled = false});
  tmrTime = toolkit.CreateTimer({.intervalMs = 600000, .enabled = true});
  tmrMessages = toolkit.CreateTimer({.intervalMs = 3000, .enabled = false});
}
