// The main window's layout: its controls, menu bar and timers, as the form designer
// would lay them out. The handlers are in ufrmQuenlar.cpp.
#include <utility>

#include "forms/label_specs.h"
#include "ui/credits.h"
#include "ui/ufrmQuenlar.h"
#include "version.h"

using namespace platform;

namespace {

FontSpec Yellow(int points) {
  FontSpec font;
  font.points = points;
  font.color = colors::Yellow;
  return font;
}

ButtonSpec DisabledButton(Bounds bounds, const char* caption, int tabOrder) {
  ButtonSpec spec;
  spec.bounds = bounds;
  spec.caption = caption;
  spec.tabOrder = tabOrder;
  spec.enabled = false;  // until the scan driver has run
  return spec;
}

// Clipboard holders: never shown, so only their text matters.
EditSpec HiddenEdit(const char* text, int tabOrder) {
  EditSpec spec;
  spec.bounds = {0, 0, 121, 21};
  spec.text = text;
  spec.tabOrder = tabOrder;
  spec.visible = false;
  return spec;
}

MenuItem& Item(Menu& menu, const char* caption, Action onClick = {}, bool checked = false) {
  return menu.AddItem(MenuItemSpec{caption, checked, std::move(onClick)});
}

}  // namespace

void TfrmQuenlar::CreateControls() {
  LabelSpec message;
  message.bounds = {12, 16, 347, 32};
  message.caption =
      "If you don't see this message on startup, your system could possibly be infected "
      "by a trojan or worm!";
  message.font = Yellow(10);
  message.wordWrap = true;
  message.transparent = true;
  lblMessage = &form_->AddLabel(message);

  animScan = &form_->AddAnimation(AnimationSpec{{376, 5, 48, 45}, 8});

  MemoSpec events;
  events.bounds = {8, 64, 425, 129};
  events.tabOrder = 0;
  events.readOnly = true;
  events.scrollBars = true;
  mmoEvents = &form_->AddMemo(events);

  SpeedButtonSpec send;
  send.bounds = {9, 200, 25, 25};
  send.glyph = "Key";
  send.hint = "Drag Password";
  send.onMouseDown = [this](const MouseEvent& event) { sbtnSendPasswordMouseDown(event); };
  send.onMouseMove = [this](const MouseEvent& event) { sbtnSendPasswordMouseMove(event); };
  send.onMouseUp = [this](const MouseEvent& event) { sbtnSendPasswordMouseUp(event); };
  sbtnSendPassword = &form_->AddSpeedButton(send);

  btnAccount = &form_->AddButton(DisabledButton({277, 200, 75, 25}, "&Accounts...", 1));
  btnPlay = &form_->AddButton(DisabledButton({359, 200, 75, 25}, "&Play", 2));
  ButtonSpec close = DisabledButton({359, 232, 75, 25}, "E&xit", 3);
  close.onClick = [this] { btnCloseClick(); };
  btnClose = &form_->AddButton(close);

  ImageButton1 = &form_->AddImageButton(ImageButtonSpec{
      {88, 246, 65, 26}, "Help", "HelpDown", "HelpOver", [this] { ImageButton1Click(); }});

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
  tmrScan = toolkit.CreateTimer(TimerSpec{250, false, [this] { tmrScanTimer(); }});
  tmrPoll = toolkit.CreateTimer(TimerSpec{100, false, {}});
  tmrRun = toolkit.CreateTimer(TimerSpec{500, false, {}});
  tmrTime = toolkit.CreateTimer(TimerSpec{600000, true, {}});
  tmrMessages = toolkit.CreateTimer(TimerSpec{3000, false, {}});
}
