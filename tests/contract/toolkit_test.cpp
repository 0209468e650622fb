// Controls (memo, list view, pages among them), menus, timers, modal forms, message boxes,
// the input box and the open dialog, the picture button's pictures and the speed button's
// hold on the pointer, as both backends must show them.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "contract_rig.h"

namespace {

using namespace platform;

std::string FoldCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

template <typename Rig>
class UiToolkitContract : public ::testing::Test {
 protected:
  std::unique_ptr<Form> MakeForm(const std::string& caption, Action onClose = {}) {
    FormSpec spec;
    spec.caption = caption;
    spec.clientWidth = 442;
    spec.clientHeight = 279;
    return rig.toolkit().CreateForm(spec, std::move(onClose));
  }
  Rig rig;
};

TYPED_TEST_SUITE(UiToolkitContract, contract::ToolkitRigs);

TYPED_TEST(UiToolkitContract, ButtonsKeepTheirStateAndClickWhenTheProgramAsks) {
  auto form = this->MakeForm("Quenlar");
  int plays = 0;
  Button& play = form->AddButton({{359, 200, 75, 25}, "&Play", 2, false, false, [&] { ++plays; }});
  EXPECT_EQ(play.Text(), "&Play");
  EXPECT_FALSE(play.Enabled());
  play.Click();  // the program may click a disabled button itself
  EXPECT_EQ(plays, 1);
  play.SetEnabled(true);
  EXPECT_TRUE(play.Enabled());
  play.SetText("&Stop");
  EXPECT_EQ(play.Text(), "&Stop");
  play.Click();
  EXPECT_EQ(plays, 2);
}

TYPED_TEST(UiToolkitContract, MenusKeepTheirStateAndRunOnlyEnabledItems) {
  auto form = this->MakeForm("Quenlar");
  int resets = 0, helps = 0, popups = 0;
  Menu& menu = form->AddMenu("&Menu", [&] { ++popups; });
  MenuItem& reset = menu.AddItem({"&Reset Config...", false, [&] { ++resets; }});
  menu.AddSeparator();
  MenuItem& password = menu.AddItem({"&Enable Password...", false, {}});
  Menu& options = form->AddMenu("&Options", {});
  MenuItem& stealth = options.AddItem({"&Stealth Mode", true, {}});
  Menu& help = form->AddMenu("&Help", {}, [&] { ++helps; });
  form->Show();

  password.SetCaption("&Disable Password...");
  EXPECT_EQ(password.Caption(), "&Disable Password...");
  EXPECT_EQ(menu.Caption(), "&Menu");
  std::vector<std::string> captions;
  for (MenuItem* item : menu.Items()) captions.push_back(item->Caption());
  EXPECT_EQ(captions, (std::vector<std::string>{"&Reset Config...", "-", "&Disable Password..."}));
  EXPECT_TRUE(stealth.Checked());
  stealth.SetChecked(false);
  EXPECT_FALSE(stealth.Checked());

  reset.Click();
  help.Click();  // an entry of the bar without items is an item of its own
  menu.Click();  // a drop-down opens
  EXPECT_EQ(resets, 1);
  EXPECT_EQ(helps, 1);
  EXPECT_EQ(popups, 1);
  EXPECT_TRUE(reset.Enabled());
  reset.SetEnabled(false);
  EXPECT_FALSE(reset.Enabled());
  reset.Click();  // as choosing it would: a greyed item does nothing
  EXPECT_EQ(resets, 1);
  menu.SetEnabled(false);
  EXPECT_FALSE(menu.Enabled());
  menu.Click();
  EXPECT_EQ(popups, 1);
}

TYPED_TEST(UiToolkitContract, TimersTickAsTimePassesAndRestartWhenEnabled) {
  int ticks = 0;
  auto timer = this->rig.toolkit().CreateTimer({50, true, [&] { ++ticks; }});
  auto idle =
      this->rig.toolkit().CreateTimer({40, false, [&] { ADD_FAILURE() << "disabled ran"; }});
  EXPECT_EQ(timer->Interval(), 50);
  EXPECT_TRUE(timer->Enabled());
  EXPECT_FALSE(idle->Enabled());
  EXPECT_TRUE(this->rig.PassUntil([&] { return ticks >= 2; }));

  timer->SetEnabled(false);
  const int stopped = ticks;
  this->rig.Pass(150);  // ticks fall due meanwhile and must be dropped
  EXPECT_EQ(ticks, stopped);

  timer->SetInterval(30);
  EXPECT_EQ(timer->Interval(), 30);
  EXPECT_FALSE(timer->Enabled());
  timer->SetEnabled(true);
  EXPECT_TRUE(this->rig.PassUntil([&] { return ticks > stopped; }));
}

// Enabling a running timer again leaves it running as it was: it still ticks, however
// often it is enabled meanwhile.
TYPED_TEST(UiToolkitContract, EnablingARunningTimerAgainDoesNotPushItsTickBack) {
  int ticks = 0;
  auto timer = this->rig.toolkit().CreateTimer({400, true, [&] { ++ticks; }});
  for (int i = 0; i < 100 && ticks == 0; ++i) {
    timer->SetEnabled(true);
    this->rig.Pass(50);
  }
  EXPECT_GT(ticks, 0);
}

TYPED_TEST(UiToolkitContract, ASleepLetsTheTimeGoByButRunsNoTimer) {
  int ticks = 0;
  auto timer = this->rig.toolkit().CreateTimer({10, true, [&] { ++ticks; }});
  Clock& clock = this->rig.clock();
  const DateTime before = clock.Now();
  clock.Sleep(200);
  EXPECT_EQ(ticks, 0);
  EXPECT_GE((clock.Now() - before) * 86400000.0, 190.0);  // the clock's resolution aside
  EXPECT_TRUE(this->rig.PassUntil([&] { return ticks > 0; }));
}

TYPED_TEST(UiToolkitContract, AModalFormKeepsThePlayerOffTheOthersUntilClosed) {
  auto main = this->MakeForm("Quenlar");
  main->Show();
  int closes = 0;
  auto dialog = this->MakeForm("Accounts", [&] { ++closes; });
  bool shown = false, mainTookInput = true;
  this->rig.WhenModal("Accounts", [&] {
    shown = dialog->Showing();
    mainTookInput = this->rig.TakesInput(*main);
    dialog->Close();
  });
  EXPECT_TRUE(this->rig.TakesInput(*main));
  dialog->ShowModal();
  EXPECT_TRUE(shown);
  EXPECT_FALSE(mainTookInput);
  EXPECT_TRUE(this->rig.TakesInput(*main));
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(dialog->Showing());
}

TYPED_TEST(UiToolkitContract, MessageBoxesGiveTheAnswerChosen) {
  const std::vector<std::pair<MessageKind, MessageAnswer>> cases = {
      {MessageKind::Confirmation, MessageAnswer::No},
      {MessageKind::Confirmation, MessageAnswer::Yes},
      {MessageKind::Information, MessageAnswer::Ok},
      {MessageKind::Error, MessageAnswer::Ok},
  };
  for (const auto& [kind, answer] : cases) {
    this->rig.AnswerMessage(kind, answer);
    EXPECT_EQ(this->rig.toolkit().ShowMessage(kind, "Are you sure?"), answer);
  }
}

// The speed button is a window of its own: a drop on it finds it, and while it is held
// it has the pointer wherever the pointer goes.
TYPED_TEST(UiToolkitContract, AHeldSpeedButtonHasThePointerWherever) {
  auto form = this->MakeForm("Quenlar");
  Edit& edit = form->AddEdit({{8, 64, 200, 21}, "", 0});
  std::vector<std::string> events;
  WindowHandle under = 0;
  Control* speed = nullptr;
  auto record = [&](const char* what) {
    return [&events, &under, &speed, this, what](const MouseEvent& event) {
      events.push_back(std::string(what) + " " + std::to_string(event.at.x) + "," +
                       std::to_string(event.at.y));
      under = this->rig.desktop().WindowFromPoint(speed->ClientToScreen(event.at));
    };
  };
  speed = &form->AddSpeedButton(
      {{9, 200, 25, 25}, "Key", "Drag Password", record("down"), record("move"), record("up")});
  form->Show();
  this->rig.toolkit().ProcessMessages();
  ASSERT_NE(speed->Handle(), 0u);
  EXPECT_EQ(this->rig.desktop().WindowFromPoint(speed->ClientToScreen({5, 5})), speed->Handle());

  this->rig.Press(*speed, {5, 6});
  EXPECT_TRUE(this->rig.Captured(*speed));
  const Point inEdit = edit.ClientToScreen({20, 10});
  const Point overEdit = {inEdit.x - speed->ClientToScreen({0, 0}).x,
                          inEdit.y - speed->ClientToScreen({0, 0}).y};
  this->rig.MoveTo(*speed, overEdit);
  EXPECT_EQ(under, edit.Handle());
  this->rig.MoveTo(*speed, {-30, 300});  // beyond the form, still held
  this->rig.MoveTo(*speed, {7, 8});
  EXPECT_EQ(under, speed->Handle());
  this->rig.Release(*speed, {7, 8});
  EXPECT_FALSE(this->rig.Captured(*speed));
  EXPECT_EQ(under, speed->Handle()) << "a drop back on the button finds the button";
  const std::string over = "move " + std::to_string(overEdit.x) + "," + std::to_string(overEdit.y);
  EXPECT_EQ(events,
            (std::vector<std::string>{"down 5,6", over, "move -30,300", "move 7,8", "up 7,8"}));
}

TYPED_TEST(UiToolkitContract, APictureButtonShowsUpAfterAReleaseAndHoverWhenThePointerComesBack) {
  auto form = this->MakeForm("Quenlar");
  int clicks = 0;
  ImageButton& button =
      form->AddImageButton({{88, 246, 65, 26}, "up", "down", "over", [&] { ++clicks; }});
  form->Show();
  auto& rig = this->rig;
  std::vector<std::string> shown{button.ShownImage()};
  const std::vector<std::function<void()>> steps = {
      [&] { rig.MoveTo(button, {5, 5}); }, [&] { rig.MoveTo(button, {6, 6}); },
      [&] { rig.Press(button, {6, 6}); },  [&] { rig.Release(button, {6, 6}); },
      [&] { rig.MoveTo(button, {7, 7}); }, [&] { rig.Leave(button); },
      [&] { rig.MoveTo(button, {5, 5}); }};
  for (const auto& step : steps) {
    step();
    shown.push_back(button.ShownImage());
  }
  EXPECT_EQ(shown,
            (std::vector<std::string>{"up", "over", "over", "down", "up", "up", "up", "over"}));
  EXPECT_EQ(clicks, 1);
}

TYPED_TEST(UiToolkitContract, AMemoHoldsItsLinesAndOneFontColour) {
  auto form = this->MakeForm("Quenlar");
  Memo& memo = form->AddMemo({{8, 64, 425, 129}, {}, 0, true});
  EXPECT_TRUE(memo.Lines().empty());
  memo.AppendLine("Registry: User checks complete");
  memo.AppendLine("");
  memo.AppendLines({"Executable: Checksum OK", "Patcher: OK"});
  EXPECT_EQ(memo.Text(),
            "Registry: User checks complete\r\n\r\nExecutable: Checksum OK\r\nPatcher: OK\r\n");
  EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"Registry: User checks complete", "",
                                                    "Executable: Checksum OK", "Patcher: OK"}));
  // A text set without a last line break gets one before the next line.
  memo.SetText("a\r\nb\nc");
  memo.AppendLine("d");
  EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"a", "b", "c", "d"}));
  memo.SetText("e\r\n");
  memo.AppendLine("f");
  EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"e", "f"}));
  memo.SetFontColor(colors::Red);
  EXPECT_EQ(memo.FontColor(), colors::Red);
  // Far beyond an edit control's default limit of 32K characters.
  memo.Clear();
  for (int i = 0; i < 1000; ++i) memo.AppendLine(std::string(60, 'x'));
  EXPECT_EQ(memo.Lines().size(), 1000u);
}

