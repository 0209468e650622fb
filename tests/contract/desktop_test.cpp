// Finding windows by point, naming their classes, and texts through own edits and the
// clipboard, as both backends must do it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "contract_rig.h"

namespace {

using namespace std::string_literals;
using platform::Edit;
using platform::Point;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

template <typename Rig>
class UiDesktopContract : public ::testing::Test {
 protected:
  UiDesktopContract() {
    platform::FormSpec spec;
    spec.caption = "Desktop test";
    spec.clientWidth = 442;
    spec.clientHeight = 279;
    form = rig.toolkit().CreateForm(spec);
  }

  void Pump() { rig.toolkit().ProcessMessages(); }
  void Copy(Edit& from, const std::string& text) {
    from.SetText(text);
    from.SelectAll();
    rig.desktop().PostCopy(from.Handle());
    Pump();
  }
  std::string PasteOver(Edit& to) {
    to.SetText("old");
    to.SelectAll();
    rig.desktop().PostPaste(to.Handle());
    Pump();
    return to.Text();
  }

  Rig rig;
  std::unique_ptr<platform::Form> form;
};

TYPED_TEST_SUITE(UiDesktopContract, contract::ToolkitRigs);

TYPED_TEST(UiDesktopContract, FindsShownControlsAtTheirPointsAndNamesTheirClasses) {
  platform::Desktop& desktop = this->rig.desktop();
  Edit& edit = this->form->AddEdit({{8, 64, 200, 21}, "", 0});
  platform::Control& play =
      this->form->AddButton({.bounds = {359, 200, 75, 25}, .caption = "&Play", .onClick = {}});
  platform::Control& label = this->form->AddLabel({.bounds = {12, 16, 347, 32},
                                                   .caption = "If you don't see this message",
                                                   .font = {},
                                                   .onClick = {},
                                                   .onMouseMove = {}});
  this->form->Show();
  this->Pump();
  const Point in_edit = edit.ClientToScreen({100, 10});
  EXPECT_EQ(desktop.WindowFromPoint(in_edit), edit.Handle());
  EXPECT_EQ(desktop.WindowFromPoint(play.ClientToScreen({5, 5})), play.Handle());
  EXPECT_EQ(Lower(desktop.ClassName(edit.Handle(), 144)), "edit");
  EXPECT_EQ(Lower(desktop.ClassName(play.Handle(), 144)), "button");
  EXPECT_EQ(Lower(desktop.ClassName(play.Handle(), 4)), "but");  // cut to capacity - 1
  EXPECT_EQ(desktop.ClassName(play.Handle(), 1), "");
  EXPECT_EQ(desktop.ClassName(play.Handle(), 0), "");
  EXPECT_EQ(desktop.ClassName(0, 144), "");
  EXPECT_NE(desktop.WindowProcess(edit.Handle()), 0u);
  EXPECT_EQ(desktop.WindowProcess(edit.Handle()), desktop.WindowProcess(play.Handle()));
  EXPECT_EQ(desktop.WindowProcess(0), 0u);
  EXPECT_EQ(desktop.ProcessElevation(0), platform::Elevation::Unknown);

  // A label reports clicks, so it is found too; a disabled button and a hidden edit
  // let the point through to the form.
  EXPECT_EQ(desktop.WindowFromPoint(label.ClientToScreen({5, 5})), label.Handle());
  play.SetEnabled(false);
  EXPECT_EQ(desktop.WindowFromPoint(play.ClientToScreen({5, 5})), this->form->Handle());
  edit.SetVisible(false);
  EXPECT_EQ(desktop.WindowFromPoint(in_edit), this->form->Handle());
}

TYPED_TEST(UiDesktopContract, SendSetTextChangesAnEditAtOnce) {
  Edit& edit = this->form->AddEdit({{20, 20, 200, 21}, "before", 0});
  this->rig.desktop().SendSetText(edit.Handle(), 144, "hero");
  EXPECT_EQ(edit.Text(), "hero");
  this->rig.desktop().SendSetText(0, 144, "nowhere");  // no window: nothing happens
}

TYPED_TEST(UiDesktopContract, TextsRoundTripThroughHiddenEditsAndTheClipboard) {
  Edit& time = this->form->AddEdit({{}, "Time", 0, false});
  Edit& temp = this->form->AddEdit({{}, "", 0, false});
  std::string high;
  for (int c = 0x80; c <= 0xFF; ++c) high.push_back(static_cast<char>(c));
  // Far wider than the never-shown edit, and the player's own multi-line text.
  for (const std::string& text :
       {std::string("@Hero Time Online: 1 hour(s) 10 min(s)"), high, std::string(2000, 'w'),
        std::string("first line\r\nsecond line\r\nthird")}) {
    this->Copy(time, text);
    EXPECT_EQ(this->PasteOver(temp), text);
  }
}

// The bytes of one format on the clipboard, or nullopt.
std::optional<std::string> Format(const platform::ClipboardContents& contents, unsigned id) {
  for (const auto& format : contents)
    if (format.id == id) return format.bytes;
  return std::nullopt;
}

TYPED_TEST(UiDesktopContract, APictureAndAFileListComeBackWholeAfterALineWasCopiedOverThem) {
  platform::Desktop& desktop = this->rig.desktop();
  Edit& line = this->form->AddEdit({{}, "", 0, false});
  constexpr unsigned Text = 1, Dib = 8, FileList = 15;
  // A picture of 2 by 1 pixels of 24 bits, rows padded to 4 bytes; a list of one file.
  const std::string dib = "\x28\0\0\0\x02\0\0\0\x01\0\0\0\x01\0\x18\0"s + std::string(24, '\0') +
                          "\xff\x80\x01\x00\x7f\xfe\0\0"s;
  const std::string files = "\x14"s + std::string(19, '\0') + "C:\\Mir\\shot.bmp\0\0"s;
  ASSERT_TRUE(desktop.RestoreClipboard({{Dib, "", dib}, {FileList, "", files}}));
  const auto player = desktop.SaveClipboard();
  ASSERT_TRUE(player.has_value());

  const auto before = desktop.ClipboardSequence();
  this->Copy(line, "hello all");
  EXPECT_NE(desktop.ClipboardSequence(), before);
  EXPECT_FALSE(Format(*desktop.SaveClipboard(), Dib)) << "the copy took the clipboard";
  ASSERT_TRUE(desktop.RestoreClipboard(*player));

  const auto back = desktop.SaveClipboard();
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(Format(*back, Dib), dib);
  EXPECT_EQ(Format(*back, FileList), files);
  EXPECT_FALSE(Format(*back, Text)) << "no text where the player had none";
}

TYPED_TEST(UiDesktopContract, WhatAPasteOrCopyLeavesAloneByKindOfEdit) {
  Edit& holder = this->form->AddEdit({{}, "", 0, false});
  Edit& visible = this->form->AddEdit({{10, 10, 100, 21}, "", 0});
  auto& memo = this->form->AddMemo({{8, 64, 425, 129}, {}, 0, true});
  Edit& password = this->form->AddEdit({{}, "secret", 0, false, '*'});
  this->form->Show();
  this->Copy(holder, "first\r\nsecond");
  EXPECT_EQ(this->PasteOver(visible), "first") << "a single-line edit takes the first line";
  this->rig.desktop().PostPaste(memo.Handle());
  this->Pump();
  EXPECT_EQ(memo.Text(), "") << "read-only";

  // A password field gives nothing away: the clipboard keeps what it had.
  password.SelectAll();
  this->rig.desktop().PostCopy(password.Handle());
  this->Pump();
  EXPECT_EQ(this->PasteOver(holder), "first\r\nsecond");
  // Setting the text drops the selection: a copy then leaves the clipboard alone too.
  holder.SetText("other");
  this->rig.desktop().PostCopy(holder.Handle());
  this->Pump();
  EXPECT_EQ(this->PasteOver(holder), "first\r\nsecond");
}

// The player's paste is cut to the edit's limit (the game's fields take 144 characters);
// what the program sets itself is not.
TYPED_TEST(UiDesktopContract, AnEditsLimitCutsThePlayersPasteButNotTheProgramsText) {
  Edit& holder = this->form->AddEdit({{}, "", 0, false});
  platform::EditSpec spec{{10, 10, 100, 21}, "", 0};
  spec.maxLength = 144;
  Edit& field = this->form->AddEdit(spec);
  this->form->Show();
  const std::string longer(150, 'x');
  this->Copy(holder, longer + "\r\nsecond");
  EXPECT_EQ(this->PasteOver(field), std::string(144, 'x'));
  field.SetText(longer);
  EXPECT_EQ(field.Text(), longer);
}

// A field whose program has stopped answering keeps the sender for the time-out only and
// never gets the text, not even once it answers again: the fill ends there.
TYPED_TEST(UiDesktopContract, AHungWindowLetsTheSenderGoAndNeverGetsTheText) {
  const platform::WindowHandle hung = this->rig.MakeHungWindow();
  EXPECT_EQ(this->rig.desktop().SendSetText(hung, 0, "secret"), platform::Delivery::NoAnswer);
  EXPECT_EQ(this->rig.ReleaseHungWindow(), "");
}

}  // namespace
