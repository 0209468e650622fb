#include "platform/memory/memory_toolkit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/memory/memory_machine.h"
#include "platform/memory/memory_pages.h"
#include "platform/memory/memory_view_controls.h"

using platform::FormEvent;
using platform::MemoryButton;
using platform::MemoryClock;
using platform::MemoryEdit;
using platform::MemoryForm;
using platform::MemoryMachine;
using platform::MemoryToolkit;
using platform::MessageAnswer;
using platform::MessageKind;
using platform::RunStop;

namespace {

struct Tick {
  std::string timer;
  std::int64_t atMs;
  bool operator==(const Tick&) const = default;
};

class ToolkitTest : public ::testing::Test {
 protected:
  std::unique_ptr<platform::Timer> MakeTimer(const std::string& name, int intervalMs,
                                             bool enabled = true,
                                             std::function<void()> extra = {}) {
    return toolkit.CreateTimer({intervalMs, enabled, [this, name, extra] {
                                  ticks.push_back({name, clock.nowMs()});
                                  if (extra) extra();
                                }});
  }
  std::unique_ptr<platform::Form> MakeForm(const std::string& caption, int w = 200, int h = 100) {
    platform::FormSpec spec;
    spec.caption = caption;
    spec.clientWidth = w;
    spec.clientHeight = h;
    return toolkit.CreateForm(spec, {});
  }