TYPED_TEST(UiToolkitContract, AListViewHoldsItsCaptionsAndOneSelection) {
  auto form = this->MakeForm("Accounts");
  ListView& list = form->AddListView({{8, 8, 200, 150}, 0, {}, {}});
  for (const char* name : {"Warrior", "Empty", "Taoist"}) list.AddItem(name);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.ItemCaption(1), "Empty");
  EXPECT_EQ(list.ItemCaption(3), "");
  EXPECT_EQ(list.ItemCaption(-1), "");
  EXPECT_EQ(list.SelectedIndex(), -1);
  list.Select(2);
  EXPECT_EQ(list.SelectedIndex(), 2);
  list.Select(0);
  EXPECT_EQ(list.SelectedIndex(), 0);
  list.Select(-1);
  EXPECT_EQ(list.SelectedIndex(), -1);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.ItemCaption(0), "");
}

TYPED_TEST(UiToolkitContract, PagesShowOneAtATimeAndIgnoreAPageThatIsNotThere) {
  auto form = this->MakeForm("Help");
  PageControl& pages = form->AddPageControl({{8, 8, 420, 260}, 0, true, true});
  Container& links = pages.AddPage("Links", {});
  pages.AddPage("Prevention", {});
  int clicks = 0;
  Button& button = links.AddButton({{8, 8, 75, 25}, "Close", 0, true, false, [&] { ++clicks; }});
  EXPECT_EQ(pages.PageCount(), 2);
  EXPECT_EQ(pages.ActivePage(), 0);
  pages.SetActivePage(1);
  EXPECT_EQ(pages.ActivePage(), 1);
  pages.SetActivePage(7);
  EXPECT_EQ(pages.ActivePage(), 1);
  button.Click();  // a control on a hidden page still works for the program
  EXPECT_EQ(clicks, 1);
}

