// Scripted answers for the modal things the program shows: message boxes, the text input
// box, the open-file dialog and forms shown modally, and a journal of every one shown.
// Something shown with no script waiting for it gets the harmless answer (OK, No,
// Cancel, closed at once) and is recorded as unexpected, so tests can assert there was
// none. A script is used once; of the scripts waiting, the oldest that matches is taken.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/memory/memory_ui.h"
#include "platform/toolkit.h"

namespace platform {

struct MessageBoxRecord {
  std::int64_t atMs = 0;
  MessageKind kind = MessageKind::Information;
  std::string title;  // "Error", "Information" or "Confirm"
  std::string text;
  std::vector<std::string> buttons;
  bool centred = true;
  MessageAnswer answer = MessageAnswer::Ok;
  bool unexpected = false;
};

struct InputBoxRecord {
  std::int64_t atMs = 0;
  std::string title;
  std::string prompt;
  std::string text;  // what the box opened with
  std::string result;
  bool cancelled = false;
  bool unexpected = false;
};

struct OpenDialogRecord {
  std::int64_t atMs = 0;
  OpenDialogSpec spec;
  std::string result;
  bool cancelled = false;
  bool unexpected = false;
};

class MemoryDialogs {
 public:
  using ModalHandler = std::function<void(MemoryForm&)>;

  explicit MemoryDialogs(MemoryUi& ui) : ui_(ui) {}

  // A box of this kind and exact text gets `answer`. `whileOpen` runs while the box is
  // up (it may advance time: timers fire behind a real box too). Throws
  // std::invalid_argument for an answer the box does not have.
  void ScriptMessage(MessageKind kind, const std::string& text, MessageAnswer answer,
                     Action whileOpen = {});
  // The next box of this kind, whatever its text.
  void ScriptMessageOfKind(MessageKind kind, MessageAnswer answer, Action whileOpen = {});
  // The next box with a button for `answer`, whatever its kind and text.
  void ScriptAnyMessage(MessageAnswer answer, Action whileOpen = {});

  // OK with `answer` typed into the box titled `title`; nullopt presses Cancel.
  void ScriptInput(const std::string& title, std::optional<std::string> answer);
  void ScriptAnyInput(std::optional<std::string> answer);

  // The next open dialog returns this full path; nullopt cancels it.
  void ScriptOpenDialog(std::optional<std::string> chosenPath);

  // The next form shown modally runs `handler`, which may drive the form's controls and
  // advance time; a form it leaves open is closed when it returns.
  void ScriptModal(ModalHandler handler);
  // Only a form with this caption at the moment it is shown.
  void ScriptModal(const std::string& caption, ModalHandler handler);

  const std::vector<MessageBoxRecord>& messageBoxes() const { return boxes_; }
  const std::vector<InputBoxRecord>& inputBoxes() const { return inputs_; }
  const std::vector<OpenDialogRecord>& openDialogs() const { return opens_; }
  // One line for everything shown without a script: "message Confirm: Are you sure?".
  const std::vector<std::string>& unexpected() const { return unexpected_; }
  // Scripts not used yet.
  int UnusedScripts() const;
  // Texts of the boxes shown, in order.
  std::vector<std::string> MessageTexts() const;

 protected:
  MessageAnswer ShowBox(MessageKind kind, const std::string& text);
  std::string ShowInput(const std::string& title, const std::string& prompt,
                        const std::string& text);
  std::string ShowOpen(const OpenDialogSpec& spec);
  void RunModal(MemoryForm& form);

 private:
  struct MessageScript {
    std::optional<MessageKind> kind;
    std::optional<std::string> text;
    MessageAnswer answer;
    Action whileOpen;
  };
  struct InputScript {
    std::optional<std::string> title;
    std::optional<std::string> answer;
  };
  struct ModalScript {
    std::optional<std::string> caption;
    ModalHandler handler;
  };

  // Counts the dialog as open while it lives: the forms behind it take no input.
  struct OpenBox {
    explicit OpenBox(MemoryUi& ui) : ui(ui) { ++ui.boxesOpen; }
    ~OpenBox() { --ui.boxesOpen; }
    MemoryUi& ui;
  };

  MemoryUi& ui_;
  std::deque<MessageScript> messageScripts_;
  std::deque<InputScript> inputScripts_;
  std::deque<std::optional<std::string>> openScripts_;
  std::deque<ModalScript> modalScripts_;
  std::vector<MessageBoxRecord> boxes_;
  std::vector<InputBoxRecord> inputs_;
  std::vector<OpenDialogRecord> opens_;
  std::vector<std::string> unexpected_;
};

}  // namespace platform