  MemoryMachine machine;
  MemoryClock& clock = machine.clock();
  MemoryToolkit& toolkit = machine.toolkit();
  std::vector<Tick> ticks;
};

TEST(MemoryClock, StartsAtTheFixedLocalDateAndCountsDaysFrom1899) {
  EXPECT_EQ(MemoryClock::Encode(1899, 12, 30), 0.0);
  EXPECT_EQ(MemoryClock::Encode(1900, 1, 1), 2.0);
  EXPECT_EQ(MemoryClock::Encode(2000, 1, 1, 12), 36526.5);
  MemoryClock clock;
  EXPECT_DOUBLE_EQ(clock.Now(), MemoryClock::Encode(2026, 12, 9, 10));
  clock.Sleep(90 * 60 * 1000);
  EXPECT_NEAR(clock.Now(), MemoryClock::Encode(2026, 12, 9, 11, 30), 1e-9);
  clock.SetNow(MemoryClock::Encode(2027, 1, 1));
  EXPECT_DOUBLE_EQ(clock.Now(), MemoryClock::Encode(2027, 1, 1));
  clock.Sleep(-5);  // never "forever"
  EXPECT_EQ(clock.sleeps().back().ms, 0);
  EXPECT_EQ(clock.TotalSleptMs(), 90 * 60 * 1000);
}

TEST_F(ToolkitTest, TimersFireAtTheirExactDueTimesInOrder) {
  auto slow = MakeTimer("slow", 250);
  auto fast = MakeTimer("fast", 100);
  toolkit.RunFor(500);
  EXPECT_EQ(ticks, (std::vector<Tick>{{"fast", 100},
                                      {"fast", 200},
                                      {"slow", 250},
                                      {"fast", 300},
                                      {"fast", 400},
                                      {"slow", 500},  // equal times: the older timer first
                                      {"fast", 500}}));
  EXPECT_EQ(clock.nowMs(), 500);
}

TEST_F(ToolkitTest, EnablingRestartsTheIntervalAndDisablingDropsTheTick) {
  auto t = MakeTimer("t", 100, false);
  toolkit.RunFor(150);
  EXPECT_TRUE(ticks.empty());
  t->SetEnabled(true);  // at 150
  toolkit.RunFor(60);
  t->SetEnabled(true);  // already running: no restart
  toolkit.RunFor(40);
  EXPECT_EQ(ticks, (std::vector<Tick>{{"t", 250}}));
  toolkit.RunFor(90);  // 340: the next tick is due at 350
  t->SetEnabled(false);
  toolkit.RunFor(100);
  EXPECT_EQ(ticks.size(), 1u);
  t->SetEnabled(true);  // 440
  t->SetInterval(30);   // a new interval restarts as well
  toolkit.RunFor(30);
  EXPECT_EQ(ticks.back(), (Tick{"t", 470}));
  t->SetInterval(0);  // a timer of interval 0 never fires
  toolkit.RunFor(500);
  EXPECT_EQ(ticks.size(), 2u);
}

TEST_F(ToolkitTest, SleepFiresNoTimerAndALongHandlerGetsNoCatchUpTicks) {
  bool first = true;
  auto t = MakeTimer("t", 250, true, [&] {
    if (std::exchange(first, false)) clock.Sleep(1200);
  });
  toolkit.RunFor(2000);
  // Due at 500 while its handler slept: it comes once when the handler returns.
  EXPECT_EQ(ticks, (std::vector<Tick>{{"t", 250}, {"t", 1450}, {"t", 1700}, {"t", 1950}}));

  ticks.clear();
  clock.Sleep(1000);
  EXPECT_TRUE(ticks.empty());
  toolkit.ProcessMessages();  // what fell due during the sleep: one tick
  EXPECT_EQ(ticks, (std::vector<Tick>{{"t", 3000}}));
  toolkit.ProcessMessages();
  EXPECT_EQ(ticks.size(), 1u);
}

TEST_F(ToolkitTest, TicksFallingDueInsideAHandlerRunWhenItPumpsButNotItself) {
  int depth = 0;
  std::vector<std::string> seen;
  auto outer = MakeTimer("outer", 100, true, [&] {
    ++depth;
    seen.push_back("outer depth " + std::to_string(depth));
    clock.Sleep(300);
    toolkit.ProcessMessages();  // outer itself is due again, but is still running
    --depth;
  });
  auto inner = MakeTimer("inner", 350, true,
                         [&] { seen.push_back("inner depth " + std::to_string(depth)); });
  toolkit.RunFor(400);
  EXPECT_EQ(seen, (std::vector<std::string>{"outer depth 1", "inner depth 1", "outer depth 1"}));
  EXPECT_EQ(ticks, (std::vector<Tick>{{"outer", 100}, {"inner", 400}, {"outer", 400}}));
}

TEST_F(ToolkitTest, ATimerDestroyedInItsOwnHandlerStopsCleanly) {
  std::unique_ptr<platform::Timer> t;
  t = MakeTimer("t", 100, true, [&] { t.reset(); });
  toolkit.RunFor(500);
  EXPECT_EQ(ticks.size(), 1u);
}

TEST_F(ToolkitTest, TerminateWaitsForTheHandlerToFinish) {
  toolkit.ScriptMessage(MessageKind::Information, "Uninstall complete!", MessageAnswer::Ok);
  auto t = MakeTimer("t", 100, true, [&] {
    toolkit.Terminate();
    toolkit.ProcessMessages();
    EXPECT_FALSE(toolkit.terminated());
    toolkit.ShowMessage(MessageKind::Information, "Uninstall complete!");
  });
  auto later = MakeTimer("later", 150);
  toolkit.RunFor(1000);
  EXPECT_TRUE(toolkit.terminated());
  EXPECT_EQ(clock.nowMs(), 100);
  EXPECT_EQ(toolkit.messageBoxes().size(), 1u);
  EXPECT_EQ(ticks, (std::vector<Tick>{{"t", 100}}));
  toolkit.RunFor(1000);  // the application has ended
  EXPECT_EQ(ticks.size(), 1u);
  auto form = MakeForm("Main");
  toolkit.Run(*form);
  EXPECT_EQ(toolkit.lastRunStop(), RunStop::Terminated);
}

TEST_F(ToolkitTest, RunShowsTheMainFormAndStopsWhenItClosesOrNothingIsLeft) {
  auto form = MakeForm("Main");
  toolkit.At(700, [&] { form->Close(); });
  auto t = MakeTimer("t", 300);
  toolkit.Run(*form);
  EXPECT_EQ(toolkit.lastRunStop(), RunStop::MainFormClosed);
  EXPECT_EQ(clock.nowMs(), 700);
  EXPECT_EQ(toolkit.FormEventsOf("Main"),
            (std::vector<FormEvent>{FormEvent::Created, FormEvent::Centred, FormEvent::Shown,
                                    FormEvent::Closed}));

  t.reset();
  auto idle = MakeForm("Idle");
  toolkit.Run(*idle);
  EXPECT_EQ(toolkit.lastRunStop(), RunStop::Idle);

  auto busy = MakeTimer("busy", 1000);
  toolkit.SetRunLimit(5000);
  const auto start = clock.nowMs();
  toolkit.Run(*idle);
  EXPECT_EQ(toolkit.lastRunStop(), RunStop::TimeLimit);
  EXPECT_EQ(clock.nowMs(), start + 5000);
}

TEST_F(ToolkitTest, ScriptedModalHandlerDrivesTheFormAndUnclosedFormsAreClosed) {
  auto dialog = MakeForm("Utility Login");
  auto& edit = dialog->AddEdit({{72, 8, 121, 21}, "", 0, true, '*'});
  bool ok = false;
  dialog->AddButton({{119, 64, 75, 25}, "&OK", 2, true, true, [&] {
                       ok = edit.Text() == "secret";
                       dialog->Close();
                     }});
  auto tick = MakeTimer("t", 1000);
  toolkit.ScriptModal("Utility Login", [&](platform::Form& f) {
    auto& form = MemoryToolkit::Of(f);
    form.Nth<MemoryEdit>().UserType("secret");
    EXPECT_EQ(form.Nth<MemoryEdit>().DisplayText(), "******");
    toolkit.RunFor(1000);  // timers keep firing behind a modal form
    EXPECT_TRUE(form.UserPressEnter());
  });
  dialog->ShowModal();
  EXPECT_TRUE(ok);
  EXPECT_EQ(ticks.size(), 1u);
  EXPECT_FALSE(dialog->Showing());

  toolkit.ScriptModal([](platform::Form&) {});
  dialog->ShowModal();
  dialog->ShowModal();  // nothing scripted
  EXPECT_EQ(toolkit.FormEventsOf("Utility Login"),
            (std::vector<FormEvent>{FormEvent::Created, FormEvent::Centred, FormEvent::ShownModal,
                                    FormEvent::Closed, FormEvent::Centred, FormEvent::ShownModal,
                                    FormEvent::Closed, FormEvent::ClosedAfterScript,
                                    FormEvent::Centred, FormEvent::ShownModal, FormEvent::Closed,
                                    FormEvent::ClosedUnscripted}));
  EXPECT_EQ(toolkit.unexpected(), (std::vector<std::string>{"modal Utility Login"}));
  EXPECT_EQ(toolkit.UnusedScripts(), 0);

  dialog->Show();
  EXPECT_THROW(dialog->ShowModal(), std::logic_error);
}

TEST_F(ToolkitTest, AModalFormTakesTheInputFromTheFormsBehindIt) {
  auto main = MakeForm("Main");
  int clicks = 0;
  auto& button = dynamic_cast<MemoryButton&>(
      main->AddButton({{10, 10, 75, 25}, "&Play", 1, true, false, [&] { ++clicks; }}));
  main->Show();
  auto dialog = MakeForm("Help Me");
  toolkit.ScriptModal([&](platform::Form&) { EXPECT_FALSE(button.UserClick()); });
  dialog->ShowModal();
  EXPECT_TRUE(button.UserClick());
  button.SetEnabled(false);
  EXPECT_FALSE(button.UserClick());
  button.Click();  // the program may still click it itself
  EXPECT_EQ(clicks, 2);
}

TEST_F(ToolkitTest, MessageBoxesAnswerFromScriptsAndRecordTheUnexpected) {
  toolkit.ScriptMessage(MessageKind::Confirmation, "Are you sure?", MessageAnswer::Yes);
  toolkit.ScriptMessageOfKind(MessageKind::Error, MessageAnswer::Ok);
  EXPECT_THROW(toolkit.ScriptMessage(MessageKind::Information, "x", MessageAnswer::Yes),
               std::invalid_argument);

  EXPECT_EQ(toolkit.ShowMessage(MessageKind::Confirmation, "Reset?"), MessageAnswer::No);
  EXPECT_EQ(toolkit.ShowMessage(MessageKind::Error, "Bad"), MessageAnswer::Ok);
  EXPECT_EQ(toolkit.ShowMessage(MessageKind::Confirmation, "Are you sure?"), MessageAnswer::Yes);
  EXPECT_EQ(toolkit.ShowMessage(MessageKind::Information, "Done"), MessageAnswer::Ok);

  const auto& boxes = toolkit.messageBoxes();
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[0].title, "Confirm");
  EXPECT_EQ(boxes[0].buttons, (std::vector<std::string>{"&Yes", "&No"}));
  EXPECT_TRUE(boxes[0].unexpected);
  EXPECT_EQ(boxes[1].title, "Error");
  EXPECT_EQ(boxes[1].buttons, (std::vector<std::string>{"OK"}));
  EXPECT_FALSE(boxes[1].unexpected);
  EXPECT_TRUE(boxes[2].centred);
  EXPECT_EQ(boxes[3].title, "Information");
  EXPECT_EQ(toolkit.unexpected(),
            (std::vector<std::string>{"message Confirm: Reset?", "message Information: Done"}));
}