TYPED_TEST(UiToolkitContract, ARichEditGivesBackItsLinesAndTheClipPlaysOnlyWhenActive) {
  auto form = this->MakeForm("Help");
  RichEditSpec spec;
  spec.bounds = {8, 8, 300, 200};
  spec.font.color = colors::Blue;
  spec.text = "Good Practices\r\n\r\nKeep your password safe.";
  EXPECT_EQ(form->AddRichEdit(spec).Text(), spec.text);

  Animation& busy = form->AddAnimation({{376, 5, 48, 45}, 8});
  EXPECT_FALSE(busy.Active());
  busy.SetActive(true);
  EXPECT_TRUE(busy.Active());
  busy.SetActive(false);
  EXPECT_FALSE(busy.Active());
}

TYPED_TEST(UiToolkitContract, TheInputBoxGivesWhatWasTypedOnlyOnOk) {
  auto form = this->MakeForm("Quenlar");
  form->Show();
  const std::string title = "Message Target";
  const std::string prompt = "Please enter the name of the player you will be using";
  this->rig.AnswerInput(title, "Hero");
  EXPECT_EQ(this->rig.toolkit().InputBox(title, prompt, "Old"), "Hero");
  this->rig.AnswerInput(title, std::nullopt);
  EXPECT_EQ(this->rig.toolkit().InputBox(title, prompt, "Old"), "Old");
  // Beyond an edit's default 32K characters the text is still there to be kept.
  const std::string longName(40000, 'n');
  this->rig.AnswerInput(title, longName);
  EXPECT_EQ(this->rig.toolkit().InputBox(title, prompt, longName), longName);
  // Its texts are UTF-8: a name beyond the code page comes back whole.
  const std::string cyrillic = "\xd0\x9a\xd0\xbe\xd1\x82";
  this->rig.AnswerInput(title, cyrillic);
  EXPECT_EQ(this->rig.toolkit().InputBox(title, prompt, "Old"), cyrillic);
  EXPECT_TRUE(this->rig.TakesInput(*form));
}