TEST_F(ToolkitTest, ABoxLetsTimersRunButKeepsThePlayerOffTheForms) {
  auto main = MakeForm("Main");
  auto& button = dynamic_cast<MemoryButton&>(
      main->AddButton({.bounds = {10, 10, 75, 25}, .caption = "E&xit", .onClick = {}}));
  main->Show();
  auto t = MakeTimer("t", 100);
  bool clicked = true;
  toolkit.ScriptAnyMessage(MessageAnswer::Yes, [&] {
    toolkit.RunFor(250);
    clicked = button.UserClick();
  });
  EXPECT_EQ(toolkit.ShowMessage(MessageKind::Confirmation, "Quit?"), MessageAnswer::Yes);
  EXPECT_FALSE(clicked);
  EXPECT_EQ(ticks.size(), 2u);
  EXPECT_TRUE(button.UserClick());
}

TEST_F(ToolkitTest, InputBoxAndOpenDialogAnswerFromScripts) {
  toolkit.ScriptInput("Message Target", std::string("Kael"));
  toolkit.ScriptAnyInput(std::nullopt);
  EXPECT_EQ(toolkit.InputBox("Message Target", "Please enter", "old"), "Kael");
  EXPECT_EQ(toolkit.InputBox("Other", "?", "keep"), "keep");
  EXPECT_EQ(toolkit.InputBox("Third", "?", "same"), "same");
  ASSERT_EQ(toolkit.inputBoxes().size(), 3u);
  EXPECT_FALSE(toolkit.inputBoxes()[0].cancelled);
  EXPECT_TRUE(toolkit.inputBoxes()[1].cancelled);
  EXPECT_FALSE(toolkit.inputBoxes()[1].unexpected);
  EXPECT_TRUE(toolkit.inputBoxes()[2].unexpected);

  platform::OpenDialogSpec spec{"Select", "Executable|*.exe", "exe", "mir.exe", "C:\\Games"};
  toolkit.ScriptOpenDialog(std::string("C:\\Games\\Mir\\mir.exe"));
  toolkit.ScriptOpenDialog(std::nullopt);
  EXPECT_EQ(toolkit.ShowOpenDialog(spec), "C:\\Games\\Mir\\mir.exe");
  EXPECT_EQ(toolkit.ShowOpenDialog(spec), "mir.exe");
  EXPECT_EQ(toolkit.ShowOpenDialog(spec), "mir.exe");
  ASSERT_EQ(toolkit.openDialogs().size(), 3u);
  EXPECT_EQ(toolkit.openDialogs()[0].spec.filter, "Executable|*.exe");
  EXPECT_TRUE(toolkit.openDialogs()[1].cancelled);
  EXPECT_TRUE(toolkit.openDialogs()[2].unexpected);
}

TEST_F(ToolkitTest, MenusOpenBeforeTheirItemsAreChosen) {
  auto main = MakeForm("Main");
  auto& form = MemoryToolkit::Of(*main);
  std::vector<std::string> log;
  platform::MenuItem* reset = nullptr;
  auto& menu = main->AddMenu("&Menu", [&] {
    log.push_back("popup");
    reset->SetEnabled(false);
  });
  reset = &menu.AddItem({"&Reset Config...", false, [&] { log.push_back("reset"); }});
  menu.AddSeparator();
  menu.AddItem({"E&xit", true, [&] { log.push_back("exit"); }});
  main->AddMenu("&Help", {}, [&] { log.push_back("help"); });

  EXPECT_FALSE(form.UserChooseMenu("&Help"));  // the form is not shown
  main->Show();
  EXPECT_FALSE(form.UserChooseMenu("&Menu", "&Reset Config..."));
  EXPECT_TRUE(form.UserChooseMenu("&Menu", "E&xit"));
  EXPECT_TRUE(form.UserChooseMenu("&Help"));
  reset->Click();  // disabled: nothing happens
  EXPECT_EQ(log, (std::vector<std::string>{"popup", "popup", "exit", "help"}));
  const auto items = menu.Items();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[1]->Caption(), "-");
  EXPECT_TRUE(items[2]->Checked());
}