// A field keeps what the player typed whole, also beyond the code page, where the
// 8-bit text shows "?".
TYPED_TEST(UiToolkitContract, AFieldKeepsWhatThePlayerTypedBeyondTheCodePage) {
  auto form = this->MakeForm("Utility Login");
  EditSpec spec;
  spec.bounds = {72, 8, 121, 21};
  spec.passwordChar = '*';
  Edit& edit = form->AddEdit(spec);
  Memo& memo = form->AddMemo({.bounds = {8, 40, 200, 60}, .tabOrder = 1});
  form->Show();
  const std::string typed = "\xd0\x9f\xd0\xb0\xd1\x80\xd0\xbe\xd0\xbb\xd1\x8c \xc3\xa9";
  this->rig.TypeAsPlayer(edit, typed);
  EXPECT_EQ(edit.TextUtf8(), typed);
  EXPECT_EQ(edit.Text(), "?????? \xe9");
  // An editable memo the same, line by line, and as the program sets it.
  memo.SetTextUtf8(typed + "\r\nline two\r\n");
  EXPECT_EQ(memo.LinesUtf8(), (std::vector<std::string>{typed, "line two"}));
  EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"?????? \xe9", "line two"}));
  edit.SetTextUtf8(typed);
  EXPECT_EQ(edit.TextUtf8(), typed);
}

// Enter presses the default button and Esc the cancel button, with the focus in a field;
// a form without them ignores both keys.
TYPED_TEST(UiToolkitContract, EnterAndEscPressOnlyTheDefaultAndCancelButtons) {
  for (bool withButtons : {true, false}) {
    SCOPED_TRACE(withButtons);
    auto form = this->MakeForm("Utility Login");
    std::string pressed;
    ButtonSpec ok{{119, 64, 75, 25}, "&OK", 2, true, false, [&] { pressed += "ok "; }};
    ButtonSpec cancel{{30, 64, 75, 25}, "Cancel", 3, true, false, [&] { pressed += "cancel "; }};
    ok.isDefault = withButtons;
    cancel.isCancel = withButtons;
    form->AddButton(ok);
    form->AddButton(cancel);
    EditSpec field;
    field.bounds = {72, 8, 121, 21};
    Edit& edit = form->AddEdit(field);
    form->Show();
    this->rig.PressKey(*form, edit, 13);
    this->rig.PressKey(*form, edit, 27);
    EXPECT_EQ(pressed, withButtons ? "ok cancel " : "");
    EXPECT_TRUE(form->Showing());
  }
}