TEST_F(ToolkitTest, ListViewClicksSelectAndPagesShowOneAtATime) {
  auto main = MakeForm("Accounts", 400, 300);
  int clicks = 0, doubles = 0;
  auto& list = dynamic_cast<platform::MemoryListView&>(
      main->AddListView({{0, 0, 300, 145}, 0, [&] { ++clicks; }, [&] { ++doubles; }}));
  list.AddItem("Warrior");
  list.AddItem("Empty");
  list.Select(0);
  main->Show();
  EXPECT_TRUE(list.UserDoubleClickItem(1));
  EXPECT_EQ(list.SelectedIndex(), 1);
  EXPECT_TRUE(list.UserClickItem(-1));
  EXPECT_EQ(list.SelectedIndex(), -1);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(doubles, 1);
  list.Clear();
  EXPECT_EQ(list.ItemCaption(0), "");

  auto& pages = dynamic_cast<platform::MemoryPageControl&>(
      main->AddPageControl({{8, 8, 380, 280}, 1, true, true}));
  auto& links = pages.AddPage("Links", {});
  auto& prevention = pages.AddPage("Prevention", {});
  auto& label = dynamic_cast<platform::MemoryLabel&>(links.AddLabel({.bounds = {8, 16, 100, 13},
                                                                     .caption = "Email:-",
                                                                     .font = {},
                                                                     .transparent = true,
                                                                     .onClick = [] {},
                                                                     .onMouseMove = {}}));
  auto& rich = prevention.AddRichEdit({{8, 80, 300, 180}, {}, "Good Practices"});
  EXPECT_EQ(pages.ActivePage(), 0);
  EXPECT_TRUE(label.UserClick());
  pages.SetActivePage(pages.PageIndex("Prevention"));
  EXPECT_FALSE(label.UserClick());
  EXPECT_TRUE(label.Visible());  // the label is hidden with its page, not by itself
  EXPECT_TRUE(machine.desktop().IsShown(rich.Handle()));
  EXPECT_FALSE(pages.UserSelectPage(7));
}

}  // namespace

namespace {

TEST_F(ToolkitTest, AnExceptionLeavingAHandlerIsShownAndTheLoopGoesOn) {
  auto fail = [](const char* what) { return [what] { throw std::runtime_error(what); }; };
  auto main = MakeForm("Main");
  auto& button = dynamic_cast<MemoryButton&>(
      main->AddButton({{10, 10, 75, 25}, "&Play", 1, true, false, fail("button failed")}));
  platform::Menu& menu = main->AddMenu("&Menu", {});
  menu.AddItem({"E&xit", false, fail("menu failed")});
  main->Show();
  auto timer = toolkit.CreateTimer({100, true, [] { throw 42; }});

  EXPECT_TRUE(button.UserClick());
  EXPECT_TRUE(MemoryToolkit::Of(*main).UserChooseMenu("&Menu", "E&xit"));
  toolkit.RunFor(250);  // two ticks, each failing on its own

  auto dialog = MakeForm("Utility Login");
  auto& ok = dynamic_cast<MemoryButton&>(
      dialog->AddButton({{10, 10, 75, 25}, "&OK", 0, true, true, fail("dialog failed")}));
  bool openAfterFailure = false;
  toolkit.ScriptModal([&](platform::Form& f) {
    EXPECT_TRUE(ok.UserClick());
    openAfterFailure = f.Showing();
  });
  dialog->ShowModal();
  EXPECT_TRUE(openAfterFailure);

  EXPECT_EQ(toolkit.MessageTexts(),
            (std::vector<std::string>{"button failed", "menu failed", "Unknown error",
                                      "Unknown error", "dialog failed"}));
  for (const auto& box : toolkit.messageBoxes()) {
    EXPECT_EQ(box.title, "Error");
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
  }
}

}  // namespace