TYPED_TEST(UiToolkitContract, TheOpenDialogGivesTheChosenPathOrThePresetName) {
  const OpenDialogSpec spec{"Select Legend of Mir Executable", "Executable|*.exe", "exe", "mir.exe",
                            "C:\\"};
  this->rig.AnswerOpenDialog(spec.title, std::nullopt);
  EXPECT_EQ(this->rig.toolkit().ShowOpenDialog(spec), "mir.exe");
  const std::string chosen = this->rig.AnExistingFile();
  this->rig.AnswerOpenDialog(spec.title, chosen);
  EXPECT_EQ(FoldCase(this->rig.toolkit().ShowOpenDialog(spec)), FoldCase(chosen));
  // A folder the code page cannot hold comes back as itself, not as "?".
  const std::string beyond = this->rig.AFileInAFolder("Игры\\Мир", "mir.exe");
  this->rig.AnswerOpenDialog(spec.title, beyond);
  EXPECT_EQ(FoldCase(this->rig.toolkit().ShowOpenDialog(spec)), FoldCase(beyond));
}

TYPED_TEST(UiToolkitContract, RunEndsWhenTheMainFormCloses) {
  auto main = this->MakeForm("Main");
  auto closer = this->rig.toolkit().CreateTimer(
      {.intervalMs = 30, .enabled = true, .onTimer = [&] { main->Close(); }});
  this->rig.toolkit().Run(*main);
  EXPECT_FALSE(main->Showing());
}

// Asked to end from inside a handler, the run ends once that handler is done: messages
// still flow inside it, and its message box is shown and answered first.
TYPED_TEST(UiToolkitContract, TerminateWaitsForTheRunningHandlerAndItsMessageBox) {
  Toolkit& toolkit = this->rig.toolkit();
  auto main = this->MakeForm("Main");
  std::vector<std::string> steps;
  int pumpedTicks = 0;
  auto pulse =
      toolkit.CreateTimer({.intervalMs = 20, .enabled = false, .onTimer = [&] { ++pumpedTicks; }});
  std::unique_ptr<Timer> start;
  start =
      toolkit.CreateTimer({.intervalMs = 30, .enabled = true, .onTimer = [&] {
                             start->SetEnabled(false);
                             toolkit.Terminate();
                             steps.push_back("asked");
                             pulse->SetEnabled(true);
                             this->rig.PassUntil([&] { return pumpedTicks >= 2; });
                             this->rig.AnswerMessage(MessageKind::Information, MessageAnswer::Ok);
                             const MessageAnswer answer = toolkit.ShowMessage(
                                 MessageKind::Information, "Uninstall complete!");
                             steps.push_back(answer == MessageAnswer::Ok ? "answered" : "?");
                             pulse->SetEnabled(false);
                           }});
  toolkit.Run(*main);
  EXPECT_EQ(steps, (std::vector<std::string>{"asked", "answered"}));
  EXPECT_GE(pumpedTicks, 2);
  EXPECT_TRUE(main->Showing());  // ended by the request, not by closing
}

// An exception that leaves a handler is shown in an error box with its message, and the
// program goes on: the modal form it came from stays open.
TYPED_TEST(UiToolkitContract, AnExceptionLeavingAHandlerIsShownAndTheModalFormStaysOpen) {
  auto dialog = this->MakeForm("Utility Login");
  Button& ok = dialog->AddButton({.bounds = {119, 64, 75, 25}, .caption = "&OK", .onClick = [] {
                                    throw std::runtime_error("Failed to set data for 'Login'");
                                  }});
  bool openAfterBox = false;
  this->rig.AnswerMessage(MessageKind::Error, MessageAnswer::Ok);
  this->rig.WhenModal("Utility Login", [&] {
    this->rig.ClickAsPlayer(ok);
    this->rig.PassUntil([&] { return !this->rig.AnsweredText().empty(); });
    openAfterBox = dialog->Showing();
    dialog->Close();
  });
  dialog->ShowModal();
  EXPECT_EQ(this->rig.AnsweredText(), "Failed to set data for 'Login'");
  EXPECT_TRUE(openAfterBox);
}

}  // namespace
